#include "editor/DecorationPainter.h"

#include "editing/EditorLayout.h"
#include "editing/ListMarkerGeometry.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

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

void drawTaskBox(QPainter& painter, const QRectF& rect, bool checked, const Colours& colours)
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

// One look of a task box at one sub-pixel phase, as drawn into an image.
struct TaskBoxLook {
    int width = 0;    // in 1/64 pixel
    int height = 0;
    int phaseX = 0;   // in quarter pixels
    int phaseY = 0;
    bool checked = false;
    QRgb outline = 0;
    QRgb accent = 0;
    QRgb check = 0;

    bool operator==(const TaskBoxLook&) const = default;
    friend size_t qHash(const TaskBoxLook& look, size_t seed = 0)
    {
        return qHashMulti(seed, look.width, look.height, look.phaseX, look.phaseY, look.checked, look.outline,
                          look.accent, look.check);
    }
};

// Room around the box for its outline and the antialiasing.
constexpr int taskBoxPadding = 4;
constexpr int phaseSteps = 4;
constexpr qsizetype taskBoxCacheLimit = 256;

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
    // A box is a stroked outline of 128 points, and the viewport shows dozens
    // of them on every keystroke: each look is drawn once into an image and
    // copied after, whenever the painter does no more than move.
    const QTransform device = painter.deviceTransform();
    if (device.type() > QTransform::TxTranslate || rect.isEmpty()) {
        drawTaskBox(painter, rect, checked, colours);
        return;
    }
    const QPointF topLeft = device.map(rect.topLeft());
    const QPoint whole(qFloor(topLeft.x()), qFloor(topLeft.y()));
    const QPoint phase(qRound((topLeft.x() - whole.x()) * phaseSteps), qRound((topLeft.y() - whole.y()) * phaseSteps));
    const TaskBoxLook look{qRound(rect.width() * 64), qRound(rect.height() * 64), phase.x(), phase.y(), checked,
                           (checked ? colours.accent : colours.secondary).rgba(), colours.accent.rgba(),
                           colours.check.rgba()};
    static QHash<TaskBoxLook, QImage> drawn;
    auto found = drawn.find(look);
    if (found == drawn.end()) {
        if (drawn.size() >= taskBoxCacheLimit)
            drawn.clear();
        const QSize size(qCeil(rect.width()) + 1 + 2 * taskBoxPadding, qCeil(rect.height()) + 1 + 2 * taskBoxPadding);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter imagePainter(&image);
        const QPointF origin = QPointF(taskBoxPadding, taskBoxPadding) + QPointF(phase) / phaseSteps;
        drawTaskBox(imagePainter, QRectF(origin, rect.size()), checked, colours);
        imagePainter.end();
        found = drawn.insert(look, image);
    }
    // The device transform also holds where the painted widget sits in its
    // window, which resetting the painter's own transform keeps: only the
    // rest is taken off the whole position.
    const QPointF placement = device.map(QPointF()) - painter.worldTransform().map(QPointF());
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(whole - QPoint(taskBoxPadding, taskBoxPadding)) - placement, *found);
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
