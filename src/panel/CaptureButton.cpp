#include "panel/CaptureButton.h"

#include "editor/QuillorBrand.h"
#include "panel/CaptureButtonFeedback.h"
#include "panel/ChromeStyle.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace quillor {

namespace CaptureButtonStyle {

QColor fill(const QPalette& palette, bool prominent)
{
    if (prominent)
        return QuillorBrand::accent(QuillorBrand::isDark(palette));
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(plainFillAlpha);
    return colour;
}

QColor foreground(const QPalette& palette, bool prominent)
{
    if (prominent)
        return Qt::white;
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(plainTextAlpha);
    return colour;
}

} // namespace CaptureButtonStyle

namespace {

QPainterPath shape(const QRect& rect)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect), CaptureButtonStyle::cornerRadius, CaptureButtonStyle::cornerRadius);
    return path;
}

} // namespace

CaptureButton::CaptureButton(const QString& text, QWidget* parent, bool prominent)
    : QPushButton(text, parent), m_prominent(prominent)
{
    ChromeStyle::makeChromeButton(this);
    setAutoDefault(false);
    CaptureButtonFeedback::install(this);
}

void CaptureButton::setProminent(bool prominent)
{
    if (prominent == m_prominent)
        return;
    m_prominent = prominent;
    update();
}

QSize CaptureButton::sizeHint() const
{
    int width = 2 * horizontalPadding + fontMetrics().horizontalAdvance(text());
    if (!icon().isNull())
        width += iconSize().width() + (text().isEmpty() ? 0 : spacing);
    return QSize(width, CaptureButtonStyle::minimumHeight);
}

QSize CaptureButton::minimumSizeHint() const
{
    return QSize(0, CaptureButtonStyle::minimumHeight);
}

bool CaptureButton::hitButton(const QPoint& position) const
{
    return shape(rect()).contains(QPointF(position) + QPointF(0.5, 0.5));
}

void CaptureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(CaptureButtonStyle::disabledOpacity);
    const QPainterPath outline = shape(rect());
    painter.fillPath(outline, CaptureButtonStyle::fill(palette(), m_prominent));
    if (isDown())
        painter.fillPath(outline, QColor::fromRgbF(0, 0, 0, CaptureButtonStyle::pressedAlpha));
    painter.setPen(CaptureButtonStyle::foreground(palette(), m_prominent));
    paintLabel(painter, rect().adjusted(horizontalPadding, 0, -horizontalPadding, 0));
}

void CaptureButton::paintLabel(QPainter& painter, const QRect& area)
{
    const bool hasIcon = !icon().isNull();
    const int textWidth = painter.fontMetrics().horizontalAdvance(text());
    const int iconWidth = hasIcon ? iconSize().width() : 0;
    const int gap = hasIcon && !text().isEmpty() ? spacing : 0;
    // An icon alone stays centred even where it is wider than the padding leaves.
    const int slack = area.width() - iconWidth - gap - textWidth;
    int x = area.left() + (text().isEmpty() ? slack / 2 : std::max(0, slack / 2));
    if (hasIcon) {
        const QRect iconArea(x, area.top() + (area.height() - iconSize().height()) / 2, iconWidth,
                             iconSize().height());
        icon().paint(&painter, iconArea);
        x += iconWidth + gap;
    }
    if (!text().isEmpty())
        painter.drawText(QRect(x, area.top(), area.right() - x + 1, area.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         text());
}

} // namespace quillor
