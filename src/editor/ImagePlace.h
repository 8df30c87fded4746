#pragma once

#include "core/TextRange.h"
#include "model/EditorContent.h"

#include <QTextCursor>

class QTextDocument;

namespace quillor {

// Where a paste, a drop or a choice of images was made, followed through the
// edits made while the images are read: they go there, and never over what
// the user typed or selected since.
class ImagePlace {
public:
    // `selected` is what the selection held; `dropped` when the images were
    // dropped rather than pasted or chosen.
    ImagePlace(QTextDocument& document, TextRange selection, EditorContent selected, bool dropped = false);

    // What the images replace in `content`, the document's content now: the
    // selection made then while it holds what it held, else nothing, where it
    // began. Text typed at a caret goes after the images, as it would have
    // had they gone in at once.
    TextRange target(const EditorContent& content) const;

    // The whole text was replaced: the place is gone with it.
    void lose() { m_lost = true; }
    bool isLost() const { return m_lost; }
    bool isDrop() const { return m_dropped; }

    // A selection of the user's once `replaced` has become `inserted` units
    // long: it keeps its characters, and a caret at the place goes after the
    // insertion.
    static TextRange carried(TextRange selection, TextRange replaced, qsizetype inserted);

private:
    QTextCursor m_start;
    QTextCursor m_end;
    EditorContent m_selected;
    bool m_lost = false;
    bool m_dropped = false;
};

} // namespace quillor
