#include "settings/DestinationsSettingsPage.h"

#include "core/DestinationValidation.h"
#include "core/Error.h"
#include "core/L10n.h"
#include "model/AppModel.h"
#include "settings/DestinationFolders.h"
#include "settings/DestinationRow.h"
#include "settings/SettingsNavigation.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsValidation.h"
#include "settings/SettingsView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quillor {

DestinationsSettingsPage::DestinationsSettingsPage(SettingsView& view, SettingsForm& form)
    : m_view(view), m_form(form)
{
    auto* adding = new SettingsGroup(view.navigation(), QString(), QString(), this);
    m_add = new QPushButton(SettingsStyle::icon(QStringLiteral("list-add"), palette().color(QPalette::WindowText)),
                            L10n::text(QStringLiteral("Ajouter une destination…")));
    connect(m_add, &QPushButton::clicked, this, &DestinationsSettingsPage::addDestination);
    adding->body()->addWidget(m_add, 0, Qt::AlignLeft);
    groups()->addWidget(adding);
    form.registerRow(QStringLiteral("destinations"), adding);

    auto* index = new SettingsGroup(view.navigation(), QStringLiteral("index"), L10n::text(QStringLiteral("Suggestions")),
                                    this);
    auto* refresh = new QPushButton(L10n::text(QStringLiteral("Actualiser les notes et tags")));
    connect(refresh, &QPushButton::clicked, this, [this] { m_view.model().refreshIndex(true); });
    index->body()->addWidget(refresh, 0, Qt::AlignLeft);
    m_count = new QLabel;
    SettingsStyle::makeCaption(m_count);
    index->body()->addWidget(m_count);
    groups()->addWidget(index);
    form.registerRow(QStringLiteral("index"), index);

    m_rowsLayout = new QVBoxLayout;
    m_rowsLayout->setSpacing(16);
    groups()->addLayout(m_rowsLayout);

    // The order held while a name was typed is taken up when the typing ends.
    // A menu over the field does not end it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (m_orderHeld && !(now && now->window()->windowType() == Qt::Popup))
            sync();
    });
}

DestinationRow* DestinationsSettingsPage::row(const QUuid& id) const
{
    for (DestinationRow* row : m_rows) {
        if (row->id() == id)
            return row;
    }
    return nullptr;
}

void DestinationsSettingsPage::sync()
{
    m_count->setText(L10n::format(QStringLiteral("notes.indexed"), {m_view.model().indexCount()}));
    QList<QUuid> order;
    for (const Destination& destination : m_view.state().candidate().alphabeticalDestinations())
        order.append(destination.id);
    // Rows are made again only when the list or its order changes, so a
    // field being typed in keeps its caret.
    m_orderHeld = order != m_order && holdsOrder(order);
    if (order != m_order && !m_orderHeld)
        rebuildRows(order);
    for (DestinationRow* row : std::as_const(m_rows))
        row->sync();
}

bool DestinationsSettingsPage::holdsOrder(const QList<QUuid>& order) const
{
    // The note's folder names the row: a key typed into its note name can move
    // it, and the next keys would go into a field carried out of view. While a
    // field of a row is typed in, the same rows keep their places until the
    // field is left or the edits are applied or reverted.
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field || !std::is_permutation(order.cbegin(), order.cend(), m_order.cbegin(), m_order.cend()))
        return false;
    const bool inRow = std::any_of(m_rows.cbegin(), m_rows.cend(),
                                   [field](const DestinationRow* row) { return row->isAncestorOf(field); });
    return inRow && m_view.state().candidate() != m_view.state().baseline();
}

void DestinationsSettingsPage::rebuildRows(const QList<QUuid>& order)
{
    QList<DestinationRow*> kept;
    for (DestinationRow* row : std::as_const(m_rows)) {
        m_rowsLayout->removeWidget(row);
        if (order.contains(row->id())) {
            kept.append(row);
        } else {
            row->hide();
            row->deleteLater();
        }
    }
    m_rows.clear();
    for (const QUuid& id : order) {
        DestinationRow* row = nullptr;
        for (DestinationRow* existing : std::as_const(kept)) {
            if (existing->id() == id)
                row = existing;
        }
        if (!row)
            row = new DestinationRow(id, m_view, m_form, *this);
        m_rowsLayout->addWidget(row);
        row->show();
        m_rows.append(row);
    }
    m_order = order;
}

bool DestinationsSettingsPage::edit(const QUuid& id, const std::function<void(Destination&)>& change)
{
    Preferences candidate = m_view.state().candidate();
    for (Destination& destination : candidate.destinations) {
        if (destination.id == id) {
            change(destination);
            m_view.state().setCandidate(candidate);
            return true;
        }
    }
    return false;
}

void DestinationsSettingsPage::addDestination()
{
    const std::optional<QString> folder = m_view.pickFolder();
    if (!folder)
        return;
    Preferences candidate = m_view.state().candidate();
    const Destination fresh(QUuid::createUuid(), QString(), QString(), QString(), DeliveryMode::newNote, QString(),
                            QStringLiteral("Attachments/Quillor"));
    Destination configured;
    try {
        configured = DestinationFolders::configure(*folder, fresh, candidate.destinations, m_view.model().vaultAccess());
    } catch (const Error& error) {
        m_view.model().reportSettingsError(error.localizedDescription());
        return;
    }
    // A lone destination without a folder is the one a fresh install starts
    // with: the new one takes its place, and its id stays the default.
    if (candidate.destinations.size() == 1 && candidate.destinations.constFirst().vaultPath.isEmpty()) {
        configured.id = candidate.destinations.constFirst().id;
        candidate.destinations.clear();
    }
    candidate.destinations.append(configured);
    candidate.ensureDefaultDestination();
    SettingsView& view = m_view;
    view.state().setCandidate(candidate);
    view.state().setExpanded(configured.id, true);
    view.navigation().setTarget(std::nullopt);
    QTimer::singleShot(0, &view, [&view, target = QStringLiteral("destination-") + SettingsValidation::idText(configured.id)] {
        view.navigation().setTarget(target);
    });
    view.model().clearSettingsError();
}

void DestinationsSettingsPage::chooseDestinationFolder(const QUuid& id)
{
    const std::optional<QString> folder = m_view.pickFolder();
    if (!folder)
        return;
    Preferences candidate = m_view.state().candidate();
    for (Destination& destination : candidate.destinations) {
        if (destination.id != id)
            continue;
        try {
            destination = DestinationFolders::configure(*folder, destination, candidate.destinations,
                                                        m_view.model().vaultAccess());
        } catch (const Error& error) {
            m_view.model().reportSettingsError(error.localizedDescription());
            return;
        }
        m_view.state().setCandidate(candidate);
        // Choosing the folder confirms the path.
        m_view.state().setNeedsConfirmation(id, false);
        m_view.model().clearSettingsError();
        return;
    }
}

void DestinationsSettingsPage::changeMode(const QUuid& id, DeliveryMode mode)
{
    bool changed = false;
    edit(id, [&](Destination& destination) {
        changed = destination.mode != mode;
        destination = DestinationSettings::changingMode(destination, mode);
    });
    // Every change of mode moves where captures go: the user confirms it,
    // even when going back to the saved mode.
    if (changed)
        m_view.state().setNeedsConfirmation(id, true);
}

void DestinationsSettingsPage::setNotePath(const QUuid& id, const QString& path)
{
    edit(id, [&](Destination& destination) { destination.path = path; });
}

void DestinationsSettingsPage::setAlias(const QUuid& id, const QString& alias)
{
    edit(id, [&](Destination& destination) { destination.alias = alias; });
}

void DestinationsSettingsPage::removeDestination(const QUuid& id)
{
    Preferences candidate = m_view.state().candidate();
    if (candidate.destinations.size() < 2)
        return;
    candidate.destinations.removeIf([&](const Destination& destination) { return destination.id == id; });
    candidate.ensureDefaultDestination();
    m_view.state().setCandidate(candidate);
    m_view.state().setExpanded(id, false);
    m_view.state().setNeedsConfirmation(id, false);
}

void DestinationsSettingsPage::makeDefault(const QUuid& id)
{
    Preferences candidate = m_view.state().candidate();
    candidate.defaultDestinationID = id;
    m_view.state().setCandidate(candidate);
}

} // namespace quillor
