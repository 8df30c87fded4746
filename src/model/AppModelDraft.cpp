#include "model/AppModel.h"

#include "core/CaptureArchive.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "core/L10n.h"
#include "model/DataDirectory.h"
#include "model/DraftWriter.h"

#include <algorithm>

namespace quillor {

namespace {

constexpr std::chrono::milliseconds longestUnsavedTime{1000};

// White space and line breaks do not count; an inline image does. Asked
// several times per keystroke: the text is read up to its first mark, never
// copied.
bool isBlank(const EditorContent& text)
{
    return std::all_of(text.text.cbegin(), text.text.cend(), [](QChar c) { return c.isSpace(); });
}

} // namespace

bool AppModel::hasContent() const
{
    return !isBlank(m_content);
}

void AppModel::updateContent(const EditorContent& text)
{
    // A capture is dated by its first non-blank edit, not by when its empty
    // draft was made.
    if (!hasContent() && !isBlank(text)) {
        m_draft.createdAt = currentDate();
        m_draft.timeZoneIdentifier = m_environment.timeZoneIdentifier();
    }
    setContent(text);
    mergeAttachments(text);
    setDraftState(hasContent() ? DraftState::pending() : DraftState::empty());
    setStatus(QString());
    scheduleDraftSave();
    refreshIndex(false);
}

void AppModel::scheduleDraftSave()
{
    // Restarting the single-shot timer coalesces a burst of edits into one
    // save after the last of them. Typing that never pauses is saved all the
    // same once its oldest unsaved edit is a second old: a crash then loses
    // at most that second.
    const QDateTime now = m_environment.now();
    if (!m_unsavedSince)
        m_unsavedSince = now;
    const std::chrono::milliseconds waited(m_unsavedSince->msecsTo(now));
    if (waited >= longestUnsavedTime) {
        saveDraftInBackground();
        return;
    }
    m_saveDraftTask.start(std::min(m_environment.autosaveDelay, longestUnsavedTime - waited));
}

void AppModel::mergeAttachments(const EditorContent& text)
{
    for (const CaptureAttachment& attachment : extractAttachments(text)) {
        const bool known = std::any_of(m_attachmentStore.cbegin(), m_attachmentStore.cend(),
                                       [&](const CaptureAttachment& kept) { return kept.id == attachment.id; });
        if (!known)
            m_attachmentStore.append(attachment);
    }
}

void AppModel::persistDraft()
{
    saveDraftInBackground();
    // Its outcome is published before this returns.
    m_draftWriter->waitUntilWritten();
}

void AppModel::persistDraftWithinBound()
{
    saveDraftInBackground();
    m_draftWriter->waitWithinBounds();
}

void AppModel::saveDraftInBackground()
{
    // The empty text shown meanwhile is no draft: draft.json holds the one
    // being read.
    if (readingDraft())
        return;
    m_saveDraftTask.stop();
    m_unsavedSince.reset();
    m_draft.body = serializedBody();
    mergeAttachments(m_content);
    // The whole store: an image whose text the user deleted may come back
    // with an undo.
    m_draft.attachments = m_attachmentStore;
    m_draft.imageReferences = m_imageReferences;
    try {
        setUnreadableDraftAside();
    } catch (const Error&) {
        publishDraftWrite(std::current_exception());
        return;
    }
    // A copy sharing the images' bytes: the writer's thread reads them while
    // this one goes on.
    m_draftWriter->write(m_draft);
}

void AppModel::publishDraftWrite(const std::exception_ptr& failure)
{
    if (failure) {
        QString reason;
        try {
            std::rethrow_exception(failure);
        } catch (const Error& error) {
            reason = error.localizedDescription();
        } catch (const std::exception& error) {
            reason = QString::fromLocal8Bit(error.what());
        }
        const QString message = L10n::format(QStringLiteral("Le brouillon n’a pas pu être sauvegardé : %@"), {reason});
        setDraftPersistenceError(message);
        setDraftState(DraftState::failed(message));
        return;
    }
    setDraftPersistenceError(std::nullopt);
    // Edits made since this write began are not saved yet.
    const bool current = !m_unsavedSince && !m_draftWriter->busy();
    if (current && m_draftState != DraftState::restored())
        setDraftState(hasContent() ? DraftState::saved() : DraftState::empty());
    Q_EMIT draftWritten();
}

void AppModel::setUnreadableDraftAside()
{
    // The file start-up could not read may still be the user's only copy of
    // a draft: it goes to Recovered rather than under the new one.
    if (!m_unreadableDraftOnDisk)
        return;
    FileSystem::createDirectories(m_dataDirectory);
    if (FileSystem::exists(m_dataDirectory + QLatin1Char('/') + DataDirectory::draftFileName()))
        keepUnreadableFileAside(DataDirectory::draftFileName());
    m_unreadableDraftOnDisk = false;
}

void AppModel::writeDraft(const Capture& draft)
{
    setUnreadableDraftAside();
    m_draftWriter->writeNow(draft);
}

void AppModel::archiveAndClearDraft()
{
    if (m_saving || readingDraft())
        return;
    persistDraft();
    if (m_draftPersistenceError)
        throw PlatformError(QStringLiteral("Quillor"), 1, *m_draftPersistenceError);
    if (hasContent())
        CaptureArchive{m_dataDirectory}.preserve(m_draft);

    const Capture next = newEmptyDraft(m_draft.destinationID);
    writeDraft(next);

    m_draft = next;
    m_attachmentStore.clear();
    setImageReferences({});
    m_restoredDestinationMissing = false;
    Q_EMIT modelChanged();

    const EditorContent empty;
    updateContent(empty);
    if (onContentChange)
        onContentChange(empty);
    persistDraft();
}

} // namespace quillor
