#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillor {

struct Destination;

// Where a destination puts the images of a capture.
struct AttachmentPolicy {
    enum class Location { obsidian, vaultRoot, sameFolder, subfolder, specifiedFolder, absoluteFolder };

    Location location = Location::obsidian;
    // Meaning depends on the location: one folder name (subfolder), a
    // vault-relative path (specifiedFolder), an absolute path (absoluteFolder).
    QString folder;

    static QList<Location> allLocations();
    static QString rawValue(Location location);
    static std::optional<Location> locationFromRawValue(const QString& rawValue);
    static QString label(Location location);

    // Both keys are written and both are required; an unknown location text
    // throws JsonDecodingError.
    QJsonObject toJson() const;
    static AttachmentPolicy fromJson(const QJsonObject& object);

    // The folders that stand for "no usable folder". Both start with "..", so
    // the safe-path checks refuse them wherever they are used.
    static QString outsideVaultFolder() { return QStringLiteral("../outside-vault"); }
    static QString invalidObsidianSettingsFolder() { return QStringLiteral("../invalid-obsidian-settings"); }

    // What is wrong with `folder` for this location, or nullopt when usable.
    std::optional<QString> configurationIssue() const;
    // The attachment folder relative to the vault root of the destination,
    // once re-rooted at its Obsidian vault where the location asks for it.
    QString relativeFolder(const Destination& destination) const;
    // The nearest folder at or above the destination's note folder that holds
    // a ".obsidian" folder.
    static std::optional<QString> obsidianRoot(const Destination& destination);
    // What the user reads when a destination's attachment folder is
    // invalidObsidianSettingsFolder(): the vault's setting in
    // .obsidian/app.json cannot be used, with its value when there is one.
    static QString unusableObsidianSettingMessage(const Destination& destination);
    // The destination as it is delivered to: re-rooted where needed, with
    // attachmentFolder replaced by relativeFolder(). A destination inside an
    // Obsidian vault that lies below its vault path is delivered relative to
    // that vault, so that every link written into its notes, the check of
    // embeds and the note completions resolve as Obsidian resolves them.
    Destination applying(const Destination& destination) const;

    bool operator==(const AttachmentPolicy&) const = default;

private:
    Destination resolvedDestination(const Destination& destination) const;
};

size_t qHash(const AttachmentPolicy& policy, size_t seed = 0) noexcept;

} // namespace quillor
