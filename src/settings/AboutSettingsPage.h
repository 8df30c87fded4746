#pragma once

#include "settings/SettingsForm.h"

class QLabel;
class QPushButton;
class QToolButton;

namespace quillor {

class SettingsView;
class UpdateSettingsView;

// The about section: the version, the local data folder, the update settings
// and what happens to the user's notes.
class AboutSettingsPage : public SettingsPage {
    Q_OBJECT

public:
    AboutSettingsPage(SettingsView& view, SettingsForm& form);

    void sync() override;

    // "short (build)", each missing part shown as "—".
    static QString versionText(const QString& shortVersion, const QString& buildNumber);

    QLabel* version() const { return m_version; }
    QPushButton* localDataButton() const { return m_localData; }
    UpdateSettingsView* updates() const { return m_updates; }
    QToolButton* privacyDisclosure() const { return m_disclosure; }
    QWidget* privacyParagraphs() const { return m_paragraphs; }

private:
    SettingsGroup* addGroup(SettingsForm& form, const QString& identifier, const QString& header);

    SettingsView& m_view;
    QLabel* m_version = nullptr;
    QPushButton* m_localData = nullptr;
    UpdateSettingsView* m_updates = nullptr;
    QToolButton* m_disclosure = nullptr;
    QWidget* m_paragraphs = nullptr;
};

} // namespace quillor
