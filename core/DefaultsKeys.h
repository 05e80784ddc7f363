#pragma once

#include <QString>

// Every key of the program's own defaults store, in one place.
namespace DefaultsKeys {

// Set before a relaunch for screen-capture permission; the next start shows
// "Ready to capture" once.
inline const QString showCaptureReadyToast = QStringLiteral("dw.showCaptureReadyToast");
// Absolute folder paths, most recent first.
inline const QString recentMoveFolders = QStringLiteral("recentMoveFolders");

} // namespace DefaultsKeys
