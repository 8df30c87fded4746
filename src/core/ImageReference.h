#pragma once

#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// Where an attachment of a capture was (or will be) written in the vault.
struct ImageReference {
    QUuid attachmentID;
    QString path;                 // vault-relative, "/" separated
    std::optional<bool> isFile;   // true: a linked file; false or absent: an embedded image

    // "![[path]]" for an image, "[[path]]" for a linked file.
    QString source() const;

    QJsonObject toJson() const;
    static ImageReference fromJson(const QJsonObject& object);

    bool operator==(const ImageReference&) const = default;
};

size_t qHash(const ImageReference& reference, size_t seed = 0) noexcept;

} // namespace quillor
