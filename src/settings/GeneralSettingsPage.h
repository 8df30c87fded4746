#pragma once

#include "settings/SettingsForm.h"
#include "settings/ShortcutRecorder.h"

#include <QPointer>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillor {

class SettingsView;

// The general section: interface language (with the restart it needs), the
// login item, the hot key and its recorder, and the route prefix.
class GeneralSettingsPage : public SettingsPage {
    Q_OBJECT

public:
    GeneralSettingsPage(SettingsView& view, SettingsForm& form);

    void sync() override;

    QComboBox* languagePicker() const { return m_language; }
    QWidget* restartRow() const { return m_restartRow; }
    QPushButton* restartButton() const { return m_restart; }
    QCheckBox* loginToggle() const { return m_login; }
    QLabel* loginError() const { return m_loginError; }
    QPushButton* hotkeyButton() const { return m_hotkey; }
    ShortcutRecorder* recorder() const { return m_recorder; }
    QLabel* activeHotkey() const { return m_active; }
    QLineEdit* prefixField() const { return m_prefix; }
    QLabel* prefixError() const { return m_prefixError; }

private:
    SettingsGroup* addGroup(const QString& identifier, const QString& header);
    void buildLanguage();
    void buildLogin();
    void buildHotkey();
    void buildPrefix();
    void toggleLogin(bool enabled);
    void syncRecorder();
    void recorded(const std::optional<RecordedShortcut>& shortcut);

    SettingsView& m_view;
    SettingsForm& m_form;
    QComboBox* m_language = nullptr;
    QWidget* m_restartRow = nullptr;
    QPushButton* m_restart = nullptr;
    QCheckBox* m_login = nullptr;
    QLabel* m_loginError = nullptr;
    QHBoxLayout* m_hotkeySlot = nullptr;
    QPushButton* m_hotkey = nullptr;
    QPointer<ShortcutRecorder> m_recorder;
    QLabel* m_active = nullptr;
    QLabel* m_shortcutError = nullptr;
    QLineEdit* m_prefix = nullptr;
    QLabel* m_prefixError = nullptr;
    QLabel* m_prefixHint = nullptr;
};

} // namespace quillor
