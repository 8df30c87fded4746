#pragma once

#include "shell/CaptureTypography.h"

#include <QList>
#include <QRectF>

#include <optional>

namespace quillor {

// Sizing and placing the capture panel on a desktop of several screens.
//
// These rules work in bottom-left screen space: a QRectF's y() is the bottom
// edge (minY), y() + height() the top edge (maxY), y growing upwards. The
// screens are their available geometries in that space, in the platform's
// order. ScreenSpace converts to and from Qt's top-left space at the one place
// where the panel meets real screens.
//
// Every rule that needs the line height L takes it as its last argument,
// measured afresh by default.
namespace CaptureGeometry {

// The panel's preferred and minimum widths, and what its minimum height adds
// to one line.
inline constexpr double preferredWidth = 480;
inline constexpr double minimumWidth = 320;
inline constexpr double chromeHeight = 69;

inline double minimumHeight(double lineHeight = CaptureTypography::lineHeight())
{
    return lineHeight + chromeHeight;
}

struct Guides {
    QList<double> vertical;     // x positions
    QList<double> horizontal;   // y positions
    friend bool operator==(const Guides&, const Guides&) = default;
};

struct Alignment {
    QRectF frame;
    std::optional<double> vertical;     // x of the guide snapped to
    std::optional<double> horizontal;   // y of the guide snapped to
    friend bool operator==(const Alignment&, const Alignment&) = default;
};

// Centred horizontally, a tenth of the screen height above the centre, at
// least 16 points below the top.
QRectF defaultFrame(const QRectF& visible, double lineHeight = CaptureTypography::lineHeight());

// The frame resized for a content height: the top edge stays unless the
// screen forces it, the width goes back to the preferred width.
QRectF expandedFrame(const QRectF& frame, double contentHeight, const QRectF& visible,
                     double lineHeight = CaptureTypography::lineHeight());

// The frame clamped into its best screen, at least the minimum size; the
// frame itself when there is no screen.
QRectF fitted(const QRectF& frame, const QList<QRectF>& screens,
              double lineHeight = CaptureTypography::lineHeight());

// The screen sharing most area with the frame; on equal areas (none included)
// the one whose centre is nearest; on a full tie the earlier one.
std::optional<QRectF> screen(const QRectF& frame, const QList<QRectF>& screens);

// The 25, 50 and 75 % lines of a rectangle.
Guides guides(const QRectF& rect);

// The frame moved onto the nearest guide within 10 points, on each axis.
Alignment aligned(const QRectF& frame, const QRectF& visible, bool snapping);

} // namespace CaptureGeometry
} // namespace quillor
