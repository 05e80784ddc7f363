#pragma once

#include "core/AppSettings.h"
#include "core/TrackedFile.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>

// The rules of expiry, without state: when a file is due, when a pause
// holds, and the times and labels the expiry actions use.
namespace ExpiryEngine {

constexpr qint64 holdInExpiredSeconds = 24 * 3600;
constexpr qint64 soonHorizonSeconds = 18 * 3600;
constexpr qint64 shortPauseSeconds = 24 * 3600;
constexpr qint64 pauseFallbackSeconds = 72 * 3600;
// A hand-edited settings file may hold any number; beyond ten years a due
// time means "never" to a person, and stays within what the index can store.
constexpr qint64 longestDurationHours = 3653 * 24;

// Screenshots and recordings after the hours setting, all else after the
// days setting; values below 1 count as 1.
qint64 durationSeconds(FileSource source, const AppSettings& settings);
QDateTime dueDate(const TrackedFile& file, const AppSettings& settings);

bool isPaused(const AppSettings& settings, const QDateTime& now);
// An Inbox file that is not kept and whose due time has come.
bool isDue(const TrackedFile& file, const QDateTime& now);
// An Expired file whose day of grace is over.
bool isDueForTrash(const TrackedFile& file, const QDateTime& now);
bool isDueSoon(const TrackedFile& file, const QDateTime& now);

// The first Monday 09:00 in `zone` strictly after `now`: a time that a clock
// change skips becomes the first time after the gap, a repeated time its
// first occurrence.
QDateTime nextMondayNine(const QDateTime& now, const QTimeZone& zone);

// 24 gives "1 day", 48 "2 days", 6 "6 hours".
QString labelHours(qint64 hours);

} // namespace ExpiryEngine
