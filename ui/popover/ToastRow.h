#pragma once

#include <QWidget>

class AppModel;
class QLabel;
class QPushButton;

// The model's one-line message, with a way to dismiss it (and to quit, for
// messages that tell the user to).
class ToastRow : public QWidget {
    Q_OBJECT
public:
    explicit ToastRow(AppModel& model, QWidget* parent = nullptr);
    void refresh();

Q_SIGNALS:
    void quitRequested();

private:
    AppModel& model_;
    QLabel* text_;
    QPushButton* quit_;
};
