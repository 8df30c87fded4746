#include "shell/CaptureGuides.h"

#include "platform/CompositingManager.h"
#include "shell/CaptureGeometry.h"

#include <QBitmap>
#include <QPainter>

#include <cmath>

namespace quillor {

namespace {

constexpr qreal plainWidth = 1;
constexpr qreal highlightedWidth = 2;
constexpr qreal plainAlpha = 0.45;
constexpr qreal highlightedAlpha = 0.95;
constexpr qreal dash = 6;
constexpr qreal gap = 5;
// A snapped guide matches a line it lies this close to.
constexpr qreal matchTolerance = 0.5;

bool matches(const std::optional<qreal>& snapped, qreal line)
{
    return snapped && std::abs(*snapped - line) < matchTolerance;
}

} // namespace

CaptureGuides::CaptureGuides()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput
                           | Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint)
{
    setWindowTitle(QStringLiteral("Quillor guides"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_QuitOnClose, false);
}

void CaptureGuides::show(const QRect& available, std::optional<qreal> vertical, std::optional<qreal> horizontal)
{
    m_vertical = vertical;
    m_horizontal = horizontal;
    if (geometry() != available)
        setGeometry(available);
    if (!isVisible())
        QWidget::show();
    // Drawn for where the window really stands once shown.
    const Drawn drawn{geometry(), vertical, horizontal};
    if (drawn != m_drawn) {
        m_drawn = drawn;
        redraw();
        update();
    }
    // Above the panel, which has just moved.
    raise();
}

QList<CaptureGuides::Line> CaptureGuides::lines() const
{
    const CaptureGeometry::Guides guides = CaptureGeometry::guides(QRectF(QPointF(0, 0), QSizeF(size())));
    QList<Line> result;
    // Guides of a rectangle at the origin: the fractions are the same in
    // both vertical directions.
    for (const double x : guides.vertical)
        result.append({Qt::Vertical, x, matches(m_vertical, x + geometry().x())});
    for (const double y : guides.horizontal)
        result.append({Qt::Horizontal, y, matches(m_horizontal, y + geometry().y())});
    return result;
}

// The lines are drawn once per change; without a compositing manager the
// clear parts would come out black, so the window is cut down to the very
// pixels the dashes cover.
void CaptureGuides::redraw()
{
    m_drawing = drawing(false);
    if (CompositingManager::isRunning())
        clearMask();
    else   // every inked pixel, the faint ones too
        setMask(QBitmap::fromImage(drawing(true).createAlphaMask()));
}

QImage CaptureGuides::drawing(bool opaque) const
{
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QColor accent = palette().color(QPalette::Highlight);
    for (const Line& line : lines()) {
        const qreal penWidth = line.highlighted ? highlightedWidth : plainWidth;
        QColor colour = accent;
        colour.setAlphaF(opaque ? 1.0f : float(line.highlighted ? highlightedAlpha : plainAlpha));
        QPen pen(colour, penWidth, Qt::CustomDashLine, Qt::FlatCap);
        // Dash lengths count in pen widths.
        pen.setDashPattern({dash / penWidth, gap / penWidth});
        painter.setPen(pen);
        if (line.orientation == Qt::Vertical)
            painter.drawLine(QPointF(line.position, 0), QPointF(line.position, height()));
        else
            painter.drawLine(QPointF(0, line.position), QPointF(width(), line.position));
    }
    return image;
}

void CaptureGuides::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_drawing);
}

} // namespace quillor
