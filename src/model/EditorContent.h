#pragma once

#include "core/Capture.h"
#include "core/Destination.h"
#include "core/TextRange.h"
#include "model/SpareText.h"

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// An image shown inline in the editor. It stands on one U+FFFC of the text and
// is tied back to its attachment by its file name, "<UUID>.<extension>"; images
// with any other name (pasted rich text) are kept but belong to no attachment.
struct InlineImage {
    qsizetype position = 0;                // of its U+FFFC in EditorContent::text
    QString fileName;
    std::optional<QByteArray> contents;    // absent when the editor has no bytes for it
    std::optional<QSizeF> displaySize;     // absent when the bytes are not an image

    // The UUID that the file name, less its extension, spells.
    std::optional<QUuid> attachmentID() const;
    // The file name's extension, without the dot; empty when it has none.
    QString fileExtension() const;

    bool operator==(const InlineImage&) const = default;
};

// The editor's text as the model holds it: plain text in which each inline
// image is one U+FFFC, plus those images in text order. All text is in the
// editor's default style: the typing attributes belong to the editor, which
// converts this value to and from its document.
struct EditorContent {
    QString text;
    QList<InlineImage> images;   // ascending positions, each on a U+FFFC of text

    static constexpr char16_t objectReplacementCharacter = u'\uFFFC';

    static EditorContent plain(const QString& text);

    bool isEmpty() const { return text.isEmpty(); }
    // The image standing at a position of the text, if any.
    const InlineImage* imageAt(qsizetype position) const;

    EditorContent& append(const QString& text);
    // Adds U+FFFC and the image, placed there whatever its position said.
    EditorContent& append(const InlineImage& image);
    EditorContent& append(const EditorContent& other);

    // Replaces a range of the text; images inside it go, later ones move.
    // With a spare, the text's characters are reused rather than copied where
    // readers have let them go (SpareText).
    void replace(TextRange range, const EditorContent& replacement, SpareText* spare = nullptr);

    bool operator==(const EditorContent&) const = default;
};

// How a capture's body and attachments become the editor's content and back.
namespace EditorContents {

// One inline image holding the attachment's bytes, named "<UUID>.<extension>"
// with the extension as stored.
EditorContent attachmentString(const CaptureAttachment& attachment);

// The body with each attachment's tokens replaced: by the reference's embed
// text when the capture has a reference for it, else by an inline image.
// Tokens of ids that are not among the attachments stay as text.
EditorContent render(const Capture& capture);

// Inline images tied to a UUID become tokens; everything else is copied.
QString serializedBody(const EditorContent& content);

// The attachments of the inline images that are tied to a UUID and hold
// bytes, first occurrence of each id only.
QList<CaptureAttachment> extractAttachments(const EditorContent& content);

// A draft whose body still holds tokens, made to refer to vault paths in the
// destination's attachment folder (existing references are reused). Nothing
// is written; imageReferences is always present afterwards.
Capture migrateImages(const Capture& capture, const Destination& destination);

// How large an inline image is shown: its natural size shrunk to fit
// 460 × 320, never enlarged.
QSizeF displaySize(const QSizeF& naturalSize);
// Absent when the bytes do not decode as an image.
std::optional<QSizeF> displaySize(const QByteArray& imageData);

} // namespace EditorContents
} // namespace quillor
