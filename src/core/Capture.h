#pragma once

#include "core/Destination.h"
#include "core/ImageReference.h"
#include "core/ReferenceDate.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// One image or file carried by a capture.
struct CaptureAttachment {
    QUuid id;
    QByteArray data;
    QString fileExtension;               // without the dot, as given
    std::optional<bool> isFile;          // true: a linked file
    std::optional<QString> originalFilename;

    CaptureAttachment() = default;
    CaptureAttachment(const QUuid& id, const QByteArray& data, const QString& fileExtension,
                      std::optional<bool> isFile = std::nullopt,
                      std::optional<QString> originalFilename = std::nullopt);

    // "{{quillor-image:<UPPER-CASE UUID>}}", the placeholder in a body.
    QString token() const;
    static QString tokenPrefix() { return QStringLiteral("{{quillor-image:"); }

    QJsonObject toJson() const;
    static CaptureAttachment fromJson(const QJsonObject& object);

    bool operator==(const CaptureAttachment&) const = default;
};

// One capture: what drafts, history, receipts and delivery pass around.
struct Capture {
    QUuid id;
    ReferenceDate createdAt;
    std::optional<QString> timeZoneIdentifier;
    QString body;
    QList<CaptureAttachment> attachments;
    std::optional<QList<ImageReference>> imageReferences;
    std::optional<QUuid> destinationID;
    std::optional<Destination> deliveryDestination;
    std::optional<QUuid> deliveryVaultID;
    std::optional<bool> usesExplicitDestination;

    // The largest file of one capture in its JSON form that is read: a
    // capture holds its text and its images, each at most 50 MB, as Base64 (a
    // third larger). This leaves room for about two dozen; a larger file is
    // not one the program wrote.
    static constexpr qsizetype maximumFileSize = qsizetype(1536) * 1024 * 1024;

    Capture() = default;
    // Takes the time zone of the process and marks the destination explicit.
    Capture(const QUuid& id, const ReferenceDate& createdAt, const QString& body,
            const QList<CaptureAttachment>& attachments, const std::optional<QUuid>& destinationID);

    QJsonObject toJson() const;
    static Capture fromJson(const QJsonObject& object);

    bool operator==(const Capture&) const = default;
};

} // namespace quillor
