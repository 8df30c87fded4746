#pragma once

#include "model/EditorContent.h"

#include <QtGlobal>

#include <optional>

class QTextDocument;

namespace quillor {

// One change the text edit made by itself (a key, an input method's commit,
// a cut, paste or drop), as the typing history records it.
struct TypingEdit {
    qsizetype position = 0;
    EditorContent removed;
    EditorContent added;

    bool isDeletion() const { return added.isEmpty(); }
    // The inverse change undoes it; applying the edit again redoes it.
    qsizetype addedEnd() const { return position + added.text.size(); }

    // The edit a QTextDocument::contentsChange report stands for, given the
    // content before it and the document after it. The report is read with
    // suspicion (Qt may report a wider range, format changes report text as
    // removed and added again, counts may include the final paragraph
    // separator): the range is clamped to both texts and trimmed of what is
    // equal on both sides. Absent when nothing changed.
    static std::optional<TypingEdit> from(const EditorContent& before, const QTextDocument& after, int position,
                                          int removed, int added);

    bool operator==(const TypingEdit&) const = default;
};

} // namespace quillor
