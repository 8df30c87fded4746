#pragma once

#include "core/TextRange.h"
#include "editing/ListSyntax.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

namespace quillor {

// Where the live preview draws a list's bullets and task boxes, how wide the
// marker column is, and how far the text after a marker is pushed so that all
// items of a text start at the same column. Lengths are device-independent
// pixels in document coordinates (y grows downwards); font sizes are pixel
// sizes. The drawing helpers return the shapes; the view strokes and fills
// them with its own colours.
namespace ListMarkerGeometry {

// Between the marker column and the item's text.
constexpr qreal itemGap = 6;
// The visible width of the drag handle's dots.
constexpr qreal handleInkWidth = 7.4;

// The width of a text's advance, as the view's body font lays it out. The
// text may stand on another string's characters: a measure that keeps it
// keeps a copy.
using Measure = std::function<qreal(const QString&)>;

// The marker side for a font size: the size kept within [14, 24].
qreal side(qreal fontSize);
// The width of a bullet dash: max(0.09 × s, 1.5) + 0.32 × s.
qreal bulletWidth(qreal fontSize);

// A bullet dash or a task box of side s, centred in a column of the given
// width starting at the anchor's left, and on the anchor's middle.
QRectF markerRect(const QRectF& anchor, qreal width, qreal fontSize, bool bullet);

// The marker column of a text: s, or wider for an ordered marker ("10.")
// whose measured width, trimmed of blanks, is larger. Bullets never widen it.
qreal columnWidth(const QString& text, qreal fontSize, const Measure& measure);
// What of an ordered item's marker is measured for the column: the marker
// trimmed of blanks. Empty for a bullet or a task.
QStringView orderedMarker(const QString& text, const ListSyntax::Item& item);

// A kern applied to the single character before the item's text (or before
// its rendered task box) that brings what follows to columnWidth + itemGap.
struct PrefixKern {
    TextRange range;
    qreal kern = 0;

    bool operator==(const PrefixKern&) const = default;
};
// Absent for a task item whose box is not rendered.
std::optional<PrefixKern> prefixKern(const QString& text, const ListSyntax::Item& item, qreal fontSize,
                                     bool renderedTask, const Measure& measure);
// The same with the text's column width already known: a styling pass over
// many items measures the column once.
std::optional<PrefixKern> prefixKernInColumn(const QString& text, const ListSyntax::Item& item, qreal column,
                                             bool renderedTask, const Measure& measure);

// A stroked open polyline.
struct Stroke {
    QList<QPointF> points;
    qreal lineWidth = 0;

    bool operator==(const Stroke&) const = default;
};

// A short horizontal dash through the rectangle's middle, round caps; its
// caps stay inside the rectangle.
Stroke bullet(const QRectF& rect);

// The superellipse of degree 4 filling the rectangle, as a closed polygon of
// 128 segments: the middle of its right side, then 128 points around, the
// last one back at the start.
QList<QPointF> squircle(const QRectF& rect);

// The task box: the squircle of the rectangle inset by 1, line width 1.5,
// round joins; stroked with the border colour when unchecked, filled and
// stroked with the accent when checked, then the tick stroked over it.
struct TaskBox {
    QList<QPointF> outline;
    qreal outlineWidth = 1.5;
    Stroke tick;

    bool operator==(const TaskBox&) const = default;
};
TaskBox taskBox(const QRectF& rect);

// The handle: six dots of this diameter, two columns of three.
constexpr qreal handleDotDiameter = 2.4;
QList<QPointF> handleDotCentres(const QRectF& rect);

} // namespace ListMarkerGeometry
} // namespace quillor
