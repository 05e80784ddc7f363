#include "capture/page/PageWindow.h"

namespace {

bool sameProgram(const CaptureWindow& a, const CaptureWindow& b)
{
    return (a.pid > 0 && a.pid == b.pid) || (!a.applicationId.isEmpty() && a.applicationId == b.applicationId);
}

qint64 area(const CaptureWindow& window) { return qint64(window.frame.width()) * window.frame.height(); }

} // namespace

std::optional<CaptureWindow> PageWindow::choose(const std::vector<CaptureWindow>& targets, QPoint pointer)
{
    if (targets.empty())
        return std::nullopt;
    // Dropwell's own windows are not targets, so the front one is the
    // program the user was in before clicking Full page.
    const CaptureWindow& front = targets.front();
    const CaptureWindow* largest = nullptr;
    for (const CaptureWindow& window : targets) {
        if (!sameProgram(window, front))
            continue;
        if (window.frame.contains(pointer))
            return window;
        if (!largest || area(window) > area(*largest))
            largest = &window;
    }
    return *largest;
}
