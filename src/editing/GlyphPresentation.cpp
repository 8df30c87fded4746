#include "editing/GlyphPresentation.h"

#include "editing/CodeSyntax.h"
#include "editing/EditorLayout.h"
#include "editing/ListSplice.h"
#include "editing/ListSyntax.h"
#include "editing/MarkdownAnalysis.h"
#include "editing/MarkdownDecorations.h"
#include "editing/MarkdownPresentation.h"
#include "editing/QuoteSyntax.h"
#include "editing/WholeLines.h"

#include <algorithm>
#include <span>

namespace quillor {

namespace {

// Growth below this is rounding, not a line that needs more room. The margin
// keeps a growth of exactly 0.01, which binary arithmetic may land a hair
// above, on the side of "nothing to do".
constexpr qreal minimumGrowth = 0.01 + 1e-9;

// Quote markers and code delimiters: the syntax laid out as zero-width
// control glyphs rather than dropped, when hidden: those standing in the
// window, which holds the whole of every code span it meets.
IndexSet controlCandidates(const MarkdownAnalysis& analysis, TextRange window)
{
    QList<TextRange> ranges;
    for (const QuoteSyntax::Line& line :
         standingIn(analysis.quotes, window, [](const QuoteSyntax::Line& l) { return l.range.location; }))
        ranges.append(line.prefix);
    for (const CodeSyntax::Span& span :
         standingIn(analysis.code, window, [](const CodeSyntax::Span& s) { return s.range.location; }))
        ranges.append(span.delimiters);
    return IndexSet(ranges);
}

TextRange movedRange(const TextChange& change, TextRange range)
{
    return TextRange::fromBounds(change.moved(range.location), change.moved(range.end()));
}

} // namespace

bool MarkdownGlyphPresentation::update(MarkdownLayoutManager* layoutManager, const QString& source,
                                       const QList<TextRange>& selections, bool composing)
{
    return update(layoutManager, source, MarkdownAnalysis::of(source), selections, composing);
}

bool MarkdownGlyphPresentation::update(MarkdownLayoutManager* layoutManager, const QString& source,
                                       const MarkdownAnalysis& analysis, const QList<TextRange>& selections,
                                       bool composing, std::optional<TextChange> since)
{
    if (layoutManager)
        layoutManager->updateDecorations(source, analysis, selections, composing);

    const std::optional<TextRange> window
        = since && !composing ? windowFor(source, analysis, selections, *since) : std::nullopt;
    updateListLines(analysis, since, window);
    m_redecided = window;
    m_known = true;
    m_sourceLength = source.size();
    m_selections = selections;
    m_code = analysis.code;
    m_composing = composing;
    if (window) {
        const IndexSet hidden(MarkdownPresentation::concealedRangesWithin(source, analysis, selections, *window));
        const IndexSet control = controlCandidates(analysis, *window).intersected(hidden);
        const bool hiddenChanged = m_hiddenCharacters.splice(*since, *window, hidden);
        const bool controlChanged = m_hiddenControlCharacters.splice(*since, *window, control);
        return hiddenChanged || controlChanged;
    }

    // An input method's composition shows every character as typed.
    IndexSet hidden;
    IndexSet control;
    if (!composing) {
        hidden = IndexSet(MarkdownPresentation::concealedRanges(source, analysis, selections));
        if (!hidden.isEmpty())
            control = controlCandidates(analysis, TextRange{0, source.size()}).intersected(hidden);
    }
    const bool stale = hidden != m_hiddenCharacters || control != m_hiddenControlCharacters;
    // Decided over the whole text, the sets still only changed somewhere:
    // where, when the change they were moved by is known.
    if (since) {
        const std::optional<TextRange> hiddenChanged = changedBetween(m_hiddenCharacters, hidden, *since);
        const std::optional<TextRange> controlChanged = changedBetween(m_hiddenControlCharacters, control, *since);
        m_redecided = controlChanged ? TextRange::spanning(hiddenChanged, *controlChanged)
                                     : hiddenChanged.value_or(TextRange{});
    }
    m_hiddenCharacters = std::move(hidden);
    m_hiddenControlCharacters = std::move(control);
    return stale;
}

// From the first to the last position where `now` differs from `before`
// moved along with the change; none when they are the same.
std::optional<TextRange> MarkdownGlyphPresentation::changedBetween(const IndexSet& before, const IndexSet& now,
                                                                   const TextChange& change)
{
    QList<TextRange> moved;
    moved.reserve(before.ranges().size());
    for (const TextRange& run : before.ranges())
        moved.append(movedRange(change, run));
    const IndexSet previous(moved);
    std::optional<TextRange> changed;
    for (const IndexSet& difference : {now.subtracted(previous), previous.subtracted(now)}) {
        if (!difference.isEmpty())
            changed = TextRange::spanning(changed, TextRange::fromBounds(difference.ranges().constFirst().location,
                                                                         difference.ranges().constLast().end()));
    }
    return changed;
}

void MarkdownGlyphPresentation::updateListLines(const MarkdownAnalysis& analysis, std::optional<TextChange> since,
                                                std::optional<TextRange> window)
{
    const auto lines = [](std::span<const ListSyntax::Item> items) {
        QList<TextRange> lines;
        lines.reserve(qsizetype(items.size()));
        for (const ListSyntax::Item& item : items)
            lines.append(item.line);
        return lines;
    };
    if (!window) {
        m_listLines = lines(analysis.items);
        return;
    }
    // The window holds every line the change altered: the lines before it
    // stay, those after it move along.
    const auto startsBefore = [](const TextRange& line, qsizetype p) { return line.location < p; };
    const auto begin = m_listLines.cbegin();
    const qsizetype first = std::lower_bound(begin, m_listLines.cend(), window->location, startsBefore) - begin;
    const qsizetype last
        = std::lower_bound(begin + first, m_listLines.cend(), window->end() - since->delta(), startsBefore) - begin;
    if (since->delta() != 0) {
        for (TextRange& line : std::span(m_listLines).subspan(last))
            line.location += since->delta();
    }
    replaceRun(m_listLines, first, last,
               lines(standingIn(analysis.items, *window, [](const ListSyntax::Item& i) { return i.line.location; })));
}

// The lines the change and the selections, before and after, hold, one unit
// either side (a caret touches what ends or starts beside it), widened until
// it holds the whole of every code span it meets. None when the previous sets
// cannot be moved along: the code changed, or the text is not the one they
// were decided for changed once.
std::optional<TextRange> MarkdownGlyphPresentation::windowFor(const QString& source, const MarkdownAnalysis& analysis,
                                                              const QList<TextRange>& selections,
                                                              const TextChange& change) const
{
    if (!m_known || m_composing || change.position < 0 || change.removed < 0 || change.added < 0
        || change.position + change.added > source.size() || m_sourceLength + change.delta() != source.size()
        || !MarkdownAnalysis::codeCarried(m_code, analysis.code, change, m_sourceLength))
        return std::nullopt;
    std::optional<TextRange> window;
    const auto add = [&](TextRange range) {
        window = TextRange::spanning(window, wholeLines(source, TextRange::fromBounds(std::max<qsizetype>(range.location - 1, 0),
                                                                           range.end() + 1)));
    };
    if (change.removed > 0 || change.added > 0)
        add(TextRange{change.position, change.added});
    for (const TextRange& selection : m_selections)
        add(movedRange(change, selection));
    for (const TextRange& selection : selections)
        add(selection);
    if (!window)
        return TextRange{0, 0};
    // A span's activation range lies in its range, and the spans follow one
    // another: those meeting the window are found by halves.
    const auto meeting = [&analysis](TextRange window) {
        const auto first = std::lower_bound(analysis.code.cbegin(), analysis.code.cend(), window.location,
                                            [](const CodeSyntax::Span& s, qsizetype p) { return s.range.end() < p; });
        const auto last = std::upper_bound(first, analysis.code.cend(), window.end(),
                                           [](qsizetype p, const CodeSyntax::Span& s) { return p < s.range.location; });
        return std::span(first, last);
    };
    for (bool widened = true; widened;) {
        widened = false;
        for (const CodeSyntax::Span& span : meeting(*window)) {
            if (span.range.location >= window->location && span.range.end() <= window->end())
                continue;
            window = TextRange::spanning(window, wholeLines(source, span.range));
            widened = true;
        }
    }
    return window;
}

MarkdownGlyphPresentation::GlyphAction MarkdownGlyphPresentation::glyphAction(qsizetype index) const
{
    if (!m_hiddenCharacters.contains(index))
        return GlyphAction::keep;
    return m_hiddenControlCharacters.contains(index) ? GlyphAction::control : GlyphAction::null;
}

bool MarkdownGlyphPresentation::isListFragment(qsizetype location) const
{
    // List lines are in text order and never overlap.
    const auto line = std::upper_bound(m_listLines.cbegin(), m_listLines.cend(), location,
                                       [](qsizetype p, const TextRange& r) { return p < r.end(); });
    return line != m_listLines.cend() && line->contains(location);
}

qreal MarkdownGlyphPresentation::targetHeight(qreal largestLineHeight, bool listLine)
{
    return (largestLineHeight + 2) * (listLine ? EditorLayout::lineHeightMultiplier : 1.0);
}

bool MarkdownGlyphPresentation::shouldSetLineFragmentRect(LineFragmentMetrics& metrics, TextRange characters,
                                                          qreal largestLineHeight) const
{
    if (!(largestLineHeight > 0))
        return false;
    const qreal target = targetHeight(largestLineHeight, isListFragment(characters.location));
    const qreal height = std::max(metrics.height, target);
    const qreal growth = height - metrics.height;
    if (!(growth > minimumGrowth))
        return false;
    metrics.height = height;
    metrics.usedHeight = std::max(metrics.usedHeight, height);
    // The line sits in the middle of the added room.
    metrics.baselineOffset += growth * 0.5;
    return true;
}

MarkdownGlyphPresentation::ParagraphLineHeight
MarkdownGlyphPresentation::paragraphLineHeight(qreal largestLineHeight, qreal tallestObject, bool listLine)
{
    if (!(largestLineHeight > 0))
        return {};
    const qreal target = targetHeight(largestLineHeight, listLine);
    return ParagraphLineHeight{.height = target, .minimum = tallestObject + minimumGrowth >= target};
}

} // namespace quillor
