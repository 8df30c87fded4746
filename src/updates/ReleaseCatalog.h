#pragma once

#include "updates/UpdateServer.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <array>
#include <optional>

namespace quillor {

// What a release is checked against. The catalog's rules were written for one
// desktop system (a minimum system version, "arm64" machines, ".pkg"
// installers); running() gives the Linux reading of them, and tests can build
// the original profile to check the rules as they were written.
struct UpdatePlatform {
    // The running system's (major, minor, patch). None: there is no version to
    // compare the catalog's minimum with (Linux), so only a minimum without any
    // number makes a release incompatible.
    std::optional<std::array<qint64, 3>> systemVersion;
    // Accepted besides "universal" (exact, case-sensitive).
    QString architecture;
    // The installer file name's required ending (case-sensitive).
    QString installerSuffix;

    // No system version, QSysInfo::currentCpuArchitecture(), ".AppImage".
    static UpdatePlatform running();

    bool operator==(const UpdatePlatform& other) const = default;
};

// One published version, as listed in the catalog. All seven keys are required.
struct PublishedRelease {
    QString version;        // parsed by AppVersion; the identity in lists
    QString date;           // shown as is
    QStringList notes;      // one line of notes each
    QString asset;          // installer file name under /downloads/
    bool notarized = false; // only a notarized release gets a download link
    QString architecture;
    QString minimumMacOS;   // key "minimum_macos"

    // Throws JsonDecodingError on a missing key, null or a wrong type; unknown
    // keys are ignored.
    static PublishedRelease decode(const QJsonObject& object);

    bool isCompatible() const { return isCompatible(UpdatePlatform::running()); }
    bool isCompatible(const UpdatePlatform& platform) const;

    // website/downloads/<asset>, only for a notarized release whose asset is a
    // plain file name of ASCII letters, digits, "-", "." and "_" ending with
    // the platform's installer suffix.
    std::optional<QUrl> downloadURL() const
    {
        return downloadURL(UpdateServer::configured().website(), UpdatePlatform::running());
    }
    std::optional<QUrl> downloadURL(const QUrl& website, const UpdatePlatform& platform) const;

    bool operator==(const PublishedRelease& other) const = default;
};

// The whole releases.json document.
struct ReleaseCatalog {
    QString latest;
    QList<PublishedRelease> releases;

    // Throws JsonDecodingError when the bytes are not a JSON object or a
    // required key is missing or of the wrong type (the whole document fails).
    static ReleaseCatalog decode(const QByteArray& bytes);
    static ReleaseCatalog decode(const QJsonObject& object);

    // The compatible releases above `installed` and not above `latest`, newest
    // first (stable). Pre-releases are dropped when `installed` is a release.
    // Throws UpdateError::invalidCatalog() when `installed` or `latest` does
    // not parse, or no release's version is exactly `latest`.
    QList<PublishedRelease> newer(const QString& installed) const
    {
        return newer(installed, UpdatePlatform::running());
    }
    QList<PublishedRelease> newer(const QString& installed, const UpdatePlatform& platform) const;

    bool operator==(const ReleaseCatalog& other) const = default;
};

} // namespace quillor
