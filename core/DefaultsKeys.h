#pragma once

#include <QString>

// Every key of the program's own defaults store, in one place.
namespace DefaultsKeys {

// Set before a relaunch for screen-capture permission; the next start shows
// "Ready to capture" once.
inline const QString showCaptureReadyToast = QStringLiteral("dw.showCaptureReadyToast");
// Refusals of screen capture in a row, and whether Dropwell relaunched itself for one.
inline const QString captureRecoveryStep = QStringLiteral("dw.captureRecoveryStep.36");
inline const QString captureAutoRelaunched = QStringLiteral("dw.captureAutoRelaunched.36");
// What another installed screenshot tool's folder setting held before the
// redirect, by tool ("previousScreenshotLocation.flameshot").
inline QString previousScreenshotLocationOf(const QString& toolId)
{
    return QStringLiteral("previousScreenshotLocation.") + toolId;
}
// Set once a start without a tray has told how to get one.
inline const QString trayHelpShown = QStringLiteral("trayHelpShown");
// Set once the first start has turned "Start at login" on and said so.
inline const QString autostartOffered = QStringLiteral("autostartOffered");
// What the Downloads intake has dealt with in its folder: the folder, a
// moment (nanoseconds since the epoch, as the file system counts them), then
// the files changed at or after it that it had seen.
inline const QString downloadsSeenUntil = QStringLiteral("downloadsSeenUntil");
// Absolute folder paths, most recent first.
inline const QString recentMoveFolders = QStringLiteral("recentMoveFolders");

} // namespace DefaultsKeys
