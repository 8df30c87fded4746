#include "model/Preferences.h"

#include "core/FileSystem.h"
#include "core/Json.h"
#include "core/L10n.h"

#include <QCollator>
#include <QJsonDocument>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <numeric>
#include <vector>

namespace quillor {
namespace {

namespace Key {
QString destinations() { return QStringLiteral("destinations"); }
QString defaultDestinationID() { return QStringLiteral("defaultDestinationID"); }
QString language() { return QStringLiteral("language"); }
QString automaticallyCheckUpdates() { return QStringLiteral("automaticallyCheckUpdates"); }
QString routePrefix() { return QStringLiteral("routePrefix"); }
QString hotkeyCode() { return QStringLiteral("hotkeyCode"); }
QString hotkeyModifiers() { return QStringLiteral("hotkeyModifiers"); }
QString hotkeyDisplay() { return QStringLiteral("hotkeyDisplay"); }
QString attachmentSettingsVersion() { return QStringLiteral("attachmentSettingsVersion"); }
} // namespace Key

// What a file without the key holds: the stored form of Control+Space, not the
// localised text a fresh value shows.
QString storedHotkeyDisplayDefault() { return QStringLiteral("⌃Space"); }

std::optional<quint32> optionalUInt32(const Json::Reader& reader, const QString& key)
{
    const auto value = reader.optionalInteger(key);
    if (!value)
        return std::nullopt;
    if (*value < 0 || *value > qint64(std::numeric_limits<quint32>::max()))
        throw JsonDecodingError(QStringLiteral("%1: out of range").arg(key));
    return quint32(*value);
}

// Files written before each destination carried its own attachment policy:
// the one shared policy (or, without one, each destination's own folder)
// becomes the policy of every destination that has none yet. A shared
// "obsidian" policy is what a destination without a policy already does.
void migrateLegacyAttachments(QList<Destination>& destinations, const std::optional<AttachmentPolicy>& legacy)
{
    for (Destination& destination : destinations) {
        if (destination.attachmentPolicy)
            continue;
        if (!legacy) {
            destination.attachmentPolicy =
                AttachmentPolicy{AttachmentPolicy::Location::specifiedFolder, destination.attachmentFolder};
        } else if (legacy->location == AttachmentPolicy::Location::obsidian) {
            continue;
        } else {
            destination.attachmentPolicy = legacy;
        }
        destination.useObsidianAttachments = false;
    }
}

// The order a file browser gives names. Qt compares plainly for the C locale
// (what a session with LANG=C.UTF-8 gets), ignoring numeric mode, and so does
// a build without ICU: "notes-10" would then come before "notes-2". The C
// locale has no collation rules of its own, so the language-neutral order of
// English stands in for it; a test guards the numeric order.
QCollator nameCollator()
{
    const QLocale locale;
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

} // namespace

Preferences::Preferences()
    : destinations{builtInDestination()}
    , defaultDestinationID(destinations.first().id)
    , hotkeyDisplay(L10n::text(QStringLiteral("⌃Espace")))
{
}

Destination Preferences::builtInDestination()
{
    return Destination(QUuid::createUuid(), QStringLiteral("Inbox"), QStringLiteral("inbox"), QString(),
                       DeliveryMode::newNote, QStringLiteral("Inbox"), QStringLiteral("Attachments/Quillor"));
}

// MARK: File form

Preferences Preferences::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    Preferences result;
    result.destinations = reader.list<Destination>(Key::destinations(), &Destination::fromJson);
    result.defaultDestinationID = reader.optionalUuid(Key::defaultDestinationID());
    result.language = reader.optionalString(Key::language());
    result.automaticallyCheckUpdates = reader.optionalBoolean(Key::automaticallyCheckUpdates()).value_or(true);
    result.routePrefix = reader.optionalString(Key::routePrefix()).value_or(QStringLiteral("@"));
    result.hotkeyCode = optionalUInt32(reader, Key::hotkeyCode()).value_or(49);
    result.hotkeyModifiers = optionalUInt32(reader, Key::hotkeyModifiers()).value_or(4096);
    result.hotkeyDisplay = reader.optionalString(Key::hotkeyDisplay()).value_or(storedHotkeyDisplayDefault());

    if (!reader.optionalInteger(Key::attachmentSettingsVersion())) {
        std::optional<AttachmentPolicy> legacy;
        if (const auto policy = reader.optionalObject(LegacyKeys::attachmentPolicy()))
            legacy = AttachmentPolicy::fromJson(*policy);
        migrateLegacyAttachments(result.destinations, legacy);
    }
    result.attachmentSettingsVersion = 1;
    result.ensureDefaultDestination();
    return result;
}

QJsonObject Preferences::toJson() const
{
    QJsonArray destinationArray;
    for (const Destination& destination : destinations)
        destinationArray.append(destination.toJson());
    return Json::Writer()
        .set(Key::destinations(), destinationArray)
        .setOptional(Key::defaultDestinationID(), defaultDestinationID)
        .setOptional(Key::language(), language)
        .set(Key::automaticallyCheckUpdates(), automaticallyCheckUpdates)
        .set(Key::routePrefix(), routePrefix)
        .set(Key::hotkeyCode(), qint64(hotkeyCode))
        .set(Key::hotkeyModifiers(), qint64(hotkeyModifiers))
        .set(Key::hotkeyDisplay(), hotkeyDisplay)
        .set(Key::attachmentSettingsVersion(), attachmentSettingsVersion)
        .object();
}

Preferences Preferences::decode(const QByteArray& bytes)
{
    return fromJson(Json::parseObject(bytes));
}

QByteArray Preferences::encode() const
{
    return QJsonDocument(toJson()).toJson(QJsonDocument::Compact);
}

LoadedPreferences Preferences::load(const QString& path)
{
    LoadedPreferences result;
    try {
        const auto bytes = FileSystem::readIfExists(path, maximumFileSize);
        if (!bytes)
            return result;
        result.preferences = decode(*bytes);
        result.outcome = LoadedPreferences::Outcome::loaded;
    } catch (const FileSystemError& error) {
        // A path component that is a file means there is no settings file
        // either; nothing would be worth setting aside.
        if (error.errnoValue() == ENOTDIR)
            return result;
        result.outcome = LoadedPreferences::Outcome::unreadable;
        result.problem = error.localizedDescription();
    } catch (const JsonDecodingError& error) {
        result.outcome = LoadedPreferences::Outcome::unreadable;
        result.problem = QString::fromUtf8(error.what());
    }
    return result;
}

void Preferences::save(const QString& path) const
{
    FileSystem::writeAtomically(path, encode());
}

// MARK: Destinations

QList<Destination> Preferences::alphabeticalDestinations() const
{
    struct SortKey {
        QString routingName;
        QString folderPath;
        QString idText;
    };
    std::vector<SortKey> keys;
    keys.reserve(destinations.size());
    for (const Destination& destination : destinations)
        keys.push_back({destination.routingName(), destination.folderPath(), Json::uuidText(destination.id)});

    const QCollator collator = nameCollator();
    std::vector<qsizetype> order(keys.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    // Not a strict weak order for every pair of names ("01" and "1"), which
    // the stable sort tolerates.
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (const int byName = collator.compare(keys[a].routingName, keys[b].routingName))
            return byName < 0;
        if (const int byFolder = collator.compare(keys[a].folderPath, keys[b].folderPath))
            return byFolder < 0;
        return keys[a].idText < keys[b].idText;
    });

    QList<Destination> sorted;
    sorted.reserve(destinations.size());
    for (const qsizetype index : order)
        sorted.append(destinations[index]);
    return sorted;
}

AttachmentPolicy Preferences::attachmentPolicy(const Destination& destination) const
{
    if (destination.useObsidianAttachments.value_or(true) && AttachmentPolicy::obsidianRoot(destination))
        return AttachmentPolicy{AttachmentPolicy::Location::obsidian, QStringLiteral("Attachments")};
    if (destination.attachmentPolicy)
        return *destination.attachmentPolicy;
    return AttachmentPolicy{AttachmentPolicy::Location::sameFolder, QStringLiteral("Attachments")};
}

QList<Destination> Preferences::deliveryDestinations() const
{
    QList<Destination> result;
    result.reserve(destinations.size());
    for (const Destination& destination : destinations)
        result.append(attachmentPolicy(destination).applying(destination));
    return result;
}

void Preferences::ensureDefaultDestination()
{
    const bool named = defaultDestinationID
        && std::any_of(destinations.cbegin(), destinations.cend(),
                       [&](const Destination& destination) { return destination.id == *defaultDestinationID; });
    if (named)
        return;
    defaultDestinationID = destinations.isEmpty() ? std::nullopt : std::optional(destinations.first().id);
}

} // namespace quillor
