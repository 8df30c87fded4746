#pragma once

#include "core/AttachmentPolicy.h"
#include "core/Destination.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>
#include <QtGlobal>

#include <optional>

namespace quillor {

struct LoadedPreferences;

// Every user setting, stored as preferences.json in the data directory.
// A plain value: copies are independent and compare field by field, which is
// how start-up and the settings window tell whether anything changed.
struct Preferences {
    // Every delivery destination in the user's order; the first one is the
    // fallback wherever a default is needed.
    QList<Destination> destinations;
    // The destination used when a capture names none.
    std::optional<QUuid> defaultDestinationID;
    // The interface language the user chose; absent means the system's.
    std::optional<QString> language;
    bool automaticallyCheckUpdates = true;
    // Starts a route at the head of a capture; may be empty.
    QString routePrefix = QStringLiteral("@");
    // The global hot key, kept in the stored encoding so files stay
    // interchangeable: a virtual key code (49 is Space) and a modifier mask
    // (command 256, shift 512, option 2048, control 4096). The platform layer
    // translates both when it registers the key.
    quint32 hotkeyCode = 49;
    quint32 hotkeyModifiers = 4096;
    QString hotkeyDisplay;
    // Version of the per-destination attachment settings. Only its presence in
    // a file matters on reading; a loaded value always carries 1.
    qint64 attachmentSettingsVersion = 1;

    // The key of the settings file that held one attachment policy for every
    // destination before each destination carried its own.
    struct LegacyKeys {
        static QString attachmentPolicy() { return QStringLiteral("attachmentPolicy"); }
    };

    // The fresh value: one "Inbox" destination with a new id, which is also
    // the default; prefix "@"; Control+Space, stored with the localised label "⌃Espace".
    Preferences();

    // The destination a fresh value starts with (a new id at every call); also
    // what stands in wherever a destination is needed and none exists.
    static Destination builtInDestination();

    // The file form. Decoding is strict and fails as a whole with
    // JsonDecodingError: only "destinations" is required, null counts as a
    // missing key, a wrong type, a number out of range or a malformed nested
    // object fails. A file without "attachmentSettingsVersion" gets the legacy
    // attachment migration, and the default destination is repaired.
    static Preferences fromJson(const QJsonObject& object);
    // "defaultDestinationID" and "language" are left out when absent; the
    // other seven keys are always written.
    QJsonObject toJson() const;
    // The bytes of preferences.json: compact JSON.
    static Preferences decode(const QByteArray& bytes);
    QByteArray encode() const;

    // Reads preferences.json at `path`. Never throws: the result tells a file
    // that is not there from one that is there but cannot be used (an I/O
    // error or bytes that do not decode), so start-up can write fresh settings
    // for the first and set the second aside before anything overwrites it.
    static LoadedPreferences load(const QString& path);
    // Far above any real settings file: a larger one is unreadable, not read.
    static constexpr qsizetype maximumFileSize = 16 * 1024 * 1024;
    // Encodes the whole value and replaces the file at `path` atomically and
    // durably. Throws FileSystemError; the parent folder must exist.
    void save(const QString& path) const;

    // The destinations sorted for display: by routing name, then folder path,
    // under the comparison a file browser uses for names (case-insensitive,
    // digit runs compared as numbers, locale-aware), then by id text. Stable.
    QList<Destination> alphabeticalDestinations() const;

    // The policy that actually applies to `destination`: the Obsidian vault's
    // own setting when the destination follows it and lies in such a vault,
    // else its own policy, else the note's folder. Looks at the file system at
    // every call, since a ".obsidian" folder may appear at any time.
    AttachmentPolicy attachmentPolicy(const Destination& destination) const;

    // The destinations as delivery sees them: each with its policy applied
    // (possibly re-rooted at its vault root, bookmark then dropped), same
    // length, order and ids as `destinations`.
    QList<Destination> deliveryDestinations() const;

    // Keeps defaultDestinationID when it names a destination; otherwise the
    // first destination's id, or absent when there is none.
    void ensureDefaultDestination();

    bool operator==(const Preferences&) const = default;
};

// What Preferences::load found at a path.
struct LoadedPreferences {
    enum class Outcome {
        loaded,       // the file decoded: `preferences` is its value
        missing,      // no file there: `preferences` is a fresh value
        unreadable,   // a file that cannot be read or decoded: `preferences`
                      // is a fresh value, `problem` says why (for logs)
    };

    Outcome outcome = Outcome::missing;
    Preferences preferences;
    QString problem;
};

} // namespace quillor
