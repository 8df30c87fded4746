#include "editor/DocumentDecorationLayout.h"

#include "editing/GlyphPresentation.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace quillor {

namespace {

// How far from the paragraph given as near a paragraph is looked for step by
// step, before a search by halves.
constexpr int nearSteps = 6;

// The room a laid-out line takes in its paragraph, top and bottom, as the
// document layout gives it: each line advances by its line height, and a
// fixed or minimum line height moves the line's text within that room.
std::pair<qreal, qreal> lineRoom(const QTextBlockFormat& format, const QTextLine& line)
{
    switch (format.lineHeightType()) {
    case QTextBlockFormat::FixedHeight: {
        const qreal height = format.lineHeight();
        const qreal top = line.y() + line.ascent() + std::max(line.leading(), 0.0) - height * 4 / 5;
        return {top, top + height};
    }
    case QTextBlockFormat::MinimumHeight:
        return {line.y() + line.height() - std::max(line.height(), format.lineHeight()), line.y() + line.height()};
    default:
        return {line.y(), line.y() + line.height()};
    }
}

} // namespace

DocumentDecorationLayout::DocumentDecorationLayout(const QTextDocument& document, qsizetype textLength,
                                                   const MarkdownGlyphPresentation& glyphs)
    : m_document(document), m_textLength(textLength), m_glyphs(glyphs)
{
}

QPointF DocumentDecorationLayout::origin(const QTextBlock& block) const
{
    // blockBoundingRect() lays the paragraph out when needed, and is placed
    // at the layout's position, whatever the lines' own offset (the
    // paragraph's indentation).
    if (block.blockNumber() != m_originBlock) {
        m_origin = m_document.documentLayout()->blockBoundingRect(block).topLeft();
        m_originBlock = block.blockNumber();
    }
    return m_origin;
}

QList<LineFragment> DocumentDecorationLayout::lineFragments(TextRange range) const
{
    QList<LineFragment> fragments;
    if (range.isEmpty())
        return fragments;
    const qreal margin = m_document.documentMargin();
    const qreal right = m_document.documentLayout()->documentSize().width() - margin;
    for (QTextBlock block = m_document.findBlock(int(range.location)); block.isValid() && block.position() < range.end();
         block = block.next()) {
        const qreal y = origin(block).y();
        const QTextLayout* layout = block.layout();
        const QTextBlockFormat format = block.blockFormat();
        const qsizetype position = block.position();
        const bool hasSeparator = block.next().isValid();
        const int count = layout->lineCount();
        for (int i = 0; i < count; ++i) {
            const QTextLine line = layout->lineAt(i);
            const bool last = i == count - 1;
            const TextRange characters{position + line.textStart(), line.textLength() + (last && hasSeparator ? 1 : 0)};
            if (!characters.overlaps(range))
                continue;
            const auto [top, bottom] = lineRoom(format, line);
            fragments.append(LineFragment{characters, QRectF(QPointF(margin, y + top), QPointF(right, y + bottom))});
        }
    }
    return fragments;
}

QRectF DocumentDecorationLayout::glyphBounds(TextRange range, const LineFragment& fragment) const
{
    const QTextBlock block = m_document.findBlock(int(range.location));
    if (!block.isValid())
        return {};
    const QPointF origin = this->origin(block);
    const QTextLine line = block.layout()->lineForTextPosition(int(range.location - block.position()));
    if (!line.isValid())
        return {};
    const qreal a = line.cursorToX(int(range.location - block.position()));
    const qreal b = line.cursorToX(int(std::min(range.end(), fragment.range.end()) - block.position()));
    return QRectF(QPointF(origin.x() + std::min(a, b), fragment.rect.top()),
                  QPointF(origin.x() + std::max(a, b), fragment.rect.bottom()));
}

bool DocumentDecorationLayout::isNullGlyph(qsizetype position) const
{
    return m_glyphs.isNullGlyph(position);
}

QRectF DocumentDecorationLayout::characterBox(qsizetype position) const
{
    const QTextBlock block = m_document.findBlock(int(position));
    if (!block.isValid())
        return {};
    const QPointF origin = this->origin(block);
    const int inBlock = int(position - block.position());
    const QTextLine line = block.layout()->lineForTextPosition(inBlock);
    if (!line.isValid())
        return {};
    const qreal a = line.cursorToX(inBlock);
    const qreal b = line.cursorToX(inBlock + 1);
    return QRectF(origin.x() + std::min(a, b), origin.y() + line.y(), std::abs(b - a), line.height());
}

QRectF DocumentDecorationLayout::caretLineRoom(qsizetype position) const
{
    const QTextBlock block = m_document.findBlock(int(position));
    if (!block.isValid())
        return {};
    const qreal y = origin(block).y();
    const QTextLine line = block.layout()->lineForTextPosition(int(position - block.position()));
    if (!line.isValid())
        return {};
    const auto [top, bottom] = lineRoom(block.blockFormat(), line);
    const qreal margin = m_document.documentMargin();
    return QRectF(QPointF(margin, y + top),
                  QPointF(m_document.documentLayout()->documentSize().width() - margin, y + bottom));
}

QTextBlock DocumentDecorationLayout::blockAt(qreal y, const QTextBlock& near) const
{
    const QAbstractTextDocumentLayout* layout = m_document.documentLayout();
    // A repaint after a keystroke covers the caret's paragraph and its
    // neighbours: a few steps from there cost less than a search by halves.
    QTextBlock block = near;
    for (int step = 0; block.isValid() && step < nearSteps; ++step) {
        if (layout->blockBoundingRect(block).bottom() <= y) {
            if (!block.next().isValid())
                return block;
            block = block.next();
            continue;
        }
        const QTextBlock previous = block.previous();
        if (!previous.isValid() || layout->blockBoundingRect(previous).bottom() <= y)
            return block;
        block = previous;
    }
    // By halves, paragraphs being laid out from top to bottom: the layout's
    // own hit test walks them one by one from the top, on every painting.
    int low = 0;
    int high = m_document.blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (layout->blockBoundingRect(m_document.findBlockByNumber(middle)).bottom() <= y)
            low = middle + 1;
        else
            high = middle;
    }
    return m_document.findBlockByNumber(low);
}

TextRange DocumentDecorationLayout::charactersIn(const QRectF& rect, const QTextBlock& near) const
{
    const QTextBlock from = blockAt(rect.top(), near);
    const QTextBlock to = blockAt(rect.bottom(), from);
    const qsizetype start = from.isValid() ? from.position() : 0;
    const qsizetype end = to.isValid() ? to.position() + to.length() : m_textLength;
    return TextRange::fromBounds(std::min(start, m_textLength), std::clamp(end, start, m_textLength));
}

} // namespace quillor
