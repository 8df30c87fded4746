#include "panel/BusySpinner.h"

#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>

namespace quillor {

BusySpinner::BusySpinner(int diameter, QWidget* parent) : QWidget(parent), m_turn(new QVariantAnimation(this))
{
    setFixedSize(diameter, diameter);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_turn->setStartValue(0.0);
    m_turn->setEndValue(360.0);
    m_turn->setDuration(900);
    m_turn->setLoopCount(-1);
    connect(m_turn, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_angle = value.toReal();
        update();
    });
}

bool BusySpinner::isSpinning() const { return m_turn->state() == QAbstractAnimation::Running; }

// Turning only while shown: a hidden panel costs no timer.
void BusySpinner::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_turn->start();
}

void BusySpinner::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_turn->stop();
}

void BusySpinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = std::max(1.5, width() / 8.0);
    const QRectF circle = QRectF(rect()).adjusted(line, line, -line, -line);
    QColor track = palette().color(foregroundRole());
    track.setAlphaF(0.18);
    painter.setPen(QPen(track, line));
    painter.drawEllipse(circle);
    painter.setPen(QPen(palette().color(foregroundRole()), line, Qt::SolidLine, Qt::RoundCap));
    // QPainter angles are counter-clockwise in sixteenths of a degree.
    painter.drawArc(circle, int(-m_angle * 16), 100 * 16);
}

} // namespace quillor
