#include "core/DateFormats.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace quillor::DateFormats {

namespace {

// 0001-01-01T00:00:00Z and 9999-12-31T23:59:59Z: four-digit years only, and
// no out-of-range conversion of a huge stored number.
constexpr double earliestUnixSecond = -62135596800.0;
constexpr double latestUnixSecond = 253402300799.0;

qint64 wholeUnixSeconds(const ReferenceDate& date)
{
    const double seconds = date.unixSeconds();
    if (std::isnan(seconds))
        return qint64(ReferenceDate::unixOffset);
    return qint64(std::floor(std::clamp(seconds, earliestUnixSecond, latestUnixSecond)));
}

QDateTime inZone(const ReferenceDate& date, const QTimeZone& zone)
{
    const QTimeZone effective = zone.isValid() ? zone : QTimeZone::systemTimeZone();
    return QDateTime::fromSecsSinceEpoch(wholeUnixSeconds(date), effective);
}

QString formatted(const ReferenceDate& date, const QTimeZone& zone, const QString& format)
{
    return QLocale::c().toString(inZone(date, zone), format);
}

} // namespace

QString iso8601(const ReferenceDate& date)
{
    return formatted(date, QTimeZone::utc(), QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

QString day(const ReferenceDate& date, const QTimeZone& zone)
{
    return formatted(date, zone, QStringLiteral("yyyy-MM-dd"));
}

QString time(const ReferenceDate& date, const QTimeZone& zone)
{
    return formatted(date, zone, QStringLiteral("HH:mm:ss"));
}

QString dayAndTime(const ReferenceDate& date, const QTimeZone& zone)
{
    return formatted(date, zone, QStringLiteral("yyyy-MM-dd HHmmss"));
}

} // namespace quillor::DateFormats
