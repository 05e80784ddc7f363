#pragma once

// Another program on the test's display, with a window of its own that takes
// keys and clicks, and the user's hands on the keyboard and mouse (XTest).

#include "platform/x11/XcbReply.h"

#include <QPoint>
#include <QRect>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <set>
#include <utility>

class OtherProgram {
public:
    explicit OtherProgram(const QRect& where = QRect(40, 40, 300, 200))
        : connection_(xcb_connect(nullptr, nullptr))
        , root_(xcb_setup_roots_iterator(xcb_get_setup(connection_.get())).data->root)
        , window_(xcb_generate_id(connection_.get()))
        , where_(where)
    {
        xcb_connection_t* c = connection_.get();
        const uint32_t events = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_BUTTON_PRESS;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, root_, int16_t(where.x()), int16_t(where.y()),
            uint16_t(where.width()), uint16_t(where.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
            XCB_CW_EVENT_MASK, &events);
        xcb_map_window(c, window_);
        sync();
    }

    QPoint centre() const { return where_.center(); }

    // As clicking into its window would.
    void takeFocus()
    {
        xcb_set_input_focus(connection_.get(), XCB_INPUT_FOCUS_POINTER_ROOT, window_, XCB_CURRENT_TIME);
        sync();
    }

    // A key pressed and released on the keyboard, wherever the focus is.
    void type(xcb_keycode_t key) { press(key, XCB_KEY_PRESS, XCB_KEY_RELEASE); }
    // The first button pressed and released, wherever the pointer is.
    void click() { press(XCB_BUTTON_INDEX_1, XCB_BUTTON_PRESS, XCB_BUTTON_RELEASE); }

    // The modifiers and lock keys that are on.
    int modifiers()
    {
        xcb_connection_t* c = connection_.get();
        const auto pointer = quietReply(c, xcb_query_pointer_reply, xcb_query_pointer(c, root_));
        return pointer ? pointer->mask : 0;
    }

    // `key` without modifiers for this program alone, from the whole display.
    bool grabKey(xcb_keycode_t key)
    {
        xcb_connection_t* c = connection_.get();
        const auto cookie = xcb_grab_key_checked(c, 1, root_, 0, key, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        return !XcbError(xcb_request_check(c, cookie));
    }

    uint8_t grabPointer()
    {
        xcb_connection_t* c = connection_.get();
        const auto reply = quietReply(c, xcb_grab_pointer_reply,
            xcb_grab_pointer(c, 0, window_, XCB_EVENT_MASK_BUTTON_PRESS, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                XCB_NONE, XCB_NONE, XCB_CURRENT_TIME));
        return reply ? reply->status : uint8_t(XCB_GRAB_STATUS_INVALID_TIME);
    }

    void ungrabPointer()
    {
        xcb_ungrab_pointer(connection_.get(), XCB_CURRENT_TIME);
        sync();
    }

    // Every key press reported to it so far; asking again does not forget them.
    bool receivedPress(xcb_keycode_t key)
    {
        readEvents();
        return pressed_.contains(key);
    }

    // Whether a click reached the window since the last time it was asked.
    bool wasClicked()
    {
        readEvents();
        return std::exchange(clicked_, false);
    }

private:
    void press(uint8_t detail, uint8_t down, uint8_t up)
    {
        for (const uint8_t type : {down, up})
            xcb_test_fake_input(connection_.get(), type, detail, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        sync();
    }

    void readEvents()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_.get())) {
            const XcbReply<xcb_generic_event_t> owned(event);
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_KEY_PRESS)
                pressed_.insert(reinterpret_cast<xcb_key_press_event_t*>(event)->detail);
            clicked_ = clicked_ || type == XCB_BUTTON_PRESS;
        }
    }

    void sync()
    {
        xcb_connection_t* c = connection_.get();
        quietReply(c, xcb_get_input_focus_reply, xcb_get_input_focus(c));
    }

    XcbConnection connection_;
    xcb_window_t root_;
    xcb_window_t window_;
    QRect where_;
    std::set<xcb_keycode_t> pressed_;
    bool clicked_ = false;
};
