#include "settings/HistoryView.h"

#include "core/CaptureArchive.h"
#include "core/Error.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "core/L10n.h"
#include "model/AppModel.h"
#include "platform/FileManager.h"
#include "settings/HistoryList.h"
#include "settings/SettingsStyle.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace quillor {

namespace {

constexpr int listWidth = 230;

std::optional<QString> chooseExportFile(QWidget* parent, const QString& name)
{
    // Qt's own dialog, on the window: it stays above it and tests can drive it.
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.selectFile(QDir::home().filePath(name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QWidget* column(QVBoxLayout*& layout, int spacing)
{
    auto* widget = new QWidget;
    layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return widget;
}

// What a read on a worker thread gives back: its value, or the text of why
// it failed.
template <typename T>
struct ReadOutcome {
    std::optional<T> value;
    QString failure;
};

// Runs `read` on the global pool and hands its outcome to `done` on the view's
// thread, unless it was given up meanwhile (`done` is then never called).
template <typename T>
void readInBackground(QObject* view, const std::shared_ptr<std::atomic_bool>& cancelled,
                      std::function<ReadOutcome<T>()> read, std::function<void(const ReadOutcome<T>&)> done)
{
    auto* watcher = new QFutureWatcher<ReadOutcome<T>>(view);
    QObject::connect(watcher, &QFutureWatcherBase::finished, view, [watcher, cancelled, done = std::move(done)] {
        watcher->deleteLater();
        if (!*cancelled)
            done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([cancelled, read = std::move(read)]() -> ReadOutcome<T> {
        if (*cancelled)
            return {};
        return read();
    }));
}

void giveUp(std::shared_ptr<std::atomic_bool>& cancelled)
{
    if (cancelled)
        *cancelled = true;
    cancelled.reset();
}

QLabel* headline(const QString& text)
{
    auto* label = new QLabel(text);
    label->setFont(SettingsStyle::headlineFont(label->font()));
    return label;
}

} // namespace

HistoryView::HistoryView(AppModel& model, std::function<void()> didRestore, int minimumHeight, QWidget* parent)
    : QWidget(parent),
      m_model(model),
      m_didRestore(std::move(didRestore)),
      m_pickSave(chooseExportFile),
      m_entries(new HistoryListModel(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildList());
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setForegroundRole(QPalette::Mid);
    layout->addWidget(line);
    layout->addWidget(buildDetail(), 1);
    setMinimumSize(510, minimumHeight);

    connect(&m_model, &AppModel::savingChanged, this, &HistoryView::sync);
    connect(&m_model, &AppModel::latestReceiptChanged, this, [this] {
        // A new delivery, not the same receipt published again.
        const std::optional<QString> id =
            m_model.latestReceipt() ? std::optional(m_model.latestReceipt()->captureID) : std::nullopt;
        if (id != m_latestID) {
            m_latestID = id;
            reload();
        }
    });
    if (m_model.latestReceipt())
        m_latestID = m_model.latestReceipt()->captureID;
    sync();
}

HistoryView::~HistoryView()
{
    // A read in flight stops at its next file or piece; quitting never waits
    // for a list nobody will see.
    giveUp(m_listingCancelled);
    giveUp(m_recordCancelled);
}

QWidget* HistoryView::buildList()
{
    QVBoxLayout* layout = nullptr;
    QWidget* left = column(layout, 0);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(16, 16, 16, 16);
    // Not the column's spacing of 0: the title never touches the button.
    header->setSpacing(8);
    header->addWidget(headline(L10n::text(QStringLiteral("Captures locales"))));
    header->addStretch(1);
    m_refresh = new QPushButton(L10n::text(QStringLiteral("Actualiser")));
    connect(m_refresh, &QPushButton::clicked, this, &HistoryView::reload);
    header->addWidget(m_refresh);
    layout->addLayout(header);
    // Wider where the title and the button need it ("Lokale Erfassungen" and
    // "Aktualisieren"): a single word can neither wrap nor be cut.
    left->setFixedWidth(std::max(listWidth, header->sizeHint().width()));
    m_busy = new QProgressBar;
    m_busy->setRange(0, 0);   // turning, with no end known
    m_busy->setTextVisible(false);
    m_busy->setMaximumHeight(4);
    m_busy->setAccessibleName(L10n::text(QStringLiteral("Lecture de l’historique…")));
    m_busy->hide();
    layout->addWidget(m_busy);

    m_list = new QListView;
    m_list->setModel(m_entries);
    m_list->setItemDelegate(new HistoryItemDelegate(m_list));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setAccessibleName(L10n::text(QStringLiteral("Captures locales")));
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (!current.isValid())
            return;
        m_selectedSource = current.data(HistoryListModel::sourceRole).toString();
        readSelectedRecord();
        sync();
    });
    layout->addWidget(m_list, 1);
    return left;
}

QWidget* HistoryView::buildDetail()
{
    QVBoxLayout* layout = nullptr;
    QWidget* right = column(layout, 12);
    right->setMinimumWidth(280);
    layout->setContentsMargins(16, 16, 16, 16);
    m_pages = new QStackedWidget;
    layout->addWidget(m_pages, 1);
    m_messageLabel = new QLabel;
    m_messageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    SettingsStyle::makeError(m_messageLabel);
    layout->addWidget(m_messageLabel);

    // The selected capture.
    QVBoxLayout* detail = nullptr;
    m_detail = column(detail, 12);
    m_body = new QPlainTextEdit;
    m_body->setReadOnly(true);
    m_body->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    detail->addWidget(m_body, 1);
    QVBoxLayout* delivery = nullptr;
    m_delivery = column(delivery, 8);
    m_notePath = new QLabel;
    m_notePath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_notePath->setFont(SettingsStyle::captionFont(font()));
    m_notePath->setWordWrap(true);
    delivery->addWidget(m_notePath);
    // Two rows: the three buttons side by side do not fit the column at the
    // window's smallest size, and a squeezed button cuts its title.
    auto* noteButtons = new QHBoxLayout;
    m_reveal = new QPushButton(L10n::text(QStringLiteral("Afficher dans le Finder")));
    m_open = new QPushButton(L10n::text(QStringLiteral("Ouvrir la note")));
    m_export = new QPushButton(L10n::text(QStringLiteral("Exporter la note…")));
    delivery->addWidget(m_reveal, 0, Qt::AlignLeft);
    for (QPushButton* button : {m_open, m_export})
        noteButtons->addWidget(button);
    noteButtons->addStretch(1);
    delivery->addLayout(noteButtons);
    detail->addWidget(m_delivery);
    m_restore = new QPushButton(L10n::text(QStringLiteral("Restaurer comme nouveau brouillon")));
    detail->addWidget(m_restore, 0, Qt::AlignLeft);
    QVBoxLayout* backup = nullptr;
    m_backup = column(backup, 8);
    backup->addWidget(headline(L10n::text(QStringLiteral("Sauvegarde de la note avant ajout"))));
    auto* backupButtons = new QHBoxLayout;
    m_viewBackup = new QPushButton(L10n::text(QStringLiteral("Consulter la sauvegarde")));
    m_exportBackup = new QPushButton(L10n::text(QStringLiteral("Exporter la sauvegarde…")));
    backupButtons->addWidget(m_viewBackup);
    backupButtons->addWidget(m_exportBackup);
    backupButtons->addStretch(1);
    backup->addLayout(backupButtons);
    detail->addWidget(m_backup);
    m_pages->addWidget(m_detail);

    const auto notePath = [this] { return selected() && selected()->receipt ? selected()->receipt->path : QString(); };
    const auto backupPath = [this] { return selected() ? selected()->backup.value_or(QString()) : QString(); };
    // The settings window is where the user asked: the failure shows there.
    const FileManager::Failure report = [model = QPointer<AppModel>(&m_model)](const QString& message) {
        if (model)
            model->reportSettingsError(message);
    };
    connect(m_reveal, &QPushButton::clicked, this, [notePath, report] { FileManager::reveal(notePath(), report); });
    connect(m_open, &QPushButton::clicked, this, [notePath, report] { FileManager::open(notePath(), report); });
    connect(m_export, &QPushButton::clicked, this, [this, notePath] { exportCopy(notePath()); });
    connect(m_restore, &QPushButton::clicked, this, &HistoryView::restoreSelected);
    connect(m_viewBackup, &QPushButton::clicked, this,
            [backupPath, report] { FileManager::open(backupPath(), report); });
    connect(m_exportBackup, &QPushButton::clicked, this, [this, backupPath] { exportCopy(backupPath()); });

    // An empty archive.
    QVBoxLayout* empty = nullptr;
    m_empty = column(empty, 12);
    auto* emptyTitle = new QHBoxLayout;
    auto* clock = new QLabel;
    clock->setPixmap(SettingsStyle::icon(QStringLiteral("document-open-recent"), palette().color(QPalette::WindowText))
                         .pixmap(16, 16));
    emptyTitle->addWidget(clock);
    emptyTitle->addWidget(headline(L10n::text(QStringLiteral("Aucune capture dans l’historique"))));
    emptyTitle->addStretch(1);
    empty->addLayout(emptyTitle);
    auto* emptyNote =
        new QLabel(L10n::text(QStringLiteral("Tes captures enregistrées et tes brouillons archivés apparaîtront ici.")));
    emptyNote->setWordWrap(true);
    emptyNote->setForegroundRole(QPalette::PlaceholderText);
    empty->addWidget(emptyNote);
    m_newCapture = new QPushButton(L10n::text(QStringLiteral("Nouvelle capture")));
    connect(m_newCapture, &QPushButton::clicked, this, [this] {
        if (m_didRestore)
            m_didRestore();
    });
    empty->addWidget(m_newCapture, 0, Qt::AlignLeft);
    empty->addStretch(1);
    m_pages->addWidget(m_empty);

    m_prompt = new QLabel(L10n::text(QStringLiteral("Sélectionne une capture pour consulter ou récupérer son contenu.")));
    m_prompt->setWordWrap(true);
    m_prompt->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_prompt->setForegroundRole(QPalette::PlaceholderText);
    m_pages->addWidget(m_prompt);
    m_pages->addWidget(new QWidget);   // a failed first listing: nothing
    return right;
}

void HistoryView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    reload();
}

void HistoryView::reload()
{
    giveUp(m_listingCancelled);
    auto cancelled = std::make_shared<std::atomic_bool>(false);
    m_listingCancelled = cancelled;
    const QString directory = m_model.dataDirectory();
    readInBackground<QList<ArchivedCapture>>(
        this, cancelled,
        [directory, cancelled]() -> ReadOutcome<QList<ArchivedCapture>> {
            try {
                return {CaptureArchive{directory}.summaries([cancelled] { return bool(*cancelled); }), {}};
            } catch (const Error& error) {
                return {std::nullopt, error.localizedDescription()};
            }
        },
        [this](const ReadOutcome<QList<ArchivedCapture>>& outcome) {
            m_listingCancelled.reset();
            showListing(outcome.value.value_or(QList<ArchivedCapture>()),
                        outcome.value ? std::nullopt : std::optional(outcome.failure));
        });
    sync();
}

void HistoryView::showListing(const QList<ArchivedCapture>& entries, const std::optional<QString>& failure)
{
    m_message = failure;
    if (!failure)
        m_entries->setEntries(entries);
    m_loaded = true;
    if (m_selectedSource) {
        const int row = m_entries->rowOf(*m_selectedSource);
        if (row >= 0)
            m_list->setCurrentIndex(m_entries->index(row));
    }
    readSelectedRecord();
    sync();
}

void HistoryView::readSelectedRecord()
{
    const std::optional<ArchivedCapture> entry = selected();
    if (!entry || (m_record && m_record->first == entry->source))
        return;
    giveUp(m_recordCancelled);
    m_record.reset();
    auto cancelled = std::make_shared<std::atomic_bool>(false);
    m_recordCancelled = cancelled;
    const QString source = entry->source;
    readInBackground<Capture>(
        this, cancelled,
        [source]() -> ReadOutcome<Capture> {
            try {
                return {CaptureArchive::record(source), {}};
            } catch (const Error& error) {
                return {std::nullopt, error.localizedDescription()};
            } catch (const JsonDecodingError&) {
            } catch (const std::bad_alloc&) {
            }
            return {std::nullopt, L10n::text(QStringLiteral("Cette capture n’a pas pu être lue en entier : elle ne "
                                                            "peut pas être restaurée."))};
        },
        [this, source](const ReadOutcome<Capture>& outcome) {
            m_recordCancelled.reset();
            if (outcome.value)
                m_record = std::pair(source, *outcome.value);
            else if (m_selectedSource == source)
                m_message = outcome.failure;
            sync();
        });
}

const QList<ArchivedCapture>& HistoryView::entries() const
{
    return m_entries->entries();
}

std::optional<ArchivedCapture> HistoryView::selected() const
{
    if (!m_selectedSource)
        return std::nullopt;
    const int row = m_entries->rowOf(*m_selectedSource);
    if (row < 0)
        return std::nullopt;
    return entries().at(row);
}

void HistoryView::select(const QString& source)
{
    const int row = m_entries->rowOf(source);
    if (row >= 0)
        m_list->setCurrentIndex(m_entries->index(row));
}

void HistoryView::sync()
{
    const std::optional<ArchivedCapture> entry = selected();
    if (entry) {
        m_pages->setCurrentWidget(m_detail);
        const QString body = HistoryListModel::shownBody(*entry);
        if (m_body->toPlainText() != body)
            m_body->setPlainText(body);
        m_delivery->setVisible(entry->receipt.has_value());
        const bool available = entry->fileState() == ArchivedCapture::FileState::available;
        if (entry->receipt)
            m_notePath->setText(entry->receipt->path);
        for (QPushButton* button : {m_reveal, m_open, m_export})
            button->setEnabled(available);
        m_restore->setEnabled(!m_model.saving() && m_record && m_record->first == entry->source);
        m_backup->setVisible(entry->backup.has_value());
    } else if (!entries().isEmpty()) {
        m_pages->setCurrentWidget(m_prompt);
    } else {
        m_pages->setCurrentIndex(m_loaded && !m_message ? m_pages->indexOf(m_empty) : m_pages->count() - 1);
    }
    m_busy->setVisible(isListing());
    m_messageLabel->setText(m_message.value_or(QString()));
    m_messageLabel->setVisible(m_message.has_value());
}

void HistoryView::setMessage(const std::optional<QString>& message)
{
    m_message = message;
    sync();
}

void HistoryView::exportCopy(const QString& source)
{
    if (source.isEmpty() || !m_pickSave)
        return;
    const std::optional<QString> target = m_pickSave(window(), QFileInfo(source).fileName());
    if (!target)
        return;
    try {
        FileSystem::writeAtomically(*target, FileSystem::read(source));
    } catch (const Error& error) {
        setMessage(error.localizedDescription());
    }
}

void HistoryView::restoreSelected()
{
    const std::optional<ArchivedCapture> entry = selected();
    if (!entry || m_model.saving() || !m_record || m_record->first != entry->source)
        return;
    if (!m_model.hasContent()) {
        restore(*entry);
        return;
    }
    if (m_question)
        return;
    m_question = new QMessageBox(QMessageBox::Question, QString(),
                                 L10n::text(QStringLiteral("Conserver le brouillon actuel avant de restaurer ?")),
                                 QMessageBox::NoButton, this);
    m_question->setInformativeText(L10n::text(
        QStringLiteral("Le brouillon actuel restera récupérable dans cet historique. Aucun fichier de notes ne sera "
                       "remplacé.")));
    QPushButton* cancel = m_question->addButton(L10n::text(QStringLiteral("Annuler")), QMessageBox::RejectRole);
    QPushButton* replace =
        m_question->addButton(L10n::text(QStringLiteral("Archiver puis remplacer")), QMessageBox::AcceptRole);
    m_question->setDefaultButton(replace);
    m_question->setEscapeButton(cancel);
    m_question->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_question, &QMessageBox::finished, this, [this, replace] {
        const bool replacing = m_question && m_question->clickedButton() == replace;
        m_question = nullptr;
        // Still the selected entry, if any: the list may have changed meanwhile.
        if (const std::optional<ArchivedCapture> entry = selected(); replacing && entry)
            restore(*entry);
    });
    m_question->setWindowModality(Qt::WindowModal);
    m_question->open();
}

void HistoryView::restore(const ArchivedCapture& entry)
{
    // The question leaves the capture panel usable: a delivery may have
    // started since, and the model then ignores the restore. The list holds
    // summaries; the capture restored is the whole record read for it.
    if (m_model.saving() || !m_record || m_record->first != entry.source)
        return;
    try {
        m_model.restore(m_record->second, true);
    } catch (const Error& error) {
        setMessage(error.localizedDescription());
        return;
    }
    if (m_didRestore)
        m_didRestore();
}

} // namespace quillor
