#pragma once

#include "platform/Status.h"

#include <QImage>

#include <qcoro/qcorotask.h>

#include <memory>

class PageInput;

// A window's page on a desktop that shows Dropwell another program's window
// only as a cast it granted, and lets it scroll there only through the same
// grant: the window's latest picture, and the pointer and the wheel over it.
// The input's points are the picture's own pixels; it neither holds the
// pointer nor brings windows forward.
class PageCast {
public:
    virtual ~PageCast() = default;

    // The window as it shows now.
    virtual QCoro::Task<StatusOr<QImage>> picture() = 0;
    virtual PageInput& input() = 0;
};

// Opens page casts where the desktop might grant them.
class PageCasts {
public:
    virtual ~PageCasts() = default;

    // The desktop asks the user which window, and whether Dropwell may move
    // the pointer and turn the wheel there. A refusal fails with EACCES, a
    // user who closed the dialog with ECANCELED, a desktop that lets no
    // program scroll another's window with ENOTSUP.
    virtual QCoro::Task<StatusOr<std::unique_ptr<PageCast>>> open() = 0;
};
