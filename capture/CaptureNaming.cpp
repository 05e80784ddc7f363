#include "capture/CaptureNaming.h"

namespace CaptureNaming {

QString stamp(const QDateTime& when)
{
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd 'at' HH.mm.ss"));
}

QString screenshotName(const QDateTime& when) { return QStringLiteral("Screenshot ") + stamp(when) + QStringLiteral(".png"); }

QString recordingName(const QDateTime& when) { return QStringLiteral("Screen Recording ") + stamp(when) + QStringLiteral(".mp4"); }

} // namespace CaptureNaming
