#pragma once

#include "core/Destination.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

namespace quillor {

// One finding about a destination: which one, which field ("alias", "path",
// "vaultPath", "attachmentFolder") and the localised message shown next to it.
struct DestinationIssue {
    QUuid destinationID;
    QString field;
    QString message;

    bool operator==(const DestinationIssue&) const = default;
};

namespace DestinationValidation {

// Checks every destination against the others and the file system; never
// throws. Findings come destination by destination, in the order of checks.
QList<DestinationIssue> issues(const QList<Destination>& destinations, bool allowUnconfiguredVaults);

// The example vault-relative note path shown to the user ("Inbox/date-identifiant.md",
// "Daily/2026-03-14.md", "Journal/Log.md"), dates in the system's time zone.
QString notePath(const Destination& destination, const QDateTime& date);

} // namespace DestinationValidation

// The edits the destinations editor applies when the mode or the folder changes.
namespace DestinationSettings {

Destination changingMode(const Destination& destination, DeliveryMode mode);
Destination namingFolder(const Destination& destination, const QString& selectedFolder);

} // namespace DestinationSettings
} // namespace quillor
