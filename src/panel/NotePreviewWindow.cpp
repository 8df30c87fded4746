#include "panel/NotePreviewWindow.h"

#include "core/CaptureError.h"
#include "core/Error.h"
#include "core/FileSystem.h"
#include "core/L10n.h"
#include "core/SafePath.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"
#include "panel/CaptureButtonFeedback.h"
#include "panel/ChromeStyle.h"
#include "platform/FileManager.h"
#include "vault/NoteFiles.h"
#include "vault/NoteLinks.h"
#include "vault/ScanCancellation.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QThreadPool>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace quillor {

namespace {

constexpr QSize windowSize(680, 520);
constexpr int listWidth = 210;
constexpr int paneSpacing = 12;

QList<QPointer<NotePreviewWindow>>& openWindows()
{
    static QList<QPointer<NotePreviewWindow>> windows;
    return windows;
}

QString readFromDisk(const QString& root, const QString& relative)
{
    return NoteFiles::read(SafePath::resolve(root, relative));
}

} // namespace

// The matching notes and their files: worked out on the worker too, since a
// large vault's list takes long to go through.
struct NotePreviewWindow::ScanOutcome {
    QStringList paths;
    QHash<QString, QString> files;
    std::optional<QString> failure;
    bool cancelled = false;
};

// The notes whose paths the target names, each with the file to read (the
// first one when a path occurs twice).
void NotePreviewWindow::matchNotes(const VaultIndex& index, const QString& target, ScanOutcome& outcome)
{
    QStringList all;
    all.reserve(index.notes.size());
    for (const IndexedNote& note : index.notes)
        all.append(note.path);
    outcome.paths = NoteLinks::matches(target, all);
    for (const IndexedNote& note : index.notes) {
        if (outcome.paths.contains(note.path) && !outcome.files.contains(note.path))
            outcome.files.insert(note.path, note.filePath.value_or(note.path + QStringLiteral(".md")));
    }
}

struct NotePreviewWindow::ReadOutcome {
    std::optional<QString> text;
    std::optional<QString> failure;
    bool cancelled = false;
};

QList<QPointer<NotePreviewWindow>> NotePreviewController::windows()
{
    return openWindows();
}

NotePreviewWindow* NotePreviewWindow::open(const QString& target, AppModel& model, QWidget* relativeTo)
{
    auto* window = new NotePreviewWindow(target, model);
    // A panel that stays on top would cover the preview and its dialogs.
    if (relativeTo && relativeTo->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        window->setWindowFlag(Qt::WindowStaysOnTopHint);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(), windowSize);
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

NotePreviewWindow::NotePreviewWindow(const QString& target, AppModel& model, NoteReader reader)
    : QWidget(nullptr, Qt::Window), m_reader(reader ? std::move(reader) : NoteReader(readFromDisk))
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing a preview never counts as closing the program's last window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(target);
    resize(windowSize);
    build();
    openWindows().append(this);
    load(model);
}

NotePreviewWindow::~NotePreviewWindow()
{
    m_cancelled->store(true);
    openWindows().removeAll(this);
    openWindows().removeAll(nullptr);
}

void NotePreviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void NotePreviewWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (onClose)
        onClose();
}

void NotePreviewWindow::build()
{
    m_list = new QListWidget(this);
    m_list->setFixedWidth(listWidth);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QListWidget::currentTextChanged, this, [this](const QString& path) {
        select(path.isEmpty() ? std::nullopt : std::optional(path));
    });

    m_errorLine = new QLabel(this);
    m_errorLine->setWordWrap(true);
    m_errorLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette red = m_errorLine->palette();
    red.setColor(QPalette::WindowText, ChromeStyle::error());
    m_errorLine->setPalette(red);
    m_errorLine->hide();
    m_noMatch = new QLabel(L10n::text(QStringLiteral("Aucune note correspondante. Actualise les suggestions ou vérifie le lien.")),
                           this);
    m_noMatch->setWordWrap(true);
    m_noMatch->hide();
    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    m_open = new QPushButton(L10n::text(QStringLiteral("Ouvrir la note")), this);
    m_export = new QPushButton(L10n::text(QStringLiteral("Exporter la note…")), this);
    for (QPushButton* button : {m_open, m_export})
        AppButtonStyle::apply(button);
    connect(m_open, &QPushButton::clicked, this, &NotePreviewWindow::openNote);
    connect(m_export, &QPushButton::clicked, this, &NotePreviewWindow::askForExport);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addWidget(m_export);
    buttons->addStretch();
    auto* pane = new QVBoxLayout;
    pane->setSpacing(paneSpacing);
    pane->addWidget(m_errorLine);
    pane->addWidget(m_noMatch);
    pane->addWidget(m_text, 1);
    pane->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(pane, 1);
    updateControls();
}

bool NotePreviewWindow::isBusy() const
{
    return m_loading || m_readsRunning > 0;
}

// MARK: Loading

void NotePreviewWindow::load(AppModel& model)
{
    Destination destination = model.effectiveDestination();
    try {
        // Access goes through the destination as the settings store it.
        const QList<Destination>& stored = model.preferences().destinations;
        const auto found = std::find_if(stored.cbegin(), stored.cend(),
                                        [&](const Destination& d) { return d.id == destination.id; });
        model.vaultAccess().restored(found != stored.cend() ? *found : destination);
    } catch (const Error& error) {
        showError(error.localizedDescription());
        m_loading = false;
        updateControls();
        return;
    }
    if (destination.vaultPath.isEmpty()) {
        showError(CaptureError::missingVault().localizedDescription());
        m_loading = false;
        updateControls();
        return;
    }
    m_root = destination.vaultPath;
    auto* watcher = new QFutureWatcher<ScanOutcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, &NotePreviewWindow::finishLoading);
    watcher->setFuture(QtConcurrent::run(QThreadPool::globalInstance(),
                                         [root = *m_root, target = target(), cancelled = m_cancelled,
                                          previous = model.latestIndex()] {
                                             // Scanned afresh, reading only the notes that changed since
                                             // the panel's own scan of the same vault.
                                             return capturedOnWorker<ScanOutcome>([&](ScanOutcome& outcome) {
                                                 matchNotes(VaultIndex::scan(root, [cancelled] { return cancelled->load(); },
                                                                             previous),
                                                            target, outcome);
                                             });
                                         }));
}

void NotePreviewWindow::finishLoading()
{
    auto* watcher = static_cast<QFutureWatcher<ScanOutcome>*>(sender());
    watcher->deleteLater();
    m_loading = false;
    const ScanOutcome outcome = watcher->result();
    if (outcome.cancelled)
        return;
    if (outcome.failure) {
        m_root.reset();
        showError(outcome.failure);
        updateControls();
        return;
    }
    m_paths = outcome.paths;
    m_files = outcome.files;
    {
        const QSignalBlocker quiet(m_list);
        m_list->addItems(m_paths);
    }
    updateControls();
    if (m_paths.size() == 1)
        m_list->setCurrentRow(0);
}

// MARK: Reading the selection

void NotePreviewWindow::select(const std::optional<QString>& path)
{
    if (path == m_selected)
        return;
    m_selected = path;
    if (m_list->currentItem() == nullptr || (path && m_list->currentItem()->text() != *path)) {
        const QList<QListWidgetItem*> items = path ? m_list->findItems(*path, Qt::MatchExactly) : QList<QListWidgetItem*>();
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentItem(items.isEmpty() ? nullptr : items.first());
    }
    readSelection();
}

QString NotePreviewWindow::relativeFile() const
{
    return m_selected ? m_files.value(*m_selected, *m_selected + QStringLiteral(".md")) : QString();
}

void NotePreviewWindow::readSelection()
{
    const quint64 generation = ++m_readGeneration;
    m_textRead = false;
    // Without a vault, what stopped the loading stays on screen.
    if (!m_root) {
        updateControls();
        return;
    }
    m_noteText.clear();
    m_text->clear();
    showError(std::nullopt);
    updateControls();
    if (!m_selected)
        return;
    ++m_readsRunning;
    auto* watcher = new QFutureWatcher<ReadOutcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        --m_readsRunning;
        finishReading(generation, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(QThreadPool::globalInstance(),
                                         [reader = m_reader, root = *m_root, relative = relativeFile()] {
                                             return capturedOnWorker<ReadOutcome>([&](ReadOutcome& outcome) {
                                                 outcome.text = reader(root, relative);
                                             });
                                         }));
}

void NotePreviewWindow::finishReading(quint64 generation, const ReadOutcome& outcome)
{
    // Another note was selected meanwhile: this text is not the one shown.
    if (generation != m_readGeneration)
        return;
    if (outcome.text) {
        m_noteText = *outcome.text;
        m_text->setPlainText(m_noteText);
        m_textRead = true;
    } else {
        showError(outcome.failure);
    }
    updateControls();
}

// MARK: Controls

void NotePreviewWindow::showError(const std::optional<QString>& error)
{
    m_error = error;
    m_errorLine->setText(error.value_or(QString()));
    m_errorLine->setVisible(error.has_value());
}

void NotePreviewWindow::updateControls()
{
    m_noMatch->setVisible(!m_loading && m_paths.isEmpty());
    m_open->setEnabled(m_selected.has_value());
    m_export->setEnabled(m_selected && !m_error && m_textRead);
}

void NotePreviewWindow::openNote()
{
    if (!m_root || !m_selected)
        return;
    try {
        FileManager::open(SafePath::resolve(*m_root, relativeFile()),
                          [window = QPointer<NotePreviewWindow>(this)](const QString& message) {
                              if (window)
                                  window->showError(message);
                          });
    } catch (const Error&) {
        // A path that does not resolve safely opens nothing.
    }
}

void NotePreviewWindow::askForExport()
{
    const QString name = m_selected ? QFileInfo(*m_selected).fileName() : QStringLiteral("Note");
    const QString file = QFileDialog::getSaveFileName(this, L10n::text(QStringLiteral("Exporter la note…")),
                                                      name + QStringLiteral(".md"));
    if (!file.isEmpty())
        exportNote(file);
}

void NotePreviewWindow::exportNote(const QString& file)
{
    if (!m_textRead)
        return;
    try {
        FileSystem::writeAtomically(file, m_noteText.toUtf8());
    } catch (const Error& error) {
        showError(error.localizedDescription());
        updateControls();
    }
}

} // namespace quillor
