#pragma once

#include "settings/SettingsCatalog.h"
#include "settings/SettingsForm.h"

#include <QFont>
#include <QHash>

class QLabel;
class QPushButton;

namespace quillor {

class SettingsRow;
class SettingsView;

// The "Raccourcis clavier" and "Guide d’utilisation" sections: one group per
// ShortcutGroup with a row per catalog entry. Gestures follow the active hot
// key and the route prefix being edited. Only they change while the language
// stays, so a page is reusable for as long as it does.
class ReferenceSettingsPage : public SettingsPage {
    Q_OBJECT

public:
    ReferenceSettingsPage(SettingsView& view, SettingsForm& form, bool isGuide);

    void sync() override;
    bool reusable() const override;

    SettingsRow* row(const QString& id) const { return m_rows.value(id); }
    QLabel* gesture(const QString& id) const { return m_gestures.value(id); }
    QPushButton* configureButton() const { return m_configure; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    QList<SettingsEntry> entries() const;
    SettingsRow* buildRow(const SettingsEntry& entry);
    void showGesture(const SettingsEntry& entry);

    SettingsView& m_view;
    bool m_isGuide;
    QString m_language;   // of the texts built
    QFont m_gestureFont;   // asked once: each query goes to fontconfig
    QHash<QString, SettingsRow*> m_rows;
    QHash<QString, QLabel*> m_gestures;
    QPushButton* m_configure = nullptr;
};

} // namespace quillor
