#pragma once

#include <QObject>

#include <vector>

class TrayHost;

// Whether Dropwell's icon has a tray to go in. At login Dropwell often starts
// before the panel that hosts the tray, so a missing tray is a verdict only
// once the wait is over; a tray that comes later still gets the icon.
class TrayArrival : public QObject {
    Q_OBJECT
public:
    // `hosts` are the kinds of tray this desktop may offer; any one will do.
    explicit TrayArrival(std::vector<TrayHost*> hosts, QObject* parent = nullptr);

    // Starts listening; a tray that is there already arrives at once.
    void begin();
    bool hasArrived() const { return arrived_; }

public Q_SLOTS:
    // The wait is over (rung by the owner's timer): with no tray yet, the
    // window has to stand in for the icon.
    void waitOver();

Q_SIGNALS:
    // Once: the icon can be shown now.
    void arrived();
    // At most once, and never after arrived(): no tray came in time.
    void fallbackDue();

private:
    void check();

    std::vector<TrayHost*> hosts_;
    bool arrived_ = false;
    bool waiting_ = false;
};
