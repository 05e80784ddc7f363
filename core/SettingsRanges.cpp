#include "core/SettingsRanges.h"

#include "core/ExpiryEngine.h"

#include <QCoreApplication>

#include <algorithm>

namespace SettingsRanges {
namespace {

struct Unit {
    const char* one;
    const char* many;
};

QString count(qint64 value, Unit unit)
{
    return value == 1 ? QCoreApplication::translate("SettingsRanges", unit.one)
                      : QCoreApplication::translate("SettingsRanges", unit.many).arg(value);
}

void clamp(qint64& value, qint64 highest, const char* what, Unit unit, QStringList& changes)
{
    const qint64 corrected = std::clamp<qint64>(value, 1, highest);
    if (corrected == value)
        return;
    changes.append(QCoreApplication::translate("SettingsRanges", "%1 was %2; it is now %3.")
                       .arg(QCoreApplication::translate("SettingsRanges", what), count(value, unit), count(corrected, unit)));
    value = corrected;
}

} // namespace

QStringList correct(AppSettings& settings)
{
    QStringList changes;
    clamp(settings.screenshotExpiryHours, ExpiryEngine::longestDurationHours,
        QT_TRANSLATE_NOOP("SettingsRanges", "Screenshot expiry"),
        {QT_TRANSLATE_NOOP("SettingsRanges", "1 hour"), QT_TRANSLATE_NOOP("SettingsRanges", "%1 hours")}, changes);
    clamp(settings.otherExpiryDays, ExpiryEngine::longestDurationHours / 24,
        QT_TRANSLATE_NOOP("SettingsRanges", "Expiry of other files"),
        {QT_TRANSLATE_NOOP("SettingsRanges", "1 day"), QT_TRANSLATE_NOOP("SettingsRanges", "%1 days")}, changes);
    return changes;
}

} // namespace SettingsRanges
