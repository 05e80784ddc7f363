#pragma once

#include "platform/DesktopShortcuts.h"
#include "platform/linux/DisplacedBindings.h"
#include "platform/linux/XfconfChannel.h"

#include <memory>

// Xfce's application shortcuts: channel xfce4-keyboard-shortcuts, one string
// property per key under /commands/custom, named by the key and holding the
// command line it runs. A key that ran another command runs Dropwell's
// instead, and that command comes back on clear.
class XfceShortcuts final : public DesktopShortcuts {
public:
    static constexpr const char* channel = "xfce4-keyboard-shortcuts";

    XfceShortcuts(std::unique_ptr<XfconfChannel> store, QString program, DefaultsStore& defaults);

    QString whereKept() const override;
    StatusOr<std::optional<QKeyCombination>> key(ShortcutCommand command) const override;
    Status set(ShortcutCommand command, QKeyCombination key) override;
    Status clear(ShortcutCommand command) override;

private:
    // Gives back what the command's keys took and removes the rest of them.
    Status release(ShortcutCommand command);

    std::unique_ptr<XfconfChannel> store_;
    QString program_;
    DisplacedBindings displaced_;
};
