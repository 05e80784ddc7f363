#include "ui/RelativeTime.h"

#include <unicode/locid.h>
#include <unicode/reldatefmt.h>

#include <array>
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

} // namespace

namespace {

std::unique_ptr<icu::RelativeDateTimeFormatter> shortFormatter(const icu::Locale& locale)
{
    UErrorCode status = U_ZERO_ERROR;
    auto formatter = std::make_unique<icu::RelativeDateTimeFormatter>(
        locale, nullptr, UDAT_STYLE_SHORT, UDISPCTX_CAPITALIZATION_NONE, status);
    return U_SUCCESS(status) ? std::move(formatter) : nullptr;
}

} // namespace

RelativeTime::RelativeTime(const QString& locale)
    : formatter_(shortFormatter(locale.isEmpty() ? icu::Locale::getDefault() : icu::Locale(locale.toLatin1().constData())))
{
    if (!formatter_) // a language without data: English is always there
        formatter_ = shortFormatter(icu::Locale::getEnglish());
}

RelativeTime::~RelativeTime() = default;

QString RelativeTime::format(const QDateTime& when, const QDateTime& now) const
{
    const qint64 delta = now.secsTo(when);
    Unit chosen = units.back();
    for (const Unit& unit : units) {
        if (std::llabs(delta) >= unit.seconds) {
            chosen = unit;
            break;
        }
    }
    if (!formatter_)
        return {};
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text;
    if (delta == 0) // "now", rather than "in 0 sec."
        formatter_->format(UDAT_DIRECTION_PLAIN, UDAT_ABSOLUTE_NOW, text, status);
    else
        formatter_->formatNumeric(double(delta / chosen.seconds), chosen.unit, text, status);
    if (U_FAILURE(status))
        return {};
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}
