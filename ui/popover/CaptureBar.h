#pragma once

#include "capture/CaptureKind.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;

// The row of capture buttons under the popover's header, with the name of
// the button under the pointer as a hint.
class CaptureBar : public QWidget {
    Q_OBJECT
public:
    explicit CaptureBar(QWidget* parent = nullptr);

    const QString& hint() const { return hint_; }

Q_SIGNALS:
    void captureRequested(CaptureKind kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addButton(const QString& symbol, const QString& help, CaptureKind kind);
    void setHint(const QString& hint);

    QString hint_;
    QLabel* hintLabel_;
    QHBoxLayout* buttons_;
};
