#include "model/AppModel.h"

#include "core/CaptureArchive.h"
#include "core/Error.h"
#include "core/L10n.h"
#include "model/DataDirectory.h"

#include <QFileInfo>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace quillor {

namespace {

std::optional<Destination> storedWithID(const QList<Destination>& stored, const std::optional<QUuid>& id)
{
    if (!id)
        return std::nullopt;
    const auto found = std::find_if(stored.cbegin(), stored.cend(),
                                    [&](const Destination& destination) { return destination.id == *id; });
    if (found == stored.cend())
        return std::nullopt;
    return *found;
}

} // namespace

void AppModel::restore(const Capture& capture, bool replacing)
{
    if (m_saving || readingDraft())
        return;
    if (hasContent()) {
        if (!replacing)
            return;
        persistDraft();
        // The save's own reason, as when archiving: it is what the user can
        // act on, and the draft it concerns stays in the editor.
        if (m_draftPersistenceError)
            throw PlatformError(QStringLiteral("Quillor"), 1, *m_draftPersistenceError);
        CaptureArchive{m_dataDirectory}.preserve(m_draft);
    }

    const Capture restored = restoredDraft(capture);
    // Written before anything in memory changes, so a failure leaves the
    // current draft in place.
    writeDraft(restored);
    Q_EMIT draftWritten();

    m_draft = restored;
    m_attachmentStore = restored.attachments;
    setImageReferences(restored.imageReferences.value_or(QList<ImageReference>()));
    m_restoredDestinationMissing = namesMissingDestination(restored.destinationID);
    Q_EMIT modelChanged();

    const EditorContent text = render(restored);
    updateContent(text);
    if (onContentChange)
        onContentChange(text);
    // After updateContent, which marks every edit as pending.
    setDraftState(DraftState::restored());
}

Capture AppModel::restoredDraft(const Capture& archived) const
{
    const Capture migrated = migrateDestination(archived, m_preferences, m_dataDirectory);
    const Destination imagesGoTo =
        storedWithID(m_preferences.destinations, migrated.destinationID).value_or(defaultDestination());
    Capture restored = migrateImages(migrated, imagesGoTo);
    // The default's id, and none when the settings hold no destination: the
    // built-in inbox has a new id at every evaluation, which the draft would
    // then name as a destination that no longer exists.
    if (restored.usesExplicitDestination == true && !restored.destinationID)
        restored.destinationID = defaultDestinationID();
    // A new capture: sending it writes a new note beside the archived one.
    restored.id = QUuid::createUuid();
    restored.createdAt = currentDate();
    restored.timeZoneIdentifier = m_environment.timeZoneIdentifier();
    return restored;
}

namespace {

struct ReceiptScan {
    std::optional<DeliveryReceipt> latest;
    QStringList oversized;
};

} // namespace

void AppModel::readLatestReceipt()
{
    const std::shared_ptr<std::atomic_bool> cancelled = m_receiptReadCancelled;
    auto* watcher = new QFutureWatcher<ReceiptScan>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        const ReceiptScan scan = watcher->result();
        // A delivery since start-up is the latest, whatever the folder says.
        if (!m_latestReceipt)
            setLatestReceipt(scan.latest);
        if (!scan.oversized.isEmpty() && !m_settingsError) {
            const QString file = DataDirectory::receiptsFolderName() + QLatin1Char('/')
                + QFileInfo(scan.oversized.constFirst()).fileName();
            setSettingsError(L10n::format(
                QStringLiteral("Le reçu « %@ » est trop volumineux pour être lu : il est ignoré."), {file}));
        }
    });
    watcher->setFuture(QtConcurrent::run(QThreadPool::globalInstance(), [directory = m_dataDirectory, cancelled] {
        ReceiptScan scan;
        try {
            scan.latest =
                CaptureArchive{directory}.latestReceipt(&scan.oversized, [cancelled] { return bool(*cancelled); });
        } catch (const std::exception&) {
            // A folder that cannot be listed: no delivery is known.
        }
        return scan;
    }));
}

} // namespace quillor
