#include "core/SettingsRanges.h"

#include "core/ExpiryEngine.h"

#include <algorithm>

namespace SettingsRanges {
namespace {

QString count(qint64 value, const QString& unit)
{
    return QStringLiteral("%1 %2%3").arg(value).arg(unit, value == 1 ? QString() : QStringLiteral("s"));
}

void clamp(qint64& value, qint64 highest, const QString& what, const QString& unit, QStringList& changes)
{
    const qint64 corrected = std::clamp<qint64>(value, 1, highest);
    if (corrected == value)
        return;
    changes.append(QStringLiteral("%1 was %2; it is now %3.").arg(what, count(value, unit), count(corrected, unit)));
    value = corrected;
}

} // namespace

QStringList correct(AppSettings& settings)
{
    QStringList changes;
    clamp(settings.screenshotExpiryHours, ExpiryEngine::longestDurationHours, QStringLiteral("Screenshot expiry"),
        QStringLiteral("hour"), changes);
    clamp(settings.otherExpiryDays, ExpiryEngine::longestDurationHours / 24, QStringLiteral("Expiry of other files"),
        QStringLiteral("day"), changes);
    return changes;
}

} // namespace SettingsRanges
