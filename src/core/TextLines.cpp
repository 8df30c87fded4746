#include "core/TextLines.h"

#include <algorithm>

#include <QTextBoundaryFinder>

namespace quillor {

namespace {

constexpr char16_t lineSeparator = 0x2028;
constexpr char16_t paragraphSeparator = 0x2029;

bool isCrLfAt(QStringView text, qsizetype position)
{
    return position >= 0 && position + 1 < text.size() && text[position] == u'\r' && text[position + 1] == u'\n';
}

struct LineBounds {
    qsizetype start = 0;
    qsizetype contentsEnd = 0;
    qsizetype end = 0;
};

qsizetype lineStart(QStringView text, qsizetype location)
{
    // A location between CR and LF lies inside the terminator of its line.
    if (isCrLfAt(text, location - 1))
        --location;
    while (location > 0 && !TextLines::isLineBreak(text[location - 1]))
        --location;
    return location;
}

// The end of the line holding the unit at `index` (or, at the very end of the
// text, the empty last line).
LineBounds lineEnd(QStringView text, qsizetype index)
{
    const qsizetype n = text.size();
    if (index < n && text[index] == u'\n') {
        const qsizetype contentsEnd = isCrLfAt(text, index - 1) ? index - 1 : index;
        return {0, contentsEnd, index + 1};
    }
    while (index < n && !TextLines::isLineBreak(text[index]))
        ++index;
    if (index == n)
        return {0, n, n};
    return {0, index, index + (isCrLfAt(text, index) ? 2 : 1)};
}

LineBounds lineBounds(QStringView text, TextRange range)
{
    const qsizetype n = text.size();
    const qsizetype location = qBound(qsizetype(0), range.location, n);
    const qsizetype end = qBound(location, range.end(), n);
    // The line of the range's last unit; an empty range: the line of its position.
    LineBounds bounds = lineEnd(text, end > location ? end - 1 : location);
    bounds.start = lineStart(text, location);
    return bounds;
}

} // namespace

namespace TextLines {

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == lineSeparator || u == paragraphSeparator;
}

TextRange lineRange(QStringView text, TextRange range)
{
    const LineBounds bounds = lineBounds(text, range);
    return TextRange::fromBounds(bounds.start, bounds.end);
}

TextRange lineContentsRange(QStringView text, qsizetype position)
{
    const LineBounds bounds = lineBounds(text, TextRange{position, 0});
    return TextRange::fromBounds(bounds.start, bounds.contentsEnd);
}

qsizetype lineContentsEnd(QStringView text, qsizetype position)
{
    return lineBounds(text, TextRange{position, 0}).contentsEnd;
}

bool isPatternLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

qsizetype nextPatternLineStart(QStringView text, qsizetype position)
{
    const qsizetype n = text.size();
    qsizetype i = position;
    while (i < n && !isPatternLineBreak(text[i]))
        ++i;
    if (i < n && text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
        ++i;
    return std::min(i + 1, n);
}

} // namespace TextLines

namespace Graphemes {

namespace {

bool isCrOrLf(QChar c) { return c == u'\r' || c == u'\n'; }

// A stretch of the text around the unit at `index` whose bounds are grapheme
// boundaries: there is always a break after CR or LF (except inside CRLF) and
// before them. Finding boundaries then costs the length of one line, not of
// the whole text.
TextRange boundedStretch(QStringView text, qsizetype index)
{
    qsizetype start = index;
    if (isCrLfAt(text, start - 1))
        --start;
    while (start > 0 && !isCrOrLf(text[start - 1]))
        --start;
    qsizetype end = index;
    while (end < text.size() && !isCrOrLf(text[end]))
        ++end;
    if (end < text.size())
        end += isCrLfAt(text, end) ? 2 : 1;
    return TextRange::fromBounds(start, end);
}

} // namespace

qsizetype next(QStringView text, qsizetype position)
{
    if (position >= text.size())
        return text.size();
    if (position < 0)
        return 0;
    const TextRange stretch = boundedStretch(text, position);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.mid(stretch.location, stretch.length));
    finder.setPosition(position - stretch.location);
    const qsizetype found = finder.toNextBoundary();
    return found < 0 ? stretch.end() : stretch.location + found;
}

qsizetype previous(QStringView text, qsizetype position)
{
    if (position <= 0)
        return 0;
    if (position > text.size())
        return text.size();
    const TextRange stretch = boundedStretch(text, position - 1);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.mid(stretch.location, stretch.length));
    finder.setPosition(position - stretch.location);
    const qsizetype found = finder.toPreviousBoundary();
    return found < 0 ? stretch.location : stretch.location + found;
}

qsizetype count(QStringView text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype result = 0;
    while (finder.toNextBoundary() >= 0)
        ++result;
    return result;
}

QList<Grapheme> split(QStringView text)
{
    QList<Grapheme> result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end >= 0; end = finder.toNextBoundary()) {
        char32_t first = text[start].unicode();
        if (text[start].isHighSurrogate() && start + 1 < end && text[start + 1].isLowSurrogate())
            first = QChar::surrogateToUcs4(text[start], text[start + 1]);
        result.append({TextRange::fromBounds(start, end), first});
        start = end;
    }
    return result;
}

} // namespace Graphemes
} // namespace quillor
