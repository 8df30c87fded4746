#pragma once

#include "core/ReferenceDate.h"

#include <QString>
#include <QTimeZone>

namespace quillor {

// Fixed, locale-independent texts of a moment, as written into receipts, note
// front matter and file names. Every form is truncated to the whole second
// below the moment (09:05:07.9 is 09:05:07), never rounded, so that a name and
// the front matter of one note always agree. An invalid zone stands for the
// system zone.
namespace DateFormats {

// "2025-01-31T08:05:09Z": ISO 8601 in UTC.
QString iso8601(const ReferenceDate& date);
// "2025-01-31" in the given zone.
QString day(const ReferenceDate& date, const QTimeZone& zone);
// "08:05:09" in the given zone.
QString time(const ReferenceDate& date, const QTimeZone& zone);
// "2025-01-31 080509" in the given zone, safe in file names.
QString dayAndTime(const ReferenceDate& date, const QTimeZone& zone);

} // namespace DateFormats
} // namespace quillor
