#include "settings/SettingsRow.h"

#include "settings/SettingsNavigation.h"
#include "settings/SettingsStyle.h"

#include <QPainter>
#include <QPainterPath>

namespace quillor {

SettingsRow::SettingsRow(SettingsNavigation& navigation, const QString& identifier, QWidget* parent)
    : QWidget(parent), m_navigation(navigation), m_identifier(identifier)
{
    setObjectName(identifier);
    connect(&m_navigation, &SettingsNavigation::targetChanged, this, qOverload<>(&QWidget::update));
}

bool SettingsRow::highlighted() const
{
    return m_navigation.target() == m_identifier;
}

void SettingsRow::paintEvent(QPaintEvent*)
{
    if (!highlighted())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 6, 6);
    painter.fillPath(shape, SettingsStyle::tint(palette(), 0.1));
}

} // namespace quillor
