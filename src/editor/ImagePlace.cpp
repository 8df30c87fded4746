#include "editor/ImagePlace.h"

#include "editor/EditorDocument.h"

#include <QTextDocument>

#include <utility>

namespace quillor {

ImagePlace::ImagePlace(QTextDocument& document, TextRange selection, EditorContent selected, bool dropped)
    : m_start(&document), m_end(&document), m_selected(std::move(selected)), m_dropped(dropped)
{
    m_start.setPosition(int(selection.location));
    m_end.setPosition(int(selection.end()));
    // Text typed at a caret stays after the images. Around a selection, text
    // typed at either edge stays outside it.
    m_start.setKeepPositionOnInsert(selection.isEmpty());
    m_end.setKeepPositionOnInsert(true);
}

TextRange ImagePlace::target(const EditorContent& content) const
{
    const qsizetype start = m_start.position();
    const qsizetype end = m_end.position();
    // Typing over the selection removed it: the images go before the new text.
    if (end < start)
        return TextRange{end, 0};
    const TextRange selection = TextRange::fromBounds(start, end);
    if (!selection.isEmpty() && EditorDocument::slice(content, selection) == m_selected)
        return selection;
    return TextRange{start, 0};
}

TextRange ImagePlace::carried(TextRange selection, TextRange replaced, qsizetype inserted)
{
    const qsizetype shift = inserted - replaced.length;
    const auto after = [&](qsizetype position) {
        if (position < replaced.location)
            return position;
        return position >= replaced.end() ? position + shift : replaced.location + inserted;
    };
    const auto before = [&](qsizetype position) {
        if (position <= replaced.location)
            return position;
        return position >= replaced.end() ? position + shift : replaced.location;
    };
    const qsizetype start = after(selection.location);
    if (selection.isEmpty())
        return TextRange{start, 0};
    return TextRange::fromBounds(start, std::max(start, before(selection.end())));
}

} // namespace quillor
