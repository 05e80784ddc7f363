#include "core/ExpiryEngine.h"

#include "core/Iso8601.h"

#include <QCoreApplication>

#include <algorithm>

namespace ExpiryEngine {
namespace {

// The instant at which the wall-clock time `wall` (read as if it were UTC)
// first occurs in `zone`; inside a gap, the instant the gap ends.
QDateTime resolveWallTime(const QDateTime& wall, const QTimeZone& zone)
{
    const qint64 naive = wall.toSecsSinceEpoch();
    std::optional<qint64> first;
    // Around any one wall time a zone uses at most the offsets in force a day
    // before and a day after.
    for (const qint64 probe : {naive - 86400, naive + 86400}) {
        const int offset = zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(probe, Qt::UTC));
        const qint64 instant = naive - offset;
        if (zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(instant, Qt::UTC)) == offset)
            first = first ? std::min(*first, instant) : instant;
    }
    if (first)
        return QDateTime::fromSecsSinceEpoch(*first, Qt::UTC);
    // Skipped by a clock change: the gap ends at the transition after it.
    const QTimeZone::OffsetData transition =
        zone.nextTransition(QDateTime::fromSecsSinceEpoch(naive - 86400, Qt::UTC));
    return transition.atUtc.isValid() ? transition.atUtc : QDateTime();
}

} // namespace

qint64 durationSeconds(FileSource source, const AppSettings& settings)
{
    const qint64 hours = source == FileSource::Screenshot
        ? std::clamp<qint64>(settings.screenshotExpiryHours, 1, longestDurationHours)
        : std::clamp<qint64>(settings.otherExpiryDays, 1, longestDurationHours / 24) * 24;
    return hours * 3600;
}

QDateTime dueDate(const TrackedFile& file, const AppSettings& settings)
{
    return std::min(file.landedAt.addSecs(durationSeconds(file.source, settings)), Iso8601::latest());
}

bool isPaused(const AppSettings& settings, const QDateTime& now)
{
    return settings.expiryPausedUntil && *settings.expiryPausedUntil > now;
}

bool isDue(const TrackedFile& file, const QDateTime& now)
{
    return file.folder == FileFolder::Inbox && !file.kept && file.expiresAt && *file.expiresAt <= now;
}

bool isDueForTrash(const TrackedFile& file, const QDateTime& now)
{
    return file.folder == FileFolder::Expired && file.expiredAt
        && file.expiredAt->addSecs(holdInExpiredSeconds) <= now;
}

bool isDueSoon(const TrackedFile& file, const QDateTime& now)
{
    return file.folder == FileFolder::Inbox && !file.kept && file.expiresAt
        && *file.expiresAt <= now.addSecs(soonHorizonSeconds);
}

QDateTime nextMondayNine(const QDateTime& now, const QTimeZone& zone)
{
    const QDate today = now.toTimeZone(zone).date();
    for (int days = 0; days <= 14; ++days) {
        const QDate day = today.addDays(days);
        if (day.dayOfWeek() != Qt::Monday)
            continue;
        const QDateTime nine = resolveWallTime(QDateTime(day, QTime(9, 0), Qt::UTC), zone);
        if (nine.isValid() && nine > now)
            return nine;
    }
    return now.addSecs(pauseFallbackSeconds);
}

QString labelHours(qint64 hours)
{
    if (hours == 24)
        return QCoreApplication::translate("ExpiryEngine", "1 day");
    if (hours > 24 && hours % 24 == 0)
        return QCoreApplication::translate("ExpiryEngine", "%1 days").arg(hours / 24);
    return QCoreApplication::translate("ExpiryEngine", "%1 hours").arg(hours);
}

} // namespace ExpiryEngine
