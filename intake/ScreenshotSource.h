#pragma once

#include "platform/ScreenshotTool.h"

#include <QString>

#include <optional>
#include <vector>

// The screenshot tools of this session whose save folder Dropwell redirects:
// the primary one (the tool the desktop's Print Screen key runs) decides
// drift and keeps its previous location in the settings; every other
// installed tool is redirected too. Where the desktop's own tool has no
// setting (GNOME Shell), its fixed folders for screenshots and screen
// recordings are pulled from instead.
class ScreenshotSource {
public:
    ScreenshotSource() = default; // no tool: nothing to redirect
    ScreenshotSource(std::vector<ScreenshotTool*> tools, ScreenshotTool* primary, std::optional<QString> pulledFolder,
        std::optional<QString> pulledRecordingsFolder = std::nullopt);

    const std::vector<ScreenshotTool*>& tools() const { return tools_; }
    ScreenshotTool* primary() const { return primary_; }
    const std::optional<QString>& pulledFolder() const { return pulledFolder_; }
    const std::optional<QString>& pulledRecordingsFolder() const { return pulledRecordingsFolder_; }

    // How the tools that save into `inbox` now name their files: what a
    // redirected tool writes there is a screenshot, whatever its name.
    ScreenshotNames namesSavedInto(const QString& inbox) const;

    // Where the primary tool keeps its folder; empty without one.
    QString domain() const;
    QString key() const;

    // The tool's setting names `folder` now (spelling, "~" and a trailing
    // slash aside).
    static bool points(const ScreenshotTool& tool, const QString& folder);
    // What to remember as the tool's previous location: the stored value as
    // it stands, or the tool's own default folder where it names none or
    // already names `inbox`, so that restoring never writes the Inbox back.
    // Nothing when the setting cannot be read.
    static std::optional<QString> previousLocation(const ScreenshotTool& tool, const QString& inbox);
    // Writes `previous` back, or the tool's default folder without one.
    static Status restore(ScreenshotTool& tool, const std::optional<QString>& previous);

private:
    std::vector<ScreenshotTool*> tools_;
    ScreenshotTool* primary_ = nullptr;
    std::optional<QString> pulledFolder_;
    std::optional<QString> pulledRecordingsFolder_;
};
