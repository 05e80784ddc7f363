#pragma once

#include <QPointer>
#include <QWidget>

#include <vector>

// Every window of Dropwell's that is on screen leaves it for a capture and
// comes back once the picture is taken. X11 cannot read the screen without
// some of its windows, so they are hidden rather than left out.
class OwnWindowsAway {
public:
    // Hides what is on screen now; windows made later (the picking overlay)
    // are not touched.
    OwnWindowsAway();
    // Brings back what was hidden and still exists.
    ~OwnWindowsAway();
    OwnWindowsAway(const OwnWindowsAway&) = delete;
    OwnWindowsAway& operator=(const OwnWindowsAway&) = delete;

    // Whether any of Dropwell's windows is on screen now.
    static bool anyShown();

    // Leaves `window` hidden when the rest comes back: its owner has hidden
    // it meanwhile.
    void forget(const QWidget* window);

private:
    std::vector<QPointer<QWidget>> hidden_;
};
