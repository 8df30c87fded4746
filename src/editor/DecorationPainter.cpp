#include "editor/DecorationPainter.h"

#include "editing/EditorLayout.h"
#include "editing/ListMarkerGeometry.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

#include <array>

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

// One look of a drawing at one sub-pixel phase, as drawn into an image: what
// is drawn, its flag (a box checked) and colours, and its size.
struct DrawnLook {
    int drawing = 0;
    bool flag = false;
    std::array<QRgb, 3> colours{};
    int width = 0;    // in 1/64 pixel
    int height = 0;
    int phaseX = 0;   // in quarter pixels
    int phaseY = 0;

    bool operator==(const DrawnLook&) const = default;
    friend size_t qHash(const DrawnLook& look, size_t seed = 0)
    {
        return qHashMulti(seed, look.drawing, look.flag, look.colours[0], look.colours[1], look.colours[2],
                          look.width, look.height, look.phaseX, look.phaseY);
    }
};

// What is drawn from images, besides the decorations' own kinds.
constexpr int taskBoxDrawing = 100;
constexpr int handleDrawing = 101;
constexpr int bulletDrawing = 102;

// Room around a drawing for its outline and the antialiasing.
constexpr int imagePadding = 4;
constexpr int phaseSteps = 4;
// What the kept images may take together, before they are all let go.
constexpr qsizetype imageCacheBytes = 8 * 1024 * 1024;
// Larger drawings (a long quote's background) are drawn each time rather
// than kept.
constexpr qreal largestKeptArea = 64 * 1024;

// Antialiased outlines and fills cost far more than copying their pixels, and
// a keystroke repaints the same task boxes, handles and backgrounds over and
// over: each look is drawn once into an image and copied after, whenever the
// painter does no more than move.
template <typename Draw>
void paintFromImage(QPainter& painter, const QRectF& rect, DrawnLook look, const Draw& draw)
{
    const QTransform device = painter.deviceTransform();
    if (device.type() > QTransform::TxTranslate || rect.isEmpty() || rect.width() * rect.height() > largestKeptArea) {
        draw(painter, rect);
        return;
    }
    const QPointF topLeft = device.map(rect.topLeft());
    const QPoint whole(qFloor(topLeft.x()), qFloor(topLeft.y()));
    const QPoint phase(qRound((topLeft.x() - whole.x()) * phaseSteps), qRound((topLeft.y() - whole.y()) * phaseSteps));
    look.width = qRound(rect.width() * 64);
    look.height = qRound(rect.height() * 64);
    look.phaseX = phase.x();
    look.phaseY = phase.y();
    static QHash<DrawnLook, QImage> drawn;
    static qsizetype drawnBytes = 0;
    auto found = drawn.find(look);
    if (found == drawn.end()) {
        // The look's own size, not the rectangle's: far down a document a
        // line's edges are sums that miss its height by a hair, which can
        // move an antialiased edge by one level. The image must not depend on
        // which rectangle of the look came first.
        const QSizeF drawnSize = QSizeF(look.width, look.height) / 64;
        const QSize size(qCeil(drawnSize.width()) + 1 + 2 * imagePadding,
                         qCeil(drawnSize.height()) + 1 + 2 * imagePadding);
        const qsizetype bytes = qsizetype(size.width()) * size.height() * 4;
        if (drawnBytes + bytes > imageCacheBytes) {
            drawn.clear();
            drawnBytes = 0;
        }
        drawnBytes += bytes;
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter imagePainter(&image);
        const QPointF origin = QPointF(imagePadding, imagePadding) + QPointF(phase) / phaseSteps;
        draw(imagePainter, QRectF(origin, drawnSize));
        imagePainter.end();
        found = drawn.insert(look, image);
    }
    // The device transform also holds where the painted widget sits in its
    // window, which resetting the painter's own transform keeps: only the
    // rest is taken off the whole position.
    const QPointF placement = device.map(QPointF()) - painter.worldTransform().map(QPointF());
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(whole - QPoint(imagePadding, imagePadding)) - placement, *found);
    painter.restore();
}

void drawBackground(QPainter& painter, Kind kind, const QRectF& rect, const Colours& colours)
{
    const qreal radius = DecorationPaint::cornerRadius(kind);
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
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
        painter.fillPath(path, fixed(DecorationPaint::draggingFill));
        break;
    }
    painter.restore();
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
    for (const MarkdownLayoutManager::Decoration& decoration : decorations) {
        if (decoration.kind == Kind::dragging) {
            painter.save();
            painter.setClipRect(DecorationPaint::draggingClip(decoration.rect, originX), Qt::IntersectClip);
            drawBackground(painter, decoration.kind, decoration.rect, colours);
            painter.restore();
            continue;
        }
        // A fenced block's background, the only one starting at the text
        // area's edge, ends where the painted lines end: a partial repaint
        // gets a piece of it, which an image would place at another sub-pixel
        // phase than the whole block, drawn directly once it is large. Its
        // edges would then differ from a full repaint's; drawn directly, the
        // piece's pixels are the whole block's.
        if (decoration.kind == Kind::code && decoration.rect.left() == originX) {
            drawBackground(painter, decoration.kind, decoration.rect, colours);
            continue;
        }
        const auto draw = [&decoration, &colours](QPainter& onto, const QRectF& rect) {
            drawBackground(onto, decoration.kind, rect, colours);
        };
        paintFromImage(painter, decoration.rect,
                       DrawnLook{int(decoration.kind), false, {colours.text.rgba(), 0, 0}}, draw);
    }
}

void paintTaskBox(QPainter& painter, const QRectF& rect, bool checked, const Colours& colours)
{
    const auto draw = [checked, &colours](QPainter& onto, const QRectF& box) { drawTaskBox(onto, box, checked, colours); };
    paintFromImage(painter, rect,
                   DrawnLook{taskBoxDrawing, checked,
                             {(checked ? colours.accent : colours.secondary).rgba(), colours.accent.rgba(),
                              colours.check.rgba()}},
                   draw);
}

void paintBullet(QPainter& painter, const QRectF& rect, const Colours& colours)
{
    const auto draw = [&colours](QPainter& onto, const QRectF& mark) {
        onto.save();
        onto.setRenderHint(QPainter::Antialiasing);
        strokePolyline(onto, ListMarkerGeometry::bullet(mark), colours.secondary);
        onto.restore();
    };
    paintFromImage(painter, rect, DrawnLook{bulletDrawing, false, {colours.secondary.rgba(), 0, 0}}, draw);
}

void paintHandle(QPainter& painter, const QRectF& rect, const QColor& colour)
{
    const auto draw = [&colour](QPainter& onto, const QRectF& handle) {
        onto.save();
        onto.setRenderHint(QPainter::Antialiasing);
        onto.setPen(Qt::NoPen);
        onto.setBrush(colour);
        const qreal radius = ListMarkerGeometry::handleDotDiameter / 2;
        for (const QPointF& centre : ListMarkerGeometry::handleDotCentres(handle))
            onto.drawEllipse(centre, radius, radius);
        onto.restore();
    };
    paintFromImage(painter, rect, DrawnLook{handleDrawing, false, {colour.rgba(), 0, 0}}, draw);
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
