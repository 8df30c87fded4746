#include "editor/DecorationPainter.h"

#include "editing/EditorLayout.h"
#include "editing/ListMarkerGeometry.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace quillor::DecorationPainter {

namespace {

using Kind = MarkdownLayoutManager::DecorationKind;

QColor withAlpha(QColor colour, qreal alpha)
{
    colour.setAlphaF(float(alpha));
    return colour;
}

QColor fixed(const DecorationPaint::Rgba& rgba)
{
    return QColor::fromRgbF(float(rgba.red), float(rgba.green), float(rgba.blue), float(rgba.alpha));
}

void strokePolyline(QPainter& painter, const ListMarkerGeometry::Stroke& stroke, const QColor& colour)
{
    painter.setPen(QPen(colour, stroke.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF(stroke.points));
}

} // namespace

Colours Colours::from(const QPalette& palette)
{
    const QColor text = palette.color(QPalette::Text);
    return Colours{text, withAlpha(text, 0.5), palette.color(QPalette::Highlight), QColor(Qt::white)};
}

void paintBackgrounds(QPainter& painter, const QList<MarkdownLayoutManager::Decoration>& decorations,
                      const Colours& colours, qreal originX)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const MarkdownLayoutManager::Decoration& decoration : decorations) {
        const qreal radius = DecorationPaint::cornerRadius(decoration.kind);
        QPainterPath path;
        path.addRoundedRect(decoration.rect, radius, radius);
        switch (decoration.kind) {
        case Kind::quote:
            painter.fillPath(path, withAlpha(colours.text, DecorationPaint::quoteFillAlpha));
            break;
        case Kind::code:
            painter.setPen(QPen(withAlpha(colours.text, DecorationPaint::codeStrokeAlpha),
                                DecorationPaint::codeStrokeWidth));
            painter.setBrush(withAlpha(colours.text, DecorationPaint::codeFillAlpha));
            painter.drawPath(path);
            break;
        case Kind::highlight:
            painter.fillPath(path, fixed(DecorationPaint::highlightFill));
            break;
        case Kind::dragging:
            painter.save();
            painter.setClipRect(DecorationPaint::draggingClip(decoration.rect, originX), Qt::IntersectClip);
            painter.fillPath(path, fixed(DecorationPaint::draggingFill));
            painter.restore();
            break;
        }
    }
    painter.restore();
}

void paintTaskBox(QPainter& painter, const QRectF& rect, bool checked, const Colours& colours)
{
    const ListMarkerGeometry::TaskBox box = ListMarkerGeometry::taskBox(rect);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor outline = checked ? colours.accent : colours.secondary;
    painter.setPen(QPen(outline, box.outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(checked ? QBrush(colours.accent) : QBrush(Qt::NoBrush));
    painter.drawPolygon(QPolygonF(box.outline));
    if (checked)
        strokePolyline(painter, box.tick, colours.check);
    painter.restore();
}

void paintBullet(QPainter& painter, const QRectF& rect, const Colours& colours)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    strokePolyline(painter, ListMarkerGeometry::bullet(rect), colours.secondary);
    painter.restore();
}

void paintHandle(QPainter& painter, const QRectF& rect, const QColor& colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const qreal radius = ListMarkerGeometry::handleDotDiameter / 2;
    for (const QPointF& centre : ListMarkerGeometry::handleDotCentres(rect))
        painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void paintInsertion(QPainter& painter, const QRectF& rect, const QColor& colour)
{
    const EditorLayout::InsertionMark mark = EditorLayout::insertionMark(rect);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(mark.dot);
    painter.setPen(QPen(colour, mark.lineWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(mark.lineStart, mark.lineEnd);
    painter.restore();
}

} // namespace quillor::DecorationPainter
