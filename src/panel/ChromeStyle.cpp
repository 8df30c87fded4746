#include "panel/ChromeStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

namespace quillor::ChromeStyle {

namespace {
constexpr qreal designBodySize = 13;
}

QFont font(const QFont& base, qreal designPoints, QFont::Weight weight)
{
    QFont result = base;
    if (base.pointSizeF() > 0)
        result.setPointSizeF(base.pointSizeF() * designPoints / designBodySize);
    else
        result.setPixelSize(std::max(1, qRound(base.pixelSize() * designPoints / designBodySize)));
    result.setWeight(weight);
    return result;
}

void setFont(QWidget* widget, qreal designPoints, QFont::Weight weight)
{
    widget->setFont(font(widget->font(), designPoints, weight));
}

QColor secondaryText(const QPalette& palette)
{
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(0.62);
    return colour;
}

QColor warning() { return QColor(255, 149, 0); }

QColor error() { return QColor(255, 59, 48); }

namespace {

// A 32-pixel line drawing in `colour`, with the chrome's rounded stroke.
template <typename Draw>
QIcon lineIcon(const QColor& colour, const Draw& draw)
{
    constexpr int size = 32;
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

QIcon paperclip(const QColor& colour)
{
    return lineIcon(colour, [](QPainter& painter) {
        // Three nested hairpins, the inner one left open: a clip seen from the side.
        QPainterPath clip;
        clip.moveTo(20, 11);
        clip.lineTo(20, 22);
        clip.arcTo(13, 18, 7, 8, 0, -180);
        clip.lineTo(13, 8);
        clip.arcTo(13, 3, 11, 10, 180, -180);
        clip.lineTo(24, 23);
        clip.arcTo(9, 16, 15, 13, 0, -180);
        clip.lineTo(9, 11);
        painter.drawPath(clip);
    });
}

QIcon folder(const QColor& colour)
{
    return lineIcon(colour, [](QPainter& painter) {
        // A folder seen from the front, its tab on the upper left.
        QPainterPath outline;
        outline.moveTo(4, 9);
        outline.lineTo(4, 25);
        outline.quadTo(4, 27, 6, 27);
        outline.lineTo(26, 27);
        outline.quadTo(28, 27, 28, 25);
        outline.lineTo(28, 12);
        outline.quadTo(28, 10, 26, 10);
        outline.lineTo(15, 10);
        outline.lineTo(12, 6);
        outline.lineTo(6, 6);
        outline.quadTo(4, 6, 4, 9);
        painter.drawPath(outline);
        painter.drawLine(QPointF(4, 14), QPointF(28, 14));
    });
}

void makeChromeButton(QWidget* button)
{
    button->setFixedHeight(buttonHeight);
    button->setFocusPolicy(Qt::TabFocus);
    setFont(button, 12);
}

} // namespace quillor::ChromeStyle
