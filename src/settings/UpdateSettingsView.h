#pragma once

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quillor {

class AppUpdates;
class BusySpinner;

// The "Mises à jour" rows: the daily automatic check (a setting of the copy,
// taking effect on "Appliquer"), the checks on demand with a spinner while one
// runs, and what the last check found and when.
class UpdateSettingsView : public QWidget {
    Q_OBJECT

public:
    UpdateSettingsView(AppUpdates& updates, std::function<bool()> automatic, std::function<void(bool)> setAutomatic,
                       QWidget* parent = nullptr);

    void sync();

    QCheckBox* automaticToggle() const { return m_automatic; }
    QLabel* storeNotice() const { return m_storeNotice; }
    QWidget* checkRow() const { return m_checkRow; }
    QPushButton* checkButton() const { return m_check; }
    QPushButton* changelogButton() const { return m_changelog; }
    BusySpinner* spinner() const { return m_spinner; }
    QLabel* status() const { return m_status; }
    QWidget* lastCheckRow() const { return m_lastCheckRow; }
    QLabel* lastCheck() const { return m_lastCheck; }

    // Day, abbreviated month, hour and minute in the interface language.
    static QString lastCheckText(const QDateTime& moment);

private:
    AppUpdates& m_updates;
    std::function<bool()> m_isAutomatic;
    QCheckBox* m_automatic = nullptr;
    QLabel* m_storeNotice = nullptr;
    QWidget* m_checkRow = nullptr;
    QPushButton* m_check = nullptr;
    QPushButton* m_changelog = nullptr;
    BusySpinner* m_spinner = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_lastCheckRow = nullptr;
    QLabel* m_lastCheck = nullptr;
};

} // namespace quillor
