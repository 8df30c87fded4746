#include "panel/DestinationMenuButton.h"

#include "core/DestinationValidation.h"
#include "core/L10n.h"
#include "model/AppModel.h"
#include "panel/ChromeStyle.h"

#include <QDateTime>
#include <QMenu>
#include <QResizeEvent>
#include <QStyle>

#include <algorithm>

namespace quillor {

namespace {
constexpr int narrowestWidth = 46;
constexpr int widestWidth = 240;
} // namespace

DestinationMenuButton::DestinationMenuButton(AppModel& model, QWidget* parent)
    : QPushButton(parent), m_model(model), m_menu(new QMenu(this))
{
    ChromeStyle::makeChromeButton(this);
    setIcon(ChromeStyle::folder(ChromeStyle::secondaryText(palette())));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMaximumWidth(widestWidth);
    setMenu(m_menu);
    connect(m_menu, &QMenu::aboutToShow, this, &DestinationMenuButton::fillMenu);
    sync();
}

void DestinationMenuButton::sync()
{
    const QString label = m_model.destinationLabel();
    if (label != m_label) {
        m_label = label;
        elide();
        updateGeometry();
    }
    setToolTip(toolTipText());
    setAccessibleName(L10n::format(QStringLiteral("Destination : %@"), {m_label}));
    // A disabled button never opens its menu, so no choice is made while saving.
    setEnabled(!m_model.saving());
}

QString DestinationMenuButton::toolTipText() const
{
    const RouteResolution resolution = m_model.routeResolution();
    if (const std::optional<Route> route = resolution.route()) {
        const Destination& destination = route->destination;
        return destination.vaultPath + QStringLiteral(" · ") + DeliveryModes::label(destination.mode)
            + QStringLiteral(" · ")
            + DestinationValidation::notePath(destination, QDateTime::currentDateTime());
    }
    return resolution.error().value_or(QString());
}

void DestinationMenuButton::fillMenu()
{
    m_menu->clear();
    const QUuid defaultID = m_model.defaultDestination().id;
    const std::optional<Route> route = m_model.routeResolution().route();
    for (const Destination& destination : m_model.preferences().alphabeticalDestinations()) {
        QString title = destination.displayName();
        if (destination.id == defaultID)
            title += L10n::text(QStringLiteral(" · par défaut"));
        QAction* item = m_menu->addAction(title);
        item->setCheckable(true);
        item->setChecked(route && route->destination.id == destination.id);
        const QUuid id = destination.id;
        connect(item, &QAction::triggered, this, [this, id] { m_model.setDestination(id); });
    }
    m_menu->addSeparator();
    QAction* manage = m_menu->addAction(L10n::text(QStringLiteral("Gérer les destinations…")));
    connect(manage, &QAction::triggered, this, [this] {
        if (openSettings)
            openSettings();
    });
}

// Measured on the whole label, so a button elided in a narrow row grows back
// when room returns.
QSize DestinationMenuButton::sizeHint() const
{
    QSize hint = m_fullHint.isValid() ? m_fullHint : QPushButton::sizeHint();
    hint.setWidth(std::clamp(hint.width(), narrowestWidth, widestWidth));
    return hint;
}

QSize DestinationMenuButton::minimumSizeHint() const { return QSize(narrowestWidth, ChromeStyle::buttonHeight); }

void DestinationMenuButton::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    elide();
}

void DestinationMenuButton::elide()
{
    // The style's natural size has a minimum width, so what the frame, icon
    // and arrow take cannot be told from an elided text's size: measure the
    // whole label, then take off what the button lacks.
    if (text() != m_label)
        setText(m_label);
    m_fullHint = QPushButton::sizeHint();
    const int lacking = m_fullHint.width() - std::min(width(), widestWidth);
    if (lacking <= 0)
        return;
    const QFontMetrics metrics(font());
    setText(metrics.elidedText(m_label, Qt::ElideMiddle, std::max(metrics.horizontalAdvance(m_label) - lacking, 0)));
}

} // namespace quillor
