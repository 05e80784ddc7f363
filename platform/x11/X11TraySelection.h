#pragma once

#include "platform/TrayHost.h"
#include "platform/x11/XcbReply.h"

#include <QSocketNotifier>

#include <cstdint>
#include <memory>

// The X11 system tray: the panel that hosts it owns the selection
// _NET_SYSTEM_TRAY_S<screen>. Changes of its owner are told by the X server
// (XFixes), on a connection of our own so that Qt's event handling never sees
// them; nothing is polled.
class X11TraySelection final : public TrayHost {
    Q_OBJECT
public:
    explicit X11TraySelection(QObject* parent = nullptr);
    ~X11TraySelection() override;

    bool isPresent() const override { return present_; }

private:
    void readEvents();
    void ownerChanged(bool owned);

    XcbConnection connection_;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    std::uint8_t selectionNotify_ = 0; // the XFixes event's code on this connection
    std::unique_ptr<QSocketNotifier> notifier_;
    bool present_ = false;
};
