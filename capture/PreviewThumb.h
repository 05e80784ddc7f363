#pragma once

#include <QPixmap>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <optional>

class DesktopWindows;
class QImage;

// The card that shows a new capture: its picture, scaled down, on a dim
// rounded card. A press and release is a click; pulling it further than a
// few pixels drags the file itself into another application.
class PreviewThumb : public QWidget {
    Q_OBJECT
public:
    explicit PreviewThumb(DesktopWindows& desktop, QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // Sizes the card to the picture and forgets the previous capture.
    void setCapture(const QImage& image, const QString& path);
    const QString& path() const { return path_; }

Q_SIGNALS:
    void hovered(bool inside);
    void clicked();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void dragFile();

    DesktopWindows& desktop_;
    QString path_;
    QPixmap picture_;
    std::optional<QPointF> pressedAt_; // until the press becomes a drag or ends
};
