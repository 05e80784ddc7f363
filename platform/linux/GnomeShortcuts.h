#pragma once

#include "platform/DesktopShortcuts.h"
#include "platform/linux/DisplacedBindings.h"

#include <memory>

struct _GSettings;

// GNOME's custom keyboard shortcuts: the list of paths in GSettings
// org.gnome.settings-daemon.plugins.media-keys custom-keybindings, each a
// relocatable ...custom-keybinding with a name, a command and a binding.
// A key taken from GNOME's own shortcuts (the Shell's, the window manager's,
// the media keys') or from another custom one is given back on clear.
class GnomeShortcuts final : public DesktopShortcuts {
public:
    // Nothing when the schema is not installed. `program` is what the keys run.
    static std::unique_ptr<GnomeShortcuts> open(const QString& program, DefaultsStore& defaults);
    ~GnomeShortcuts() override;

    QString whereKept() const override;
    StatusOr<std::optional<QKeyCombination>> key(ShortcutCommand command) const override;
    Status set(ShortcutCommand command, QKeyCombination key) override;
    Status clear(ShortcutCommand command) override;

private:
    struct Unref {
        void operator()(_GSettings* settings) const;
    };
    using Settings = std::unique_ptr<_GSettings, Unref>;
    GnomeShortcuts(Settings mediaKeys, const QString& program, DefaultsStore& defaults);

    QStringList customPaths() const;
    // The custom shortcuts that run the command.
    QStringList pathsRunning(ShortcutCommand command) const;
    void removeCustom(const QString& path);
    // Takes the key from every other shortcut that has it, and remembers where.
    void displace(ShortcutCommand command, QKeyCombination key);
    void giveBack(ShortcutCommand command);

    Settings mediaKeys_;
    QString program_;
    DisplacedBindings displaced_;
};
