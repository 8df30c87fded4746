#include "model/AppModel.h"

#include "core/AttachmentPolicy.h"
#include "core/CaptureError.h"
#include "core/Error.h"
#include "core/ImageReferences.h"
#include "core/L10n.h"
#include "model/VaultAccess.h"

#include <algorithm>
#include <utility>

namespace quillor {

namespace {

// An image the editor handed over that can never be delivered as it is.
class RefusedImage : public Error {
public:
    explicit RefusedImage(QString description) : m_description(std::move(description)) {}
    QString localizedDescription() const override { return m_description; }

private:
    QString m_description;
};

// Checked for every image before any is recorded, so that a refused batch
// leaves the draft as it was. Linked files are not images and pass.
void admit(const CaptureAttachment& attachment)
{
    if (attachment.isFile.value_or(false))
        return;
    if (attachment.data.size() > AppModel::maximumImageBytes)
        throw RefusedImage(L10n::text(QStringLiteral("Cette image dépasse 50 Mo.")));
    // The editor shows only what decodes; anything else would reach the
    // vault as a file no viewer opens.
    if (!EditorContents::displaySize(attachment.data))
        throw RefusedImage(L10n::text(QStringLiteral("Cette image est illisible.")));
}

// What draft.json takes at most for `attachments`: their bytes in Base64, a
// third larger, with room for the keys, id and name around each.
qint64 encodedSize(const QList<CaptureAttachment>& attachments)
{
    qint64 size = 0;
    for (const CaptureAttachment& attachment : attachments)
        size += (attachment.data.size() + 2) / 3 * 4 + attachment.originalFilename.value_or(QString()).size() * 3 + 256;
    return size;
}

} // namespace

QList<CaptureAttachment> AppModel::currentAttachments() const
{
    QList<CaptureAttachment> current;
    for (const CaptureAttachment& attachment : m_attachmentStore) {
        const bool shown = std::any_of(m_imageReferences.cbegin(), m_imageReferences.cend(),
                                       [&](const ImageReference& reference) {
                                           return reference.attachmentID == attachment.id
                                               && m_content.text.contains(reference.source());
                                       });
        if (shown)
            current.append(attachment);
    }
    return current;
}

EditorContent AppModel::addImages(const QList<CaptureAttachment>& attachments)
{
    const std::optional<Route> route = routeResolution().route();
    if (!route)
        throw CaptureError::missingVault();
    const Destination destination = imageTarget(route->destination);
    // Said as the settings window says it: the path error alone would not
    // lead the user to the vault's own settings file.
    if (destination.attachmentFolder == AttachmentPolicy::invalidObsidianSettingsFolder())
        throw RefusedImage(AttachmentPolicy::unusableObsidianSettingMessage(destination));
    std::for_each(attachments.cbegin(), attachments.cend(), admit);
    // The draft keeps every image added while it lives, removed ones too: a
    // draft.json start-up would set aside unread must never be written. The
    // text counts at three bytes a UTF-16 unit, its most in UTF-8, and a
    // sixteenth of the room is left for what is typed later.
    const qint64 room = m_environment.maximumDraftFileSize - m_environment.maximumDraftFileSize / 16;
    if (encodedSize(m_attachmentStore) + encodedSize(attachments) + m_content.text.size() * 3 > room)
        throw RefusedImage(L10n::text(
            QStringLiteral("Cette image rendrait le brouillon trop volumineux pour être rouvert : les images déjà "
                           "ajoutées, même retirées, y restent jusqu’à l’envoi. Le brouillon est conservé.")));

    // A destination without a folder yet keeps its images beside the draft
    // until one is chosen.
    const QString root = destination.vaultPath.isEmpty() ? m_dataDirectory : destination.vaultPath;
    QString embeds;
    for (const CaptureAttachment& attachment : attachments) {
        const ImageReference reference =
            ImageReferences::resolve(attachment, root, destination.attachmentFolder, std::nullopt);
        m_attachmentStore.append(attachment);
        setImageReferences(m_imageReferences + QList<ImageReference>{reference});
        embeds += reference.source() + u'\n';
    }
    return EditorContent::plain(embeds);
}

void AppModel::setReadingImages(bool reading)
{
    m_readingImages = reading;
    if (reading)
        return;
    if (std::exchange(m_sendAwaitingImages, false)) {
        setSaving(false);
        submit();
    }
    for (const std::function<void()>& then : std::exchange(m_afterImagesRead, {}))
        then();
}

void AppModel::whenImagesRead(std::function<void()> then)
{
    if (m_readingImages)
        m_afterImagesRead.append(std::move(then));
    else
        then();
}

Destination AppModel::imageTarget(const Destination& routeDestination)
{
    // Access goes through the destination as the settings store it: its
    // delivery form may have lost the bookmark to a re-rooting. The built-in
    // inbox of empty settings is stored nowhere and is used as it is.
    const QList<Destination>& stored = m_preferences.destinations;
    const auto found = std::find_if(stored.cbegin(), stored.cend(), [&](const Destination& destination) {
        return destination.id == routeDestination.id;
    });
    const Destination restored = m_vaultAccess.restored(found != stored.cend() ? *found : routeDestination);
    return m_preferences.attachmentPolicy(restored).applying(restored);
}

} // namespace quillor
