#pragma once

#include <QWidget>

class AppModel;
class QLineEdit;

// Which Dropwell this is, and the way back to where screenshots went before.
class AboutPane : public QWidget {
    Q_OBJECT
public:
    explicit AboutPane(AppModel& model, QWidget* parent = nullptr);

private:
    QWidget* makeScreenshotLocationCard();
    void refresh();

    AppModel& model_;
    QLineEdit* previousLocation_ = nullptr;
};
