#pragma once

#include "platform/PageAccessibility.h"

#include <QDBusConnection>

// A window's page through AT-SPI 2 (libatspi): the switch on the session
// bus, then the program's tree of elements on the accessibility bus.
// Programs are looked for once ensureEnabled() has succeeded in this process;
// before that every question finds nothing. Programs answer over D-Bus one
// call at a time, so each call waits at most callTimeoutMs and one question
// stops asking after searchBudgetMs: a hung program holds Dropwell up for a
// few seconds at most. Use it on the GUI thread.
class AtspiPageAccessibility final : public PageAccessibility {
public:
    explicit AtspiPageAccessibility(QDBusConnection bus = QDBusConnection::sessionBus());

    Status ensureEnabled() override;
    // Asks the program to focus the window (AT-SPI has no raise); the X11
    // activation of PageInput is what brings it forward.
    void raise(const CaptureWindow& window) override;
    void focus(const CaptureWindow& window) override;
    bool scrollToTop(const CaptureWindow& window) override;
    std::optional<QRect> webAreaFrame(const CaptureWindow& window) override;

    static constexpr int callTimeoutMs = 1500;
    static constexpr int searchBudgetMs = 3000;

private:
    QDBusConnection bus_;
};
