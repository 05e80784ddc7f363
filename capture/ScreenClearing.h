#pragma once

#include <QObject>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <memory>

class OwnWindowsAway;
class QWidget;

// Dropwell's windows leave the screen for a capture and come back once the
// picture is taken.
class ScreenClearing : public QObject {
    Q_OBJECT
public:
    ScreenClearing();
    ~ScreenClearing() override;

    // Hides Dropwell's windows until restore(); true when any was on screen.
    bool clear();
    // clear(), then waits `settle` for the screen to show what they covered:
    // programs repaint it. With nothing on screen there is nothing to wait for.
    QCoro::Task<> clearAndSettle(std::chrono::milliseconds settle);
    // The picture is taken: what was hidden comes back.
    void restore();
    // Leaves `window` hidden when the rest comes back: its owner has hidden
    // it meanwhile.
    void forget(const QWidget* window);

Q_SIGNALS:
    // Before the windows go: what is not a window of its own (the popover,
    // the previewer, the preview of the last capture) goes as well.
    void clearing();

private:
    std::unique_ptr<OwnWindowsAway> away_;
};
