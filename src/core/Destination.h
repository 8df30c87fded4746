#pragma once

#include "core/AttachmentPolicy.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace quillor {

enum class DeliveryMode { newNote, appendNote, dailyNote };

namespace DeliveryModes {
QList<DeliveryMode> allCases();
QString rawValue(DeliveryMode mode);
std::optional<DeliveryMode> fromRawValue(const QString& rawValue);
QString label(DeliveryMode mode);   // "Nouvelle note", "Ajouter à une note", "Note du jour"
} // namespace DeliveryModes

// A place captures are delivered to.
struct Destination {
    QUuid id;
    QString name;
    QString alias;
    std::optional<QByteArray> vaultBookmark;
    QString vaultPath;
    DeliveryMode mode = DeliveryMode::newNote;
    QString path;
    QString attachmentFolder;
    std::optional<AttachmentPolicy> attachmentPolicy;
    std::optional<bool> useObsidianAttachments;

    Destination() = default;
    Destination(const QUuid& id, const QString& name, const QString& alias, const QString& vaultPath,
                DeliveryMode mode, const QString& path, const QString& attachmentFolder);

    // The absolute folder that receives the notes (no trailing "/").
    QString folderPath() const;
    // The slug under which the destination is routed.
    QString routingName() const;
    // routingName then alias, each left out when empty.
    QStringList routingTokens() const;
    // The label shown in menus: "Inbox", or "Inbox · in" with a distinct alias.
    QString displayName() const;
    bool matchesDestination(const QString& query) const;

    // Any text as a slug: diacritics and widths folded, runs of letters,
    // numbers, "_" and "-" joined with "-", outer "-" removed.
    static QString routingName(const QString& text);

    QJsonObject toJson() const;
    static Destination fromJson(const QJsonObject& object);

    // path, or for appendNote the folder of the note (relative to vaultPath).
    QString noteFolder() const;

    bool operator==(const Destination&) const = default;
};

size_t qHash(const Destination& destination, size_t seed = 0) noexcept;

} // namespace quillor
