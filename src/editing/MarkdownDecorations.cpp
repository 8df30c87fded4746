#include "editing/MarkdownDecorations.h"

#include "editing/EditorLayout.h"
#include "editing/MarkdownAnalysis.h"
#include "editing/MarkdownPresentation.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace quillor {

namespace {

using Decoration = MarkdownLayoutManager::Decoration;
using DecorationKind = MarkdownLayoutManager::DecorationKind;

TextRange intersection(TextRange a, TextRange b)
{
    const qsizetype start = std::max(a.location, b.location);
    const qsizetype end = std::min(a.end(), b.end());
    return start < end ? TextRange::fromBounds(start, end) : TextRange{start, 0};
}

// The elements of a list of disjoint ranges in text order (as `range` gives
// them) that meet the request, found by halves: a long text has thousands.
template <typename T, typename Range>
std::span<const T> meeting(const QList<T>& list, TextRange request, Range range)
{
    const T* end = list.constData() + list.size();
    const T* first = std::upper_bound(list.constData(), end, request.location,
                                      [&range](qsizetype p, const T& element) { return p < range(element).end(); });
    const T* last = std::lower_bound(first, end, request.end(),
                                     [&range](const T& element, qsizetype p) { return range(element).location < p; });
    return {first, last};
}

// A highlight away from the selection paints its word, not its "==" runs.
TextRange visibleHighlight(const QString& text, TextRange range)
{
    qsizetype opening = 0;
    while (opening < range.length && text.at(range.location + opening) == u'=')
        ++opening;
    return TextRange{range.location + opening, std::max<qsizetype>(range.length - 2 * opening, 0)};
}

// The range without the hidden glyphs at either end, so that a background
// does not stretch over syntax that takes no room.
TextRange withoutNullGlyphsAtEnds(TextRange range, const DecorationLayout& layout)
{
    qsizetype start = range.location;
    qsizetype end = range.end();
    while (start < end && layout.isNullGlyph(start))
        ++start;
    while (end > start && layout.isNullGlyph(end - 1))
        --end;
    return TextRange::fromBounds(start, end);
}

// Inline code and highlights: one background per line, around the visible
// glyphs of the span on that line.
void appendPerLine(QList<Decoration>& result, DecorationKind kind, TextRange span, TextRange request,
                   const DecorationLayout& layout)
{
    const TextRange requested = intersection(span, request);
    if (requested.isEmpty())
        return;
    const qreal widening = kind == DecorationKind::code ? 2 : 0;
    for (const LineFragment& fragment : layout.lineFragments(requested)) {
        const TextRange onLine = intersection(fragment.range, span);
        if (onLine.isEmpty())
            continue;
        const TextRange visible = withoutNullGlyphsAtEnds(onLine, layout);
        if (visible.isEmpty())
            continue;
        const QRectF box = layout.glyphBounds(visible, fragment);
        if (!(box.width() > 0))
            continue;
        result.append(Decoration{kind, box.adjusted(-widening, 1, widening, -1)});
    }
}

void appendDragging(QList<Decoration>& result, const std::optional<TextRange>& dragged, TextRange request,
                    const DecorationLayout& layout)
{
    if (!dragged || dragged->length <= 0 || dragged->location < 0 || dragged->end() > layout.textLength())
        return;
    const TextRange requested = intersection(*dragged, request);
    if (requested.isEmpty())
        return;
    const qreal padding = layout.lineFragmentPadding();
    for (const LineFragment& fragment : layout.lineFragments(requested)) {
        const QRectF& r = fragment.rect;
        const QRectF band(QPointF(r.left() + padding, r.top() + 0.5), QPointF(r.right(), r.bottom() - 0.5));
        result.append(Decoration{DecorationKind::dragging, band});
    }
}

std::optional<QRectF> visibleBand(TextRange request, const DecorationLayout& layout)
{
    if (request.isEmpty())
        return std::nullopt;
    std::optional<QRectF> band;
    for (const LineFragment& fragment : layout.lineFragments(request))
        band = band ? band->united(fragment.rect) : fragment.rect;
    return band;
}

QList<QRectF> quoteBars(const QList<QuoteSyntax::Line>& quotes, const DecorationLayout& layout)
{
    const qreal padding = layout.lineFragmentPadding();
    QList<QRectF> bars;
    for (const QuoteSyntax::Line& line : quotes) {
        // From the text after the markers, or the terminator of an empty quote line.
        const qsizetype start = std::min(line.prefix.end(), line.range.end() - 1);
        const TextRange characters = TextRange::fromBounds(start, line.range.end());
        for (const LineFragment& fragment : layout.lineFragments(characters)) {
            for (int level = 0; level < line.depth; ++level) {
                bars.append(QRectF(fragment.rect.left() + padding + 1 + QuoteSyntax::textIndent(level),
                                   fragment.rect.top(), QuoteSyntax::barWidth, fragment.rect.height()));
            }
        }
    }
    std::stable_sort(bars.begin(), bars.end(), [](const QRectF& a, const QRectF& b) {
        return a.left() < b.left() || (a.left() == b.left() && a.top() < b.top());
    });
    // Bars of consecutive lines at the same level become one.
    QList<QRectF> merged;
    for (const QRectF& bar : bars) {
        if (!merged.isEmpty() && std::abs(bar.left() - merged.last().left()) < 0.1
            && std::abs(bar.top() - merged.last().bottom()) < 0.5)
            merged.last() = merged.last().united(bar);
        else
            merged.append(bar);
    }
    return merged;
}

// The quote lines whose bars may show in the requested characters: those
// that overlap them, with the lines right before and after them whose bars
// join theirs into one.
QList<QuoteSyntax::Line> quotesNear(const QList<QuoteSyntax::Line>& quotes, TextRange request)
{
    // Quote lines are in text order and never overlap.
    auto first = std::lower_bound(quotes.cbegin(), quotes.cend(), request.location,
                                  [](const QuoteSyntax::Line& line, qsizetype p) { return line.range.end() <= p; });
    auto last = std::lower_bound(first, quotes.cend(), request.end() + 1,
                                 [](const QuoteSyntax::Line& line, qsizetype p) { return line.range.location < p; });
    if (first == last)
        return {};
    while (first != quotes.cbegin() && std::prev(first)->range.end() == first->range.location)
        --first;
    while (last != quotes.cend() && last->range.location == std::prev(last)->range.end())
        ++last;
    return QList<QuoteSyntax::Line>(first, last);
}

void appendQuotes(QList<Decoration>& result, const QList<QuoteSyntax::Line>& quotes, TextRange request,
                  const std::optional<QRectF>& band, const DecorationLayout& layout)
{
    if (!band || quotes.isEmpty())
        return;
    // Only the bars near the request are laid out: a long text has thousands.
    for (const QRectF& bar : quoteBars(quotesNear(quotes, request), layout)) {
        if (bar.bottom() > band->top() && bar.top() < band->bottom())
            result.append(Decoration{DecorationKind::quote, bar});
    }
}

void appendFencedBlock(QList<Decoration>& result, const CodeSyntax::Span& span, const QList<TextRange>& selections,
                       TextRange request, const DecorationLayout& layout)
{
    // With the caret inside, the fences are shown, so the background covers them.
    const TextRange characters = CodeSyntax::isActive(span, selections) ? span.range : span.contentRange;
    const TextRange requested = intersection(characters, request);
    if (requested.isEmpty())
        return;
    const qreal padding = layout.lineFragmentPadding();
    std::optional<QRectF> block;
    for (const LineFragment& fragment : layout.lineFragments(requested)) {
        const QRectF line = fragment.rect.adjusted(padding, 0, -padding, 0);
        block = block ? block->united(line) : line;
    }
    if (block)
        result.append(Decoration{DecorationKind::code, block->adjusted(0, 1, 0, -1)});
}

} // namespace

bool MarkdownLayoutManager::updateDecorations(const QString& source, const QList<TextRange>& selections,
                                              bool composing)
{
    if (source == m_source && selections == m_selections && composing == m_composing)
        return false;
    // Nothing is read from the text while composing.
    return updateDecorations(source, composing ? MarkdownAnalysis{} : MarkdownAnalysis::of(source), selections,
                             composing);
}

bool MarkdownLayoutManager::updateDecorations(const QString& source, const MarkdownAnalysis& analysis,
                                              const QList<TextRange>& selections, bool composing)
{
    if (source == m_source && selections == m_selections && composing == m_composing)
        return false;
    m_source = source;
    m_selections = selections;
    m_composing = composing;
    m_quoteLines.clear();
    m_code.clear();
    m_highlightStyles.clear();
    if (composing)
        return true;
    // Which quote lines and highlights a selection touches is decided where
    // they are drawn: deciding it for every line of a long text would cost
    // each keystroke.
    m_quoteLines = analysis.quotes;
    m_code = analysis.code;
    // A rule finds one kind of style: the highlights' is kept.
    for (const QList<MarkdownStyle>& rule : analysis.styleRules) {
        if (!rule.isEmpty() && rule.constFirst().highlight)
            m_highlightStyles = rule;
    }
    return true;
}

TextRange MarkdownLayoutManager::shownHighlight(const MarkdownStyle& style) const
{
    return MarkdownPresentation::isActive(style.range, m_selections) ? style.range
                                                                    : visibleHighlight(m_source, style.range);
}

QList<TextRange> MarkdownLayoutManager::highlights() const
{
    QList<TextRange> shown;
    for (const MarkdownStyle& style : m_highlightStyles) {
        if (style.highlight)
            shown.append(shownHighlight(style));
    }
    return shown;
}

QList<QuoteSyntax::Line> MarkdownLayoutManager::quotes() const
{
    return inactiveQuotes(m_quoteLines);
}

QList<QuoteSyntax::Line> MarkdownLayoutManager::inactiveQuotes(const QList<QuoteSyntax::Line>& lines) const
{
    QList<QuoteSyntax::Line> inactive;
    for (const QuoteSyntax::Line& line : lines) {
        if (!QuoteSyntax::isActive(line, m_source, m_selections))
            inactive.append(line);
    }
    return inactive;
}

QList<MarkdownLayoutManager::Decoration> MarkdownLayoutManager::decorations(TextRange glyphRange,
                                                                            const DecorationLayout& layout) const
{
    QList<Decoration> result;
    if (layout.textLength() <= 0)
        return result;
    appendDragging(result, m_draggedRange, glyphRange, layout);
    appendQuotes(result, inactiveQuotes(quotesNear(m_quoteLines, glyphRange)), glyphRange,
                 visibleBand(glyphRange, layout), layout);
    const auto codeRange = [](const CodeSyntax::Span& span) { return span.range; };
    for (const CodeSyntax::Span& span : meeting(m_code, glyphRange, codeRange)) {
        if (span.fenced)
            appendFencedBlock(result, span, m_selections, glyphRange, layout);
        else
            appendPerLine(result, DecorationKind::code, span.range, glyphRange, layout);
    }
    const auto styleRange = [](const MarkdownStyle& style) { return style.range; };
    for (const MarkdownStyle& style : meeting(m_highlightStyles, glyphRange, styleRange)) {
        if (style.highlight)
            appendPerLine(result, DecorationKind::highlight, shownHighlight(style), glyphRange, layout);
    }
    return result;
}

MarkdownLayoutManager::ParagraphStyle MarkdownLayoutManager::paragraphStyle(qreal lineHeight, int quoteDepth,
                                                                            bool listItem)
{
    Q_UNUSED(lineHeight)
    const qreal indent = QuoteSyntax::textIndent(quoteDepth) + (listItem ? EditorLayout::listLeadingIndent : 0);
    return ParagraphStyle{.lineSpacing = 0, .firstLineHeadIndent = indent, .headIndent = indent};
}

namespace DecorationPaint {

qreal cornerRadius(MarkdownLayoutManager::DecorationKind kind)
{
    return kind == MarkdownLayoutManager::DecorationKind::quote ? 1.5 : 4;
}

QRectF draggingClip(const QRectF& rect, qreal originX)
{
    return QRectF(originX, rect.top(), std::max(rect.right() - originX, 0.0), rect.height());
}

} // namespace DecorationPaint
} // namespace quillor
