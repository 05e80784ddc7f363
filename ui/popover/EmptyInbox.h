#pragma once

#include <QWidget>

class AppModel;
class QLabel;

// What the list area shows when there is no file to list.
class EmptyInbox : public QWidget {
    Q_OBJECT
public:
    explicit EmptyInbox(AppModel& model, QWidget* parent = nullptr);
    void refresh();

private:
    AppModel& model_;
    QLabel* cube_;
    QLabel* title_;
    QLabel* hint_;
};
