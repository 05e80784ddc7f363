#pragma once

#include <QDateTime>
#include <QString>

// The names of Dropwell's captures: "Screenshot 2026-12-05 at 10.21.24.png".
namespace CaptureNaming {

// Local date and time as "2026-12-05 at 10.21.24".
QString stamp(const QDateTime& when);
QString screenshotName(const QDateTime& when);
QString recordingName(const QDateTime& when);

} // namespace CaptureNaming
