#include "core/ReferenceDate.h"

#include <QTimeZone>

#include <chrono>
#include <cmath>

namespace quillor {

ReferenceDate ReferenceDate::now()
{
    // Microseconds rather than QDateTime's milliseconds: two captures started
    // in the same millisecond still get distinct, ordered dates.
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count();
    return fromUnixSeconds(double(micros) / 1e6);
}

ReferenceDate ReferenceDate::fromDateTime(const QDateTime& dateTime)
{
    return fromUnixSeconds(double(dateTime.toMSecsSinceEpoch()) / 1000.0);
}

QDateTime ReferenceDate::toDateTime() const
{
    const double micros = std::round(unixSeconds() * 1e6);
    // Beyond this a date is meaningless and the integer conversion undefined.
    constexpr double limit = 9.0e15;
    if (!std::isfinite(micros) || std::fabs(micros) > limit)
        return {};
    // Rounded to the microsecond first so that binary noise (…122.9999) does
    // not lose a millisecond, then truncated towards the past as a clock does:
    // 59.9996 s still shows second 59.
    const auto wholeMicros = qint64(micros);
    const qint64 millis = wholeMicros >= 0 ? wholeMicros / 1000 : -((-wholeMicros + 999) / 1000);
    return QDateTime::fromMSecsSinceEpoch(millis, QTimeZone::utc());
}

} // namespace quillor
