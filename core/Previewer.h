#pragma once

#include <QStringList>

// The window that previews files in place, moving between them with the arrow
// keys: Dropwell's own interface, which the engine calls and the windows
// implement, not something asked of the desktop.
class Previewer {
public:
    virtual ~Previewer() = default;
    virtual bool isVisible() const = 0;
    // Shows `paths` starting at `startAt`, or closes the preview when it is open.
    virtual void toggle(const QStringList& paths, int startAt) = 0;
    virtual void close() = 0;
};
