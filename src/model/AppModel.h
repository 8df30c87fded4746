#pragma once

#include "core/Capture.h"
#include "core/DeliveryReceipt.h"
#include "core/Destination.h"
#include "core/ImageReference.h"
#include "core/Route.h"
#include "core/TextRange.h"
#include "editing/CompletionContext.h"
#include "model/DeliveryRecorder.h"
#include "model/DestinationCheck.h"
#include "model/EditorContent.h"
#include "model/ModelTypes.h"
#include "model/Preferences.h"
#include "vault/VaultIndex.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QFuture>
#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUuid>

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace quillor {

struct MarkdownAnalysis;

class EditorSurface;

class AppUpdates;
class Delivery;
class DestinationFolderWatch;
class DraftWriter;
class VaultAccess;

// Everything the model cannot decide deterministically. Members left empty
// take the real thing, so the application passes nothing and tests replace
// only what they pin down.
struct AppModelEnvironment {
    // Reads a vault's notes and tags on a worker thread, reusing what the
    // previous index of the same vault (or an empty one) learnt of unchanged
    // notes. Must give up with ScanCancelled when the check says so.
    using VaultScanner = std::function<VaultIndex(const QString& vault, const VaultIndex& previous,
                                                  const CancellationCheck& isCancelled)>;
    // Writes one capture into its destination off the UI thread; the future
    // gives the note's path or the writer's error (read it with
    // Delivery::result).
    using DeliveryExecutor = std::function<QFuture<QString>(const Capture& capture, const Destination& destination)>;
    // Replaces draft.json with these parts, atomically and durably; runs on
    // the draft writer's thread and throws on failure.
    using DraftFileWriter = std::function<void(const QString& path, const QList<QByteArrayView>& parts)>;

    std::function<QDateTime()> now;                  // the current moment
    std::function<QString()> timeZoneIdentifier;     // of the user's time zone
    VaultScanner scanVault;                          // VaultIndex::scan
    DeliveryExecutor deliver;                        // the model's own Delivery on Backups
    DraftFileWriter writeDraftFile;                  // FileSystem::writeAtomically
    // How long a draft write of so many bytes may take before the end of
    // the program no longer waits for it; DiskWrites::boundFor when unset.
    std::function<std::chrono::steady_clock::duration(qint64 bytes)> draftWriteBound;
    std::chrono::milliseconds autosaveDelay{250};    // quiet time before a draft save
    // The largest draft.json start-up reads: images that would take the
    // draft past it are refused.
    qsizetype maximumDraftFileSize = Capture::maximumFileSize;
    // draft.json is read and decoded on a worker, and the model takes the
    // draft when it arrives (see AppModel::readingDraft); otherwise it is
    // read before the constructor returns.
    bool readsDraftInBackground = false;
    // No other program writes in the data directory (the running program
    // holds its lock): a temporary file there that is not this process's
    // own was left by an earlier run, and start-up removes it at once.
    bool holdsDataDirectory = false;
};

// The one state object of the application: the settings, the draft and its
// rendering in the editor, the texts shown to the user, the vault index and the
// completion list. Windows observe its properties and call into it; it reaches
// them only through its properties and the on… callbacks, so it runs headless
// with none installed.
//
// Lives on the UI thread and is used only there. Work that leaves the thread
// (the vault scan, deliveries) captures values only and hands its result back
// through the event loop. No exception leaves a slot, timer or continuation of
// this class: failures end up in `error`, `settingsError` or
// `draftPersistenceError`.
class AppModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool choosingVault READ choosingVault NOTIFY choosingVaultChanged)
    Q_PROPERTY(bool folderAccessFailed READ folderAccessFailed NOTIFY folderAccessFailedChanged)
    Q_PROPERTY(quillor::Preferences preferences READ preferences NOTIFY preferencesChanged)
    Q_PROPERTY(quillor::EditorContent content READ content NOTIFY contentChanged)
    Q_PROPERTY(QString status READ status NOTIFY statusChanged)
    Q_PROPERTY(std::optional<QString> error READ error NOTIFY errorChanged)
    Q_PROPERTY(bool saving READ saving NOTIFY savingChanged)
    Q_PROPERTY(QList<quillor::Completion> completions READ completions NOTIFY completionsChanged)
    Q_PROPERTY(int completionIndex READ completionIndex NOTIFY completionIndexChanged)
    Q_PROPERTY(int indexCount READ indexCount NOTIFY indexCountChanged)
    Q_PROPERTY(QString hotkeyLabel READ hotkeyLabel NOTIFY hotkeyLabelChanged)
    Q_PROPERTY(std::optional<QString> draftPersistenceError READ draftPersistenceError
                   NOTIFY draftPersistenceErrorChanged)
    Q_PROPERTY(quillor::DraftState draftState READ draftState NOTIFY draftStateChanged)
    Q_PROPERTY(quillor::IndexState indexState READ indexState NOTIFY indexStateChanged)
    Q_PROPERTY(std::optional<QString> settingsError READ settingsError NOTIFY settingsErrorChanged)
    Q_PROPERTY(bool recordingShortcut READ recordingShortcut NOTIFY recordingShortcutChanged)
    Q_PROPERTY(std::optional<QString> shortcutError READ shortcutError NOTIFY shortcutErrorChanged)
    Q_PROPERTY(std::optional<quillor::DeliveryReceipt> latestReceipt READ latestReceipt NOTIFY latestReceiptChanged)
    Q_PROPERTY(QList<quillor::ImageReference> imageReferences READ imageReferences NOTIFY imageReferencesChanged)

public:
    using VaultScanner = AppModelEnvironment::VaultScanner;
    using DeliveryExecutor = AppModelEnvironment::DeliveryExecutor;
    using Environment = AppModelEnvironment;

    // Loads the settings and the draft from `dataDirectory` (created when
    // missing) and starts the first index refresh. Never fails: problems fall
    // back to defaults or show in `settingsError`. `vaultAccess` must outlive
    // the model. Reading the draft in the background, the model starts with
    // an empty text that nothing saves until the draft arrives.
    AppModel(const QString& dataDirectory, VaultAccess& vaultAccess, Environment environment = {},
             QObject* parent = nullptr);
    ~AppModel() override;

    AppModel(const AppModel&) = delete;
    AppModel& operator=(const AppModel&) = delete;

    // The data directory of this run, chosen once.
    static QString support();

    // Routes a draft written before drafts remembered their destination: a
    // route prefix in its text becomes its destination (the old draft is first
    // kept in Recovered), and it is marked explicit. Throws FileSystemError
    // only when the old draft cannot be kept; a prefix that does not resolve
    // leaves the draft unchanged and not explicit.
    static Capture migrateDestination(const Capture& capture, const Preferences& preferences,
                                      const QString& directory);

    // MARK: Published fields
    bool choosingVault() const { return m_choosingVault; }
    bool folderAccessFailed() const { return m_folderAccessFailed; }
    const Preferences& preferences() const { return m_preferences; }
    const EditorContent& content() const { return m_content; }
    const QString& status() const { return m_status; }
    const std::optional<QString>& error() const { return m_error; }
    bool saving() const { return m_saving; }
    const QList<Completion>& completions() const { return m_completions; }
    int completionIndex() const { return m_completionIndex; }
    int indexCount() const { return m_indexCount; }
    const QString& hotkeyLabel() const { return m_hotkeyLabel; }
    const std::optional<QString>& draftPersistenceError() const { return m_draftPersistenceError; }
    const DraftState& draftState() const { return m_draftState; }
    const IndexState& indexState() const { return m_indexState; }
    const std::optional<QString>& settingsError() const { return m_settingsError; }
    bool recordingShortcut() const { return m_recordingShortcut; }
    const std::optional<QString>& shortcutError() const { return m_shortcutError; }
    const std::optional<DeliveryReceipt>& latestReceipt() const { return m_latestReceipt; }
    const QList<ImageReference>& imageReferences() const { return m_imageReferences; }

    // Set by the windows: the editor shows an image error here, the shell its
    // hot-key label and registration problems, the settings window its
    // shortcut recorder.
    void setError(const std::optional<QString>& error);
    void setHotkeyLabel(const QString& label);
    void setRecordingShortcut(bool recording);
    void setShortcutError(const std::optional<QString>& error);
    // The shell reports here why a restart it was asked for did not happen,
    // the settings window why a folder could not be bound.
    void reportSettingsError(const QString& message) { setSettingsError(message); }
    void clearSettingsError() { setSettingsError(std::nullopt); }

    // MARK: Other fields the windows read
    const std::optional<QString>& launchLanguage() const { return m_launchLanguage; }
    // Settings that could not be read were replaced by defaults the user
    // never chose: no update check runs on their say-so until the next launch.
    bool checksUpdatesAutomatically() const
    {
        return m_preferences.automaticallyCheckUpdates && !m_settingsUnreadableAtLaunch;
    }
    const QString& dataDirectory() const { return m_dataDirectory; }
    // The latest index published; a later scan of its vault may borrow from it.
    const VaultIndex& latestIndex() const { return m_index; }
    VaultAccess& vaultAccess() const { return m_vaultAccess; }
    const std::optional<CompletionContext>& completionContext() const { return m_completionContext; }

    // MARK: Editor content
    static EditorContent attachmentString(const CaptureAttachment& attachment);
    static EditorContent render(const Capture& capture);
    static QList<CaptureAttachment> extractAttachments(const EditorContent& text);
    static Capture migrateImages(const Capture& capture, const Destination& destination);
    // The editor's text with each inline image turned back into its token:
    // the body as routing, saving and delivery see it.
    QString serializedBody() const;

    // MARK: Destination selection
    // Read from the last look at the destinations' folders (the attachment
    // policy, a ".obsidian" folder above them): taken at once when the
    // settings change, and otherwise off the UI thread when the text routes to
    // other folders, when the routed folders or the road down to them change
    // on disk (see DestinationFolderWatch), at recheckDestinations(), and
    // every two seconds while the panel shows and some of them cannot be
    // watched. An edit never reads the disk for them.
    Destination defaultDestination() const;
    Destination selectedDestination() const;
    RouteResolution routeResolution() const;
    Destination effectiveDestination() const;
    QString destinationLabel() const;
    // Looks at the destinations' folders again off the UI thread; what
    // changed (the notice, the routed vault) is published when it is back.
    void recheckDestinations();
    // Whether the panel, and so the notice, is on screen. Showing it looks at
    // the folders again; while it shows and some of the routed folders could
    // not be watched (the system's watches used up), they are looked at on a
    // slow timer instead.
    void setPanelShown(bool shown);
    // The folders watched at the moment, and whether a look at them is due or
    // under way.
    QStringList watchedFolders() const;
    bool lookingAtDestinations() const;

    // MARK: Vault index
    // Rescans the vault of the destination the text routes to, in the
    // background, when that vault changed or when forced. Returns at once.
    void refreshIndex(bool force);

    // MARK: Draft
    // draft.json is still being read: the empty text is no draft, so the
    // editor takes no edit, nothing is saved, and clearing, restoring or
    // choosing a destination do nothing. When the draft arrives it is
    // published, handed to onContentChange, and draftReadFinished emitted.
    bool readingDraft() const { return m_draftRead != nullptr; }
    // Takes the draft being read now, waiting for the read; nothing when
    // none is being read.
    void waitForDraft();
    bool hasContent() const;
    // The draft as it stands (read by the editor to undo a destination choice).
    const Capture& draft() const { return m_draft; }
    // The editor's whole text after each change.
    void updateContent(const EditorContent& text);
    // Writes draft.json now and returns once it is on disk; a failure shows
    // in draftPersistenceError and draftState, never as an exception. Only
    // what must know the outcome waits for it.
    void persistDraft();
    // The same on the way out of the program: each write is waited for no
    // longer than its bound (see DiskWrites), a stuck one being left to the
    // end of the process, which cuts it.
    void persistDraftWithinBound();
    // Hands the draft as it stands to the writer and returns at once; the
    // outcome is published as persistDraft's is, when the write ends.
    void saveDraftInBackground();
    // Keeps a non-blank draft in Recovered and starts an empty one for the
    // same destination. Does nothing while a delivery is in flight. Throws
    // PlatformError("Quillor", 1) when the draft cannot be saved first, and
    // FileSystemError when the copy or the new draft cannot be written.
    void archiveAndClearDraft();

    // MARK: Submission and folder repair
    // Saves the draft, checks its destination and places its images, then
    // hands it to the delivery executor and returns at once. The outcome is
    // published: saving, error, status, latestReceipt and a new empty draft.
    // A destination without a folder first asks for one (onChooseVault).
    // Quietly does nothing with a blank draft or while a delivery or a
    // folder choice runs. While the editor reads images it waits for them
    // (see setReadingImages).
    void submit();
    // What would stop a submission to the current destination, shown before
    // the user sends; absent when nothing would. As of the last look at the
    // destinations' folders: the submission itself looks again.
    std::optional<QString> captureDestinationError() const;
    // Whether the panel should offer to choose the notes folder again.
    bool canRepairCaptureFolder() const;
    // Asks once for a notes folder for the draft's destination (a new one
    // when the text names none), stores it in the settings and makes it the
    // draft's explicit destination. Sends nothing.
    void chooseCaptureFolder();

    // MARK: History restore and applying settings
    // Brings an archived capture back as a new draft under a new id and date,
    // its destination and images adapted to the current settings. With text
    // in the editor it does nothing unless `replacing`, and then first keeps
    // the current draft in Recovered. Does nothing while a delivery is in
    // flight. Throws PlatformError("Quillor", 1) with the save's own message
    // when the current draft cannot be saved first, and FileSystemError when
    // a file cannot be written; the current draft then stays.
    void restore(const Capture& capture, bool replacing);
    // The one way new settings enter the running application: completes the
    // candidate, opens its folders, validates it and saves it (through
    // onApplyPreferences when installed), then makes it current and
    // re-indexes. False when any step refuses it: the reason is then in
    // settingsError and nothing else has changed.
    bool applyPreferences(const Preferences& candidate, bool allowUnconfiguredVaults);

    // MARK: Completions, destination choice and images
    // Recomputes the completion list for the editor's selection. A list the
    // user dismissed stays hidden until the context at the caret changes.
    // The editor's analysis, when it is of the model's text, spares finding
    // the text's code again.
    void suggestions(TextRange range, const MarkdownAnalysis* analysis = nullptr);
    // The indexed notes whose title, or else path, contains the query; all of
    // them for an empty query. Index order.
    QList<NoteSuggestion> noteMatches(const QString& query) const;
    void dismissSuggestions();
    // Puts the highlighted row into the editor as one undoable edit. Does
    // nothing when the list was computed for another text or caret. (The
    // elaborated type declares quillor::EditorSurface, model/EditorSurface.h.)
    void acceptCompletion(EditorSurface& textView);
    // The suggestions panel moves the highlight (arrow keys, pointer); kept
    // on an existing row.
    void selectCompletion(int index);

    // A choice from the destination menu: handed to onSelectDestination when
    // the editor installed it (to make it undoable), else applied at once.
    // Ignored while saving and for an id the settings do not hold.
    void setDestination(const QUuid& id);
    // Records a choice in the draft as it is, absent values included.
    void applyDestinationSelection(const DestinationSelection& selection);

    // Images above this many bytes are refused.
    static constexpr qsizetype maximumImageBytes = 50'000'000;
    // The attachments whose embed text is still in the editor, store order.
    QList<CaptureAttachment> currentAttachments() const;
    // Gives each image its place in the destination's vault at once and
    // returns their embeds, one per line, for the editor to insert; inserts
    // nothing itself. Throws CaptureError::missingVault() for an unresolved
    // route, the folder access error, an Error for an image that is too large
    // or does not decode (then nothing is recorded), and the placement's error
    // (the images placed before it stay recorded).
    EditorContent addImages(const QList<CaptureAttachment>& attachments);

    // The editor reads pasted, dropped and chosen images off the UI thread
    // and says here when it starts and when every one of them is in its
    // text. A send asked for meanwhile waits for them, shown as saving, then
    // goes ahead; a message the editor shows meanwhile (setError) calls it
    // off, so that the message stays with the draft.
    void setReadingImages(bool reading);
    bool readingImages() const { return m_readingImages; }
    // Runs `then` once no image is being read: at once when none is.
    void whenImagesRead(std::function<void()> then);

    // MARK: Updates
    // The update checker, made on first use on the data directory with its
    // own defaults (installed version, store flavour, catalog fetch).
    AppUpdates& updates();

    // MARK: Callbacks (empty in a headless model; called on the UI thread)
    // May throw; no folder means the user cancelled.
    std::function<std::optional<QString>(const Destination&)> onChooseVault;
    std::function<void(const QUuid&)> onSelectDestination;
    std::function<void(const TextRange&)> onSelectImage;
    std::function<void(const CaptureAttachment&)> onPreviewImage;
    std::function<void(const QUuid&)> onRemoveImage;
    // May throw: the settings are then not applied.
    std::function<void(const Preferences&)> onApplyPreferences;
    std::function<void()> onSuggestionsChanged;
    std::function<void(const EditorContent&)> onContentChange;
    std::function<void()> onSaved;
    std::function<void(bool)> onShortcutRecordingChanged;
    std::function<void()> onHotkeyChanged;
    std::function<bool()> onSettingsCloseRequest;
    std::function<void()> onOpenSettings;
    std::function<void()> onAttachImages;
    std::function<void()> onIndexChanged;

Q_SIGNALS:
    void choosingVaultChanged();
    void folderAccessFailedChanged();
    void preferencesChanged();
    void contentChanged();
    void statusChanged();
    void errorChanged();
    void savingChanged();
    void completionsChanged();
    void completionIndexChanged();
    void indexCountChanged();
    void hotkeyLabelChanged();
    void draftPersistenceErrorChanged();
    void draftStateChanged();
    void indexStateChanged();
    void settingsErrorChanged();
    void recordingShortcutChanged();
    void shortcutErrorChanged();
    void latestReceiptChanged();
    void imageReferencesChanged();
    // Values computed from fields that are not published (the draft's
    // destination) may have changed: views showing destinations redraw.
    void modelChanged();
    // draft.json was written. The draft state alone does not tell two saves
    // apart.
    void draftWritten();
    // The draft read in the background arrived (readingDraft is false now).
    void draftReadFinished();

private:
    // One background scan: the flag stops it, the watcher brings its outcome
    // back to this thread (and goes with the model).
    struct ScanOutcome;
    // What the worker made of draft.json.
    struct DraftRead;
    struct IndexingTask {
        std::shared_ptr<std::atomic_bool> cancelled;
        QFutureWatcher<ScanOutcome>* watcher = nullptr;
    };

    // Start-up steps.
    void loadPreferences();
    // Reads and decodes draft.json; runs on a worker when the draft is read
    // in the background, so it touches nothing of the model.
    static DraftRead readDraftFile(const QString& path);
    void startDraftRead();
    void finishDraftRead();
    void adoptDraft(const DraftRead& read);
    void setOversizedDraftAside();
    void publishDraft();
    Capture newEmptyDraft(const std::optional<QUuid>& destinationID) const;
    std::optional<QUuid> defaultDestinationID() const;
    Destination imageDestination() const;
    bool namesMissingDestination(const std::optional<QUuid>& destinationID) const;
    QString keepUnreadableFileAside(const QString& fileName) const;

    // Destination selection over one evaluation of the delivery destinations.
    Destination defaultDestination(const QList<Destination>& deliveryDestinations) const;
    Destination selectedDestination(const QList<Destination>& deliveryDestinations) const;
    // The last look at the destinations, taken again at once when the
    // settings no longer hold the destinations it looked at.
    const DestinationCheck& destinationCheck() const;
    // One look at the destinations off the UI thread, and what it found of
    // the folders to watch.
    struct DestinationLook;
    void publishDestinationLook(const DestinationLook& look);
    // Watches the folders of the destination the text routes to, and looks at
    // the destinations again when they are others than those watched.
    void followRoutedFolders(const std::optional<Route>& route);
    DestinationFolderWatch& folderWatch();

    // Index.
    void restoreRouteAccess(const Destination& routeDestination);
    void startScan(const QUuid& generation, const QString& vault);
    void finishScan(const QUuid& generation, const IndexingTask& task);
    void cancelIndexing();

    // Draft.
    void scheduleDraftSave();
    void publishDraftWrite(const std::exception_ptr& failure);
    void setUnreadableDraftAside();
    void mergeAttachments(const EditorContent& text);
    void writeDraft(const Capture& draft);
    ReferenceDate currentDate() const;

    // Starts one delivery through the injected executor or the model's own.
    QFuture<QString> startDelivery(const Capture& capture, const Destination& destination);

    void setChoosingVault(bool value);
    void setFolderAccessFailed(bool value);
    void setPreferences(const Preferences& value);
    void setContent(const EditorContent& value);
    void setStatus(const QString& value);
    void setSaving(bool value);
    // Every assignment, even of an equal value, also tells the editor through
    // onSuggestionsChanged, so its panel follows each recomputation.
    void setCompletions(const QList<Completion>& value);
    void setCompletionIndex(int value);
    void setIndexCount(int value);
    void setDraftPersistenceError(const std::optional<QString>& value);
    void setDraftState(const DraftState& value);
    void setIndexState(const IndexState& value);
    void setSettingsError(const std::optional<QString>& value);
    void setLatestReceipt(const std::optional<DeliveryReceipt>& value);
    void setImageReferences(const QList<ImageReference>& value);

    // Submission and folder repair.
    Destination reachableDestination(const Destination& routed);
    void placeImages(Capture& capture, const QString& root, const QString& attachmentFolder) const;
    void startDeliveryTask(const Capture& capture, const Destination& destination);
    void finishDelivery(const QFuture<QString>& future, const Capture& capture, const Destination& destination);
    void renewDelivery(const Capture& sent, const Destination& destination);
    void finishRecord(const QFuture<DeliveryReceipt>& future, const Destination& destination);
    void failDelivery(const QString& message);
    void startNextDraft(const QUuid& destinationID);
    void repairMissingFolder(const Destination& destination);
    bool supplyMissingFolder(const Destination& destination);
    void adoptChosenFolder(const Destination& stored, const QString& folder);
    std::optional<QString> askForFolder(const Destination& target);
    Destination storedForm(const Destination& deliveryForm) const;
    Destination deliveryForm(const Destination& stored) const;
    void storeDestination(const Destination& destination);
    // The first validation message for a destination in its delivery form.
    static std::optional<QString> firstIssue(const Destination& deliveryForm);

    // History restore and applying settings.
    Capture restoredDraft(const Capture& archived) const;
    // Finds the latest receipt on a worker thread: years of deliveries leave
    // thousands. Published unless a delivery published its own meanwhile.
    void readLatestReceipt();
    std::optional<QString> settingsRefusal(Preferences& candidate, bool allowUnconfiguredVaults);
    std::optional<QString> saveSettings(const Preferences& settings);
    void savePreferencesFile(const Preferences& settings) const;

    // Completions, destination choice and images.
    void clearSuggestions();
    QList<Completion> completionRows(const CompletionContext& context) const;
    // The route's destination with its folder access restored, in its
    // delivery form.
    Destination imageTarget(const Destination& routeDestination);

    const QString m_dataDirectory;
    VaultAccess& m_vaultAccess;
    Environment m_environment;

    // Published.
    bool m_choosingVault = false;
    bool m_folderAccessFailed = false;
    Preferences m_preferences;
    EditorContent m_content;
    QString m_status;
    std::optional<QString> m_error;
    bool m_saving = false;
    QList<Completion> m_completions;
    int m_completionIndex = 0;
    int m_indexCount = 0;
    QString m_hotkeyLabel;
    std::optional<QString> m_draftPersistenceError;
    DraftState m_draftState;
    IndexState m_indexState;
    std::optional<QString> m_settingsError;
    bool m_recordingShortcut = false;
    std::optional<QString> m_shortcutError;
    std::optional<DeliveryReceipt> m_latestReceipt;
    QList<ImageReference> m_imageReferences;

    // Not published.
    std::optional<QString> m_launchLanguage;
    mutable DestinationCheck m_destinationCheck;
    // Numbers the background looks in the order they start, and the latest
    // one whose result was taken.
    quint64 m_destinationCheckGeneration = 0;
    quint64 m_publishedCheckGeneration = 0;
    // Looks started and not yet back.
    int m_destinationLooksRunning = 0;
    // The routed destination's folders, made on first use.
    std::unique_ptr<DestinationFolderWatch> m_folderWatch;
    QUuid m_indexGeneration = QUuid::createUuid();
    bool m_restoredDestinationMissing = false;
    QList<CaptureAttachment> m_attachmentStore;
    std::optional<CompletionContext> m_completionContext;
    std::optional<CompletionContext> m_dismissedContext;
    Capture m_draft;
    std::unique_ptr<Delivery> m_writer;
    DeliveryRecorder m_recorder{m_dataDirectory};
    // The earlier ids under which the draft of id `draftID` reached the note
    // unconfirmed before its text changed: they get their receipts with its own.
    struct EarlierSends {
        QUuid draftID;
        QList<QUuid> ids;
    } m_earlierSends;
    std::unique_ptr<AppUpdates> m_updates;
    QList<NoteSuggestion> m_notes;
    QStringList m_tags;
    QString m_indexedVault;
    VaultIndex m_index;   // the last one published for m_indexedVault
    std::optional<IndexingTask> m_indexingTask;
    // Set to give up the start-up read of the receipts.
    std::shared_ptr<std::atomic_bool> m_receiptReadCancelled = std::make_shared<std::atomic_bool>(false);
    // Set while draft.json is being read in the background.
    QFutureWatcher<DraftRead>* m_draftRead = nullptr;
    QTimer m_saveDraftTask;
    std::unique_ptr<DraftWriter> m_draftWriter;
    // When the oldest edit not yet in draft.json was made.
    std::optional<QDateTime> m_unsavedSince;
    bool m_settingsUnreadableAtLaunch = false;
    // Why preferences.json must not be written in this run: it could not be
    // read, nor set aside, and is maybe the only copy of the user's settings.
    std::optional<QString> m_settingsWriteRefusal;
    // draft.json could not be read at start-up: it is set aside in Recovered
    // before the first save replaces it.
    bool m_unreadableDraftOnDisk = false;
    // Images being read by the editor, and what waits for them.
    bool m_readingImages = false;
    bool m_sendAwaitingImages = false;
    QList<std::function<void()>> m_afterImagesRead;
};

} // namespace quillor
