#include "model/AppModel.h"

#include "core/CaptureArchive.h"
#include "core/DateFormats.h"
#include "core/Delivery.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "core/L10n.h"
#include "core/Routing.h"
#include "core/StaleTemporaryFiles.h"
#include "model/DataDirectory.h"
#include "model/DestinationFolderWatch.h"
#include "model/DraftWriter.h"
#include "model/VaultAccess.h"
#include "platform/ShortcutCombination.h"
#include "updates/AppUpdates.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>
#include <QTimeZone>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <utility>

namespace quillor {

namespace {

AppModel::Environment completed(AppModel::Environment environment)
{
    if (!environment.now)
        environment.now = [] { return QDateTime::currentDateTimeUtc(); };
    if (!environment.timeZoneIdentifier) {
        environment.timeZoneIdentifier = [] {
            // A capture must always name a zone, even on a system that has none set.
            const QString identifier = QString::fromUtf8(QTimeZone::systemTimeZoneId());
            return identifier.isEmpty() ? QStringLiteral("UTC") : identifier;
        };
    }
    if (!environment.writeDraftFile) {
        environment.writeDraftFile = [](const QString& path, const QList<QByteArrayView>& parts) {
            // The data folder may have been removed while the program ran.
            FileSystem::createDirectories(QFileInfo(path).path());
            FileSystem::writeAtomically(path, parts);
        };
    }
    if (!environment.scanVault) {
        environment.scanVault = [](const QString& vault, const VaultIndex& previous,
                                   const CancellationCheck& isCancelled) {
            return VaultIndex::scan(vault, isCancelled, previous);
        };
    }
    return environment;
}

QString childPath(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

const Destination* findDestination(const QList<Destination>& destinations, const std::optional<QUuid>& id)
{
    if (!id)
        return nullptr;
    const auto found = std::find_if(destinations.cbegin(), destinations.cend(),
                                    [&](const Destination& destination) { return destination.id == *id; });
    return found == destinations.cend() ? nullptr : &*found;
}

// A write cut short by a kill leaves its temporary file in the data directory
// for good, some of them hundreds of megabytes (a partial draft or history
// copy with its images). Listing and removing them reads the disk, which the
// start of the program does not wait for.
void removeStaleTemporaryFilesInBackground(const QString& dataDirectory, LeftOverTemporaries which)
{
    QThreadPool::globalInstance()->start([dataDirectory, which] {
        removeStaleTemporaryFiles(dataDirectory, which);
        for (const QString& folder : {DataDirectory::receiptsFolderName(), DataDirectory::historyFolderName(),
                                      DataDirectory::backupsFolderName(), DataDirectory::recoveredFolderName()})
            removeStaleTemporaryFiles(childPath(dataDirectory, folder), which);
    });
}

// The hot key a fresh installation asks for, shown until one is held.
ShortcutCombination defaultHotKey()
{
    const Preferences defaults;
    return {defaults.hotkeyCode, defaults.hotkeyModifiers, defaults.hotkeyDisplay};
}

} // namespace

struct AppModel::DraftRead {
    std::optional<Capture> stored;
    // draft.json is there but could not be read or decoded.
    bool unreadable = false;
    // draft.json is past what start-up reads.
    bool oversized = false;
};

AppModel::AppModel(const QString& dataDirectory, VaultAccess& vaultAccess, Environment environment,
                   QObject* parent)
    : QObject(parent), m_dataDirectory(dataDirectory), m_vaultAccess(vaultAccess),
      m_environment(completed(std::move(environment))), m_hotkeyLabel(shortcutDisplayLabel(defaultHotKey()))
{
    m_saveDraftTask.setSingleShot(true);
    m_saveDraftTask.setTimerType(Qt::PreciseTimer);
    connect(&m_saveDraftTask, &QTimer::timeout, this, &AppModel::saveDraftInBackground);
    m_draftWriter = std::make_unique<DraftWriter>(
        childPath(m_dataDirectory, DataDirectory::draftFileName()), m_environment.writeDraftFile,
        [this](const std::exception_ptr& failure) { publishDraftWrite(failure); });
    if (m_environment.draftWriteBound)
        m_draftWriter->setBound(m_environment.draftWriteBound);

    // A failure is left to the reads below, which then fall back to defaults.
    QDir().mkpath(m_dataDirectory);
    removeStaleTemporaryFilesInBackground(m_dataDirectory, m_environment.holdsDataDirectory
                                                               ? LeftOverTemporaries::notOurs
                                                               : LeftOverTemporaries::stale);
    loadPreferences();
    m_writer = std::make_unique<Delivery>(childPath(m_dataDirectory, DataDirectory::backupsFolderName()));
    if (m_environment.readsDraftInBackground) {
        // A large draft takes seconds to read and decode: the hot key and the
        // panel do not wait for it.
        m_draft = newEmptyDraft(std::nullopt);
        startDraftRead();
    } else {
        adoptDraft(readDraftFile(childPath(m_dataDirectory, DataDirectory::draftFileName())));
    }
    publishDraft();
    readLatestReceipt();
    refreshIndex(false);
}

AppModel::~AppModel()
{
    // Nobody can receive the scan's or the receipts' result any more.
    cancelIndexing();
    *m_receiptReadCancelled = true;
}

void AppModel::loadPreferences()
{
    const QString path = childPath(m_dataDirectory, DataDirectory::preferencesFileName());
    const LoadedPreferences loaded = Preferences::load(path);
    // Settings kept only in memory would give the default destination a new
    // id at every launch, and a saved draft would then name a destination that
    // no longer exists. So the fresh settings are written once when no file
    // holds them, after an unreadable file has been set aside.
    std::optional<QString> unreadableMessage;
    if (loaded.outcome == LoadedPreferences::Outcome::unreadable) {
        m_settingsUnreadableAtLaunch = true;
        try {
            const QString kept = keepUnreadableFileAside(DataDirectory::preferencesFileName());
            unreadableMessage = L10n::format(
                QStringLiteral("Les réglages n’ont pas pu être lus : Quillor utilise les réglages par défaut. "
                               "Le fichier illisible est gardé dans « %@ »."),
                {kept});
        } catch (const Error& error) {
            // It cannot be kept, so it must not be overwritten either.
            unreadableMessage = L10n::format(
                QStringLiteral("Les réglages n’ont pas pu être lus ni mis de côté (%@) : Quillor utilise les "
                               "réglages par défaut et n’enregistrera aucun réglage avant le prochain lancement."),
                {error.localizedDescription()});
            m_settingsWriteRefusal = L10n::format(
                QStringLiteral("Les réglages ne peuvent pas être enregistrés : « %@ » n’a pas pu être lu ni mis "
                               "de côté au lancement. Déplace ou corrige ce fichier, puis relance Quillor."),
                {path});
        }
    }

    Preferences preferences = loaded.preferences;
    const Preferences asLoaded = preferences;
    std::optional<QString> pendingMessage;
    for (Destination& destination : preferences.destinations) {
        try {
            m_vaultAccess.restore(destination);
        } catch (const Error& error) {
            pendingMessage = error.localizedDescription();
        }
    }
    const bool fileHoldsSettings = loaded.outcome == LoadedPreferences::Outcome::loaded;
    if ((preferences != asLoaded || !fileHoldsSettings) && !m_settingsWriteRefusal) {
        try {
            savePreferencesFile(preferences);
        } catch (const Error& error) {
            pendingMessage = error.localizedDescription();
        }
    }

    m_launchLanguage = preferences.language;
    setPreferences(preferences);
    setSettingsError(unreadableMessage ? unreadableMessage : pendingMessage);
    // Told where the user looks first too: the capture panel.
    if (unreadableMessage)
        setError(unreadableMessage);
}

AppModel::DraftRead AppModel::readDraftFile(const QString& path)
{
    DraftRead read;
    try {
        if (const auto bytes = FileSystem::readIfExists(path, Capture::maximumFileSize))
            read.stored = Capture::fromJson(Json::parseObject(*bytes));
    } catch (const FileSystemError& error) {
        read.unreadable = true;
        read.oversized = error.errnoValue() == EFBIG;
    } catch (const Error&) {
        read.unreadable = true;
    } catch (const JsonDecodingError&) {
        read.unreadable = true;
    } catch (const std::exception&) {
        // Out of memory, say: kept aside at the first save like any draft
        // that could not be read, and nothing escapes the worker.
        read.unreadable = true;
    }
    return read;
}

void AppModel::startDraftRead()
{
    m_draftRead = new QFutureWatcher<DraftRead>(this);
    connect(m_draftRead, &QFutureWatcherBase::finished, this, &AppModel::finishDraftRead);
    m_draftRead->setFuture(QtConcurrent::run(
        QThreadPool::globalInstance(),
        [path = childPath(m_dataDirectory, DataDirectory::draftFileName())] { return readDraftFile(path); }));
}

void AppModel::waitForDraft()
{
    if (!m_draftRead)
        return;
    // Taken here: the watcher's own report must not take it a second time.
    disconnect(m_draftRead, nullptr, this, nullptr);
    m_draftRead->waitForFinished();
    finishDraftRead();
}

void AppModel::finishDraftRead()
{
    QFutureWatcher<DraftRead>* watcher = std::exchange(m_draftRead, nullptr);
    if (!watcher)
        return;
    const DraftRead read = watcher->result();
    watcher->deleteLater();
    adoptDraft(read);
    publishDraft();
    if (onContentChange)
        onContentChange(m_content);
    // The draft may route to another vault than the empty text did.
    refreshIndex(false);
    Q_EMIT modelChanged();
    Q_EMIT draftReadFinished();
}

void AppModel::adoptDraft(const DraftRead& read)
{
    if (read.stored)
        m_draftWriter->setOnDisk(*read.stored);
    m_unreadableDraftOnDisk = read.unreadable;
    if (read.oversized)
        setOversizedDraftAside();
    m_draft = read.stored ? *read.stored : newEmptyDraft(std::nullopt);

    const QString receipt = childPath(childPath(m_dataDirectory, DataDirectory::receiptsFolderName()),
                                      Json::uuidText(m_draft.id) + QStringLiteral(".json"));
    if (FileSystem::exists(receipt))
        m_draft = newEmptyDraft(std::nullopt);

    try {
        m_draft = migrateDestination(m_draft, m_preferences, m_dataDirectory);
    } catch (const Error& error) {
        setSettingsError(error.localizedDescription());
    }

    if (m_draft.usesExplicitDestination == true && !m_draft.destinationID)
        m_draft.destinationID = defaultDestinationID();

    m_draft = migrateImages(m_draft, imageDestination());
}

void AppModel::setOversizedDraftAside()
{
    // No draft grows this large, and reading it would hold the whole file in
    // memory before the program can answer: it is kept aside unread, at once,
    // so no later launch stumbles on it again.
    try {
        const QString kept = keepUnreadableFileAside(DataDirectory::draftFileName());
        m_unreadableDraftOnDisk = false;
        setError(L10n::format(QStringLiteral("Le brouillon est trop volumineux pour être ouvert : Quillor commence un "
                                             "nouveau brouillon. Le fichier est gardé dans « %@ »."),
                              {kept}));
    } catch (const Error& error) {
        // Left where it is; the first save tries again to set it aside.
        setError(L10n::format(QStringLiteral("Le brouillon est trop volumineux pour être ouvert et n’a pas pu être "
                                             "mis de côté (%@) : Quillor commence un nouveau brouillon."),
                              {error.localizedDescription()}));
    }
}

void AppModel::publishDraft()
{
    m_attachmentStore = m_draft.attachments;
    setImageReferences(m_draft.imageReferences.value_or(QList<ImageReference>()));
    setContent(render(m_draft));
    m_restoredDestinationMissing = namesMissingDestination(m_draft.destinationID);
    setDraftState(m_content.isEmpty() ? DraftState::empty() : DraftState::restored());
}

// Every new empty draft (start-up, after a delivery, after clearing) starts on
// a destination without pinning it: a route prefix typed next still routes.
// An explicit flag would deliver "@name text" verbatim to the last destination.
Capture AppModel::newEmptyDraft(const std::optional<QUuid>& destinationID) const
{
    Capture draft(QUuid::createUuid(), currentDate(), QString(), {}, destinationID);
    draft.timeZoneIdentifier = m_environment.timeZoneIdentifier();
    draft.usesExplicitDestination = false;
    return draft;
}

ReferenceDate AppModel::currentDate() const
{
    return ReferenceDate::fromDateTime(m_environment.now());
}

std::optional<QUuid> AppModel::defaultDestinationID() const
{
    const QList<Destination>& destinations = m_preferences.destinations;
    if (const Destination* chosen = findDestination(destinations, m_preferences.defaultDestinationID))
        return chosen->id;
    if (!destinations.isEmpty())
        return destinations.first().id;
    return std::nullopt;
}

Destination AppModel::imageDestination() const
{
    const QList<Destination>& destinations = m_preferences.destinations;
    if (const Destination* own = findDestination(destinations, m_draft.destinationID))
        return *own;
    if (!destinations.isEmpty())
        return destinations.first();
    return Preferences::builtInDestination();
}

bool AppModel::namesMissingDestination(const std::optional<QUuid>& destinationID) const
{
    return destinationID && !findDestination(m_preferences.destinations, destinationID);
}

QString AppModel::keepUnreadableFileAside(const QString& fileName) const
{
    const QString source = childPath(m_dataDirectory, fileName);
    const QString folder = childPath(m_dataDirectory, DataDirectory::recoveredFolderName());
    FileSystem::createDirectories(folder);

    const QFileInfo info(fileName);
    const QString moment = DateFormats::dayAndTime(
        currentDate(), QTimeZone(m_environment.timeZoneIdentifier().toUtf8()));
    constexpr int attempts = 100;
    for (int attempt = 1;; ++attempt) {
        const QString suffix = attempt == 1 ? QString() : QStringLiteral(" %1").arg(attempt);
        const QString target = childPath(folder, info.completeBaseName() + QLatin1Char(' ') + moment + suffix
                                                     + QLatin1Char('.') + info.suffix());
        try {
            FileSystem::renameNoReplace(source, target);
            return target;
        } catch (const FileSystemError& error) {
            if (error.errnoValue() != EEXIST || attempt == attempts)
                throw;
        }
    }
}

Capture AppModel::migrateDestination(const Capture& capture, const Preferences& preferences,
                                     const QString& directory)
{
    // Only a draft without the flag predates destinations in drafts; one that
    // says false is a new draft left free to route.
    if (capture.usesExplicitDestination.has_value())
        return capture;

    Capture result = capture;
    const QString& prefix = preferences.routePrefix;
    if (!prefix.isEmpty() && capture.body.startsWith(prefix)) {
        const Destination fallback = preferences.destinations.isEmpty() ? Preferences::builtInDestination()
                                                                        : preferences.destinations.first();
        Route route;
        try {
            route = Routing::resolve(capture.body, prefix, preferences.destinations, fallback);
        } catch (const Error&) {
            // Left for the next start, which tries again.
            return capture;
        }
        CaptureArchive{directory}.preserve(capture);
        result.body = route.body;
        result.destinationID = route.destination.id;
    }
    result.usesExplicitDestination = true;
    return result;
}

} // namespace quillor
