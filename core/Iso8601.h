#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <string_view>

// Dates as stored in Dropwell's files: internet date-time in UTC to whole
// seconds ("2026-12-06T20:21:57Z").
namespace Iso8601 {

// A fraction of a second is dropped, not rounded.
QString format(const QDateTime& date);

// Accepts exactly "YYYY-MM-DDTHH:MM:SS" followed by "Z" or an offset "+HH:MM"
// or "-HH:MM": a fraction of a second, a missing zone or any other form is
// refused, and so is a moment outside the years 1 to 9999 in UTC, which
// format() could not write back.
std::optional<QDateTime> parse(std::string_view text);

// The last moment the stored form can carry (four-digit years).
QDateTime latest();

} // namespace Iso8601
