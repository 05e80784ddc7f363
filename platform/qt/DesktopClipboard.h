#pragma once

#include "platform/Clipboard.h"

// The X11/Wayland clipboard through Qt, in the formats file managers paste.
class DesktopClipboard final : public Clipboard {
public:
    void copyFiles(const QStringList& paths, bool alsoAsPicture) override;
};
