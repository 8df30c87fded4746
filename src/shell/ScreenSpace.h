#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>

namespace quillor {

// One screen as the panel placement sees it, in Qt's top-left coordinates.
struct ScreenArea {
    QRectF geometry;    // the whole screen
    QRectF available;   // without panels and docks
    bool primary = false;
    friend bool operator==(const ScreenArea&, const ScreenArea&) = default;
};

// The boundary between Qt's top-left screen coordinates and the bottom-left
// space CaptureGeometry works in.
//
// The flip is taken about y = 0 rather than about a screen's height: the rules
// only compare frames with screens, so any reference line gives the same
// answers, and this one needs no knowledge of which screen is primary. It also
// keeps the rules' floor() exact: a floored bottom edge becomes a ceiled top
// edge here without anyone having to rewrite a formula.
namespace ScreenSpace {

// Each is the other's inverse (the flip is its own inverse).
QRectF toBottomLeft(const QRectF& topLeft);
QRectF toTopLeft(const QRectF& bottomLeft);

// The available geometries in bottom-left space, in screen order.
QList<QRectF> visibleFrames(const QList<ScreenArea>& screens);

// The first screen whose geometry holds the point, else the primary one, else
// the first; nothing without screens.
std::optional<ScreenArea> screenAt(const QList<ScreenArea>& screens, const QPointF& point);

// The screens Qt knows, in its order. Needs a QGuiApplication.
QList<ScreenArea> current();

} // namespace ScreenSpace
} // namespace quillor
