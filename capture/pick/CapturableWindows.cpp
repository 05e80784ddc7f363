#include "capture/pick/CapturableWindows.h"

#include <QCoreApplication>
#include <QSize>

namespace {

constexpr QSize smallestTarget(120, 80);

} // namespace

std::vector<CaptureWindow> capturableWindows(const CaptureContent& content)
{
    const qint64 ownPid = QCoreApplication::applicationPid();
    std::vector<CaptureWindow> targets;
    for (const CaptureWindow& window : content.windows) {
        if (window.onScreen && !window.isDesktopChrome && window.pid != ownPid
            && window.frame.width() >= smallestTarget.width() && window.frame.height() >= smallestTarget.height())
            targets.push_back(window);
    }
    return targets;
}
