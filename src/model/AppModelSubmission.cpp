#include "model/AppModel.h"

#include "core/CaptureError.h"
#include "core/DateFormats.h"
#include "core/Delivery.h"
#include "core/FileSystem.h"
#include "core/ImageReferences.h"
#include "core/L10n.h"
#include "core/SafePath.h"
#include "editing/MarkdownPresentation.h"
#include "model/DraftWriter.h"
#include "model/VaultAccess.h"

#include <QException>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <utility>

namespace quillor {

namespace {

QString describe(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Error*>(&error))
        return own->localizedDescription();
    return QString::fromUtf8(error.what());
}

// What the worker gave, or its own error. A future that ended with neither
// (its executor went away) counts as a failed write to `path`: the work may
// not have reached the disk.
template <typename T>
T outcome(QFuture<T> future, const QString& path)
{
    if (future.isResultReadyAt(0))
        return future.resultAt(0);
    try {
        future.waitForFinished();
    } catch (const QUnhandledException& wrapped) {
        if (wrapped.exception())
            std::rethrow_exception(wrapped.exception());
        throw;
    }
    throw FileSystemError(FileSystemError::Operation::write, path, ECANCELED);
}

// Every "![[…]]" typed by hand must name an existing file of the vault by its
// exact path: the writer copies only attachments, so an embed of anything
// else would be delivered broken. What follows a "|" is part of the path.
void checkEmbeds(const Capture& capture, const QString& root)
{
    const QList<ImageReference> references = capture.imageReferences.value_or(QList<ImageReference>());
    for (const MarkdownStyle& style : MarkdownPresentation::styles(capture.body)) {
        if (!style.image)
            continue;
        const QString text = capture.body.mid(style.range.location, style.range.length);
        const bool placed = std::any_of(references.cbegin(), references.cend(),
                                        [&](const ImageReference& reference) { return reference.source() == text; });
        if (placed)
            continue;
        const QString path = text.mid(3, text.size() - 5);
        if (!FileSystem::exists(SafePath::resolve(root, path)))
            throw CaptureError::invalidAttachment();
    }
}

} // namespace

void AppModel::submit()
{
    if (m_saving || m_choosingVault)
        return;
    // Images still being read are part of what the user sends: the send
    // waits for them, already shown as saving.
    if (m_readingImages) {
        m_sendAwaitingImages = true;
        setSaving(true);
        return;
    }
    if (!hasContent())
        return;
    // The draft is saved before it is sent, so that a failed send keeps it.
    // Images may take seconds to write: a draft holding any is waited for
    // without blocking, the checks below running meanwhile.
    if (m_attachmentStore.isEmpty())
        persistDraft();
    else
        saveDraftInBackground();
    if (m_draftPersistenceError && !m_draftWriter->busy()) {
        setError(m_draftPersistenceError);
        return;
    }

    const RouteResolution resolution = routeResolution();
    const std::optional<Route> route = resolution.route();
    if (!route) {
        setError(resolution.error());
        return;
    }
    if (route->destination.vaultPath.isEmpty()) {
        repairMissingFolder(route->destination);
        return;
    }

    Destination destination;
    try {
        destination = reachableDestination(route->destination);
    } catch (const Error& error) {
        setFolderAccessFailed(true);
        setError(error.localizedDescription());
        return;
    }
    if (const std::optional<QString> issue = firstIssue(destination)) {
        setError(issue);
        return;
    }

    Capture capture = m_draft;
    capture.body = route->body;
    capture.destinationID = destination.id;
    try {
        placeImages(capture, destination.vaultPath, destination.attachmentFolder);
        checkEmbeds(capture, destination.vaultPath);
    } catch (const Error& error) {
        setError(error.localizedDescription());
        return;
    }

    setSaving(true);
    setError(std::nullopt);
    m_draftWriter->whenWritten([this, capture, destination] {
        if (m_draftPersistenceError)
            failDelivery(*m_draftPersistenceError);
        else
            startDeliveryTask(capture, destination);
    });
}

Destination AppModel::reachableDestination(const Destination& routed)
{
    // The route carries the delivery form, which loses its bookmark when the
    // attachment policy re-roots it: access goes through the destination as
    // stored, and the delivery form is derived again from what access found
    // (a folder that moved is delivered to where it is now).
    const QList<Destination>& stored = m_preferences.destinations;
    const auto found = std::find_if(stored.cbegin(), stored.cend(),
                                    [&](const Destination& destination) { return destination.id == routed.id; });
    if (found == stored.cend()) {
        m_vaultAccess.restored(routed);
        return routed;
    }
    return deliveryForm(m_vaultAccess.restored(*found));
}

Destination AppModel::deliveryForm(const Destination& stored) const
{
    return m_preferences.attachmentPolicy(stored).applying(stored);
}

// An image added while another destination was in force is placed again for
// this one, keeping its earlier path when that is still free or holds the
// same bytes. References whose text the user deleted stay out of the note.
void AppModel::placeImages(Capture& capture, const QString& root, const QString& attachmentFolder) const
{
    for (const ImageReference& reference : m_imageReferences) {
        const QString source = reference.source();
        if (!capture.body.contains(source))
            continue;
        const auto attachment = std::find_if(
            m_attachmentStore.cbegin(), m_attachmentStore.cend(),
            [&](const CaptureAttachment& candidate) { return candidate.id == reference.attachmentID; });
        if (attachment == m_attachmentStore.cend())
            throw CaptureError::invalidAttachment();

        const ImageReference placed = ImageReferences::resolve(*attachment, root, attachmentFolder, reference.path);
        capture.body.replace(source, placed.source());
        QList<ImageReference> references = capture.imageReferences.value_or(QList<ImageReference>());
        for (ImageReference& entry : references) {
            if (entry.attachmentID == reference.attachmentID)
                entry = placed;
        }
        capture.imageReferences = references;
    }
}

void AppModel::startDeliveryTask(const Capture& capture, const Destination& destination)
{
    // The watcher brings the outcome back to this thread and goes with the
    // model, so a delivery that outlives it reports to nobody.
    auto* watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, capture, destination] {
        watcher->deleteLater();
        finishDelivery(watcher->future(), capture, destination);
    });
    try {
        watcher->setFuture(startDelivery(capture, destination));
    } catch (const std::exception& error) {
        delete watcher;
        failDelivery(describe(error));
    }
}

void AppModel::finishDelivery(const QFuture<QString>& future, const Capture& capture, const Destination& destination)
{
    QString note;
    try {
        note = outcome(future, destination.vaultPath);
    } catch (const CaptureError& error) {
        if (error.kind() == CaptureError::Kind::deliveredWithOtherText) {
            renewDelivery(capture, destination);
            return;
        }
        failDelivery(error.localizedDescription());
        return;
    } catch (const std::exception& error) {
        failDelivery(describe(error));
        return;
    }

    QList<DeliveryRecorder::EarlierSend> earlier;
    if (m_earlierSends.draftID == capture.id) {
        for (const QUuid& id : std::as_const(m_earlierSends.ids)) {
            Capture sent = capture;
            sent.id = id;
            earlier.append({id, [writer = m_writer->writer(), sent, destination] {
                                 return writer.notePath(sent, destination);
                             }});
        }
    }
    // The history copy and the receipt are written off this thread; the
    // draft is replaced only once both are on disk.
    auto* watcher = new QFutureWatcher<DeliveryReceipt>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, destination] {
        watcher->deleteLater();
        finishRecord(watcher->future(), destination);
    });
    // The earlier sends reached the note first: their receipts are dated a
    // second before, so the latest receipt stays this one's after a restart.
    const ReferenceDate now = currentDate();
    watcher->setFuture(m_recorder.record(capture, destination, note, DateFormats::iso8601(now), earlier,
                                         DateFormats::iso8601({now.secondsSinceReferenceDate - 1})));
}

// An earlier send of this draft reached the note unconfirmed (the program
// ended first, or its record failed) and the text changed since: the text as
// it is now goes in as a capture of its own, so nothing the user typed is left
// out and the note keeps what it holds. The draft takes the new id, on disk,
// before any of it can reach the note: whatever fails after that, a retry
// finds its own text there and writes nothing, and start-up knows the draft
// delivered once its receipt is written.
void AppModel::renewDelivery(const Capture& sent, const Destination& destination)
{
    Capture renewed = sent;
    renewed.id = QUuid::createUuid();
    if (m_earlierSends.draftID != sent.id)
        m_earlierSends.ids.clear();
    m_earlierSends.ids.append(sent.id);
    m_earlierSends.draftID = renewed.id;

    m_draft.id = renewed.id;
    saveDraftInBackground();
    m_draftWriter->whenWritten([this, renewed, destination] {
        if (m_draftPersistenceError)
            failDelivery(*m_draftPersistenceError);
        else
            startDeliveryTask(renewed, destination);
    });
}

void AppModel::finishRecord(const QFuture<DeliveryReceipt>& future, const Destination& destination)
{
    DeliveryReceipt receipt;
    try {
        receipt = outcome(future, m_dataDirectory);
    } catch (const std::exception& error) {
        failDelivery(describe(error));
        return;
    }

    setLatestReceipt(receipt);
    m_earlierSends = {};
    startNextDraft(destination.id);
    // Done once the next draft is on disk, which is waited for without
    // blocking: it is written behind the capture's large files.
    m_draftWriter->whenWritten([this, name = destination.displayName()] {
        setStatus(L10n::format(QStringLiteral("Enregistré dans %@"), {name}));
        // The shell hides the panel only when no delivery is in flight.
        setSaving(false);
        if (onSaved)
            onSaved();
    });
}

// The draft stays as it was saved: sending it again delivers the same capture
// id, which the writer recognises in a note it already reached.
void AppModel::failDelivery(const QString& message)
{
    setError(message);
    setSaving(false);
}

void AppModel::startNextDraft(const QUuid& destinationID)
{
    m_attachmentStore.clear();
    setImageReferences({});
    m_draft = newEmptyDraft(destinationID);
    m_restoredDestinationMissing = false;
    Q_EMIT modelChanged();

    const EditorContent empty;
    updateContent(empty);
    if (onContentChange)
        onContentChange(empty);
    saveDraftInBackground();
    setCompletions({});
}

} // namespace quillor
