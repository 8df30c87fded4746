#include "editing/MarkdownAnalysis.h"

#include "editing/EditorSyntax.h"
#include "editing/ListSplice.h"

#include <algorithm>
#include <optional>

namespace quillor {

namespace {

using Concealable = MarkdownAnalysis::Concealable;

// Where each construct stands: the lists below are sorted by it.
qsizetype anchor(const MarkdownStyle& style) { return style.range.location; }
qsizetype anchor(const QuoteSyntax::Line& line) { return line.range.location; }
qsizetype anchor(const ListSyntax::Item& item) { return item.line.location; }
qsizetype anchor(const TextRange& range) { return range.location; }
qsizetype anchor(const Concealable& syntax) { return syntax.construct.location; }

void move(MarkdownStyle& style, qsizetype by) { style.range.location += by; }
void move(QuoteSyntax::Line& line, qsizetype by)
{
    line.range.location += by;
    line.prefix.location += by;
}
void move(ListSyntax::Item& item, qsizetype by)
{
    item.line.location += by;
    item.marker.location += by;
    if (item.checkbox)
        item.checkbox->location += by;
    item.contentStart += by;
}
void move(TextRange& range, qsizetype by) { range.location += by; }
void move(Concealable& syntax, qsizetype by)
{
    syntax.construct.location += by;
    syntax.hidden.location += by;
}

// Replaces the constructs standing in [from, to) of the text before the edit
// by `fresh`, found in the edited lines at `freshOffset`, and moves those
// after the edit by `delta`.
template <typename T>
void splice(QList<T>& list, qsizetype from, qsizetype to, qsizetype delta, QList<T> fresh, qsizetype freshOffset)
{
    const auto before = [](const T& element, qsizetype position) { return anchor(element) < position; };
    const qsizetype first = std::lower_bound(list.cbegin(), list.cend(), from, before) - list.cbegin();
    const qsizetype last = std::lower_bound(list.cbegin() + first, list.cend(), to, before) - list.cbegin();
    if (delta != 0) {
        for (qsizetype i = last; i < list.size(); ++i)
            move(list[i], delta);
    }
    for (T& element : fresh)
        move(element, freshOffset);
    replaceRun(list, first, last, std::move(fresh));
}

template <typename T>
void spliceEach(QList<QList<T>>& lists, qsizetype from, qsizetype to, qsizetype delta, QList<QList<T>> fresh,
                qsizetype freshOffset)
{
    for (qsizetype i = 0; i < lists.size(); ++i)
        splice(lists[i], from, to, delta, std::move(fresh[i]), freshOffset);
}

// A position of the text before the edit in the text after it; none inside
// the removed units.
struct EditMap {
    qsizetype position = 0;
    qsizetype removed = 0;
    qsizetype delta = 0;
    // When set, the end of the text before the change, which stays the end:
    // what ran to it, a fence left open, runs to the end after text is added
    // there.
    qsizetype textEnd = -1;

    std::optional<qsizetype> operator()(qsizetype p) const
    {
        if (p == textEnd)
            return p + delta;
        return start(p);
    }
    // Where something starting at `p` starts: what starts at the end, empty,
    // stays before what is added there.
    std::optional<qsizetype> start(qsizetype p) const
    {
        if (p <= position)
            return p;
        if (p >= position + removed)
            return p + delta;
        return std::nullopt;
    }

    bool carries(TextRange before, TextRange after) const
    {
        const auto start = this->start(before.location);
        const auto end = (*this)(before.end());
        return start && end && *start == after.location && *end == after.end();
    }
};

// Code starts and ends at backtick runs and at fence lines, which hold "`"
// or "~": lines without either, before and after the edit, leave the code
// where it was.
bool mayChangeCode(QStringView lines)
{
    return lines.contains(u'`') || lines.contains(u'~');
}

std::optional<TextRange> carried(TextRange range, const EditMap& map)
{
    const auto start = map.start(range.location);
    const auto end = map(range.end());
    if (!start || !end)
        return std::nullopt;
    return TextRange::fromBounds(*start, *end);
}

std::optional<CodeSyntax::Span> carried(CodeSyntax::Span span, const EditMap& map)
{
    for (TextRange* range : {&span.range, &span.activationRange, &span.contentRange}) {
        const std::optional<TextRange> moved = carried(*range, map);
        if (!moved)
            return std::nullopt;
        *range = *moved;
    }
    for (TextRange& delimiter : span.delimiters) {
        const std::optional<TextRange> moved = carried(delimiter, map);
        if (!moved)
            return std::nullopt;
        delimiter = *moved;
    }
    return span;
}

std::optional<QList<CodeSyntax::Span>> carried(QList<CodeSyntax::Span> code, const EditMap& map)
{
    // Spans ending before the edit stay as they are, still shared with the
    // previous analysis's readers: only those after it are copied to move.
    // A span running to the text's end runs to it after the edit.
    const auto firstMoved = std::lower_bound(code.cbegin(), code.cend(), map.position,
                                             [&map](const CodeSyntax::Span& s, qsizetype p) {
                                                 return s.range.end() <= p && s.range.end() != map.textEnd;
                                             });
    for (qsizetype i = firstMoved - code.cbegin(); i < code.size(); ++i) {
        std::optional<CodeSyntax::Span> moved = carried(code[i], map);
        if (!moved)
            return std::nullopt;
        code[i] = std::move(*moved);
    }
    return code;
}

// The code ranges of carried code, carried the same way: only those after
// the edit move.
QList<TextRange> carriedRanges(QList<TextRange> ranges, const EditMap& map)
{
    const auto firstMoved = std::lower_bound(ranges.cbegin(), ranges.cend(), map.position,
                                             [](const TextRange& r, qsizetype p) { return r.end() <= p; });
    for (qsizetype i = firstMoved - ranges.cbegin(); i < ranges.size(); ++i)
        ranges[i] = carried(ranges[i], map).value_or(ranges[i]);
    return ranges;
}

QList<TextRange> rangesOf(const QList<CodeSyntax::Span>& code)
{
    QList<TextRange> ranges;
    ranges.reserve(code.size());
    for (const CodeSyntax::Span& span : code)
        ranges.append(span.range);
    return ranges;
}

// The code ranges meeting [start, end), relative to start.
QList<TextRange> codeWithin(const QList<TextRange>& code, qsizetype start, qsizetype end)
{
    QList<TextRange> within;
    // The ranges follow one another: those ending before the lines are passed
    // over by halves.
    const auto first = std::lower_bound(code.cbegin(), code.cend(), start,
                                        [](const TextRange& r, qsizetype p) { return r.end() <= p; });
    for (auto range = first; range != code.cend() && range->location < end; ++range) {
        const qsizetype from = std::max(range->location, start);
        const qsizetype to = std::min(range->end(), end);
        if (from < to)
            within.append(TextRange::fromBounds(from - start, to - start));
    }
    return within;
}

// Only a line holding a run of three backticks or tildes can open or close a
// fenced block: lines without one, before and after the edit, leave every
// block where it was, moved along.
bool mayHoldFence(QStringView lines)
{
    return lines.contains(u"```") || lines.contains(u"~~~");
}

bool spanCarried(const CodeSyntax::Span& old, const CodeSyntax::Span& now, const EditMap& map)
{
    if (old.fenced != now.fenced || old.delimiters.size() != now.delimiters.size()
        || !map.carries(old.range, now.range) || !map.carries(old.activationRange, now.activationRange)
        || !map.carries(old.contentRange, now.contentRange))
        return false;
    for (qsizetype d = 0; d < old.delimiters.size(); ++d) {
        if (!map.carries(old.delimiters[d], now.delimiters[d]))
            return false;
    }
    return true;
}

// Where a position before the edit stands after it; one among the removed
// units stands where the added ones start, or end when it ends something.
qsizetype mapped(qsizetype position, const EditMap& map, bool end)
{
    if (const std::optional<qsizetype> moved = end ? map(position) : map.start(position))
        return *moved;
    return end ? map.position + map.removed + map.delta : map.position;
}

// The stretch of the text after the edit that the spans differing from the
// code before it (moved along), before and after, cover; none when the code
// was only moved along.
std::optional<TextRange> codeChange(const QList<CodeSyntax::Span>& before, const QList<CodeSyntax::Span>& after,
                                    const EditMap& map)
{
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype front = 0;
    while (front < common && spanCarried(before[front], after[front], map))
        ++front;
    if (front == before.size() && front == after.size())
        return std::nullopt;
    qsizetype back = 0;
    while (back < common - front
           && spanCarried(before[before.size() - 1 - back], after[after.size() - 1 - back], map))
        ++back;
    std::optional<TextRange> changed;
    for (qsizetype i = front; i < before.size() - back; ++i)
        changed = TextRange::spanning(changed, TextRange::fromBounds(mapped(before[i].range.location, map, false),
                                                                     mapped(before[i].range.end(), map, true)));
    for (qsizetype i = front; i < after.size() - back; ++i)
        changed = TextRange::spanning(changed, after[i].range);
    return changed;
}

// The code after an edit that left every fence line as it was: the fenced
// blocks moved along and, when the edited lines [start, end) lie between two
// blocks, the inline spans between them read again, as far as an inline span
// reaches. None when the blocks cannot be moved along.
std::optional<QList<CodeSyntax::Span>> codeWithFencesKept(const QList<CodeSyntax::Span>& before, const QString& text,
                                                          const EditMap& map, qsizetype start, qsizetype end)
{
    qsizetype stretchStart = 0;
    qsizetype stretchEnd = text.size();
    for (const CodeSyntax::Span& span : before) {
        if (!span.fenced)
            continue;
        const std::optional<CodeSyntax::Span> block = carried(span, map);
        if (!block)
            return std::nullopt;
        if (block->range.location <= start && end <= block->range.end())
            return carried(before, map);   // lines of code edited: the code only moves
        if (block->range.end() <= start) {
            stretchStart = block->range.end();
        } else if (block->range.location >= end) {
            stretchEnd = block->range.location;
            break;
        } else {
            return std::nullopt;
        }
    }
    const QList<CodeSyntax::Span> fresh = CodeSyntax::inlineSpans(text, TextRange::fromBounds(stretchStart, stretchEnd));
    const qsizetype oldStretchEnd = stretchEnd - map.delta;
    QList<CodeSyntax::Span> code;
    code.reserve(before.size() + fresh.size());
    bool freshAdded = false;
    for (const CodeSyntax::Span& span : before) {
        if (!span.fenced && span.range.location >= stretchStart && span.range.location < oldStretchEnd)
            continue;
        const std::optional<CodeSyntax::Span> moved = span.range.location < stretchStart ? span : carried(span, map);
        if (!moved)
            return std::nullopt;
        if (!freshAdded && moved->range.location >= stretchStart) {
            code.append(fresh);
            freshAdded = true;
        }
        code.append(*moved);
    }
    if (!freshAdded)
        code.append(fresh);
    return code;
}

} // namespace

// The code after the edit is the code before it, moved along: the edit left
// every fence, backtick run and code line end where it was.
bool MarkdownAnalysis::codeCarried(const QList<CodeSyntax::Span>& before, const QList<CodeSyntax::Span>& after,
                                   const TextChange& change, qsizetype previousLength)
{
    const EditMap map{change.position, change.removed, change.delta(), previousLength};
    if (before.size() != after.size())
        return false;
    // Lists still sharing their spans hold the same spans: those ending
    // before the change are carried as they stand. Typing at the end of a
    // long text looks at none.
    qsizetype first = 0;
    if (before.constData() == after.constData())
        first = std::lower_bound(before.cbegin(), before.cend(), change.position,
                                 [](const CodeSyntax::Span& s, qsizetype p) { return s.range.end() <= p; })
                - before.cbegin();
    for (qsizetype i = first; i < before.size(); ++i) {
        if (!spanCarried(before[i], after[i], map))
            return false;
    }
    return true;
}

MarkdownAnalysis MarkdownAnalysis::of(const QString& text)
{
    MarkdownAnalysis analysis;
    analysis.text = text;
    analysis.code = CodeSyntax::spans(text);
    analysis.codeRanges = rangesOf(analysis.code);
    analysis.styleRules = MarkdownPresentation::stylesByRule(text, analysis.codeRanges);
    analysis.quotes = QuoteSyntax::lines(text, analysis.codeRanges);
    analysis.items = ListSyntax::items(text, analysis.codeRanges);
    analysis.links = EditorSyntax::linkRanges(text, analysis.codeRanges);
    analysis.concealableGroups = MarkdownPresentation::concealableSyntax(text, analysis.codeRanges,
                                                                         analysis.styleRules, analysis.links);
    return analysis;
}

MarkdownAnalysis MarkdownAnalysis::afterEdit(MarkdownAnalysis previous, const QString& text, qsizetype position,
                                             qsizetype removed, qsizetype added)
{
    const qsizetype delta = added - removed;
    if (position < 0 || removed < 0 || added < 0 || position + added > text.size()
        || previous.text.size() + delta != text.size()
        || previous.styleRules.size() != MarkdownPresentation::styleRuleCount
        || previous.concealableGroups.size() != MarkdownPresentation::styleRuleCount + 2)
        return of(text);
    // The lines holding the edit, terminators included; before the edit they
    // ended `delta` units earlier.
    qsizetype start = position;
    while (start > 0 && text[start - 1] != u'\n')
        --start;
    qsizetype end = text.indexOf(u'\n', position + added);
    end = end < 0 ? text.size() : end + 1;

    const EditMap map{position, removed, delta};
    std::optional<QList<CodeSyntax::Span>> code;
    // A fence left open runs to the text's end, and so grows with what is
    // typed there.
    const bool atOpenEnd = position + removed == previous.text.size() && !previous.code.isEmpty()
                           && previous.code.constLast().range.end() == previous.text.size();
    const QStringView oldLines = QStringView(previous.text).mid(start, end - delta - start);
    const QStringView newLines = QStringView(text).mid(start, end - start);
    if (!atOpenEnd && !mayChangeCode(oldLines) && !mayChangeCode(newLines))
        code = carried(previous.code, map);
    const bool codeRead = !code;
    if (codeRead) {
        // What ran to the text's end, a fence left open, runs to its end.
        const EditMap toEnd{position, removed, delta, previous.text.size()};
        if (!mayHoldFence(oldLines) && !mayHoldFence(newLines))
            code = codeWithFencesKept(previous.code, text, toEnd, start, end);
        if (!code)
            code = CodeSyntax::spans(text);
        // The lines whose code changed are read again too, and only those:
        // nothing but code crosses a line feed.
        if (const std::optional<TextRange> changed = codeChange(previous.code, *code, toEnd)) {
            start = std::min(start, changed->location);
            while (start > 0 && text[start - 1] != u'\n')
                --start;
            if (changed->end() >= end) {
                end = text.indexOf(u'\n', changed->end());
                end = end < 0 ? text.size() : end + 1;
            }
        }
    }
    const qsizetype oldEnd = end - delta;
    // Read from the line feed before them, so that whatever looks at the
    // character before a line start sees what the whole text has there.
    const qsizetype readFrom = start > 0 ? start - 1 : 0;
    const QString lines = text.mid(readFrom, end - readFrom);

    MarkdownAnalysis analysis = std::move(previous);
    analysis.text = text;
    analysis.code = std::move(*code);
    analysis.codeRanges = codeRead ? rangesOf(analysis.code) : carriedRanges(std::move(analysis.codeRanges), map);
    const QList<TextRange> linesCode = codeWithin(analysis.codeRanges, readFrom, end);
    QList<QList<MarkdownStyle>> styleRules = MarkdownPresentation::stylesByRule(lines, linesCode);
    QList<TextRange> links = EditorSyntax::linkRanges(lines, linesCode);
    QList<QList<Concealable>> concealable = MarkdownPresentation::concealableSyntax(lines, linesCode, styleRules,
                                                                                   links);
    spliceEach(analysis.styleRules, start, oldEnd, delta, std::move(styleRules), readFrom);
    splice(analysis.quotes, start, oldEnd, delta, QuoteSyntax::lines(lines, linesCode), readFrom);
    splice(analysis.items, start, oldEnd, delta, ListSyntax::items(lines, linesCode), readFrom);
    splice(analysis.links, start, oldEnd, delta, std::move(links), readFrom);
    spliceEach(analysis.concealableGroups, start, oldEnd, delta, std::move(concealable), readFrom);
    return analysis;
}

} // namespace quillor
