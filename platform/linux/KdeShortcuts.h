#pragma once

#include "platform/DesktopShortcuts.h"
#include "platform/linux/DisplacedBindings.h"
#include "platform/linux/KGlobalAccelBus.h"

// KDE Plasma's global shortcuts, kept by kglobalaccel. The keys belong to
// the actions of Dropwell's desktop entry (a component named after the
// entry's file), which kglobalaccel launches itself: no Dropwell has to run
// for a key to work. A key taken from another shortcut is given back on clear.
class KdeShortcuts final : public DesktopShortcuts {
public:
    static constexpr const char* desktopEntry = "org.dropwell.Dropwell.desktop";

    // `entryPath` is where the desktop entry is installed, as kglobalaccel
    // finds it; empty when it is not.
    KdeShortcuts(QDBusConnection bus, QString entryPath, DefaultsStore& defaults);

    QString whereKept() const override;
    StatusOr<std::optional<QKeyCombination>> key(ShortcutCommand command) const override;
    Status set(ShortcutCommand command, QKeyCombination key) override;
    Status clear(ShortcutCommand command) override;

private:
    // Whether the installed entry has the command's action; why not if not.
    Status entryOffers(ShortcutCommand command) const;
    // Takes the key from every other shortcut that has it, and remembers which.
    Status displace(ShortcutCommand command, QKeyCombination key);
    void giveBack(ShortcutCommand command);

    mutable KGlobalAccelBus bus_;
    QString entryPath_;
    DisplacedBindings displaced_;
};
