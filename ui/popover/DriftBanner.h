#pragma once

#include <QWidget>

class AppModel;

// Says that screenshots no longer go to the Inbox, with Fix now and Dismiss.
class DriftBanner : public QWidget {
    Q_OBJECT
public:
    explicit DriftBanner(AppModel& model, QWidget* parent = nullptr);
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AppModel& model_;
};
