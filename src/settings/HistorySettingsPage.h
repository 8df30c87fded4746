#pragma once

#include "settings/SettingsForm.h"

class QLabel;
class QMessageBox;
class QPushButton;

namespace quillor {

class HistoryView;
class SettingsRow;
class SettingsView;

// The history section: the draft's state with the button that clears it, the
// latest delivered capture, then the history of captures.
class HistorySettingsPage : public SettingsPage {
    Q_OBJECT

public:
    HistorySettingsPage(SettingsView& view, SettingsForm& form);

    void sync() override;
    // "Effacer le brouillon…": asks, then archives the draft and starts an
    // empty one.
    void confirmClear();

    HistoryView* history() const { return m_history; }
    SettingsRow* draftRow() const { return m_draftRow; }
    QLabel* draftIcon() const { return m_draftIcon; }
    QLabel* draftLabel() const { return m_draftLabel; }
    QPushButton* clearButton() const { return m_clear; }
    QMessageBox* clearQuestion() const { return m_question; }
    SettingsRow* latestRow() const { return m_latestRow; }
    QLabel* noLatest() const { return m_noLatest; }
    QLabel* latestPath() const { return m_latestPath; }
    QPushButton* openLatestButton() const { return m_openLatest; }
    QPushButton* revealLatestButton() const { return m_revealLatest; }

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* buildDraftRow();
    QWidget* buildLatestRow();
    void elideLatestPath();

    SettingsView& m_view;
    HistoryView* m_history = nullptr;
    SettingsRow* m_draftRow = nullptr;
    QLabel* m_draftIcon = nullptr;
    QLabel* m_draftLabel = nullptr;
    QPushButton* m_clear = nullptr;
    QMessageBox* m_question = nullptr;
    SettingsRow* m_latestRow = nullptr;
    QLabel* m_noLatest = nullptr;
    QWidget* m_latest = nullptr;
    QLabel* m_latestPath = nullptr;
    QPushButton* m_openLatest = nullptr;
    QPushButton* m_revealLatest = nullptr;
};

} // namespace quillor
