#pragma once

#include "core/CaptureKind.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QMenu;
class SymbolButton;

// The row of capture buttons under the popover's header, with the name of
// the button under the pointer as a hint. The last button records the
// display, or stops the recording under way; the menu beside it records a
// window and switches the microphone.
class CaptureBar : public QWidget {
    Q_OBJECT
public:
    explicit CaptureBar(QWidget* parent = nullptr);
    ~CaptureBar() override;

    const QString& hint() const { return hint_; }
    void setRecording(bool recording);
    void setMicrophoneOn(bool on);
    SymbolButton& recordButton() const { return *record_; }
    SymbolButton& recordMenuButton() const { return *recordMenuButton_; }
    QMenu& recordMenu() const { return *recordMenu_; }

Q_SIGNALS:
    void captureRequested(CaptureKind kind);
    void recordRequested(bool pickWindow);
    void stopRecordingRequested();
    void microphoneToggleRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    SymbolButton* addButton(const QString& symbol, const QString& help, int symbolSize);
    void addCaptureButton(const QString& symbol, const QString& help, CaptureKind kind);
    void addRecordControls();
    void refreshRecordControls();
    void setHint(const QString& hint);

    QString hint_;
    QLabel* hintLabel_;
    QHBoxLayout* buttons_;
    SymbolButton* record_ = nullptr;
    SymbolButton* recordMenuButton_ = nullptr;
    std::unique_ptr<QMenu> recordMenu_;
    QAction* microphoneAction_ = nullptr;
    bool recording_ = false;
    bool microphoneOn_ = false;
};
