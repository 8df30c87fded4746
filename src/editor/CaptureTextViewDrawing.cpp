// What the editor draws besides the text: the hover band behind the list row
// under the mouse, the placeholder and the brand corner of an empty capture,
// the list controls, and a caret of the body's height.

#include "editor/CaptureTextView.h"

#include "core/L10n.h"
#include "editing/EditorLayout.h"
#include "editor/DecorationPainter.h"
#include "editor/DocumentDecorationLayout.h"
#include "editor/QuillorBrand.h"
#include "model/AppModel.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimerEvent>

#include <algorithm>
#include <tuple>
#include <utility>

namespace quillor {

namespace {

constexpr qreal placeholderGap = 8;
constexpr qreal brandImageSize = 14;
constexpr qreal brandWordOffset = 20;
constexpr qreal brandMargin = 20;
constexpr qreal brandHeight = 16;
constexpr qreal brandDesignSize = 11;
constexpr qreal brandOpacity = 0.55;
constexpr qreal designBodySize = 13;
constexpr qreal hoverBandAlpha = 0.045;
constexpr qreal hoverBandRadius = 5;
constexpr qreal rowTrailingGap = 3;
constexpr qreal hoveredHandleAlpha = 0.95;
constexpr qreal handleAlpha = 0.45;
constexpr qreal dropTrailingGap = 4;

const QString& brandWord()
{
    static const QString word = QStringLiteral("Quillor");
    return word;
}

QColor withAlpha(QColor colour, qreal alpha)
{
    colour.setAlphaF(float(alpha));
    return colour;
}

// How far down the document a list item's row reaches.
struct RowSpan {
    qreal top = 0;
    qreal bottom = 0;
};

// The item's line without its line end, over all its wrapped lines; none for
// a line outside the text.
std::optional<RowSpan> rowSpan(const QString& text, const DocumentDecorationLayout& layout,
                               const ListSyntax::Item& item)
{
    qsizetype length = item.line.length;
    while (length > 0 && item.line.location + length <= text.size()
           && (text[item.line.location + length - 1] == u'\n' || text[item.line.location + length - 1] == u'\r'))
        --length;
    if (length <= 0 || item.line.location + length > text.size())
        return std::nullopt;
    const QList<LineFragment> fragments = layout.lineFragments(TextRange{item.line.location, length});
    if (fragments.isEmpty())
        return std::nullopt;
    return RowSpan{fragments.first().rect.top(), fragments.last().rect.bottom()};
}

// The row from the item's handle (or the text's edge) to a little before the
// viewport's right edge.
QRectF rowRect(const DocumentDecorationLayout& layout, const ListSyntax::Item& item, const RowSpan& span,
               qreal textMargin, qreal viewportWidth)
{
    const QRectF handle = EditorLayout::listHandleRect(layout.characterBox(item.marker.location));
    const qreal x = std::max<qreal>(0, std::min(handle.left(), textMargin));
    return QRectF(x, span.top, std::max<qreal>(viewportWidth - rowTrailingGap - x, 0), span.bottom - span.top);
}

} // namespace

// MARK: Geometry

QFont CaptureTextView::brandFont() const
{
    QFont brand = font();
    brand.setPixelSize(std::max(1, qRound(brandDesignSize * m_fonts.bodySize() / designBodySize)));
    brand.setWeight(QFont::DemiBold);
    return brand;
}

QRectF CaptureTextView::brandingRect() const
{
    if (!m_content.text.isEmpty() || (m_model && !m_model->currentAttachments().isEmpty()))
        return {};
    const qreal inset = document()->documentMargin();
    const qreal word = QFontMetricsF(brandFont()).horizontalAdvance(brandWord());
    return QRectF(viewport()->width() - inset - word - brandMargin, inset, word + brandMargin, brandHeight);
}

qreal CaptureTextView::placeholderWidth() const
{
    const qreal inset = document()->documentMargin();
    const QRectF brand = brandingRect();
    if (brand.isNull())
        return std::max<qreal>(viewport()->width() - 2 * inset, 1);
    return std::max<qreal>(brand.left() - inset - placeholderGap, 1);
}

QRectF CaptureTextView::listRowRect(const ListSyntax::Item& item) const
{
    const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
    const std::optional<RowSpan> span = rowSpan(m_content.text, layout, item);
    return span ? rowRect(layout, item, *span, document()->documentMargin(), viewport()->width()) : QRectF();
}

std::optional<ListSyntax::Item> CaptureTextView::hoveredListItem() const
{
    if (!m_listHoverPoint || !viewport()->rect().contains(m_listHoverPoint->toPoint()))
        return std::nullopt;
    // The items describe the text the last styling pass saw.
    if (m_layoutManager.source() != m_content.text)
        return std::nullopt;
    // Asked for by each styling pass and again by the painting after it: the
    // answer holds while the point, the scroll, the size and the looks do.
    const HoverKey key = hoverKey();
    if (m_hoverMemo && m_hoverMemo->first == key)
        return m_hoverMemo->second;
    const std::optional<ListSyntax::Item> hovered = listRowAt(*m_listHoverPoint + scrollOffset());
    m_hoverMemo = {key, hovered};
    return hovered;
}

CaptureTextView::HoverKey CaptureTextView::hoverKey() const
{
    const QTextDocument* doc = document();
    return HoverKey{*m_listHoverPoint, scrollOffset(), viewport()->size(), m_passCount, m_textRevision,
                    doc->documentLayout()->blockBoundingRect(doc->lastBlock())};
}

void CaptureTextView::keepHoverAbove(qreal changedFrom)
{
    if (!m_hoverMemo || !m_listHoverPoint || m_layoutManager.source() != m_content.text)
        return;
    // Rows wholly above what a pass changed stand where they stood, with the
    // same items: typing below the pointer leaves the answer as it was.
    const HoverKey now = hoverKey();
    const HoverKey& then = m_hoverMemo->first;
    if (then.point == now.point && then.scroll == now.scroll && then.viewport == now.viewport
        && now.point.y() + now.scroll.y() < changedFrom)
        m_hoverMemo->first = now;
}

std::optional<ListSyntax::Item> CaptureTextView::listRowAt(QPointF point) const
{
    const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
    const QList<ListSyntax::Item>& items = m_analysis.items;
    // Rows follow one another down the document in the order of their items,
    // their lines' rooms meeting edge to edge: the first row reaching down to
    // the point is found by halves, then only the rows starting above the
    // point may hold it. Measuring every row would cost a keystroke in a long
    // list more than the rest of its painting.
    const auto spanFrom = [&](qsizetype index) {
        std::optional<RowSpan> span;
        while (index < items.size() && !(span = rowSpan(m_content.text, layout, items[index])))
            ++index;
        return std::pair{index, span};
    };
    qsizetype low = 0;
    qsizetype high = items.size();
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        const auto [index, span] = spanFrom(middle);
        if (span && span->bottom < point.y())
            low = index + 1;
        else
            high = middle;
    }
    const qreal margin = document()->documentMargin();
    for (auto [index, span] = spanFrom(low); span && span->top <= point.y();) {
        if (rowRect(layout, items[index], *span, margin, viewport()->width()).contains(point))
            return items[index];
        std::tie(index, span) = spanFrom(index + 1);
    }
    return std::nullopt;
}

void CaptureTextView::setListHoverPoint(std::optional<QPointF> point)
{
    const std::optional<ListSyntax::Item> before = hoveredListItem();
    m_listHoverPoint = point;
    const std::optional<ListSyntax::Item> after = hoveredListItem();
    if (before == after)
        return;
    for (const std::optional<ListSyntax::Item>& item : {before, after}) {
        if (item)
            viewport()->update(listRowRect(*item).translated(-scrollOffset()).toAlignedRect());
    }
}

// MARK: Caret

bool CaptureTextView::showsCaret() const
{
    return hasFocus() && !isReadOnly() && !textCursor().hasSelection();
}

QRectF CaptureTextView::drawnCaretRect() const
{
    if (!showsCaret() || !m_caretOn)
        return {};
    QRectF line = QRectF(cursorRect());
    line.setWidth(std::max(1, style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this)));
    return EditorLayout::caretRect(line, QFontMetricsF(m_fonts.body()).lineSpacing());
}

void CaptureTextView::restartCaretBlink()
{
    m_caretOn = true;
    const int period = QGuiApplication::styleHints()->cursorFlashTime() / 2;
    if (showsCaret() && period > 0)
        m_caretBlink.start(period, this);
    else
        m_caretBlink.stop();
    // An edit moves the caret before it is styled: finding the caret then
    // would lay the edited text out once more, before its formats. The
    // styling pass repaints it.
    if (!m_contentDirty && !m_documentChanging)
        repaintCaret();
}

void CaptureTextView::repaintCaret()
{
    const QRect area = drawnCaretRect().toAlignedRect();
    if (area == m_caretArea)
        return;
    if (!m_caretArea.isNull())
        viewport()->update(m_caretArea);
    if (!area.isNull())
        viewport()->update(area);
    m_caretArea = area;
}

void CaptureTextView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_caretBlink.timerId()) {
        QTextEdit::timerEvent(event);
        return;
    }
    m_caretOn = !m_caretOn;
    // Only the caret's own pixels change.
    const QRect area = m_caretOn ? drawnCaretRect().toAlignedRect() : m_caretArea;
    if (!area.isNull())
        viewport()->update(area);
    m_caretArea = m_caretOn ? area : QRect();
}

// MARK: Painting

void CaptureTextView::paintPlaceholder(QPainter& painter) const
{
    const QString text = m_model && m_model->readingDraft() ? L10n::text(QStringLiteral("Ouverture du brouillon…"))
                                                             : L10n::text(QStringLiteral("Une idée, un lien, une image…"));
    QTextLayout layout(text, m_fonts.body());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const qreal width = placeholderWidth();
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const qreal inset = document()->documentMargin();
    layout.draw(&painter, QPointF(inset, inset));
}

void CaptureTextView::paintBranding(QPainter& painter, const QRectF& rect) const
{
    const QColor ink = palette().color(QPalette::Text);
    painter.save();
    painter.setOpacity(brandOpacity);
    const QPixmap mark = QuillorBrand::image(int(brandImageSize), true, ink, devicePixelRatioF());
    painter.drawPixmap(QPointF(rect.left(), rect.top()), mark);
    painter.restore();
    painter.setFont(brandFont());
    painter.setPen(withAlpha(ink, brandOpacity));
    painter.drawText(QRectF(rect.left() + brandWordOffset, rect.top(), rect.width() - brandWordOffset, rect.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, brandWord());
}

QList<CaptureTextView::ListControl> CaptureTextView::listControls(TextRange visible,
                                                                  const std::optional<ListSyntax::Item>& hovered) const
{
    QList<ListControl> controls;
    const QList<TextRange> selections = m_layoutManager.selections();
    const QList<ListSyntax::Item>& items = m_analysis.items;
    // The items run down the text: those ending before the visible lines are
    // passed over by halves.
    auto item = std::lower_bound(items.cbegin(), items.cend(), visible.location,
                                 [](const ListSyntax::Item& i, qsizetype location) { return i.line.end() < location; });
    for (; item != items.cend() && item->line.location <= visible.end(); ++item) {
        if (!item->line.overlaps(visible) && !item->line.touches(visible.location))
            continue;
        // Every item has its handle, stronger under the mouse.
        ListControl control;
        control.handle = EditorLayout::listHandleRect(markerRect(TextRange{item->marker.location, 1}));
        control.underMouse = hovered && hovered->line.location == item->line.location;
        if (item->checkbox && ListSyntax::showsRenderedCheckbox(*item, m_content.text, selections)) {
            const bool checked = m_content.text.mid(item->checkbox->location, item->checkbox->length).toLower()
                                 == QLatin1String("[x]");
            control.mark = checked ? ListControl::Mark::checkedTaskBox : ListControl::Mark::taskBox;
            control.markRect = checkboxRect(*item);
        } else if (!item->checkbox && !item->number && ListSyntax::showsRenderedMarker(*item, selections)) {
            control.mark = ListControl::Mark::bullet;
            control.markRect = checkboxRect(*item);
        }
        controls.append(control);
    }
    return controls;
}

void CaptureTextView::paintListControls(QPainter& painter, const QList<ListControl>& controls) const
{
    const DecorationPainter::Colours colours = DecorationPainter::Colours::from(palette());
    for (const ListControl& control : controls) {
        DecorationPainter::paintHandle(painter, control.handle,
                                       withAlpha(colours.secondary, control.underMouse ? hoveredHandleAlpha : handleAlpha));
        switch (control.mark) {
        case ListControl::Mark::taskBox:
        case ListControl::Mark::checkedTaskBox:
            DecorationPainter::paintTaskBox(painter, control.markRect, control.mark == ListControl::Mark::checkedTaskBox,
                                            colours);
            break;
        case ListControl::Mark::bullet:
            DecorationPainter::paintBullet(painter, control.markRect, colours);
            break;
        case ListControl::Mark::none:
            break;
        }
    }
}

void CaptureTextView::paintDropIndicator(QPainter& painter) const
{
    if (!m_listDropY)
        return;
    const qreal column = QFontMetricsF(m_fonts.body()).horizontalAdvance(QLatin1Char(' '));
    const qreal markerX = document()->documentMargin() + EditorLayout::listLeadingIndent + column * m_listDropIndent;
    DecorationPainter::paintInsertion(
        painter, EditorLayout::listInsertionRect(markerX, *m_listDropY, viewport()->width() - dropTrailingGap),
        DecorationPainter::Colours::from(palette()).accent);
}

// Three layers: behind the text (hover band, decorations), the text, then
// over it the placeholder, the brand corner, the list controls and the caret.
void CaptureTextView::paintEvent(QPaintEvent* event)
{
    const QPointF offset = scrollOffset();
    const QRectF area = QRectF(event->rect()).translated(offset);
    // Decorations describe the text the last pass saw; a text changed since
    // waits for the next pass.
    const bool current = m_layoutManager.source() == m_content.text && !m_content.text.isEmpty();
    const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
    // With the lines whose decorations reach into the area.
    const TextRange visible
        = current ? layout.charactersIn(area.adjusted(0, -decorationReach, 0, decorationReach), textCursor().block())
                  : TextRange{};
    // What is painted now without its decorations gets them once the pass
    // has run, wherever that pass changes looks.
    if (!current && !m_content.text.isEmpty())
        m_repaintEverything = true;
    // Found once, for its band and its handle.
    const std::optional<ListSyntax::Item> hovered = hoveredListItem();
    {
        QPainter painter(viewport());
        painter.translate(-offset);
        m_paintedHoverBand = QRect();
        m_hoverBandScroll = offset.toPoint();
        if (hovered) {
            const QRectF band = listRowRect(*hovered);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(withAlpha(palette().color(QPalette::Text), hoverBandAlpha));
            painter.drawRoundedRect(band, hoverBandRadius, hoverBandRadius);
            m_paintedHoverBand = band.translated(-offset).toAlignedRect();
        }
        if (current)
            DecorationPainter::paintBackgrounds(painter, m_layoutManager.decorations(visible, layout),
                                                DecorationPainter::Colours::from(palette()),
                                                document()->documentMargin());
    }
    const QList<ListControl> controls = current ? listControls(visible, hovered) : QList<ListControl>();
    const QRectF caret = drawnCaretRect();
    QTextEdit::paintEvent(event);

    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-offset);
    if (m_content.text.isEmpty())
        paintPlaceholder(painter);
    if (const QRectF brand = brandingRect(); !brand.isNull())
        paintBranding(painter, brand);
    paintListControls(painter, controls);
    paintDropIndicator(painter);
    if (!caret.isNull()) {
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(caret, palette().color(QPalette::Text));
    }
}

} // namespace quillor
