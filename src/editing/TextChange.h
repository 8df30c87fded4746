#pragma once

#include <QtGlobal>

namespace quillor {

// One replacement of `removed` units at `position` by `added` units, all
// UTF-16 units of the whole text.
struct TextChange {
    qsizetype position = 0;
    qsizetype removed = 0;
    qsizetype added = 0;

    qsizetype delta() const { return added - removed; }
    // Where a position of the text before the change stands after it; those
    // the change removed stand where its text ends.
    qsizetype moved(qsizetype before) const
    {
        if (before <= position)
            return before;
        return before >= position + removed ? before + delta() : position + added;
    }

    bool operator==(const TextChange&) const = default;
};

} // namespace quillor
