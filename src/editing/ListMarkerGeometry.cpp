#include "editing/ListMarkerGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillor::ListMarkerGeometry {

namespace {

constexpr qreal minimumSide = 14;
constexpr qreal maximumSide = 24;
constexpr int squircleSegments = 128;

// The root magnifies the rounding of cos and sin at the quarter turns (about
// 1e-16 becomes 1e-8); snapping it keeps the box symmetric.
qreal signedRoot(qreal v)
{
    if (std::abs(v) < 1e-12)
        return 0;
    return std::copysign(std::sqrt(std::abs(v)), v);
}

QStringView blanksTrimmed(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

} // namespace

qreal side(qreal fontSize)
{
    return std::clamp(fontSize, minimumSide, maximumSide);
}

qreal bulletWidth(qreal fontSize)
{
    const qreal s = side(fontSize);
    return std::max(0.09 * s, 1.5) + 0.32 * s;
}

QRectF markerRect(const QRectF& anchor, qreal width, qreal fontSize, bool bullet)
{
    const qreal s = side(fontSize);
    const qreal w = bullet ? bulletWidth(fontSize) : s;
    return QRectF(anchor.left() + (width - w) / 2, anchor.center().y() - s / 2, w, s);
}

qreal columnWidth(const QString& text, qreal fontSize, const Measure& measure)
{
    qreal width = side(fontSize);
    for (const ListSyntax::Item& item : ListSyntax::items(text)) {
        if (const QStringView marker = orderedMarker(text, item); !marker.isEmpty())
            width = std::max(width, measure(marker.toString()));
    }
    return width;
}

QStringView orderedMarker(const QString& text, const ListSyntax::Item& item)
{
    if (!item.number)
        return {};
    return blanksTrimmed(QStringView(text).mid(item.marker.location, item.marker.length));
}

std::optional<PrefixKern> prefixKern(const QString& text, const ListSyntax::Item& item, qreal fontSize,
                                     bool renderedTask, const Measure& measure)
{
    if (item.checkbox && !renderedTask)
        return std::nullopt;
    return prefixKernInColumn(text, item, columnWidth(text, fontSize, measure), renderedTask, measure);
}

std::optional<PrefixKern> prefixKernInColumn(const QString& text, const ListSyntax::Item& item, qreal column,
                                             bool renderedTask, const Measure& measure)
{
    if (item.checkbox && !renderedTask)
        return std::nullopt;
    // What follows the anchor lines up: the rendered box of a task, else the text.
    const qsizetype anchor = item.checkbox ? item.checkbox->location : item.contentStart;
    if (anchor <= item.marker.location || anchor > text.size())
        return std::nullopt;
    const QString prefix = text.mid(item.marker.location, anchor - item.marker.location);
    return PrefixKern{TextRange{anchor - 1, 1}, column + itemGap - measure(prefix)};
}

Stroke bullet(const QRectF& rect)
{
    const qreal lineWidth = std::max(0.09 * rect.height(), 1.5);
    const qreal midY = rect.center().y();
    return Stroke{{QPointF(rect.left() + lineWidth / 2, midY), QPointF(rect.right() - lineWidth / 2, midY)},
                  lineWidth};
}

QList<QPointF> squircle(const QRectF& rect)
{
    const QPointF centre = rect.center();
    const qreal rx = rect.width() / 2;
    const qreal ry = rect.height() / 2;
    QList<QPointF> points;
    points.reserve(squircleSegments + 1);
    points.append(QPointF(centre.x() + rx, centre.y()));
    for (int k = 1; k <= squircleSegments; ++k) {
        const qreal t = 2 * std::numbers::pi * k / squircleSegments;
        points.append(QPointF(centre.x() + rx * signedRoot(std::cos(t)), centre.y() + ry * signedRoot(std::sin(t))));
    }
    return points;
}

TaskBox taskBox(const QRectF& rect)
{
    const qreal w = rect.width();
    const qreal h = rect.height();
    const auto at = [&](qreal fx, qreal fy) { return QPointF(rect.left() + fx * w, rect.top() + fy * h); };
    return TaskBox{
        .outline = squircle(rect.adjusted(1, 1, -1, -1)),
        .outlineWidth = 1.5,
        .tick = Stroke{{at(0.25, 0.5), at(0.44, 0.68), at(0.76, 0.31)}, std::max(0.1 * w, 1.5)},
    };
}

QList<QPointF> handleDotCentres(const QRectF& rect)
{
    const QPointF c = rect.center();
    QList<QPointF> centres;
    for (const qreal dy : {-5.0, 0.0, 5.0}) {
        for (const qreal dx : {-2.5, 2.5})
            centres.append(QPointF(c.x() + dx, c.y() + dy));
    }
    return centres;
}

} // namespace quillor::ListMarkerGeometry
