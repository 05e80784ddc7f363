#pragma once

#include "platform/Status.h"

#include <QDateTime>
#include <QString>

#include <optional>

class Clock;
class Timers;

// What the captures ask of the application around them: where files go, the
// popover's message, the previewer. The application's model answers.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;

    // A capture goes into the Inbox: it must be watched from now on, also
    // when the capture came from a key binding before the popover opened.
    virtual void startWatching() = 0;
    // The Inbox folder, made first where it is missing; why not where it
    // cannot be made.
    virtual StatusOr<QString> inbox() = 0;
    // The popover's message; none takes it down.
    virtual void showToast(const std::optional<QString>& message) = 0;
    virtual void togglePreview(const QString& path) = 0;
    virtual void closePreview() = 0;
    virtual QDateTime now() const = 0;
    virtual const Clock& clock() const = 0;
    virtual Timers& timers() = 0;
};
