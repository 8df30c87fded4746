#include "shell/CaptureGeometry.h"

#include <algorithm>
#include <cmath>

namespace quillor::CaptureGeometry {

namespace {

// Named edges of a bottom-left rectangle, so the rules read as they are meant.
double minX(const QRectF& r) { return r.x(); }
double maxX(const QRectF& r) { return r.x() + r.width(); }
double minY(const QRectF& r) { return r.y(); }
double maxY(const QRectF& r) { return r.y() + r.height(); }
double midX(const QRectF& r) { return r.x() + r.width() / 2; }
double midY(const QRectF& r) { return r.y() + r.height() / 2; }

double preferredPanelWidth(const QRectF& visible)
{
    return std::min(std::max(visible.width() - 32, 0.0), preferredWidth);
}

// On a screen too low for one line plus chrome, the screen less 32 points.
double minimumPanelHeight(const QRectF& visible, double lineHeight)
{
    return std::min(std::max(visible.height() - 32, 0.0), minimumHeight(lineHeight));
}

double intersectionArea(const QRectF& a, const QRectF& b)
{
    const QRectF common = a.intersected(b);
    return common.isEmpty() ? 0 : common.width() * common.height();
}

double centreDistance(const QRectF& a, const QRectF& b)
{
    return std::hypot(midX(a) - midX(b), midY(a) - midY(b));
}

struct Snap {
    double delta;
    double guide;
};

// Guides in order, and within each the values in order (middle, minimum,
// maximum): a strict comparison keeps the earliest on ties.
std::optional<Snap> nearest(const QList<double>& values, const QList<double>& guideLines)
{
    std::optional<Snap> best;
    for (double guide : guideLines) {
        for (double value : values) {
            const double delta = guide - value;
            if (std::abs(delta) > 10)
                continue;
            if (!best || std::abs(delta) < std::abs(best->delta))
                best = Snap{delta, guide};
        }
    }
    return best;
}

} // namespace

QRectF defaultFrame(const QRectF& visible, double lineHeight)
{
    const double w = preferredPanelWidth(visible);
    const double h = minimumPanelHeight(visible, lineHeight);
    const double x = std::floor(midX(visible) - w / 2);
    const double y = std::floor(std::min(midY(visible) - h / 2 + 0.1 * visible.height(), maxY(visible) - h - 16));
    return QRectF(x, y, w, h);
}

QRectF expandedFrame(const QRectF& frame, double contentHeight, const QRectF& visible, double lineHeight)
{
    const double minH = minimumPanelHeight(visible, lineHeight);
    const double maxH = std::max(std::min({visible.height() - 32, 0.72 * visible.height(), 560.0}), minH);
    const double h = std::min(std::max(std::ceil(contentHeight), minH), maxH);
    const double w = preferredPanelWidth(visible);
    const double top = std::min(std::max(maxY(frame), minY(visible) + h), maxY(visible));
    const double x = std::min(std::max(minX(frame), minX(visible)), maxX(visible) - w);
    return QRectF(x, top - h, w, h);
}

QRectF fitted(const QRectF& frame, const QList<QRectF>& screens, double lineHeight)
{
    const std::optional<QRectF> s = screen(frame, screens);
    if (!s)
        return frame;
    const double w = std::min(std::max(frame.width(), minimumWidth), s->width());
    const double h = std::min(std::max(frame.height(), minimumHeight(lineHeight)), s->height());
    const double x = std::min(std::max(minX(frame), minX(*s)), maxX(*s) - w);
    const double y = std::min(std::max(minY(frame), minY(*s)), maxY(*s) - h);
    return QRectF(x, y, w, h);
}

std::optional<QRectF> screen(const QRectF& frame, const QList<QRectF>& screens)
{
    if (screens.isEmpty())
        return std::nullopt;
    QRectF best = screens.first();
    for (qsizetype i = 1; i < screens.size(); ++i) {
        const QRectF& candidate = screens[i];
        const double a = intersectionArea(frame, best);
        const double b = intersectionArea(frame, candidate);
        const bool better = a != b ? b > a : centreDistance(frame, candidate) < centreDistance(frame, best);
        if (better)
            best = candidate;
    }
    return best;
}

Guides guides(const QRectF& rect)
{
    const QList<double> fractions{0.25, 0.5, 0.75};
    Guides result;
    for (double fraction : fractions) {
        result.vertical.append(minX(rect) + fraction * rect.width());
        result.horizontal.append(minY(rect) + fraction * rect.height());
    }
    return result;
}

Alignment aligned(const QRectF& frame, const QRectF& visible, bool snapping)
{
    if (!snapping)
        return Alignment{frame, std::nullopt, std::nullopt};
    const Guides g = guides(visible);
    const std::optional<Snap> dx = nearest({midX(frame), minX(frame), maxX(frame)}, g.vertical);
    const std::optional<Snap> dy = nearest({midY(frame), minY(frame), maxY(frame)}, g.horizontal);
    Alignment result;
    result.frame = frame.translated(dx ? dx->delta : 0, dy ? dy->delta : 0);
    if (dx)
        result.vertical = dx->guide;
    if (dy)
        result.horizontal = dy->guide;
    return result;
}

} // namespace quillor::CaptureGeometry
