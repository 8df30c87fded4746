#pragma once

#include "core/Destination.h"
#include "core/DestinationValidation.h"
#include "model/Preferences.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// One problem that keeps the settings window from applying its copy: the
// destination concerned (none for a settings-wide problem), the field and the
// message shown next to it.
struct SettingsBlocker {
    std::optional<QUuid> destinationID;
    QString field;
    QString message;

    // Identity in a list: destination (or "settings"), field and message.
    QString id() const;
    // The row the window scrolls to: "destination-<UUID>-<field>" or the field.
    QString target() const;
    // The field that takes the keyboard focus: "<UUID>-<field>" or the field.
    QString focusValue() const;

    bool operator==(const SettingsBlocker&) const = default;
};

namespace SettingsValidation {

// Every blocker of `preferences`, in the order the window reveals them:
// destination findings, no destination, mode changes still to confirm, the
// route prefix, then attachment folders.
QList<SettingsBlocker> blockers(const Preferences& preferences, const QSet<QUuid>& confirmations,
                                bool allowUnconfiguredVaults);
// The same from the destination findings already computed for `preferences`
// (they look at the file system).
QList<SettingsBlocker> blockers(const Preferences& preferences, const QSet<QUuid>& confirmations,
                                const QList<DestinationIssue>& issues);

// The text form of a destination id used in row identifiers and focus values.
QString idText(const QUuid& id);

// `folder` relative to the notes folder at `vaultPath`, both with "." and ".."
// removed and symbolic links resolved: "" for the notes folder itself,
// nothing when it lies outside (a sibling whose name merely starts the same
// way included) or when `vaultPath` is empty.
std::optional<QString> relativeFolder(const QString& folder, const QString& vaultPath);

// A vault-relative path made absolute in the destination's notes folder;
// unchanged when the destination has none.
QString fullPath(const QString& relativePath, const Destination& destination);

// A folder path with "." and ".." removed and symbolic links resolved as far
// as the folder exists.
QString resolvedFolder(const QString& path);

} // namespace SettingsValidation
} // namespace quillor
