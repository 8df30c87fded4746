#include "model/EditorContent.h"

#include "core/Json.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace quillor {

namespace {

constexpr qreal maximumDisplayWidth = 460;
constexpr qreal maximumDisplayHeight = 320;

QString tokenFor(const QUuid& id)
{
    CaptureAttachment attachment;
    attachment.id = id;
    return attachment.token();
}

// The name less its extension, as a path's last component: a leading dot
// starts a hidden name, not an extension.
qsizetype extensionDot(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? dot : -1;
}

std::optional<ImageReference> referenceFor(const QList<ImageReference>& references, const QUuid& id)
{
    const auto found = std::find_if(references.cbegin(), references.cend(),
                                    [&](const ImageReference& reference) { return reference.attachmentID == id; });
    if (found == references.cend())
        return std::nullopt;
    return *found;
}

QString joinedNonEmpty(const QStringList& parts)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (!part.isEmpty())
            kept.append(part);
    }
    return kept.join(u'/');
}

ImageReference newReference(const CaptureAttachment& attachment, const Destination& destination)
{
    const QString fileName = Json::uuidText(attachment.id) + u'.' + attachment.fileExtension.toLower();
    return ImageReference{attachment.id, joinedNonEmpty({destination.attachmentFolder, fileName}), std::nullopt};
}

// Each occurrence is replaced once and the search goes on after the inserted
// text, so a replacement that itself contains the token (a crafted reference
// path) cannot make this loop forever.
void replaceEveryOccurrence(EditorContent& content, const QString& token, const EditorContent& replacement)
{
    qsizetype from = 0;
    for (qsizetype at = content.text.indexOf(token, from); at >= 0; at = content.text.indexOf(token, from)) {
        content.replace(TextRange{at, token.size()}, replacement);
        from = at + replacement.text.size();
    }
}

} // namespace

// MARK: InlineImage

std::optional<QUuid> InlineImage::attachmentID() const
{
    const qsizetype dot = extensionDot(fileName);
    return Json::parseUuid(dot < 0 ? fileName : fileName.left(dot));
}

QString InlineImage::fileExtension() const
{
    const qsizetype dot = extensionDot(fileName);
    return dot < 0 ? QString() : fileName.mid(dot + 1);
}

// MARK: EditorContent

EditorContent EditorContent::plain(const QString& text)
{
    return EditorContent{text, {}};
}

const InlineImage* EditorContent::imageAt(qsizetype position) const
{
    const auto found = std::lower_bound(images.cbegin(), images.cend(), position,
                                        [](const InlineImage& image, qsizetype at) { return image.position < at; });
    return found != images.cend() && found->position == position ? &*found : nullptr;
}

EditorContent& EditorContent::append(const QString& more)
{
    text.append(more);
    return *this;
}

EditorContent& EditorContent::append(const InlineImage& image)
{
    InlineImage placed = image;
    placed.position = text.size();
    text.append(QChar(objectReplacementCharacter));
    images.append(placed);
    return *this;
}

EditorContent& EditorContent::append(const EditorContent& other)
{
    replace(TextRange{text.size(), 0}, other);
    return *this;
}

void EditorContent::replace(TextRange range, const EditorContent& replacement, SpareText* spare)
{
    const qsizetype start = std::clamp<qsizetype>(range.location, 0, text.size());
    const qsizetype end = std::clamp<qsizetype>(range.end(), start, text.size());
    const qsizetype shift = replacement.text.size() - (end - start);

    QList<InlineImage> placed;
    placed.reserve(images.size() + replacement.images.size());
    for (const InlineImage& image : std::as_const(images)) {
        if (image.position < start)
            placed.append(image);
    }
    for (InlineImage image : replacement.images) {
        image.position += start;
        placed.append(image);
    }
    for (InlineImage image : std::as_const(images)) {
        if (image.position >= end) {
            image.position += shift;
            placed.append(image);
        }
    }
    if (spare)
        spare->replace(text, start, end - start, replacement.text);
    else
        text.replace(start, end - start, replacement.text);
    images = placed;
}

// MARK: EditorContents

namespace EditorContents {

EditorContent attachmentString(const CaptureAttachment& attachment)
{
    InlineImage image;
    image.fileName = Json::uuidText(attachment.id) + u'.' + attachment.fileExtension;
    image.contents = attachment.data;
    image.displaySize = displaySize(attachment.data);
    return EditorContent().append(image);
}

EditorContent render(const Capture& capture)
{
    const QList<ImageReference> references = capture.imageReferences.value_or(QList<ImageReference>());
    EditorContent result = EditorContent::plain(capture.body);
    for (const CaptureAttachment& attachment : capture.attachments) {
        const QString token = attachment.token();
        if (!result.text.contains(token))
            continue;
        const std::optional<ImageReference> reference = referenceFor(references, attachment.id);
        const EditorContent replacement =
            reference ? EditorContent::plain(reference->source()) : attachmentString(attachment);
        replaceEveryOccurrence(result, token, replacement);
    }
    return result;
}

QString serializedBody(const EditorContent& content)
{
    QString body;
    qsizetype copied = 0;
    for (const InlineImage& image : content.images) {
        const std::optional<QUuid> id = image.attachmentID();
        const bool standsOnItsCharacter = image.position >= copied && image.position < content.text.size()
                                          && content.text.at(image.position) == EditorContent::objectReplacementCharacter;
        if (!id || !standsOnItsCharacter)
            continue;
        if (copied == 0)
            body.reserve(content.text.size());
        body.append(QStringView(content.text).mid(copied, image.position - copied));
        body.append(tokenFor(*id));
        copied = image.position + 1;
    }
    // Without a token the body is the text itself, shared rather than copied:
    // the routing reads it on every keystroke.
    if (copied == 0)
        return content.text;
    body.append(QStringView(content.text).mid(copied));
    return body;
}

QList<CaptureAttachment> extractAttachments(const EditorContent& content)
{
    QList<CaptureAttachment> attachments;
    for (const InlineImage& image : content.images) {
        const std::optional<QUuid> id = image.attachmentID();
        if (!id || !image.contents)
            continue;
        const bool known = std::any_of(attachments.cbegin(), attachments.cend(),
                                       [&](const CaptureAttachment& attachment) { return attachment.id == *id; });
        if (!known)
            attachments.append(CaptureAttachment(*id, *image.contents, image.fileExtension()));
    }
    return attachments;
}

Capture migrateImages(const Capture& capture, const Destination& destination)
{
    Capture migrated = capture;
    QList<ImageReference> references = capture.imageReferences.value_or(QList<ImageReference>());
    for (const CaptureAttachment& attachment : capture.attachments) {
        const QString token = attachment.token();
        if (!migrated.body.contains(token))
            continue;
        std::optional<ImageReference> reference = referenceFor(references, attachment.id);
        if (!reference) {
            reference = newReference(attachment, destination);
            references.append(*reference);
        }
        migrated.body.replace(token, reference->source());
    }
    migrated.imageReferences = references;
    return migrated;
}

QSizeF displaySize(const QSizeF& naturalSize)
{
    const qreal scale = std::min({qreal(1), maximumDisplayWidth / std::max(naturalSize.width(), qreal(1)),
                                  maximumDisplayHeight / std::max(naturalSize.height(), qreal(1))});
    return naturalSize * scale;
}

std::optional<QSizeF> displaySize(const QByteArray& imageData)
{
    QBuffer buffer;
    buffer.setData(imageData);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader reader(&buffer);
    // The editor shows photos upright, so a quarter turn swaps the sides here too.
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return std::nullopt;
    // The header is enough for the common formats; the others are decoded.
    QSize size = reader.size();
    if (size.isValid()) {
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            size.transpose();
    } else {
        size = reader.read().size();
    }
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    return displaySize(QSizeF(size));
}

} // namespace EditorContents
} // namespace quillor
