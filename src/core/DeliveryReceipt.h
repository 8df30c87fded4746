#pragma once

#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// The proof of one delivery, kept in Receipts/<capture UUID>.json. Built
// memberwise: DeliveryReceipt{captureID, path, date} and, when known, the
// destination's name and id, the vault id and the note's vault-relative path.
struct DeliveryReceipt {
    QString captureID;   // upper-case UUID text
    QString path;        // absolute path of the note written
    QString date;        // ISO 8601 in UTC, whole seconds (DateFormats::iso8601)
    std::optional<QString> destinationName = std::nullopt;
    std::optional<QUuid> destinationID = std::nullopt;
    std::optional<QUuid> vaultID = std::nullopt;
    std::optional<QString> relativePath = std::nullopt;

    // The largest receipt file read: two paths of at most 4 KB and a name
    // leave it far below this. A larger file is no receipt of ours.
    static constexpr qsizetype maximumFileSize = 64 * 1024;

    QJsonObject toJson() const;
    // Throws JsonDecodingError when a text key is missing or any key present
    // has the wrong type; a null optional key reads as absent.
    static DeliveryReceipt fromJson(const QJsonObject& object);

    bool operator==(const DeliveryReceipt&) const = default;
};

} // namespace quillor
