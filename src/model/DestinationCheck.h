#pragma once

#include "core/Destination.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

struct Preferences;

// The settings' destinations as the file system showed them at one moment:
// each one's delivery form (its attachment policy applied, which looks for
// ".obsidian" folders and reads Obsidian's own settings) and the first
// validation message a capture to it would meet. Deriving it reads the disk:
// the model does so when the settings change and otherwise off the UI thread,
// and an edit only reads the result.
struct DestinationCheck {
    // The destinations as the settings hold them, which the rest was derived from.
    QList<Destination> stored;
    QList<Destination> delivered;
    // One per delivered destination, in its order.
    QList<std::optional<QString>> firstIssues;

    bool operator==(const DestinationCheck&) const = default;

    // Reads the disk; safe on any thread.
    static DestinationCheck of(const Preferences& preferences);
    // The first message for a destination in its delivery form: the one
    // found by the check for one of these, else found now (the built-in
    // inbox of empty settings, which has no folder to look at).
    std::optional<QString> firstIssue(const Destination& delivered) const;
    // The first validation message for a destination in its delivery form,
    // looked for now.
    static std::optional<QString> validationMessage(const Destination& delivered);
};

} // namespace quillor
