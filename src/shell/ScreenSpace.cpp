#include "shell/ScreenSpace.h"

#include <QGuiApplication>
#include <QScreen>

namespace quillor::ScreenSpace {

namespace {

QRectF flipped(const QRectF& r)
{
    return QRectF(r.x(), -(r.y() + r.height()), r.width(), r.height());
}

// Half-open, as pixels are: a point on the right or bottom edge belongs to
// the neighbouring screen.
bool holds(const QRectF& r, const QPointF& p)
{
    return p.x() >= r.left() && p.x() < r.x() + r.width() && p.y() >= r.top() && p.y() < r.y() + r.height();
}

} // namespace

QRectF toBottomLeft(const QRectF& topLeft)
{
    return flipped(topLeft);
}

QRectF toTopLeft(const QRectF& bottomLeft)
{
    return flipped(bottomLeft);
}

QList<QRectF> visibleFrames(const QList<ScreenArea>& screens)
{
    QList<QRectF> frames;
    frames.reserve(screens.size());
    for (const ScreenArea& screen : screens)
        frames.append(toBottomLeft(screen.available));
    return frames;
}

std::optional<ScreenArea> screenAt(const QList<ScreenArea>& screens, const QPointF& point)
{
    for (const ScreenArea& screen : screens) {
        if (holds(screen.geometry, point))
            return screen;
    }
    for (const ScreenArea& screen : screens) {
        if (screen.primary)
            return screen;
    }
    if (screens.isEmpty())
        return std::nullopt;
    return screens.first();
}

QList<ScreenArea> current()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    QList<ScreenArea> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(ScreenArea{QRectF(screen->geometry()), QRectF(screen->availableGeometry()), screen == primary});
    return screens;
}

} // namespace quillor::ScreenSpace
