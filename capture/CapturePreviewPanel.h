#pragma once

#include <QObject>
#include <QPoint>

#include <memory>

class DesktopWindows;
class OneShotTimer;
class PreviewThumb;
class QEasingCurve;
class QImage;
class QParallelAnimationGroup;
class QPropertyAnimation;
class QWidget;
class Timers;

// The thumbnail of a new capture. It slides in at the bottom-right corner of
// the screen under the pointer, stays a few seconds (as long as the pointer
// rests on it) and slides out again. A click asks for the previewer through
// clicked(); dragging it drags the file. It never takes the keyboard focus
// from the application the user is working in.
class CapturePreviewPanel : public QObject {
    Q_OBJECT
public:
    struct Timing {
        int hideAfterMs = 5200;
        int slideInMs = 220;
        int slideOutMs = 180;
    };

    CapturePreviewPanel(Timing timing, Timers& timers, DesktopWindows& desktop, QObject* parent = nullptr);
    ~CapturePreviewPanel() override;

    // Replaces whatever preview is up, at once.
    void show(const QImage& image, const QString& path);
    void hide(bool animated);
    // True from show() until the panel has left the screen.
    bool isShown() const;
    // The panel's window, made by the first show() (nullptr before), so that
    // captures can leave it out.
    QWidget* window() const;
    // Destroys the window while it is hidden, with the picture it last
    // showed: an idle program should not hold them. The next show() makes
    // it anew.
    void releaseWindow();

Q_SIGNALS:
    void clicked(const QString& path);

private:
    void makeWindow();
    void scheduleHide();
    void slide(QPoint to, qreal opacity, int durationMs, const QEasingCurve& curve);

    Timing timing_;
    DesktopWindows& desktop_;
    std::unique_ptr<OneShotTimer> hideTimer_;
    bool hiding_ = false;
    std::unique_ptr<PreviewThumb> window_;
    // Children of window_: the slide and the fade run together.
    QParallelAnimationGroup* motion_ = nullptr;
    QPropertyAnimation* glide_ = nullptr;
    QPropertyAnimation* fade_ = nullptr;
};
