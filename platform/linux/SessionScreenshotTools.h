#pragma once

#include "platform/ScreenshotTool.h"

#include <memory>
#include <optional>
#include <vector>

// The screenshot tools installed for this session, and which one the
// desktop's Print Screen key runs.
struct SessionScreenshotTools {
    std::vector<std::unique_ptr<ScreenshotTool>> installed;
    // Nothing when GNOME Shell's own screenshot UI is the primary tool, or
    // when no known tool is installed.
    ScreenshotTool* primary = nullptr;
    // GNOME Shell saves into this fixed folder and has no setting for it.
    std::optional<QString> shellFolder;
    // And its screen recordings into this one.
    std::optional<QString> shellRecordingsFolder;

    struct Places {
        QString desktop; // XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME"
        QString configHome; // ~/.config
        QString pictures; // the XDG Pictures folder
        QString home;
        QString videos; // the XDG Videos folder
    };
    static SessionScreenshotTools find(const Places& places);
    // The places of the running session.
    static Places currentPlaces();
};

