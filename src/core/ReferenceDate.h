#pragma once

#include <QDateTime>

#include <compare>

namespace quillor {

// A moment as stored in captures: seconds since 2001-01-01 00:00:00 UTC, kept
// as a double so that a value read from JSON and written back is identical
// (QDateTime keeps only milliseconds).
struct ReferenceDate {
    double secondsSinceReferenceDate = 0;

    static constexpr double unixOffset = 978307200.0;

    static ReferenceDate now();
    static ReferenceDate fromDateTime(const QDateTime& dateTime);
    static ReferenceDate fromUnixSeconds(double seconds) { return {seconds - unixOffset}; }
    double unixSeconds() const { return secondsSinceReferenceDate + unixOffset; }
    // UTC, to the millisecond.
    QDateTime toDateTime() const;

    auto operator<=>(const ReferenceDate&) const = default;
};

} // namespace quillor
