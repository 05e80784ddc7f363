#pragma once

#include "platform/GlobalEscape.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <vector>

// Escape taken from the whole X display through a passive grab on the root
// window. While it is held, every Escape arrives on Qt's own connection,
// reported on the root window, where this filter picks it out before Qt
// drops it as meant for no window of ours.
class X11GlobalEscape final : public GlobalEscape, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit X11GlobalEscape(QObject* parent = nullptr);
    ~X11GlobalEscape() override;

    bool grab() override;
    void release() override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    struct KeyGrab {
        std::uint8_t keycode;
        std::uint16_t modifiers;
    };
    std::vector<KeyGrab> held_;
    std::uint32_t root_ = 0;
};
