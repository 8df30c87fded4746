#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quillor {

// A published or installed version: three release numbers and the pre-release
// identifiers (empty for a release). Build metadata ("+...") is dropped when
// parsing, so "1.2.3+build.7" == "1.2.3".
struct AppVersion {
    qint64 major = 0;
    qint64 minor = 0;
    qint64 patch = 0;
    QStringList prerelease;

    // "MAJOR.MINOR.PATCH[-ID(.ID)*][+BUILD]": three decimal numbers that fit a
    // qint64 (leading zeros allowed); identifiers of ASCII letters, digits and
    // "-". Anything else gives nullopt.
    static std::optional<AppVersion> parse(const QString& text);

    bool isPrerelease() const { return !prerelease.isEmpty(); }

    bool operator==(const AppVersion& other) const = default;
};

// The release order: numbers first, a pre-release below its release, then the
// identifiers pairwise. Identifiers that are equal as numbers but differ as
// text ("01" and "1") stop the walk without deciding, so this is not a strict
// weak ordering: sort with std::stable_sort only.
bool operator<(const AppVersion& left, const AppVersion& right);

} // namespace quillor
