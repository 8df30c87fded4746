#include "editor/QuillorBrand.h"

#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace quillor::QuillorBrand {

namespace {

// The mark is designed on a 256 grid whose drawing spans y 73 to 238; this
// shift centres it vertically in the rectangle.
constexpr qreal gridSize = 256;
constexpr qreal verticalShift = 27.5;
constexpr qreal bandWidth = 24;
constexpr qreal bevelDrop = 13.86;
constexpr qreal bendY = 142;
constexpr qreal circleConstant = 0.55228475;

class Grid {
public:
    explicit Grid(const QRectF& rect) : m_rect(rect) {}
    QPointF operator()(qreal x, qreal y) const
    {
        return QPointF(m_rect.left() + x * m_rect.width() / gridSize,
                       m_rect.top() + (y - verticalShift) * m_rect.height() / gridSize);
    }

private:
    QRectF m_rect;
};

void addBand(QPainterPath& path, const Grid& at, qreal left, qreal right, qreal top)
{
    const qreal inner = (right - left) / 2 - bandWidth;
    const qreal outer = inner + bandWidth;
    const qreal k = circleConstant;
    const qreal middle = gridSize / 2;
    path.moveTo(at(left, top));
    path.lineTo(at(left + bandWidth, top + bevelDrop));
    path.lineTo(at(left + bandWidth, bendY));
    path.cubicTo(at(left + bandWidth, bendY + k * inner), at(middle - k * inner, bendY + inner),
                 at(middle, bendY + inner));
    path.cubicTo(at(middle + k * inner, bendY + inner), at(right - bandWidth, bendY + k * inner),
                 at(right - bandWidth, bendY));
    path.lineTo(at(right - bandWidth, top + bevelDrop));
    path.lineTo(at(right, top));
    path.lineTo(at(right, bendY));
    path.cubicTo(at(right, bendY + k * outer), at(middle + k * outer, bendY + outer), at(middle, bendY + outer));
    path.cubicTo(at(middle - k * outer, bendY + outer), at(left, bendY + k * outer), at(left, bendY));
    path.closeSubpath();
}

} // namespace

QColor blue() { return QColor(36, 83, 255); }

QColor accent(bool dark) { return dark ? QColor(120, 149, 255) : blue(); }

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

QPainterPath lanes(const QRectF& rect)
{
    const Grid at(rect);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    addBand(path, at, 32, 224, 96);
    addBand(path, at, 76, 180, 112);
    return path;
}

QPainterPath idea(const QRectF& rect)
{
    const Grid at(rect);
    QPainterPath path;
    path.addEllipse(QRectF(at(106, 73), at(150, 117)));
    return path;
}

QPainterPath mark(const QRectF& rect)
{
    QPainterPath path = lanes(rect);
    path.addPath(idea(rect));
    return path;
}

void draw(QPainter& painter, const QRectF& rect, const QColor& lanesColour, const QColor& ideaColour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.fillPath(lanes(rect), lanesColour);
    painter.fillPath(idea(rect), ideaColour);
    painter.restore();
}

QPixmap image(int size, bool monochrome, const QColor& label, qreal devicePixelRatio)
{
    const QColor colour = monochrome ? label : accent(label.lightness() >= 128);
    const qreal ratio = std::max<qreal>(devicePixelRatio, 1);
    const int pixels = std::max(1, int(std::ceil(size * ratio)));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter, QRectF(0, 0, size, size), colour, colour);
    return pixmap;
}

} // namespace quillor::QuillorBrand
