#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class Clock;
class DesktopWindows;
class GlobalEscape;
class RecordingBarView;
class QWidget;

// The small bar at the bottom of the screen while a recording runs: how long
// it has been going, and the two ways to end it, the Stop button and Escape
// pressed in any application. There is one stop action at a time; it runs
// once, after the bar has gone.
class RecordingBar : public QObject {
    Q_OBJECT
public:
    // `clock`, `escape` and `desktop` outlive the bar.
    RecordingBar(const Clock& clock, GlobalEscape& escape, DesktopWindows& desktop, QObject* parent = nullptr);
    ~RecordingBar() override;

    // Replaces the bar that is up, if any, and starts counting from zero.
    void show(std::function<void()> stop);
    // Safe when nothing is shown; the stop action is forgotten, not run.
    void hide();
    bool isShown() const;
    // The bar's window, made by the first show() (nullptr before), so that
    // captures can leave it out.
    QWidget* window() const;
    // Destroys the window while it is hidden; the next show() makes it anew.
    void releaseWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stop();
    void showElapsed();
    void placeOnPointerScreen();

    const Clock& clock_;
    GlobalEscape& escape_;
    DesktopWindows& desktop_;
    QTimer ticker_;
    QDateTime started_;
    std::function<void()> onStop_;
    std::unique_ptr<RecordingBarView> window_;
};
