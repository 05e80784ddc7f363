#pragma once

#include <QWidget>

class AppModel;
class StopSlider;
class ValueRow;

// How long files stay in the Inbox, and the way out of a pause.
class AutoDeletePane : public QWidget {
    Q_OBJECT
public:
    explicit AutoDeletePane(AppModel& model, QWidget* parent = nullptr);

    static QString daysLabel(qint64 days);

protected:
    // A pause may have run out while the window was closed.
    void showEvent(QShowEvent* event) override;

private:
    void refresh();

    AppModel& model_;
    StopSlider* screenshotHours_;
    StopSlider* otherDays_;
    QWidget* paused_;
    ValueRow* pausedUntil_;
};
