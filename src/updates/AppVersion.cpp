#include "updates/AppVersion.h"

#include <algorithm>
#include <tuple>

namespace quillor {

namespace {

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Digits only, within qint64. QString::toLongLong alone would also take a sign
// and surrounding spaces.
std::optional<qint64> releaseNumber(const QString& part)
{
    if (part.isEmpty() || !std::all_of(part.begin(), part.end(), isAsciiDigit))
        return std::nullopt;
    bool ok = false;
    const qint64 value = part.toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool isIdentifier(const QString& part)
{
    return !part.isEmpty() && std::all_of(part.begin(), part.end(), [](QChar c) {
        return isAsciiLetter(c) || isAsciiDigit(c) || c == u'-';
    });
}

// An optional leading "-" then digits, within qint64.
std::optional<qint64> numericIdentifier(const QString& identifier)
{
    const qsizetype digitsStart = identifier.startsWith(u'-') ? 1 : 0;
    if (!releaseNumber(identifier.mid(digitsStart)))
        return std::nullopt;
    bool ok = false;
    const qint64 value = identifier.toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// Whether `left` < `right` for the first pair of identifiers that differ as text.
bool identifierBelow(const QString& left, const QString& right)
{
    const auto leftNumber = numericIdentifier(left);
    const auto rightNumber = numericIdentifier(right);
    if (leftNumber && rightNumber)
        return *leftNumber < *rightNumber;
    if (leftNumber || rightNumber)
        return leftNumber.has_value();
    // Identifiers are ASCII, so UTF-16 order is code-point order.
    return QString::compare(left, right, Qt::CaseSensitive) < 0;
}

} // namespace

std::optional<AppVersion> AppVersion::parse(const QString& text)
{
    const QString withoutBuild = text.section(u'+', 0, 0);
    const qsizetype dash = withoutBuild.indexOf(u'-');
    const QString core = dash < 0 ? withoutBuild : withoutBuild.left(dash);

    const QStringList parts = core.split(u'.');
    if (parts.size() != 3)
        return std::nullopt;
    AppVersion version;
    qint64* const numbers[] = {&version.major, &version.minor, &version.patch};
    for (int i = 0; i < 3; ++i) {
        const auto number = releaseNumber(parts[i]);
        if (!number)
            return std::nullopt;
        *numbers[i] = *number;
    }
    if (dash >= 0) {
        version.prerelease = withoutBuild.mid(dash + 1).split(u'.');
        if (!std::all_of(version.prerelease.begin(), version.prerelease.end(), isIdentifier))
            return std::nullopt;
    }
    return version;
}

bool operator<(const AppVersion& left, const AppVersion& right)
{
    const auto leftNumbers = std::tie(left.major, left.minor, left.patch);
    const auto rightNumbers = std::tie(right.major, right.minor, right.patch);
    if (leftNumbers != rightNumbers)
        return leftNumbers < rightNumbers;
    if (!left.isPrerelease())
        return false;
    if (!right.isPrerelease())
        return true;
    const qsizetype common = std::min(left.prerelease.size(), right.prerelease.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (left.prerelease[i] != right.prerelease[i])
            return identifierBelow(left.prerelease[i], right.prerelease[i]);
    }
    return left.prerelease.size() < right.prerelease.size();
}

} // namespace quillor
