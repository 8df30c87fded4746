#include "updates/ReleaseCatalog.h"

#include "core/Json.h"
#include "updates/AppVersion.h"
#include "updates/UpdateError.h"

#include <QSysInfo>

#include <algorithm>

namespace quillor {

namespace {

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isAssetCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || isAsciiDigit(c) || c == u'-' || c == u'.'
        || c == u'_';
}

// A part of a minimum system version that reads as an integer: an optional
// sign, then digits, within qint64 ("+5" and "-1" count, " 5" does not).
std::optional<qint64> integerPart(const QString& part)
{
    const qsizetype digitsStart = (part.startsWith(u'+') || part.startsWith(u'-')) ? 1 : 0;
    if (part.size() == digitsStart || !std::all_of(part.begin() + digitsStart, part.end(), isAsciiDigit))
        return std::nullopt;
    bool ok = false;
    const qint64 value = part.toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// The integers of a minimum such as "14.6", padded with zeros to three;
// none when no part is an integer.
std::optional<std::array<qint64, 3>> minimumVersion(const QString& text)
{
    QList<qint64> numbers;
    for (const QString& part : text.split(u'.', Qt::SkipEmptyParts)) {
        if (const auto number = integerPart(part))
            numbers.append(*number);
    }
    if (numbers.isEmpty())
        return std::nullopt;
    numbers.resize(3, 0);
    return std::array<qint64, 3>{numbers[0], numbers[1], numbers[2]};
}

QStringList stringList(const Json::Reader& reader, const QString& key)
{
    QStringList result;
    for (const QJsonValue& value : reader.array(key)) {
        if (!value.isString())
            throw JsonDecodingError(QStringLiteral("%1: expected an array of strings").arg(key));
        result.append(value.toString());
    }
    return result;
}

AppVersion requireVersion(const QString& text)
{
    const auto version = AppVersion::parse(text);
    if (!version)
        throw UpdateError::invalidCatalog();
    return *version;
}

} // namespace

UpdatePlatform UpdatePlatform::running()
{
    return UpdatePlatform{std::nullopt, QSysInfo::currentCpuArchitecture(), QStringLiteral(".AppImage")};
}

PublishedRelease PublishedRelease::decode(const QJsonObject& object)
{
    const Json::Reader reader(object);
    PublishedRelease release;
    release.version = reader.string(QStringLiteral("version"));
    release.date = reader.string(QStringLiteral("date"));
    release.notes = stringList(reader, QStringLiteral("notes"));
    release.asset = reader.string(QStringLiteral("asset"));
    release.notarized = reader.boolean(QStringLiteral("notarized"));
    release.architecture = reader.string(QStringLiteral("architecture"));
    release.minimumMacOS = reader.string(QStringLiteral("minimum_macos"));
    return release;
}

bool PublishedRelease::isCompatible(const UpdatePlatform& platform) const
{
    const auto minimum = minimumVersion(minimumMacOS);
    if (!minimum)
        return false;
    if (platform.systemVersion && *platform.systemVersion < *minimum)
        return false;
    return architecture == QLatin1String("universal") || architecture == platform.architecture;
}

std::optional<QUrl> PublishedRelease::downloadURL(const QUrl& website, const UpdatePlatform& platform) const
{
    if (!notarized || platform.installerSuffix.isEmpty() || !asset.endsWith(platform.installerSuffix, Qt::CaseSensitive))
        return std::nullopt;
    if (asset.contains(QLatin1String("..")) || !std::all_of(asset.begin(), asset.end(), isAssetCharacter))
        return std::nullopt;
    QUrl url = website;
    QString path = url.path();
    if (!path.endsWith(u'/'))
        path += u'/';
    url.setPath(path + QStringLiteral("downloads/") + asset);
    return url;
}

ReleaseCatalog ReleaseCatalog::decode(const QByteArray& bytes)
{
    return decode(Json::parseObject(bytes));
}

ReleaseCatalog ReleaseCatalog::decode(const QJsonObject& object)
{
    const Json::Reader reader(object);
    ReleaseCatalog catalog;
    catalog.latest = reader.string(QStringLiteral("latest"));
    catalog.releases = reader.list<PublishedRelease>(QStringLiteral("releases"), &PublishedRelease::decode);
    return catalog;
}

QList<PublishedRelease> ReleaseCatalog::newer(const QString& installed, const UpdatePlatform& platform) const
{
    const AppVersion installedVersion = requireVersion(installed);
    const AppVersion latestVersion = requireVersion(latest);
    const bool listed = std::any_of(releases.begin(), releases.end(),
                                    [&](const PublishedRelease& release) { return release.version == latest; });
    if (!listed)
        throw UpdateError::invalidCatalog();

    QList<std::pair<AppVersion, PublishedRelease>> kept;
    for (const PublishedRelease& release : releases) {
        const auto version = AppVersion::parse(release.version);
        if (!version || !(installedVersion < *version) || latestVersion < *version || !release.isCompatible(platform))
            continue;
        // Judged on the parsed version: a hyphen in build metadata
        // ("1.2.0+build-7") does not make a release a pre-release.
        if (!installedVersion.isPrerelease() && version->isPrerelease())
            continue;
        kept.append({*version, release});
    }
    std::stable_sort(kept.begin(), kept.end(), [](const auto& left, const auto& right) { return right.first < left.first; });

    QList<PublishedRelease> result;
    result.reserve(kept.size());
    for (const auto& entry : kept)
        result.append(entry.second);
    return result;
}

} // namespace quillor
