#include "core/Iso8601.h"

#include <chrono>
#include <algorithm>

namespace Iso8601 {
namespace {

// Reads `count` digits at `at`; nothing if any is not a digit.
std::optional<int> digits(std::string_view text, size_t at, size_t count)
{
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<int> zoneOffsetSeconds(std::string_view zone)
{
    if (zone == "Z" || zone == "z")
        return 0;
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':')
        return std::nullopt;
    const auto hours = digits(zone, 1, 2), minutes = digits(zone, 4, 2);
    if (!hours || !minutes || *hours > 23 || *minutes > 59)
        return std::nullopt;
    const int seconds = (*hours * 60 + *minutes) * 60;
    return zone[0] == '-' ? -seconds : seconds;
}

} // namespace

QString format(const QDateTime& date)
{
    // Calendar arithmetic by hand: Qt's formatted toString() was the largest
    // cost of writing a big index.
    using namespace std::chrono;
    const sys_time<milliseconds> instant {milliseconds(date.toMSecsSinceEpoch())};
    const sys_days day = floor<days>(instant);
    const year_month_day ymd {day};
    const hh_mm_ss<seconds> time {floor<seconds>(instant - day)};
    // "YYYY-MM-DDTHH:MM:SSZ", digits put in place by hand: printf is the
    // next largest cost of a big index.
    char text[] = "0000-00-00T00:00:00Z";
    const auto put = [&text](int at, int digits, int value) {
        for (int i = at + digits - 1; i >= at; --i, value /= 10)
            text[i] = char('0' + value % 10);
    };
    put(0, 4, std::clamp(int(ymd.year()), 0, 9999));
    put(5, 2, int(unsigned(ymd.month())));
    put(8, 2, int(unsigned(ymd.day())));
    put(11, 2, int(time.hours().count()));
    put(14, 2, int(time.minutes().count()));
    put(17, 2, int(time.seconds().count()));
    const int length = int(sizeof text) - 1;
    return QString::fromLatin1(text, length);
}

std::optional<QDateTime> parse(std::string_view text)
{
    // 2026-12-06T20:21:57Z
    // 0123456789012345678
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != 't')
        || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const auto hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
    const auto offset = zoneOffsetSeconds(text.substr(19));
    if (!year || !month || !day || !hour || !minute || !second || !offset)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid() || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    const QDateTime utc = QDateTime(date, QTime(*hour, *minute, *second), Qt::OffsetFromUTC, *offset).toUTC();
    // An offset may carry the moment out of the four-digit years.
    static const QDateTime earliest(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
    static const QDateTime last = latest();
    if (utc < earliest || utc > last)
        return std::nullopt;
    return utc;
}

QDateTime latest()
{
    return QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC);
}

} // namespace Iso8601
