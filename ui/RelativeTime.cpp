#include "ui/RelativeTime.h"

#include "translations/UserLanguage.h"

#include <unicode/locid.h>
#include <unicode/reldatefmt.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

struct Unit {
    qint64 seconds;
    URelativeDateTimeUnit unit;
};

// Largest first; a month and a year in their average lengths.
constexpr std::array<Unit, 7> units {{
    {31556952, UDAT_REL_UNIT_YEAR},
    {2629746, UDAT_REL_UNIT_MONTH},
    {7 * 86400, UDAT_REL_UNIT_WEEK},
    {86400, UDAT_REL_UNIT_DAY},
    {3600, UDAT_REL_UNIT_HOUR},
    {60, UDAT_REL_UNIT_MINUTE},
    {1, UDAT_REL_UNIT_SECOND},
}};

std::unique_ptr<icu::RelativeDateTimeFormatter> shortFormatter(const icu::Locale& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    auto formatter = std::make_unique<icu::RelativeDateTimeFormatter>(
        locale, nullptr, UDAT_STYLE_SHORT, UDISPCTX_CAPITALIZATION_NONE, status);
    return U_SUCCESS(status) ? std::move(formatter) : nullptr;
}

} // namespace

RelativeTime::RelativeTime(const QString& locale)
    : formatter_(shortFormatter(icu::Locale((locale.isEmpty() ? textLanguage().name() : locale).toLatin1().constData())))
{
    if (!formatter_) // a language without data: English is always there
        formatter_ = shortFormatter(icu::Locale::getEnglish());
}

RelativeTime::~RelativeTime() = default;

QString RelativeTime::format(const QDateTime& when, const QDateTime& now) const
{
    const qint64 delta = now.secsTo(when);
    if (!formatter_)
        return {};
    // The largest unit that fits, rounded to the nearest whole one; where
    // that rounds up to the next larger unit, that unit reads better
    // ("1 hr.", not "60 min."), except that a week is only ever a full one:
    // a new file's seven days stay "in 7 days".
    auto chosen = std::find_if(units.begin(), units.end(), [&](const Unit& unit) { return std::llabs(delta) >= unit.seconds; });
    if (chosen == units.end())
        chosen = units.end() - 1;
    qint64 count = std::llround(double(delta) / double(chosen->seconds));
    if (chosen != units.begin() && (chosen - 1)->unit != UDAT_REL_UNIT_WEEK
        && std::llabs(count) * chosen->seconds >= (chosen - 1)->seconds) {
        --chosen;
        count = std::llround(double(delta) / double(chosen->seconds));
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text;
    if (delta == 0) // "now", rather than "in 0 sec."
        formatter_->format(UDAT_DIRECTION_PLAIN, UDAT_ABSOLUTE_NOW, text, status);
    else
        formatter_->formatNumeric(double(count), chosen->unit, text, status);
    if (U_FAILURE(status))
        return {};
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}
