#pragma once

#include <QPoint>
#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;

// The pill that floats over the screen while a recording runs: a red dot,
// the elapsed time and a Stop button. Dragging its background moves it out
// of the way. It never takes the keyboard from the application in front.
class RecordingBarView : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize size {188, 40};

    // See-through corners need a compositing manager; without one the
    // window is cut to the pill's shape instead.
    explicit RecordingBarView(bool translucent);

    void setElapsedText(const QString& text);
    // Where Escape cannot end the recording, the bar says how to instead.
    void setEscapeStops(bool stops);

Q_SIGNALS:
    void stopClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const bool translucent_;
    QLabel* elapsed_;
    QPushButton* stop_;
    // Where the pointer holds the window while it is dragged.
    std::optional<QPoint> grip_;
};
