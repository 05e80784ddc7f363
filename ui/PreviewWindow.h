#pragma once

#include "core/Previewer.h"
#include "ui/Theme.h"

#include <QStringList>
#include <QWidget>

class FileFactsView;
class ImageView;
class PdfPagesView;
class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QToolButton;
class VideoPreview;

// Dropwell's own preview: one file at a time in a window above everything
// else, pictures, videos and text shown as they are, the first pages of a
// PDF, anything else as its facts. The arrow keys and chevrons move between the files; Space, Escape
// or the close button put it away.
class PreviewWindow final : public QWidget, public Previewer {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* parent = nullptr);
    ~PreviewWindow() override;

    bool isVisible() const override;
    void toggle(const QStringList& paths, int startAt) override;
    void close() override;

    void setTheme(const Theme& theme);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(int key);
    void openCentred();
    void showItem(int index);
    void showContent(const QString& path);
    void showFacts(const QString& path, const QString& note = QString());
    void showPdf(const QString& path);
    void showVideo(const QString& path);
    void stopVideo();
    void refreshTitle();

    QStringList paths_;
    int current_ = 0;
    Theme theme_;
    QWidget* topBar_;
    QToolButton* previous_;
    QToolButton* next_;
    QLabel* title_;
    QLabel* counter_;
    QToolButton* closeButton_;
    QStackedWidget* pages_;
    ImageView* image_;
    QPlainTextEdit* text_;
    FileFactsView* facts_;
    PdfPagesView* pdf_;
    quint64 pdfRequest_ = 0; // pages drawn for an earlier request are dropped
    VideoPreview* video_ = nullptr; // made with the first video shown
};
