#include "core/AttachmentPolicy.h"

#include "core/Json.h"
#include "core/L10n.h"

#include <QHash>

namespace quillor {

QList<AttachmentPolicy::Location> AttachmentPolicy::allLocations()
{
    return {Location::obsidian,  Location::vaultRoot,       Location::sameFolder,
            Location::subfolder, Location::specifiedFolder, Location::absoluteFolder};
}

QString AttachmentPolicy::rawValue(Location location)
{
    switch (location) {
    case Location::obsidian: return QStringLiteral("obsidian");
    case Location::vaultRoot: return QStringLiteral("vaultRoot");
    case Location::sameFolder: return QStringLiteral("sameFolder");
    case Location::subfolder: return QStringLiteral("subfolder");
    case Location::specifiedFolder: return QStringLiteral("specifiedFolder");
    case Location::absoluteFolder: return QStringLiteral("absoluteFolder");
    }
    Q_UNREACHABLE();
}

std::optional<AttachmentPolicy::Location> AttachmentPolicy::locationFromRawValue(const QString& rawValue)
{
    for (const Location candidate : allLocations()) {
        if (AttachmentPolicy::rawValue(candidate) == rawValue)
            return candidate;
    }
    return std::nullopt;
}

QString AttachmentPolicy::label(Location location)
{
    switch (location) {
    case Location::obsidian: return L10n::text(QStringLiteral("Suivre les réglages d’Obsidian"));
    case Location::vaultRoot: return L10n::text(QStringLiteral("Racine du dossier de notes"));
    case Location::sameFolder: return L10n::text(QStringLiteral("Même dossier que la note"));
    case Location::subfolder: return L10n::text(QStringLiteral("Dans un sous-dossier du dossier de la note"));
    case Location::specifiedFolder: return L10n::text(QStringLiteral("Dans le dossier spécifié"));
    case Location::absoluteFolder: return L10n::text(QStringLiteral("Dossier fixe (chemin absolu)"));
    }
    Q_UNREACHABLE();
}

QJsonObject AttachmentPolicy::toJson() const
{
    return Json::Writer().set(QStringLiteral("location"), rawValue(location)).set(QStringLiteral("folder"), folder).object();
}

AttachmentPolicy AttachmentPolicy::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    const QString raw = reader.string(QStringLiteral("location"));
    const auto parsed = locationFromRawValue(raw);
    if (!parsed)
        throw JsonDecodingError(QStringLiteral("location: unknown value \"%1\"").arg(raw));
    return AttachmentPolicy{*parsed, reader.string(QStringLiteral("folder"))};
}

size_t qHash(const AttachmentPolicy& policy, size_t seed) noexcept
{
    return qHashMulti(seed, int(policy.location), policy.folder);
}

} // namespace quillor
