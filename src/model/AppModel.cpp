#include "model/AppModel.h"

#include "core/Delivery.h"
#include "model/DataDirectory.h"
#include "updates/AppUpdates.h"

#include <utility>

namespace quillor {

namespace {

// Assigns and tells whether the value changed, so each setter notifies only
// on a real change.
template <typename T>
bool assign(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

QString AppModel::support()
{
    return DataDirectory::support();
}

QFuture<QString> AppModel::startDelivery(const Capture& capture, const Destination& destination)
{
    if (m_environment.deliver)
        return m_environment.deliver(capture, destination);
    return m_writer->save(capture, destination);
}

// MARK: Editor content

EditorContent AppModel::attachmentString(const CaptureAttachment& attachment)
{
    return EditorContents::attachmentString(attachment);
}

EditorContent AppModel::render(const Capture& capture)
{
    return EditorContents::render(capture);
}

QList<CaptureAttachment> AppModel::extractAttachments(const EditorContent& text)
{
    return EditorContents::extractAttachments(text);
}

Capture AppModel::migrateImages(const Capture& capture, const Destination& destination)
{
    return EditorContents::migrateImages(capture, destination);
}

QString AppModel::serializedBody() const
{
    return EditorContents::serializedBody(m_content);
}

// MARK: Setters

void AppModel::setError(const std::optional<QString>& error)
{
    // An image that could not go in calls off the send that waited for it.
    if (error && std::exchange(m_sendAwaitingImages, false))
        setSaving(false);
    if (assign(m_error, error))
        Q_EMIT errorChanged();
}

void AppModel::setHotkeyLabel(const QString& label)
{
    if (assign(m_hotkeyLabel, label))
        Q_EMIT hotkeyLabelChanged();
}

void AppModel::setRecordingShortcut(bool recording)
{
    if (assign(m_recordingShortcut, recording))
        Q_EMIT recordingShortcutChanged();
}

void AppModel::setShortcutError(const std::optional<QString>& error)
{
    if (assign(m_shortcutError, error))
        Q_EMIT shortcutErrorChanged();
}

void AppModel::setChoosingVault(bool value)
{
    if (assign(m_choosingVault, value))
        Q_EMIT choosingVaultChanged();
}

void AppModel::setFolderAccessFailed(bool value)
{
    if (assign(m_folderAccessFailed, value))
        Q_EMIT folderAccessFailedChanged();
}

void AppModel::setPreferences(const Preferences& value)
{
    if (assign(m_preferences, value))
        Q_EMIT preferencesChanged();
}

void AppModel::setContent(const EditorContent& value)
{
    if (assign(m_content, value))
        Q_EMIT contentChanged();
}

void AppModel::setStatus(const QString& value)
{
    if (assign(m_status, value))
        Q_EMIT statusChanged();
}

void AppModel::setSaving(bool value)
{
    if (assign(m_saving, value))
        Q_EMIT savingChanged();
}

void AppModel::setCompletions(const QList<Completion>& value)
{
    if (assign(m_completions, value))
        Q_EMIT completionsChanged();
    if (onSuggestionsChanged)
        onSuggestionsChanged();
}

void AppModel::setCompletionIndex(int value)
{
    if (assign(m_completionIndex, value))
        Q_EMIT completionIndexChanged();
    if (onSuggestionsChanged)
        onSuggestionsChanged();
}

void AppModel::setIndexCount(int value)
{
    if (assign(m_indexCount, value))
        Q_EMIT indexCountChanged();
}

void AppModel::setDraftPersistenceError(const std::optional<QString>& value)
{
    if (assign(m_draftPersistenceError, value))
        Q_EMIT draftPersistenceErrorChanged();
}

void AppModel::setDraftState(const DraftState& value)
{
    if (assign(m_draftState, value))
        Q_EMIT draftStateChanged();
}

void AppModel::setIndexState(const IndexState& value)
{
    if (assign(m_indexState, value))
        Q_EMIT indexStateChanged();
}

void AppModel::setSettingsError(const std::optional<QString>& value)
{
    // A refusal repeated word for word is news all the same: the settings
    // window shows it under the section the user is in now.
    if (assign(m_settingsError, value) || value)
        Q_EMIT settingsErrorChanged();
}

void AppModel::setLatestReceipt(const std::optional<DeliveryReceipt>& value)
{
    if (assign(m_latestReceipt, value))
        Q_EMIT latestReceiptChanged();
}

void AppModel::setImageReferences(const QList<ImageReference>& value)
{
    if (assign(m_imageReferences, value))
        Q_EMIT imageReferencesChanged();
}

AppUpdates& AppModel::updates()
{
    if (!m_updates)
        m_updates = std::make_unique<AppUpdates>(m_dataDirectory);
    return *m_updates;
}

} // namespace quillor
