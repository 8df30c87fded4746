// The editor's mouse: which presses move the capture panel, what the pointer
// looks like, and what a click does: move the panel, follow a link with Ctrl
// held, work a list control, or place the caret.

#include "editor/CaptureTextView.h"

#include "editing/EditorLayout.h"
#include "editing/ListSyntax.h"
#include "editor/DocumentDecorationLayout.h"
#include "model/AppModel.h"
#include "vault/NoteLinks.h"

#include <QAbstractTextDocumentLayout>
#include <QCursor>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

namespace quillor {

namespace {

// How far around a task box a press still belongs to it.
constexpr qreal checkboxSlackX = 2;
constexpr qreal checkboxSlackY = 3;
// How far left of the brand corner a press still moves the panel.
constexpr qreal brandSlack = 8;

// Where a press starts dragging the item: its handle and its whole marker.
QRectF markerDragArea(const DocumentDecorationLayout& layout, const ListSyntax::Item& item)
{
    const QRectF first = layout.characterBox(item.marker.location);
    const QRectF last = layout.characterBox(std::max(item.marker.location, item.marker.end() - 1));
    return EditorLayout::markerDragRect(EditorLayout::listHandleRect(first), first.united(last));
}

} // namespace

// MARK: Places

// Only the items standing by a row can have their controls under a point in
// it: measuring every item of a long capture would cost each press of Ctrl,
// which changes the pointer, as much as laying the text out.
std::span<const ListSyntax::Item> CaptureTextView::itemsNear(const DocumentDecorationLayout& layout, qreal y) const
{
    const TextRange lines = layout.charactersIn(QRectF(0, y - 2 * decorationReach, 1, 4 * decorationReach),
                                                textCursor().block());
    const auto byLine = [](const ListSyntax::Item& item, qsizetype position) { return item.line.location < position; };
    const auto begin = std::lower_bound(m_analysis.items.cbegin(), m_analysis.items.cend(), lines.location, byLine);
    const auto end = std::lower_bound(begin, m_analysis.items.cend(), lines.end() + 1, byLine);
    return std::span(begin, end);
}

bool CaptureTextView::isCaptureDragArea(const QPointF& point) const
{
    const QPointF p = point + scrollOffset();
    // The items describe the text the last styling pass saw.
    if (m_layoutManager.source() == m_content.text) {
        const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
        for (const ListSyntax::Item& item : itemsNear(layout, p.y())) {
            if (item.marker.location >= m_content.text.size())
                continue;
            if (markerDragArea(layout, item).contains(p))
                return false;
            const QRectF box = item.checkbox ? checkboxRect(item) : QRectF();
            if (!box.isNull()
                && box.adjusted(-checkboxSlackX, -checkboxSlackY, checkboxSlackX, checkboxSlackY).contains(p))
                return false;
        }
    }
    const qreal inset = document()->documentMargin();
    const qreal height = std::max<qreal>(document()->size().height(), viewport()->height());
    const QRectF textArea(inset, inset, viewport()->width() - 2 * inset, height - 2 * inset);
    if (!textArea.contains(p))
        return true;
    const QRectF brand = brandingRect();
    return !brand.isNull() && p.x() >= brand.left() - brandSlack;
}

// The glyph boxes themselves: the nearest insertion point would make a press
// in the empty end of a line follow the link that ends it.
std::optional<qsizetype> CaptureTextView::characterAt(const QPointF& point) const
{
    const QPointF p = point + scrollOffset();
    // The paragraph at the point's height, found by halves: the layout's own
    // hit test walks the paragraphs one by one from the top.
    const DocumentDecorationLayout rows(*document(), m_content.text.size(), m_glyphs);
    const QTextBlock row = document()->findBlock(int(rows.charactersIn(QRectF(p, QSizeF()), textCursor().block()).location));
    const QTextLayout* rowLayout = row.isValid() ? row.layout() : nullptr;
    if (!rowLayout || rowLayout->lineCount() == 0)
        return std::nullopt;
    const QPointF inRow = p - rowLayout->position();
    QTextLine nearest = rowLayout->lineAt(0);
    for (int i = 1; i < rowLayout->lineCount() && rowLayout->lineAt(i).y() <= inRow.y(); ++i)
        nearest = rowLayout->lineAt(i);
    const int hit = row.position() + nearest.xToCursor(inRow.x());
    for (const qsizetype candidate : {qsizetype(hit) - 1, qsizetype(hit)}) {
        if (candidate < 0 || candidate >= m_content.text.size() || m_content.text[candidate] == u'\n')
            continue;
        const QTextBlock block = document()->findBlock(int(candidate));
        const QTextLayout* layout = block.layout();
        const int inBlock = int(candidate - block.position());
        const QTextLine line = layout ? layout->lineForTextPosition(inBlock) : QTextLine();
        if (!line.isValid())
            continue;
        const QPointF origin = layout->position();
        const qreal start = origin.x() + line.cursorToX(inBlock);
        const qreal end = origin.x() + line.cursorToX(inBlock + 1);
        const QRectF box(std::min(start, end), origin.y() + line.y(), std::abs(end - start), line.height());
        if (box.contains(p))
            return candidate;
    }
    return std::nullopt;
}

Qt::CursorShape CaptureTextView::hoverCursor(const QPointF& point, Qt::KeyboardModifiers modifiers) const
{
    if (isCaptureDragArea(point))
        return Qt::OpenHandCursor;
    if (modifiers & Qt::ControlModifier) {
        if (const std::optional<qsizetype> index = characterAt(point); index && NoteLinks::link(m_content.text, *index))
            return Qt::PointingHandCursor;
    }
    if (m_layoutManager.source() == m_content.text) {
        const QPointF p = point + scrollOffset();
        const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
        const QList<TextRange> selections = m_layoutManager.selections();
        for (const ListSyntax::Item& item : itemsNear(layout, p.y())) {
            if (item.marker.location >= m_content.text.size())
                continue;
            if (item.checkbox && ListSyntax::showsRenderedCheckbox(item, m_content.text, selections)
                && checkboxRect(item).contains(p))
                return Qt::PointingHandCursor;
            if (markerDragArea(layout, item).contains(p))
                return Qt::OpenHandCursor;
        }
    }
    return Qt::IBeamCursor;
}

void CaptureTextView::updateHoverCursor(Qt::KeyboardModifiers modifiers)
{
    if (!window()->isActiveWindow())
        return;
    const QPoint point = viewport()->mapFromGlobal(QCursor::pos());
    if (viewport()->rect().contains(point))
        viewport()->setCursor(hoverCursor(point, modifiers));
}

// MARK: Presses

bool CaptureTextView::followLink(const QMouseEvent& press)
{
    const std::optional<qsizetype> index = characterAt(press.position());
    const std::optional<EditorLink> link = index ? NoteLinks::link(m_content.text, *index) : std::nullopt;
    if (!link)
        return false;
    if (link->kind == EditorLink::Kind::external) {
        if (openLink)
            openLink(link->url);
    } else if (m_model && openNotePreview) {
        openNotePreview(link->target);
    }
    return true;
}

// The panel's move first, then a link under Ctrl; what is left goes to the
// list controls, then to the text edit (caret and selection).
bool CaptureTextView::takePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return false;
    if (movePanel && isCaptureDragArea(event->position())) {
        event->accept();
        movePanel(*event);
        return true;
    }
    if ((event->modifiers() & Qt::ControlModifier) && followLink(*event)) {
        event->accept();
        return true;
    }
    if (listMouseDown(*event)) {
        event->accept();
        return true;
    }
    return false;
}

void CaptureTextView::mousePressEvent(QMouseEvent* event)
{
    m_pressTaken = takePress(event);
    if (!m_pressTaken)
        QTextEdit::mousePressEvent(event);
}

// A double click's second press is taken as the first was.
void CaptureTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_pressTaken = takePress(event);
    if (!m_pressTaken)
        QTextEdit::mouseDoubleClickEvent(event);
}

void CaptureTextView::mouseReleaseEvent(QMouseEvent* event)
{
    // The text edit would finish a selection it never started.
    if (event->button() == Qt::LeftButton && listMouseUp()) {
        m_pressTaken = false;
        event->accept();
        return;
    }
    if (std::exchange(m_pressTaken, false)) {
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
}

void CaptureTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (listMouseMove(event->position())) {
        event->accept();
        return;
    }
    QTextEdit::mouseMoveEvent(event);
    if (window()->isActiveWindow())
        viewport()->setCursor(hoverCursor(event->position(), event->modifiers()));
}

} // namespace quillor
