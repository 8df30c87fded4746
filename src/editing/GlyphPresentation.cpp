#include "editing/GlyphPresentation.h"

#include "editing/CodeSyntax.h"
#include "editing/EditorLayout.h"
#include "editing/ListSyntax.h"
#include "editing/MarkdownAnalysis.h"
#include "editing/MarkdownDecorations.h"
#include "editing/MarkdownPresentation.h"
#include "editing/QuoteSyntax.h"

#include <algorithm>

namespace quillor {

namespace {

// Growth below this is rounding, not a line that needs more room. The margin
// keeps a growth of exactly 0.01, which binary arithmetic may land a hair
// above, on the side of "nothing to do".
constexpr qreal minimumGrowth = 0.01 + 1e-9;

// Quote markers and code delimiters: the syntax laid out as zero-width
// control glyphs rather than dropped, when hidden.
IndexSet controlCandidates(const MarkdownAnalysis& analysis)
{
    QList<TextRange> ranges;
    for (const QuoteSyntax::Line& line : analysis.quotes)
        ranges.append(line.prefix);
    for (const CodeSyntax::Span& span : analysis.code)
        ranges.append(span.delimiters);
    return IndexSet(ranges);
}

} // namespace

bool MarkdownGlyphPresentation::update(MarkdownLayoutManager* layoutManager, const QString& source,
                                       const QList<TextRange>& selections, bool composing)
{
    return update(layoutManager, source, MarkdownAnalysis::of(source), selections, composing);
}

bool MarkdownGlyphPresentation::update(MarkdownLayoutManager* layoutManager, const QString& source,
                                       const MarkdownAnalysis& analysis, const QList<TextRange>& selections,
                                       bool composing)
{
    if (layoutManager)
        layoutManager->updateDecorations(source, analysis, selections, composing);

    m_listLines.clear();
    m_listLines.reserve(analysis.items.size());
    for (const ListSyntax::Item& item : analysis.items)
        m_listLines.append(item.line);

    // An input method's composition shows every character as typed.
    IndexSet hidden;
    IndexSet control;
    if (!composing) {
        hidden = IndexSet(MarkdownPresentation::concealedRanges(source, analysis, selections));
        if (!hidden.isEmpty())
            control = controlCandidates(analysis).intersected(hidden);
    }
    const bool stale = hidden != m_hiddenCharacters || control != m_hiddenControlCharacters;
    m_hiddenCharacters = std::move(hidden);
    m_hiddenControlCharacters = std::move(control);
    return stale;
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
