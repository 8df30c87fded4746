#pragma once

#include "core/ArchivedCapture.h"

#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QListView;
class QMessageBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace quillor {

class AppModel;
class HistoryListModel;

// The capture history: the archived captures on the left, the selected one's
// text and delivery on the right, with the note and its backup to reveal, open
// or export, and a restore that brings the capture back as the draft. Writes
// nothing but the user's exported copies.
//
// A history keeps every image ever sent, so its files are read on worker
// threads: the list from each entry's summary (no image bytes), and the whole
// record of the selected entry alone, which a restore needs. Either read is
// given up when a newer one starts or the view goes.
class HistoryView : public QWidget {
    Q_OBJECT

public:
    // Where to export a copy named `name`, or nothing when cancelled.
    using SavePicker = std::function<std::optional<QString>(QWidget* parent, const QString& name)>;

    HistoryView(AppModel& model, std::function<void()> didRestore, int minimumHeight = 200,
                QWidget* parent = nullptr);

    void setSavePicker(SavePicker picker) { m_pickSave = std::move(picker); }

    // Reads the archive again in the background; the selection stays on its
    // file when listed.
    void reload();
    // The list or the selected entry's record is still being read.
    bool isListing() const { return m_listingCancelled != nullptr; }
    bool isReadingRecord() const { return m_recordCancelled != nullptr; }
    // Restores the selected entry, asking first when the draft holds text.
    void restoreSelected();

    const QList<ArchivedCapture>& entries() const;
    std::optional<ArchivedCapture> selected() const;
    void select(const QString& source);
    const std::optional<QString>& message() const { return m_message; }

    // For the tests: the parts they drive.
    QListView* list() const { return m_list; }
    QPushButton* refreshButton() const { return m_refresh; }
    QProgressBar* busyIndicator() const { return m_busy; }
    QPlainTextEdit* bodyView() const { return m_body; }
    QLabel* notePath() const { return m_notePath; }
    QPushButton* revealButton() const { return m_reveal; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* restoreButton() const { return m_restore; }
    QWidget* backupBlock() const { return m_backup; }
    QPushButton* viewBackupButton() const { return m_viewBackup; }
    QPushButton* exportBackupButton() const { return m_exportBackup; }
    QWidget* emptyState() const { return m_empty; }
    QPushButton* newCaptureButton() const { return m_newCapture; }
    QLabel* prompt() const { return m_prompt; }
    QLabel* messageLabel() const { return m_messageLabel; }
    QMessageBox* restoreQuestion() const { return m_question; }

    ~HistoryView() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildList();
    QWidget* buildDetail();
    void sync();
    void showListing(const QList<ArchivedCapture>& entries, const std::optional<QString>& failure);
    void readSelectedRecord();
    void exportCopy(const QString& source);
    void restore(const ArchivedCapture& entry);
    void setMessage(const std::optional<QString>& message);

    AppModel& m_model;
    std::function<void()> m_didRestore;
    SavePicker m_pickSave;
    HistoryListModel* m_entries;
    std::optional<QString> m_selectedSource;
    // The read in flight of each kind: set its flag to give it up.
    std::shared_ptr<std::atomic_bool> m_listingCancelled;
    std::shared_ptr<std::atomic_bool> m_recordCancelled;
    // The selected entry's whole capture, once read, and the file it is from.
    std::optional<std::pair<QString, Capture>> m_record;
    std::optional<QString> m_message;
    std::optional<QString> m_latestID;
    bool m_loaded = false;

    QListView* m_list = nullptr;
    QPushButton* m_refresh = nullptr;
    QProgressBar* m_busy = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_detail = nullptr;
    QPlainTextEdit* m_body = nullptr;
    QWidget* m_delivery = nullptr;
    QLabel* m_notePath = nullptr;
    QPushButton* m_reveal = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_restore = nullptr;
    QWidget* m_backup = nullptr;
    QPushButton* m_viewBackup = nullptr;
    QPushButton* m_exportBackup = nullptr;
    QWidget* m_empty = nullptr;
    QPushButton* m_newCapture = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_messageLabel = nullptr;
    QMessageBox* m_question = nullptr;
};

} // namespace quillor
