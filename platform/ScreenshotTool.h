#pragma once

#include "platform/ScreenshotNaming.h"
#include "platform/Status.h"

#include <QString>

#include <optional>

// One screenshot tool's setting for the folder it saves into. The setting is
// read and written in the tool's own form ("raw": a path or a file URL);
// rawFor() spells a folder that way, folderNamedBy() reads one back.
class ScreenshotTool {
public:
    virtual ~ScreenshotTool() = default;

    // Short, stable name of the tool ("flameshot").
    virtual QString id() const = 0;
    // The name users know it by ("Flameshot").
    virtual QString name() const = 0;
    // Where the setting lives and its key: the GSettings schema or the
    // configuration file, and the key within it.
    virtual QString domain() const = 0;
    virtual QString key() const = 0;
    virtual bool isInstalled() const = 0;

    // The folder the tool saves into while its setting names none.
    virtual QString defaultFolder() const = 0;
    // The setting as stored: nothing when unset; a failure when the store
    // cannot be read or parsed (it is then never written either).
    virtual StatusOr<std::optional<QString>> stored() const = 0;
    virtual Status store(const QString& raw) = 0;

    virtual QString rawFor(const QString& folder) const = 0;

    // How the tool names the files it saves, as it is set up now.
    virtual ScreenshotNaming naming() const = 0;
};

// The absolute folder a raw value names: a file URL, a path or "~/...".
// Nothing for an empty value or a place that is not a local folder.
std::optional<QString> folderNamedBy(const QString& raw);
