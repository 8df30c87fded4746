#pragma once

#include "core/TextRange.h"

#include <QStringView>

#include <algorithm>

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

} // namespace quillor
