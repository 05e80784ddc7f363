#pragma once

#include "platform/Autostart.h"

// The desktop entry in the user's XDG autostart folder that every desktop
// of the freedesktop.org family starts at login. An entry the user has
// switched off by hand (Hidden=true, or GNOME's X-GNOME-Autostart-enabled=false)
// reads as off; switching on again keeps the rest of their edits.
class XdgAutostart final : public Autostart {
public:
    // `configHome` is $XDG_CONFIG_HOME; `program` what the entry runs.
    XdgAutostart(const QString& configHome, const QString& program);

    bool isEnabled() const override;
    Status setEnabled(bool enabled) override;
    QString entryPath() const override { return path_; }

private:
    QString path_;
    QString program_;
};
