#include "settings/UpdateSettingsView.h"

#include "core/L10n.h"
#include "panel/BusySpinner.h"
#include "settings/SettingsStyle.h"
#include "updates/AppUpdates.h"

#include <QCheckBox>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quillor {

namespace {

// Day and abbreviated month as each interface language writes them.
QString dayAndMonthPattern(const QString& language)
{
    static const QHash<QString, QString> patterns{
        {QStringLiteral("en"), QStringLiteral("MMM d")},
        {QStringLiteral("es"), QStringLiteral("d 'de' MMM")},
        {QStringLiteral("de"), QStringLiteral("d. MMM")},
        {QStringLiteral("zh-Hans"), QStringLiteral("M月d日")},
    };
    return patterns.value(language, QStringLiteral("d MMM"));
}

} // namespace

UpdateSettingsView::UpdateSettingsView(AppUpdates& updates, std::function<bool()> automatic,
                                       std::function<void(bool)> setAutomatic, QWidget* parent)
    : QWidget(parent), m_updates(updates), m_isAutomatic(std::move(automatic))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    if (updates.storeDistribution()) {
        m_storeNotice =
            new QLabel(L10n::text(QStringLiteral("Les mises à jour de cette application sont gérées par le Mac App Store.")));
        m_storeNotice->setWordWrap(true);
        layout->addWidget(m_storeNotice);
    } else {
        m_automatic = new QCheckBox(L10n::text(QStringLiteral("Rechercher automatiquement les mises à jour")));
        connect(m_automatic, &QCheckBox::toggled, this, std::move(setAutomatic));
        layout->addWidget(m_automatic);
        auto* note = new QLabel(L10n::text(QStringLiteral("Une vérification par jour lorsque Quillor est ouvert.")));
        SettingsStyle::makeCaption(note);
        layout->addWidget(note);
    }

    m_checkRow = new QWidget;
    auto* row = new QHBoxLayout(m_checkRow);
    row->setContentsMargins(0, 0, 0, 0);
    m_check = new QPushButton(L10n::text(QStringLiteral("Rechercher les mises à jour")));
    connect(m_check, &QPushButton::clicked, this, [this] { m_updates.check(true, false, true); });
    m_changelog = new QPushButton(L10n::text(QStringLiteral("Afficher les changelogs")));
    connect(m_changelog, &QPushButton::clicked, this, [this] { m_updates.check(true, true, true); });
    m_spinner = new BusySpinner(14);
    row->addWidget(m_check);
    row->addWidget(m_changelog);
    row->addWidget(m_spinner);
    row->addStretch(1);
    layout->addWidget(m_checkRow);

    m_status = new QLabel;
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);
    m_lastCheckRow = new QWidget;
    auto* lastRow = new QHBoxLayout(m_lastCheckRow);
    lastRow->setContentsMargins(0, 0, 0, 0);
    lastRow->addWidget(new QLabel(L10n::text(QStringLiteral("Dernière vérification"))));
    lastRow->addStretch(1);
    m_lastCheck = new QLabel;
    lastRow->addWidget(m_lastCheck);
    layout->addWidget(m_lastCheckRow);

    for (auto signal : {&AppUpdates::checkingChanged, &AppUpdates::statusChanged, &AppUpdates::lastAttemptChanged})
        connect(&m_updates, signal, this, &UpdateSettingsView::sync);
    sync();
}

QString UpdateSettingsView::lastCheckText(const QDateTime& moment)
{
    const QLocale locale = L10n::locale();
    return locale.toString(moment, dayAndMonthPattern(L10n::currentLanguage()) + u' '
                                       + locale.timeFormat(QLocale::ShortFormat));
}

void UpdateSettingsView::sync()
{
    if (m_automatic) {
        const QSignalBlocker quiet(m_automatic);
        m_automatic->setChecked(m_isAutomatic());
    }
    const bool checking = m_updates.checking();
    m_checkRow->setEnabled(!checking);
    m_spinner->setVisible(checking);
    const std::optional<QString> status = m_updates.status();
    m_status->setText(status.value_or(QString()));
    m_status->setVisible(status.has_value());
    const std::optional<ReferenceDate> last = m_updates.lastAttempt();
    m_lastCheckRow->setVisible(last.has_value());
    if (last)
        m_lastCheck->setText(lastCheckText(last->toDateTime().toLocalTime()));
}

} // namespace quillor
