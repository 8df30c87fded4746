#pragma once

#include "vault/VaultIndex.h"

#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace quillor {

class AppModel;

// A window that shows the vault notes a wiki link names: every note of the
// current destination's vault whose path matches the target, the selected
// one's text (read only, selectable), and the ways to open it in its own
// application or export a copy. The vault is scanned afresh for each window
// and notes are read off the UI thread; every failure shows as a red line.
// The window deletes itself when closed.
class NotePreviewWindow : public QWidget {
    Q_OBJECT

public:
    // Reads one note of the vault as text, or throws the Error the user reads.
    // Runs on a worker thread.
    using NoteReader = std::function<QString(const QString& root, const QString& relative)>;

    // A new window for the target, shown in front of the others, and above
    // `relativeTo` while it is open when that window stays on top.
    static NotePreviewWindow* open(const QString& target, AppModel& model, QWidget* relativeTo = nullptr);

    // An empty reader reads the note from disk.
    NotePreviewWindow(const QString& target, AppModel& model, NoteReader reader = {});
    ~NotePreviewWindow() override;

    QString target() const { return windowTitle(); }
    // The matching notes' paths, once the vault is scanned.
    const QStringList& paths() const { return m_paths; }
    const std::optional<QString>& selected() const { return m_selected; }
    // The selected note's text as read, also what an export writes.
    const QString& text() const { return m_noteText; }
    const std::optional<QString>& error() const { return m_error; }
    // Whether the vault or a note is still being read.
    bool isBusy() const;

    // Run when the window closes, before it goes.
    std::function<void()> onClose;

    // The list's selection; reads that note.
    void select(const std::optional<QString>& path);
    // "Exporter la note…" with the file already chosen.
    void exportNote(const QString& file);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct ScanOutcome;
    struct ReadOutcome;

    static void matchNotes(const VaultIndex& index, const QString& target, ScanOutcome& outcome);
    void build();
    void load(AppModel& model);
    void finishLoading();
    void readSelection();
    void finishReading(quint64 generation, const ReadOutcome& outcome);
    void showError(const std::optional<QString>& error);
    void updateControls();
    QString relativeFile() const;
    void openNote();
    void askForExport();

    NoteReader m_reader;
    std::optional<QString> m_root;
    QHash<QString, QString> m_files;   // note path → vault-relative file
    QStringList m_paths;
    std::optional<QString> m_selected;
    QString m_noteText;
    std::optional<QString> m_error;
    bool m_loading = true;
    // Export writes what a finished read of the selected note showed.
    bool m_textRead = false;
    // Renewed at each selection: an older read's text never shows.
    quint64 m_readGeneration = 0;
    int m_readsRunning = 0;
    std::shared_ptr<std::atomic_bool> m_cancelled = std::make_shared<std::atomic_bool>(false);

    QListWidget* m_list = nullptr;
    QLabel* m_errorLine = nullptr;
    QLabel* m_noMatch = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_export = nullptr;
};

// The open previews, oldest first; a preview leaves the list when it goes.
namespace NotePreviewController {
QList<QPointer<NotePreviewWindow>> windows();
}

} // namespace quillor
