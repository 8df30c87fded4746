#pragma once

#include "core/TextRange.h"

#include <QList>
#include <QStringView>

#include <algorithm>
#include <span>

namespace quillor {

// The lines holding the range, as the editing rules split a text (at line
// feeds only), the last one's line feed included. A window of whole lines
// holds every construct it meets but code, which alone crosses a line feed.
inline TextRange wholeLines(QStringView text, TextRange range)
{
    const qsizetype from = std::clamp<qsizetype>(range.location, 0, text.size());
    const qsizetype start = from > 0 ? text.lastIndexOf(u'\n', from - 1) + 1 : 0;
    const qsizetype end = text.indexOf(u'\n', std::clamp<qsizetype>(range.end(), from, text.size()));
    return TextRange::fromBounds(start, end < 0 ? text.size() : end + 1);
}

// The elements of a list in text order (by where each starts, as `start`
// gives it) that stand in a window of whole lines: all the constructs the
// window meets, but for code.
template <typename T, typename Start>
std::span<const T> standingIn(const QList<T>& list, TextRange window, Start start)
{
    const auto before = [&start](const T& element, qsizetype position) { return start(element) < position; };
    const T* end = list.constData() + list.size();
    const T* first = std::lower_bound(list.constData(), end, window.location, before);
    return {first, std::lower_bound(first, end, window.end(), before)};
}

} // namespace quillor
