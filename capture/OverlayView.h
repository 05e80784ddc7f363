#pragma once

#include "platform/CaptureTargets.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <vector>

// The picking overlay on one screen: the screen as it was, dimmed; a dragged
// rectangle cut out of the dimming (region mode), or the window under the
// pointer highlighted with its name (window mode); and the hint.
class OverlayView : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Region, Window };

    OverlayView(Mode mode, std::vector<CaptureWindow> targets, QString prompt, QImage backdrop, QWidget* parent = nullptr);

    // The frontmost target under a point of the desktop.
    static std::optional<CaptureWindow> windowAt(const std::vector<CaptureWindow>& targets, const QPoint& global);
    // "Application — title", or the application alone when the title is blank.
    static QString titleOf(const CaptureWindow& window);

Q_SIGNALS:
    void regionPicked(const QRect& global);
    void windowPicked(const CaptureWindow& window);
    void cancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect selection() const;
    void paintPill(QPainter& painter, const QRect& box, const QString& text, const QFont& font, qreal alpha) const;
    void paintTitle(QPainter& painter, const QRect& highlight, const QString& text) const;
    void paintHint(QPainter& painter) const;

    Mode mode_;
    std::vector<CaptureWindow> targets_;
    QString prompt_;
    QImage backdrop_;
    std::optional<QPoint> dragStart_;
    std::optional<QPoint> dragCurrent_;
    std::optional<CaptureWindow> hovered_;
};
