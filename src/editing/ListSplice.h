#pragma once

#include <QList>
#include <QtGlobal>

#include <algorithm>

namespace quillor {

// Replaces the elements [from, to) of the list by `replacement`, in place:
// the elements after them move once, and only when the two counts differ.
// Inserting the replacement one element at a time would move them once per
// element, on every keystroke. A list shared with a reader is copied only
// when the replacement differs from what it replaces.
template <typename T>
void replaceRun(QList<T>& list, qsizetype from, qsizetype to, QList<T> replacement)
{
    if (std::equal(list.cbegin() + from, list.cbegin() + to, replacement.cbegin(), replacement.cend()))
        return;
    const qsizetype common = std::min(replacement.size(), to - from);
    if (replacement.size() > common)
        list.insert(from + common, replacement.size() - common, T{});
    else if (to - from > common)
        list.remove(from + common, to - from - common);
    if (!replacement.isEmpty())
        std::move(replacement.begin(), replacement.end(), list.begin() + from);
}

} // namespace quillor
