#pragma once

#include "core/Persistence.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

// What the popover tells once at the first start: files kept aside because
// they could not be read, settings brought into range.
class StartNotes {
    Q_DECLARE_TR_FUNCTIONS(StartNotes)
public:
    explicit StartNotes(const Persistence& persistence) : persistence_(persistence) {}

    void add(const QStringList& notes) { notes_ += notes; }
    // Keeps Dropwell's unreadable `what` file at `path` aside before it is
    // written over, and notes what Dropwell does `instead`.
    void keepAside(const QString& what, Persistence::LoadState state, const QString& path, const QString& instead);
    // The notes so far as one message, then none until new ones come.
    std::optional<QString> take();

private:
    const Persistence& persistence_;
    QStringList notes_;
};
