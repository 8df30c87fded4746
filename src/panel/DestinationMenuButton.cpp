#include "panel/DestinationMenuButton.h"

#include "core/DestinationValidation.h"
#include "core/L10n.h"
#include "model/AppModel.h"
#include "panel/ChromeStyle.h"

#include <QDateTime>
#include <QEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quillor {

namespace {
constexpr int narrowestWidth = 46;
constexpr int widestWidth = 240;
constexpr int folderSize = 16;
constexpr qreal chevronWidth = 7;
constexpr qreal chevronStroke = 1.6;
} // namespace

DestinationMenuButton::DestinationMenuButton(AppModel& model, QWidget* parent)
    : CaptureButton(QString(), parent), m_model(model), m_menu(new QMenu(this))
{
    setIcon(ChromeStyle::folder(ChromeStyle::secondaryText(palette())));
    setIconSize(QSize(folderSize, folderSize));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMaximumWidth(widestWidth);
    setMenu(m_menu);
    connect(m_menu, &QMenu::aboutToShow, this, &DestinationMenuButton::fillMenu);
    sync();
}

void DestinationMenuButton::sync()
{
    const QString label = m_model.destinationLabel();
    if (label != m_label || !m_synced) {
        m_label = label;
        updateGeometry();
        update();
        setAccessibleName(L10n::format(QStringLiteral("Destination : %@"), {m_label}));
    }
    // Runs at every keystroke: the tool tip, whose example note path reads the
    // clock and the time zone, is made again only when the route changed, and
    // at hover time.
    const RouteResolution resolution = m_model.routeResolution();
    const std::optional<Route> route = resolution.route();
    std::optional<Destination> routed = route ? std::optional(route->destination) : std::nullopt;
    if (routed != m_routed || resolution.error() != m_routeError || !m_synced) {
        m_routed = std::move(routed);
        m_routeError = resolution.error();
        setToolTip(toolTipText(resolution));
    }
    m_synced = true;
    // A disabled button never opens its menu, so no choice is made while saving.
    setEnabled(!m_model.saving());
}

QString DestinationMenuButton::toolTipText(const RouteResolution& resolution)
{
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
        // Styles draw an empty box before a checkable entry left unchecked:
        // only the routed one is checkable, and so alone carries a mark.
        if (route && route->destination.id == destination.id) {
            item->setCheckable(true);
            item->setChecked(true);
        }
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

bool DestinationMenuButton::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
        setToolTip(toolTipText(m_model.routeResolution()));
    return CaptureButton::event(event);
}

int DestinationMenuButton::labelChrome() const
{
    return folderSize + 2 * spacing + int(std::ceil(chevronWidth));
}

// Measured on the whole label, so a button elided in a narrow row grows back
// when room returns.
QSize DestinationMenuButton::sizeHint() const
{
    // Rounded up: the elision measures in fractions of a pixel.
    const int text = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(m_label)));
    const int natural = 2 * horizontalPadding + labelChrome() + text;
    return QSize(std::clamp(natural, narrowestWidth, widestWidth), CaptureButtonStyle::minimumHeight);
}

QSize DestinationMenuButton::minimumSizeHint() const
{
    return QSize(narrowestWidth, CaptureButtonStyle::minimumHeight);
}

QString DestinationMenuButton::shownLabel() const
{
    const int room = std::min(width(), widestWidth) - 2 * horizontalPadding - labelChrome();
    return fontMetrics().elidedText(m_label, Qt::ElideMiddle, std::max(room, 0));
}

// Leading-aligned: the folder, the label, the chevron.
void DestinationMenuButton::paintLabel(QPainter& painter, const QRect& area)
{
    int x = area.left();
    icon().paint(&painter, QRect(x, area.top() + (area.height() - folderSize) / 2, folderSize, folderSize));
    x += folderSize + spacing;
    const QString shown = shownLabel();
    painter.drawText(QRect(x, area.top(), area.right() - x + 1, area.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     shown);
    x += fontMetrics().horizontalAdvance(shown) + spacing;
    // A downward chevron as wide as a 9-pixel semibold one, stroked.
    const qreal middle = area.top() + area.height() / 2.0;
    QPen pen(painter.pen().color(), chevronStroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF chevron[] = {QPointF(x, middle - chevronWidth / 4), QPointF(x + chevronWidth / 2, middle + chevronWidth / 4),
                               QPointF(x + chevronWidth, middle - chevronWidth / 4)};
    painter.drawPolyline(chevron, 3);
}

} // namespace quillor
