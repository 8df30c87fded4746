#include "settings/GeneralSettingsPage.h"

#include "core/L10n.h"
#include "core/Routing.h"
#include "model/AppModel.h"
#include "platform/LoginItem.h"
#include "platform/ShortcutCombination.h"
#include "settings/SettingsNavigation.h"
#include "settings/SettingsState.h"
#include "settings/SettingsStyle.h"
#include "settings/SettingsView.h"
#include "settings/ShortcutRecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quillor {

namespace {

void setTextUnlessEditing(QLineEdit* field, const QString& text)
{
    if (!field->hasFocus() && field->text() != text)
        field->setText(text);
}

} // namespace

GeneralSettingsPage::GeneralSettingsPage(SettingsView& view, SettingsForm& form)
    : m_view(view), m_form(form)
{
    buildLanguage();
    buildLogin();
    buildHotkey();
    buildPrefix();
}

SettingsGroup* GeneralSettingsPage::addGroup(const QString& identifier, const QString& header)
{
    auto* group = new SettingsGroup(m_view.navigation(), identifier, header, this);
    groups()->addWidget(group);
    m_form.registerRow(identifier, group);
    return group;
}

void GeneralSettingsPage::buildLanguage()
{
    SettingsGroup* group = addGroup(QStringLiteral("language"), L10n::text(QStringLiteral("Langue")));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(L10n::text(QStringLiteral("Langue"))));
    row->addStretch(1);
    m_language = new QComboBox;
    m_language->setAccessibleName(L10n::text(QStringLiteral("Langue")));
    m_language->addItem(L10n::text(QStringLiteral("Langue du système")), QString());
    m_language->addItem(QStringLiteral("English"), QStringLiteral("en"));
    m_language->addItem(QStringLiteral("Français"), QStringLiteral("fr"));
    m_language->addItem(QStringLiteral("Español"), QStringLiteral("es"));
    m_language->addItem(QStringLiteral("Deutsch"), QStringLiteral("de"));
    m_language->addItem(QStringLiteral("简体中文"), QStringLiteral("zh-Hans"));
    connect(m_language, &QComboBox::activated, this, [this](int index) {
        const QString tag = m_language->itemData(index).toString();
        Preferences candidate = m_view.state().candidate();
        candidate.language = tag.isEmpty() ? std::nullopt : std::optional(tag);
        m_view.state().setCandidate(candidate);
    });
    row->addWidget(m_language);
    group->body()->addLayout(row);
    auto* note = new QLabel(L10n::text(QStringLiteral("La langue choisie sera utilisée au prochain démarrage de Quillor.")));
    SettingsStyle::makeCaption(note);
    group->body()->addWidget(note);

    m_restartRow = new QWidget;
    auto* restartLayout = new QHBoxLayout(m_restartRow);
    restartLayout->setContentsMargins(0, 0, 0, 0);
    auto* restartNote = new QLabel(L10n::text(QStringLiteral("Redémarre Quillor pour appliquer la nouvelle langue.")));
    SettingsStyle::makeCaption(restartNote);
    restartLayout->addWidget(restartNote, 1);
    m_restart = new QPushButton(L10n::text(QStringLiteral("Redémarrer Quillor")));
    connect(m_restart, &QPushButton::clicked, this, [this] { m_view.restart(); });
    restartLayout->addWidget(m_restart);
    group->body()->addWidget(m_restartRow);
}

void GeneralSettingsPage::buildLogin()
{
    SettingsGroup* group = addGroup(QStringLiteral("login"), L10n::text(QStringLiteral("Démarrage")));
    m_login = new QCheckBox(L10n::text(QStringLiteral("Ouvrir à la connexion")));
    connect(m_login, &QCheckBox::toggled, this, &GeneralSettingsPage::toggleLogin);
    group->body()->addWidget(m_login);
    m_loginError = new QLabel;
    SettingsStyle::makeError(m_loginError);
    group->body()->addWidget(m_loginError);
    auto* note = new QLabel(L10n::text(
        QStringLiteral("L’ouverture à la connexion est immédiate et n’est pas annulée par Rétablir les modifications.")));
    SettingsStyle::makeCaption(note);
    group->body()->addWidget(note);
}

void GeneralSettingsPage::toggleLogin(bool enabled)
{
    std::optional<QString> error;
    try {
        if (enabled)
            LoginItem::registerItem();
        else
            LoginItem::unregisterItem();
    } catch (const Error& failure) {
        error = failure.localizedDescription();
    }
    // The toggle shows the real state without acting again, so the failure
    // stays on screen.
    m_view.state().setLogin(LoginItem::isEnabled(), error);
}

void GeneralSettingsPage::buildHotkey()
{
    SettingsGroup* group = addGroup(QStringLiteral("capture"), L10n::text(QStringLiteral("Ouvrir la capture")));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(L10n::text(QStringLiteral("Raccourci souhaité"))));
    row->addStretch(1);
    m_hotkeySlot = new QHBoxLayout;
    m_hotkey = new QPushButton;
    m_hotkey->setMinimumWidth(180);
    connect(m_hotkey, &QPushButton::clicked, this, [this] { m_view.model().setRecordingShortcut(true); });
    m_hotkeySlot->addWidget(m_hotkey);
    row->addLayout(m_hotkeySlot);
    group->body()->addLayout(row);
    m_active = new QLabel;
    m_active->setFont(SettingsStyle::captionFont(font()));
    group->body()->addWidget(m_active);
    m_shortcutError = new QLabel;
    SettingsStyle::makeError(m_shortcutError);
    group->body()->addWidget(m_shortcutError);
}

void GeneralSettingsPage::syncRecorder()
{
    const bool recording = m_view.model().recordingShortcut();
    if (recording && !m_recorder) {
        AppModel& model = m_view.model();
        m_recorder = new ShortcutRecorder(
            [&model](bool value) {
                if (model.onShortcutRecordingChanged)
                    model.onShortcutRecordingChanged(value);
            },
            [this](const std::optional<RecordedShortcut>& shortcut) { recorded(shortcut); });
        m_hotkeySlot->addWidget(m_recorder);
        m_recorder->show();
    } else if (!recording && m_recorder) {
        const bool hadFocus = m_recorder->hasFocus();
        // Possibly from inside the recorder's own key handler.
        m_recorder->hide();
        m_recorder->deleteLater();
        m_recorder = nullptr;
        m_hotkey->setVisible(true);
        // The keyboard goes back to the button that started the recording.
        if (hadFocus)
            m_hotkey->setFocus(Qt::OtherFocusReason);
    }
    m_hotkey->setVisible(!recording);
}

void GeneralSettingsPage::recorded(const std::optional<RecordedShortcut>& shortcut)
{
    m_view.model().setRecordingShortcut(false);
    if (!shortcut)
        return;
    Preferences candidate = m_view.state().candidate();
    candidate.hotkeyCode = shortcut->code;
    candidate.hotkeyModifiers = shortcut->modifiers;
    candidate.hotkeyDisplay = shortcut->label;
    m_view.state().setCandidate(candidate);
}

void GeneralSettingsPage::buildPrefix()
{
    SettingsGroup* group = addGroup(QStringLiteral("prefix"), L10n::text(QStringLiteral("Déclencheur de destination")));
    m_prefix = new QLineEdit;
    m_prefix->setPlaceholderText(L10n::text(QStringLiteral("Déclencheur de destination")));
    m_prefix->setAccessibleName(m_prefix->placeholderText());
    connect(m_prefix, &QLineEdit::textEdited, this, [this](const QString& text) {
        Preferences candidate = m_view.state().candidate();
        candidate.routePrefix = text;
        m_view.state().setCandidate(candidate);
    });
    m_form.registerField(QStringLiteral("prefix"), m_prefix);
    group->body()->addWidget(m_prefix);
    m_prefixError = new QLabel(L10n::text(QStringLiteral("Choisis un seul caractère de ponctuation comme préfixe.")));
    SettingsStyle::makeError(m_prefixError);
    group->body()->addWidget(m_prefixError);
    m_prefixHint = new QLabel;
    SettingsStyle::makeCaption(m_prefixHint);
    group->body()->addWidget(m_prefixHint);
}

void GeneralSettingsPage::sync()
{
    const AppModel& model = m_view.model();
    const SettingsState& state = m_view.state();
    const Preferences& candidate = state.candidate();

    m_language->setCurrentIndex(std::max(0, m_language->findData(candidate.language.value_or(QString()))));
    m_restartRow->setVisible(model.preferences().language != model.launchLanguage());
    m_restart->setEnabled(!model.saving());

    {
        const QSignalBlocker quiet(m_login);
        m_login->setChecked(state.loginEnabled());
    }
    m_loginError->setText(state.loginError().value_or(QString()));
    m_loginError->setVisible(state.loginError().has_value());

    m_hotkey->setText(shortcutDisplayLabel({candidate.hotkeyCode, candidate.hotkeyModifiers, candidate.hotkeyDisplay}));
    syncRecorder();
    m_active->setText(L10n::format(QStringLiteral("Actif : %@"), {model.hotkeyLabel()}));
    m_shortcutError->setText(model.shortcutError().value_or(QString()));
    m_shortcutError->setVisible(model.shortcutError().has_value());

    setTextUnlessEditing(m_prefix, candidate.routePrefix);
    m_prefixError->setVisible(!Routing::isUsablePrefix(candidate.routePrefix));
    m_prefixHint->setText(L10n::format(
        QStringLiteral("Saisis %@ suivi du nom du dossier ou de son alias pour choisir une destination."),
        {candidate.routePrefix}));
}

} // namespace quillor
