// List items under the mouse: a click ticks a drawn task box, and a press on
// a handle or marker drags the item's block to another line or indentation,
// with a drop indicator following the pointer. The press is followed through
// the viewport's move and release events, never a nested event loop; every
// way out goes through endListDrag().

#include "editor/CaptureTextView.h"

#include "core/L10n.h"
#include "editing/EditorLayout.h"
#include "editor/DocumentDecorationLayout.h"
#include "model/AppModel.h"

#include <QGuiApplication>
#include <QLineF>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>

#include <algorithm>
#include <cmath>

namespace quillor {

namespace {

// A press moving this far becomes a drag.
constexpr qreal dragThreshold = 4;
// A drag that stays this close to its line only re-indents the item.
constexpr qreal sameLineTravel = 8;
// How far a task box reaches for a click beyond its drawing.
constexpr qreal checkboxSlackX = 2;
constexpr qreal checkboxSlackY = 3;
constexpr int autoScrollInterval = 30;
constexpr int autoScrollMaximumStep = 20;

// The line holding a position, its terminator included.
TextRange lineAt(const QString& text, qsizetype position)
{
    const qsizetype start = position > 0 ? text.lastIndexOf(u'\n', position - 1) + 1 : 0;
    const qsizetype newline = text.indexOf(u'\n', position);
    return TextRange::fromBounds(start, newline < 0 ? text.size() : newline + 1);
}

} // namespace

// MARK: Geometry

QRectF CaptureTextView::markerRect(TextRange range) const
{
    if (range.isEmpty() || range.location < 0 || range.end() > m_content.text.size())
        return {};
    const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
    QRectF box;
    for (qsizetype position = range.location; position < range.end(); ++position) {
        const QRectF character = layout.characterBox(position);
        box = box.isNull() ? character : box.united(character);
    }
    return box;
}

const ListSyntax::Item* CaptureTextView::listItemAt(const QPointF& point) const
{
    // The items describe the text the last styling pass saw.
    if (m_layoutManager.source() != m_content.text)
        return nullptr;
    for (const ListSyntax::Item& item : m_analysis.items) {
        const QRectF handle = EditorLayout::listHandleRect(markerRect(TextRange{item.marker.location, 1}));
        if (EditorLayout::markerDragRect(handle, markerRect(item.marker)).contains(point))
            return &item;
    }
    return nullptr;
}

// MARK: Edits

void CaptureTextView::toggleCheckbox(const ListSyntax::Item& item)
{
    if (!canEditText() || !item.checkbox || item.checkbox->end() > m_content.text.size())
        return;
    const bool checked = m_content.text.mid(item.checkbox->location, item.checkbox->length).toLower()
                         == QLatin1String("[x]");
    const TextRange selection = selectionRange();
    replaceUndoably(*item.checkbox, EditorContent::plain(checked ? QStringLiteral("[ ]") : QStringLiteral("[x]")),
                    std::nullopt, L10n::text(QStringLiteral("Cocher la tâche")), std::nullopt);
    setSelectionRange(selection);
}

void CaptureTextView::moveListItem(const ListSyntax::Item& item, qsizetype destination, int indentSteps)
{
    if (!canEditText())
        return;
    if (const std::optional<ListMovement::Plan> plan =
            ListMovement::plan(m_content.text, item, destination, indentSteps, selectionRange()))
        applyListPlan(*plan);
}

// MARK: Press, drag and release

void CaptureTextView::hideEvent(QHideEvent* event)
{
    endListDrag();
    QTextEdit::hideEvent(event);
}

bool CaptureTextView::listMouseDown(const QMouseEvent& event)
{
    if (isReadOnly() || m_listPress)
        return false;
    const QPointF start = event.position() + scrollOffset();
    const ListSyntax::Item* item = listItemAt(start);
    if (!item)
        return false;
    const QRectF handle = EditorLayout::listHandleRect(markerRect(TextRange{item->marker.location, 1}));
    const bool checkboxClick =
        ListSyntax::showsRenderedCheckbox(*item, m_content.text, {selectionRange()}) && !handle.contains(start)
        && checkboxRect(*item).adjusted(-checkboxSlackX, -checkboxSlackY, checkboxSlackX, checkboxSlackY).contains(start);
    m_listPress = ListPress{*item, start, event.position(), false, checkboxClick, item->line.location, 0};
    setFocus(Qt::MouseFocusReason);
    if (m_model)
        m_model->dismissSuggestions();
    QGuiApplication::setOverrideCursor(Qt::ClosedHandCursor);
    connect(&m_listAutoScroll, &QTimer::timeout, this, &CaptureTextView::autoScrollListDrag, Qt::UniqueConnection);
    m_listAutoScroll.setInterval(autoScrollInterval);
    return true;
}

bool CaptureTextView::listMouseMove(const QPointF& position)
{
    if (!m_listPress)
        return false;
    m_listPress->last = position;
    if (!m_listPress->dragging) {
        if (QLineF(m_listPress->start, position + scrollOffset()).length() <= dragThreshold)
            return true;
        m_listPress->dragging = true;
        setDraggedRange(ListMovement::blockRange(m_content.text, m_listPress->item));
    }
    // Qt reports no moves while the pointer rests outside: the timer scrolls.
    const bool outside = position.y() < 0 || position.y() > viewport()->height();
    if (outside && !m_listAutoScroll.isActive())
        m_listAutoScroll.start();
    else if (!outside)
        m_listAutoScroll.stop();
    followListDrag(position);
    return true;
}

void CaptureTextView::autoScrollListDrag()
{
    if (!m_listPress || !m_listPress->dragging) {
        m_listAutoScroll.stop();
        return;
    }
    const qreal y = m_listPress->last.y();
    const qreal beyond = y < 0 ? y : std::max<qreal>(y - viewport()->height(), 0);
    const int step = std::clamp(int(std::lround(beyond)), -autoScrollMaximumStep, autoScrollMaximumStep);
    QScrollBar* bar = verticalScrollBar();
    const int before = bar->value();
    bar->setValue(before + step);
    if (bar->value() != before)
        followListDrag(m_listPress->last);
}

void CaptureTextView::followListDrag(const QPointF& position)
{
    ListPress& press = *m_listPress;
    const QString& text = m_content.text;
    const QPointF point = position + scrollOffset();
    const qsizetype n = text.size();
    const TextRange line = lineAt(text, std::clamp<qsizetype>(cursorForPosition(position.toPoint()).position(), 0, n));
    const QRectF row = line.isEmpty() ? markerRect(TextRange{std::max<qsizetype>(n - 1, 0), std::min<qsizetype>(n, 1)})
                                      : markerRect(TextRange{line.location, 1});
    if (std::abs(point.y() - press.start.y()) < sameLineTravel) {
        press.destination = press.item.line.location;
    } else if (point.y() > row.center().y()) {
        // Below the middle: after the whole block of the item on that line.
        const auto starting = std::find_if(m_analysis.items.cbegin(), m_analysis.items.cend(),
                                           [&](const ListSyntax::Item& item) { return item.line.location == line.location; });
        press.destination = starting != m_analysis.items.cend() ? ListMovement::blockRange(text, *starting).end()
                                                                : line.end();
    } else {
        press.destination = line.location;
    }
    press.steps = EditorLayout::indentationSteps(point.x() - press.start.x());
    const std::optional<ListMovement::Plan> plan =
        ListMovement::plan(text, press.item, press.destination, press.steps, selectionRange());
    m_listDropIndent = int(plan ? plan->indentation : press.item.indentation);
    const qsizetype drop = plan ? plan->destination : press.destination;
    m_listDropY = drop == line.location || drop == 0 ? row.top() : markerRect(TextRange{drop - 1, 1}).bottom();
    viewport()->repaint();
}

bool CaptureTextView::listMouseUp()
{
    if (!m_listPress)
        return false;
    const ListPress press = *m_listPress;
    endListDrag();
    if (press.dragging)
        moveListItem(press.item, press.destination, press.steps);
    else if (press.checkboxClick)
        toggleCheckbox(press.item);
    else
        setSelectionRange(TextRange{cursorForPosition((press.start - scrollOffset()).toPoint()).position(), 0});
    return true;
}

void CaptureTextView::endListDrag()
{
    if (!m_listPress)
        return;
    // Cancelled with the button still down: the press stays taken, so its
    // release is not a click.
    m_listPress.reset();
    m_listAutoScroll.stop();
    QGuiApplication::restoreOverrideCursor();
    m_listDropY.reset();
    m_listDropIndent = 0;
    setDraggedRange(std::nullopt);
}

} // namespace quillor
