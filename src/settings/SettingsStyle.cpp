#include "settings/SettingsStyle.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quillor::SettingsStyle {

namespace {

// A simple line drawing on an 16-unit grid, for themes without the icon.
void draw(QPainter& painter, const QString& name)
{
    if (name == QLatin1String("go-down")) {
        painter.drawPolyline(QPolygonF({{4, 6}, {8, 10}, {12, 6}}));
    } else if (name == QLatin1String("go-next")) {
        painter.drawPolyline(QPolygonF({{6, 4}, {10, 8}, {6, 12}}));
    } else if (name == QLatin1String("dialog-warning")) {
        painter.setBrush(painter.pen().color());
        painter.drawEllipse(QRectF(2, 2, 12, 12));
        painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(8, 5), QPointF(8, 9));
        painter.drawPoint(QPointF(8, 11.5));
    } else if (name == QLatin1String("edit-clear")) {
        painter.drawEllipse(QRectF(2, 2, 12, 12));
        painter.drawLine(QPointF(6, 6), QPointF(10, 10));
        painter.drawLine(QPointF(10, 6), QPointF(6, 10));
    } else if (name == QLatin1String("list-add")) {
        painter.drawLine(QPointF(8, 3), QPointF(8, 13));
        painter.drawLine(QPointF(3, 8), QPointF(13, 8));
    } else if (name == QLatin1String("folder")) {
        QPainterPath path;
        path.moveTo(2, 4);
        path.lineTo(6, 4);
        path.lineTo(7.5, 5.5);
        path.lineTo(14, 5.5);
        path.lineTo(14, 13);
        path.lineTo(2, 13);
        path.closeSubpath();
        painter.drawPath(path);
    } else if (name == QLatin1String("input-keyboard")) {
        painter.drawRoundedRect(QRectF(1.5, 4, 13, 8), 1.5, 1.5);
        painter.drawLine(QPointF(5, 9.5), QPointF(11, 9.5));
    } else if (name == QLatin1String("document-open-recent")) {
        painter.drawEllipse(QRectF(2, 2, 12, 12));
        painter.drawPolyline(QPolygonF({{8, 5}, {8, 8}, {10.5, 9.5}}));
    } else if (name == QLatin1String("help-contents")) {
        painter.drawRect(QRectF(3, 2.5, 10, 11));
        painter.drawLine(QPointF(5.5, 2.5), QPointF(5.5, 13.5));
    } else if (name == QLatin1String("help-about")) {
        painter.drawEllipse(QRectF(2, 2, 12, 12));
        painter.drawLine(QPointF(8, 7), QPointF(8, 11));
        painter.drawPoint(QPointF(8, 5));
    } else if (name == QLatin1String("document-edit")) {
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.drawLine(QPointF(5.5, 10.5), QPointF(10.5, 5.5));
        painter.drawLine(QPointF(5, 11), QPointF(6.5, 11));
    } else if (name == QLatin1String("view-refresh")) {
        painter.drawArc(QRectF(2.5, 2.5, 11, 11), 90 * 16, 270 * 16);
        painter.drawPolyline(QPolygonF({{8, 0.5}, {10, 2.5}, {8, 4.5}}));
    } else if (name == QLatin1String("dialog-ok")) {
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.drawPolyline(QPolygonF({{5, 8.5}, {7, 10.5}, {11, 6}}));
    } else { // preferences-system: a gear as a ring with teeth
        painter.drawEllipse(QRectF(5, 5, 6, 6));
        for (int i = 0; i < 8; ++i) {
            painter.save();
            painter.translate(8, 8);
            painter.rotate(45 * i);
            painter.drawLine(QPointF(0, -4.5), QPointF(0, -6.5));
            painter.restore();
        }
    }
}

} // namespace

QFont headlineFont(const QFont& base)
{
    QFont font = base;
    font.setWeight(QFont::DemiBold);
    return font;
}

QFont captionFont(const QFont& base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() > 0 ? base.pointSizeF() * 0.88 : 9);
    return font;
}

QFont titleFont(const QFont& base)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() > 0 ? base.pointSizeF() * 1.55 : 15);
    font.setWeight(QFont::DemiBold);
    return font;
}

QColor tint(const QPalette& palette, qreal alpha)
{
    QColor colour = palette.color(QPalette::Highlight);
    colour.setAlphaF(float(alpha));
    return colour;
}

QColor warningColour()
{
    return QColor(0xF5, 0x8A, 0x07);
}

void makeError(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0xD7, 0x26, 0x1E));
    label->setPalette(palette);
    label->setFont(captionFont(label->font()));
    label->setWordWrap(true);
}

void makeCaption(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    label->setFont(captionFont(label->font()));
    label->setWordWrap(true);
}

QIcon icon(const QString& name, const QColor& colour)
{
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    QIcon result;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        painter.setPen(QPen(colour, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        draw(painter, name);
        painter.end();
        result.addPixmap(pixmap);
    }
    return result;
}

} // namespace quillor::SettingsStyle
