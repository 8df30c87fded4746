#pragma once

#include "core/TextRange.h"
#include "editing/MarkdownDecorations.h"

#include <QRectF>

class QTextBlock;
class QTextDocument;

namespace quillor {

class MarkdownGlyphPresentation;

// The editor's laid-out document as the decorations read it. A line fragment
// spans the text area's width and the line's whole height: the room the
// paragraph's line height adds (see
// MarkdownGlyphPresentation::paragraphLineHeight) belongs to the fragments, so
// that quote bars of consecutive lines meet. Reading a paragraph lays it out
// first.
class DocumentDecorationLayout : public DecorationLayout {
public:
    DocumentDecorationLayout(const QTextDocument& document, qsizetype textLength,
                             const MarkdownGlyphPresentation& glyphs);

    qsizetype textLength() const override { return m_textLength; }
    qreal lineFragmentPadding() const override { return 0; }
    QList<LineFragment> lineFragments(TextRange range) const override;
    QRectF glyphBounds(TextRange range, const LineFragment& fragment) const override;
    bool isNullGlyph(qsizetype position) const override;

    // The box of one character on its line, over the line's natural height
    // (without the added room): where a list marker's control is centred.
    QRectF characterBox(qsizetype position) const;
    // The room of the line a caret at the position stands on, over the text
    // area's width; null outside the document.
    QRectF caretLineRoom(qsizetype position) const;
    // The characters of the lines that meet a rectangle of the document,
    // found from `near` (the caret's paragraph) when the rectangle is close
    // to it.
    TextRange charactersIn(const QRectF& rect, const QTextBlock& near) const;

private:
    // Where the paragraph's lines are placed in the document; the last one
    // asked for is kept, as a painting asks for the same paragraph many times.
    QPointF origin(const QTextBlock& block) const;
    // The paragraph at this height of the document, the first or the last
    // when none is.
    QTextBlock blockAt(qreal y, const QTextBlock& near) const;

    const QTextDocument& m_document;
    qsizetype m_textLength;
    const MarkdownGlyphPresentation& m_glyphs;
    mutable int m_originBlock = -1;
    mutable QPointF m_origin;
};

} // namespace quillor
