#include "editing/CodeSyntax.h"

#include "core/TextLines.h"

#include <algorithm>
#include <numeric>

namespace quillor {
namespace CodeSyntax {

namespace {

constexpr QChar backtick = u'`';
constexpr QChar tilde = u'~';

struct Line {
    TextRange range;     // terminator included
    TextRange content;   // terminator excluded
};

struct Fence {
    QChar character;
    qsizetype runLength = 0;
    qsizetype indentation = 0;
    qsizetype runEnd = 0;   // position just after the run
};

// The editor's line breaks (those of TextLines), tested inline: every unit of
// the text goes through here on each keystroke.
bool isLineBreak(char16_t c)
{
    return c <= u'\r' ? (c == u'\n' || c == u'\r') : (c == 0x2028 || c == 0x2029);
}

// The line starting at `start` (< text size).
Line lineAt(QStringView text, qsizetype start)
{
    const qsizetype n = text.size();
    qsizetype i = start;
    while (i < n && !isLineBreak(text[i].unicode()))
        ++i;
    const qsizetype contentEnd = i;
    if (i < n)
        i += (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
    return {TextRange::fromBounds(start, i), TextRange::fromBounds(start, contentEnd)};
}

std::optional<Fence> fence(QStringView text, TextRange content)
{
    const qsizetype end = content.end();
    qsizetype i = content.location;
    while (i < end && text[i] == u' ')
        ++i;
    const qsizetype indentation = i - content.location;
    if (i == end || indentation > 3)
        return std::nullopt;
    const QChar c = text[i];
    if (c != backtick && c != tilde)
        return std::nullopt;
    qsizetype runEnd = i;
    while (runEnd < end && text[runEnd] == c)
        ++runEnd;
    if (runEnd - i < 3)
        return std::nullopt;
    return Fence{c, runEnd - i, indentation, runEnd};
}

bool containsBacktick(QStringView text, qsizetype from, qsizetype to)
{
    return text.mid(from, to - from).contains(backtick);
}

bool onlyBlanks(QStringView text, qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i) {
        if (text[i] != u' ' && text[i] != u'\t')
            return false;
    }
    return true;
}

// A backtick fence whose info text holds a backtick is ordinary text (it would
// be read as inline code).
std::optional<Fence> openingFence(QStringView text, const Line& line)
{
    const std::optional<Fence> found = fence(text, line.content);
    if (found && found->character == backtick && containsBacktick(text, found->runEnd, line.content.end()))
        return std::nullopt;
    return found;
}

bool closes(QStringView text, const Line& line, const Fence& opening)
{
    const std::optional<Fence> found = fence(text, line.content);
    return found && found->character == opening.character && found->runLength >= opening.runLength
        && onlyBlanks(text, found->runEnd, line.content.end());
}

Span closedBlock(const Line& opening, const Line& closing)
{
    return Span{TextRange::fromBounds(opening.range.location, closing.range.end()),
                TextRange::fromBounds(opening.range.location, closing.content.end()),
                {opening.content, closing.content},
                TextRange::fromBounds(opening.range.end(), closing.range.location),
                true};
}

Span unclosedBlock(const Line& opening, qsizetype textLength)
{
    const TextRange whole = TextRange::fromBounds(opening.range.location, textLength);
    return Span{whole, whole, {opening.content}, TextRange::fromBounds(opening.range.end(), textLength), true};
}

// The start of the line holding `position` when at most three spaces stand
// between the two, the indentation a fence may have; none otherwise.
std::optional<qsizetype> fenceLineStart(QStringView text, qsizetype position)
{
    for (qsizetype i = position; i > 0 && position - i <= 3; --i) {
        const char16_t before = text[i - 1].unicode();
        if (isLineBreak(before))
            return i;
        if (before != u' ')
            return std::nullopt;
    }
    return position <= 3 ? std::optional<qsizetype>(0) : std::nullopt;
}

// The next three `c` in a row at or after `from`; -1 when there are none.
// Searching for the character alone is the fast (vectorised) search.
qsizetype nextRunOfThree(QStringView text, QChar c, qsizetype from)
{
    for (qsizetype i = text.indexOf(c, from); i >= 0 && i + 2 < text.size(); i = text.indexOf(c, i + 1)) {
        if (text[i + 1] == c && text[i + 2] == c)
            return i;
    }
    return -1;
}

// Only a line holding a run of three backticks or tildes can open or close a
// block, and the other lines change nothing: the lines worth reading are
// found by searching for those runs rather than by walking every unit.
QList<Span> fencedBlocks(QStringView text)
{
    QList<Span> blocks;
    std::optional<Fence> open;
    Line openingLine;
    qsizetype nextBackticks = nextRunOfThree(text, backtick, 0), nextTildes = nextRunOfThree(text, tilde, 0);
    while (nextBackticks >= 0 || nextTildes >= 0) {
        const qsizetype run = nextTildes < 0 || (nextBackticks >= 0 && nextBackticks < nextTildes) ? nextBackticks
                                                                                                   : nextTildes;
        qsizetype searchFrom = run + 1;
        if (const std::optional<qsizetype> start = fenceLineStart(text, run)) {
            const Line line = lineAt(text, *start);
            if (!open) {
                open = openingFence(text, line);
                openingLine = line;
            } else if (closes(text, line, *open)) {
                blocks.append(closedBlock(openingLine, line));
                open.reset();
            }
            searchFrom = line.range.end();
        }
        if (nextBackticks >= 0 && nextBackticks < searchFrom)
            nextBackticks = nextRunOfThree(text, backtick, searchFrom);
        if (nextTildes >= 0 && nextTildes < searchFrom)
            nextTildes = nextRunOfThree(text, tilde, searchFrom);
    }
    if (open)
        blocks.append(unclosedBlock(openingLine, text.size()));
    return blocks;
}

struct Run {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype stretch = 0;        // index of the stretch holding it
    qsizetype nextOfLength = -1;  // the next run of the same length, or -1
    qsizetype end() const { return start + length; }
};

// The inline spans of the stretches of text outside fenced blocks. An opener
// is closed by the next run of its own length in its stretch: linking each run
// to the next of the same length keeps a text full of unclosed openers from
// being searched to its end once per opener.
class InlineScanner {
public:
    InlineScanner(QStringView text, const QList<TextRange>& stretches)
        : m_text(text), m_stretches(stretches)
    {
        for (qsizetype s = 0; s < m_stretches.size(); ++s)
            collectRuns(s);
        linkRunsOfEqualLength();
    }

    // The spans of one stretch, in order.
    void appendSpans(qsizetype stretch, QList<Span>& spans)
    {
        qsizetype position = m_stretches[stretch].location;
        for (; m_next < m_runs.size() && m_runs[m_next].stretch == stretch; ++m_next) {
            const Run& opening = m_runs[m_next];
            if (opening.start < position)
                continue;
            if (isEscaped(opening)) {
                position = opening.end();
                continue;
            }
            const qsizetype closing = opening.nextOfLength;
            const bool closed = closing >= 0 && m_runs[closing].stretch == stretch;
            const Span span = closed ? closedSpan(opening, m_runs[closing]) : unclosedSpan(opening);
            spans.append(span);
            position = span.range.end();
        }
    }

private:
    void collectRuns(qsizetype s)
    {
        // Searching up to the stretch's end only, not on through the blocks after it.
        const QStringView stretch = m_text.left(m_stretches[s].end());
        qsizetype i = stretch.indexOf(backtick, m_stretches[s].location);
        while (i >= 0) {
            qsizetype runEnd = i;
            while (runEnd < stretch.size() && stretch[runEnd] == backtick)
                ++runEnd;
            m_runs.append({i, runEnd - i, s});
            i = stretch.indexOf(backtick, runEnd);
        }
    }

    void linkRunsOfEqualLength()
    {
        QList<qsizetype> byLength(m_runs.size());
        std::iota(byLength.begin(), byLength.end(), 0);
        std::stable_sort(byLength.begin(), byLength.end(),
                         [&](qsizetype a, qsizetype b) { return m_runs[a].length < m_runs[b].length; });
        for (qsizetype k = 0; k + 1 < byLength.size(); ++k) {
            if (m_runs[byLength[k]].length == m_runs[byLength[k + 1]].length)
                m_runs[byLength[k]].nextOfLength = byLength[k + 1];
        }
    }

    bool isEscaped(const Run& run) const
    {
        const qsizetype limit = m_stretches[run.stretch].location;
        qsizetype backslashes = 0;
        while (run.start - backslashes > limit && m_text[run.start - backslashes - 1] == u'\\')
            ++backslashes;
        return backslashes % 2 == 1;
    }

    static Span closedSpan(const Run& opening, const Run& closing)
    {
        const TextRange whole = TextRange::fromBounds(opening.start, closing.end());
        return Span{whole, whole, {{opening.start, opening.length}, {closing.start, closing.length}},
                    TextRange::fromBounds(opening.end(), closing.start), false};
    }

    // Without a closing run the code runs to the end of the line.
    Span unclosedSpan(const Run& opening) const
    {
        const qsizetype stretchEnd = m_stretches[opening.stretch].end();
        qsizetype end = opening.end();
        while (end < stretchEnd && m_text[end] != u'\n' && m_text[end] != u'\r')
            ++end;
        const TextRange whole = TextRange::fromBounds(opening.start, end);
        const TextRange content = TextRange::fromBounds(opening.end(), end);
        QList<TextRange> delimiters;
        if (!content.isEmpty())
            delimiters.append({opening.start, opening.length});
        return Span{whole, whole, delimiters, content, false};
    }

    QStringView m_text;
    const QList<TextRange>& m_stretches;
    QList<Run> m_runs;
    qsizetype m_next = 0;
};

QString repeated(QChar c, qsizetype count) { return QString(count, c); }

bool insideCrLf(QStringView text, qsizetype position)
{
    return position > 0 && position < text.size() && text[position - 1] == u'\r' && text[position] == u'\n';
}

// The line is the opening line of its block, or in no block at all.
bool isOpeningOrOutside(const QList<Span>& spans, qsizetype lineStart)
{
    for (const Span& span : spans) {
        if (span.fenced && span.range.contains(lineStart))
            return span.range.location == lineStart;
    }
    return true;
}

bool closedFurtherDown(const QList<Span>& spans, qsizetype lineStart)
{
    for (const Span& span : spans) {
        if (span.fenced && span.range.location == lineStart)
            return span.delimiters.size() == 2;
    }
    return false;
}

QStringView trimmedBlanks(QStringView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && (text[from] == u' ' || text[from] == u'\t'))
        ++from;
    while (to > from && (text[to - 1] == u' ' || text[to - 1] == u'\t'))
        --to;
    return text.mid(from, to - from);
}

} // namespace

QList<Span> spans(const QString& text)
{
    const QStringView view(text);
    const QList<Span> blocks = fencedBlocks(view);
    QList<TextRange> stretches;
    qsizetype stretchStart = 0;
    for (const Span& block : blocks) {
        stretches.append(TextRange::fromBounds(stretchStart, block.range.location));
        stretchStart = block.range.end();
    }
    stretches.append(TextRange::fromBounds(stretchStart, view.size()));

    InlineScanner inlineCode(view, stretches);
    QList<Span> result;
    for (qsizetype s = 0; s < stretches.size(); ++s) {
        inlineCode.appendSpans(s, result);
        if (s < blocks.size())
            result.append(blocks[s]);
    }
    return result;
}

QList<Span> inlineSpans(const QString& text, TextRange stretch)
{
    const QList<TextRange> stretches{stretch};
    InlineScanner inlineCode(QStringView(text), stretches);
    QList<Span> result;
    inlineCode.appendSpans(0, result);
    return result;
}

bool isActive(const Span& span, const QList<TextRange>& selections)
{
    for (const TextRange& selection : selections) {
        const bool active = selection.isEmpty() ? span.activationRange.touches(selection.location)
                                                : selection.overlaps(span.activationRange);
        if (active)
            return true;
    }
    return false;
}

std::optional<Replacement> newlinePlan(const QString& text, TextRange selection)
{
    const QStringView view(text);
    const qsizetype caret = selection.location;
    if (!selection.isEmpty() || caret < 0 || caret > view.size() || insideCrLf(view, caret))
        return std::nullopt;
    const TextRange line = TextLines::lineContentsRange(view, caret);
    const std::optional<Fence> opening = fence(view, TextRange::fromBounds(line.location, caret));
    if (!opening)
        return std::nullopt;
    const QList<Span> all = spans(text);
    if (!isOpeningOrOutside(all, line.location))
        return std::nullopt;
    if (opening->character == backtick && containsBacktick(view, opening->runEnd, caret))
        return std::nullopt;

    const QString closing = repeated(opening->character, opening->runLength);
    const QStringView rest = trimmedBlanks(view.mid(caret, line.end() - caret));
    const bool withClosing = rest.isEmpty();
    if (!withClosing && rest != closing)
        return std::nullopt;
    if (withClosing && closedFurtherDown(all, line.location))
        return std::nullopt;

    const QString indentation = repeated(u' ', opening->indentation);
    const QString inserted = u'\n' + indentation + u'\n' + indentation + (withClosing ? closing : QString());
    return Replacement{TextRange{caret, 0}, inserted, TextRange{caret + 1 + opening->indentation, 0}};
}

} // namespace CodeSyntax
} // namespace quillor
