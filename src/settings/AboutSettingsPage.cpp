#include "settings/AboutSettingsPage.h"

#include "core/L10n.h"
#include "core/PrivacyPolicy.h"
#include "model/AppModel.h"
#include "platform/BuildInfo.h"
#include "platform/FileManager.h"
#include "settings/SettingsState.h"
#include "settings/SettingsView.h"
#include "settings/UpdateSettingsView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillor {

namespace {

QHBoxLayout* labelledRow(const QString& title, QWidget* value)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(title));
    row->addStretch(1);
    row->addWidget(value);
    return row;
}

} // namespace

AboutSettingsPage::AboutSettingsPage(SettingsView& view, SettingsForm& form) : m_view(view)
{
    // The application's name, the same in every language.
    SettingsGroup* about = addGroup(form, QStringLiteral("about"), QStringLiteral("Quillor"));
    m_version = new QLabel(versionText(BuildInfo::shortVersion(), BuildInfo::buildNumber()));
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    about->body()->addLayout(labelledRow(L10n::text(QStringLiteral("Version")), m_version));

    SettingsGroup* local = addGroup(form, QStringLiteral("local"), {});
    m_localData = new QPushButton(L10n::text(QStringLiteral("Afficher les données locales")));
    connect(m_localData, &QPushButton::clicked, this, [this] {
        AppModel& model = m_view.model();
        FileManager::open(model.dataDirectory(),
                          [&model](const QString& message) { model.reportSettingsError(message); });
    });
    local->body()->addLayout(labelledRow(L10n::text(QStringLiteral("Diagnostic")), m_localData));

    SettingsGroup* updates = addGroup(form, QStringLiteral("updates"), L10n::text(QStringLiteral("Mises à jour")));
    SettingsState& state = view.state();
    m_updates = new UpdateSettingsView(
        view.model().updates(), [&state] { return state.candidate().automaticallyCheckUpdates; },
        [&state](bool automatic) {
            Preferences candidate = state.candidate();
            candidate.automaticallyCheckUpdates = automatic;
            state.setCandidate(candidate);
        });
    updates->body()->addWidget(m_updates);

    SettingsGroup* privacy =
        addGroup(form, QStringLiteral("privacy"), L10n::text(QStringLiteral("Tes notes restent à toi")));
    auto* promise = new QLabel(L10n::text(QStringLiteral(
        "Tes captures sont enregistrées sur ton Mac et dans les dossiers que tu choisis. Sans compte, sans publicité, "
        "sans suivi.")));
    promise->setWordWrap(true);
    privacy->body()->addWidget(promise);
    m_disclosure = new QToolButton;
    m_disclosure->setText(L10n::text(QStringLiteral("Confidentialité et mentions légales")));
    m_disclosure->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_disclosure->setAutoRaise(true);
    m_disclosure->setCheckable(true);
    m_disclosure->setArrowType(Qt::RightArrow);
    privacy->body()->addWidget(m_disclosure, 0, Qt::AlignLeft);
    m_paragraphs = new QWidget;
    auto* paragraphs = new QVBoxLayout(m_paragraphs);
    paragraphs->setContentsMargins(0, 0, 0, 0);
    for (const QString& text : PrivacyPolicy::paragraphs()) {
        auto* paragraph = new QLabel(text);
        paragraph->setWordWrap(true);
        paragraph->setTextInteractionFlags(Qt::TextSelectableByMouse);
        paragraphs->addWidget(paragraph);
    }
    m_paragraphs->hide();
    privacy->body()->addWidget(m_paragraphs);
    connect(m_disclosure, &QToolButton::toggled, this, [this](bool open) {
        m_disclosure->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        m_paragraphs->setVisible(open);
    });
}

QString AboutSettingsPage::versionText(const QString& shortVersion, const QString& buildNumber)
{
    const QString none = QStringLiteral("—");
    return QStringLiteral("%1 (%2)").arg(shortVersion.isEmpty() ? none : shortVersion,
                                         buildNumber.isEmpty() ? none : buildNumber);
}

SettingsGroup* AboutSettingsPage::addGroup(SettingsForm& form, const QString& identifier, const QString& header)
{
    auto* group = new SettingsGroup(m_view.navigation(), identifier, header, this);
    groups()->addWidget(group);
    form.registerRow(identifier, group);
    return group;
}

void AboutSettingsPage::sync()
{
    m_updates->sync();
}

} // namespace quillor
