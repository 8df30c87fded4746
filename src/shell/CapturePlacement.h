#pragma once

#include "shell/CaptureTypography.h"
#include "shell/ScreenSpace.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

namespace quillor {

// Where the panel was when it was last moved or hidden: its left and top
// edges in the bottom-left space of CaptureGeometry. The file keeps them in
// Qt's screen coordinates ("x" the left edge, "top" the top edge's y), the
// coordinates every other program on this desktop speaks.
struct CapturePlacement {
    double x = 0;
    double top = 0;

    friend bool operator==(const CapturePlacement&, const CapturePlacement&) = default;

    static inline const QString fileName = QStringLiteral("capture-position.json");

    // The placement of a panel frame given in Qt coordinates.
    static CapturePlacement of(const QRectF& topLeftFrame);

    // A panel of the minimum size at this place, fitted onto the screens
    // (bottom-left space); nothing when a coordinate is not finite or there
    // is no screen.
    std::optional<QRectF> frame(const QList<QRectF>& screens,
                                double lineHeight = CaptureTypography::lineHeight()) const;

    // Replaces the file in the directory atomically; throws on failure.
    void save(const QString& directory) const;

    // The remembered placement; nothing when the file is missing, unreadable
    // or not exactly an object with numeric "x" and "top". A bad file is left
    // alone: the next save replaces it.
    static std::optional<CapturePlacement> load(const QString& directory);

    // Saves the placement of a Qt-space frame. A failure costs only the
    // remembered position, so it is logged, never shown; answers whether it
    // was saved.
    static bool remember(const QRectF& topLeftFrame, const QString& directory);
};

// Where a panel being shown goes, in Qt coordinates, and the available
// geometry of the screen it belongs to.
struct ShowingPlacement {
    QRectF frame;
    QRectF captureScreen;
    friend bool operator==(const ShowingPlacement&, const ShowingPlacement&) = default;
};

// The remembered placement fitted onto the screens when there is one, else
// the default frame on the screen under the mouse (or the primary screen).
// Nothing without screens.
std::optional<ShowingPlacement> showingPlacement(const std::optional<CapturePlacement>& remembered,
                                                 const QList<ScreenArea>& screens, const QPointF& mouse,
                                                 double lineHeight = CaptureTypography::lineHeight());

} // namespace quillor
