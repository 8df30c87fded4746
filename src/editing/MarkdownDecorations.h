#pragma once

#include "core/TextRange.h"
#include "editing/CodeSyntax.h"
#include "editing/MarkdownStyle.h"
#include "editing/QuoteSyntax.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillor {

struct MarkdownAnalysis;

// One laid-out line of the editor: the characters it holds (on a paragraph's
// last line, its line terminator too, so that an empty line still owns a
// position) and its whole rectangle in document coordinates: from the text
// area's left to its right, over the line's full height, extra line height
// included.
struct LineFragment {
    TextRange range;
    QRectF rect;

    bool operator==(const LineFragment&) const = default;
};

// What the decorations need from the laid-out text. The view answers from its
// document layout; positions are UTF-16 units of the whole text.
class DecorationLayout {
public:
    virtual ~DecorationLayout() = default;

    virtual qsizetype textLength() const = 0;
    // The inset of the text inside every line fragment.
    virtual qreal lineFragmentPadding() const = 0;
    // The lines holding at least one position of the range, top to bottom;
    // none for an empty range.
    virtual QList<LineFragment> lineFragments(TextRange range) const = 0;
    // The box of the glyphs of a non-empty range lying on one fragment, from
    // the first glyph's leading edge to the last one's trailing edge.
    virtual QRectF glyphBounds(TextRange range, const LineFragment& fragment) const = 0;
    // A glyph the concealment hides outright (not a zero-width control glyph).
    virtual bool isNullGlyph(qsizetype position) const = 0;
};

// The editor's decorations drawn behind the text: quote bars, code and
// highlight backgrounds, and the feedback of a list block being dragged. The
// analysis is kept between keystrokes; rectangles are computed for each paint
// from the current layout and never stored.
class MarkdownLayoutManager {
public:
    enum class DecorationKind { quote, code, highlight, dragging };

    struct Decoration {
        DecorationKind kind = DecorationKind::quote;
        QRectF rect;

        bool operator==(const Decoration&) const = default;
    };

    // Head indents of a line; the line height itself is set per line (see
    // MarkdownGlyphPresentation), so `lineHeight` does not enter the style.
    struct ParagraphStyle {
        qreal lineSpacing = 0;
        qreal firstLineHeadIndent = 0;
        qreal headIndent = 0;

        bool operator==(const ParagraphStyle&) const = default;
    };

    // Re-analyses the text unless text, selections (same ranges, same order)
    // and composing are all unchanged. True when something changed: the view
    // then repaints the whole text. While composing nothing is decorated but
    // the drag feedback.
    bool updateDecorations(const QString& source, const QList<TextRange>& selections, bool composing);
    // The same with the source's analysis (MarkdownAnalysis::of) already made.
    bool updateDecorations(const QString& source, const MarkdownAnalysis& analysis,
                           const QList<TextRange>& selections, bool composing);

    // In drawing order: dragging, quote bars, code, highlights. Only what meets
    // the requested range, except that quote bars are measured over whole
    // quote lines and kept where they meet the requested lines, so that merged
    // bars stay continuous across partial repaints.
    QList<Decoration> decorations(TextRange glyphRange, const DecorationLayout& layout) const;

    // The list block being dragged; set and cleared by the view, which
    // repaints the whole text on each change.
    const std::optional<TextRange>& draggedRange() const { return m_draggedRange; }
    void setDraggedRange(std::optional<TextRange> range) { m_draggedRange = range; }

    // Indents a line by 10 per quote level, and by the list handle's room on
    // a list line.
    static ParagraphStyle paragraphStyle(qreal lineHeight, int quoteDepth, bool listItem);

    // The quote lines that get a bar: those no selection touches.
    QList<QuoteSyntax::Line> quotes() const;
    const QList<CodeSyntax::Span>& code() const { return m_code; }
    // Highlights to paint, without their "==" unless a selection touches them.
    QList<TextRange> highlights() const;
    const QString& source() const { return m_source; }
    const QList<TextRange>& selections() const { return m_selections; }
    bool composing() const { return m_composing; }

private:
    QList<QuoteSyntax::Line> inactiveQuotes(const QList<QuoteSyntax::Line>& lines) const;
    TextRange shownHighlight(const MarkdownStyle& style) const;

    QList<QuoteSyntax::Line> m_quoteLines;   // all of them, touched by a selection or not
    QList<CodeSyntax::Span> m_code;
    QList<MarkdownStyle> m_highlightStyles;   // the highlight rule's styles
    QString m_source;
    QList<TextRange> m_selections;
    bool m_composing = false;
    std::optional<TextRange> m_draggedRange;
};

// How the view paints each decoration kind. Fixed colours are (red, green,
// blue, alpha) in [0, 1]; the others are palette colours at the given alpha.
namespace DecorationPaint {

// Corner radius of the rounded rectangle: 1.5 for a quote bar, else 4.
qreal cornerRadius(MarkdownLayoutManager::DecorationKind kind);

// Quote bar fill: the secondary text colour at this alpha.
constexpr qreal quoteFillAlpha = 0.2;
// Code background: the text colour at these alphas, filled and stroked.
constexpr qreal codeFillAlpha = 0.07;
constexpr qreal codeStrokeAlpha = 0.25;
constexpr qreal codeStrokeWidth = 0.75;
// Fixed colours of highlights and the drag feedback.
struct Rgba {
    qreal red, green, blue, alpha;
    bool operator==(const Rgba&) const = default;
};
constexpr Rgba highlightFill{1.0, 0.82, 0.05, 0.6};
constexpr Rgba draggingFill{0.14, 0.33, 1.0, 0.09};

// The drag feedback is clipped from the paint origin's x to its right edge.
QRectF draggingClip(const QRectF& rect, qreal originX);

} // namespace DecorationPaint
} // namespace quillor
