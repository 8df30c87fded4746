#pragma once

// A plain xcb client that looks at the X server the way a user would: which
// windows are on screen and which one has the keyboard, whether a key
// combination is already taken, and (for the benchmark) real key presses
// through the XTEST extension.

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace quillor::e2e {

inline constexpr xcb_keysym_t spaceKeysym = 0x20;
inline constexpr xcb_keysym_t controlKeysym = 0xffe3; // Control_L

class X11Probe {
public:
    explicit X11Probe(const std::string& display) : m_connection(xcb_connect(display.c_str(), nullptr))
    {
        if (!xcb_connection_has_error(m_connection))
            m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~X11Probe() { xcb_disconnect(m_connection); }

    X11Probe(const X11Probe&) = delete;
    X11Probe& operator=(const X11Probe&) = delete;

    bool connected() const { return !xcb_connection_has_error(m_connection); }
    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

    xcb_atom_t atom(const char* name) const
    {
        auto* reply = xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name),
                                            nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return result;
    }

    // The bytes of a property, or nothing when the window lacks it (or is gone).
    std::optional<std::string> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const
    {
        auto* reply = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, name, type, 0, 1024), nullptr);
        std::optional<std::string> result;
        if (reply && reply->type != XCB_ATOM_NONE)
            result = std::string(static_cast<const char*>(xcb_get_property_value(reply)),
                                 size_t(xcb_get_property_value_length(reply)));
        free(reply);
        return result;
    }

    std::optional<xcb_window_t> windowProperty(xcb_window_t window, const char* name) const
    {
        const auto bytes = property(window, atom(name), XCB_ATOM_WINDOW);
        if (!bytes || bytes->size() < sizeof(xcb_window_t))
            return std::nullopt;
        xcb_window_t value = 0;
        memcpy(&value, bytes->data(), sizeof value);
        return value;
    }

    // The title a window manager shows: _NET_WM_NAME, else WM_NAME.
    std::optional<std::string> windowName(xcb_window_t window) const
    {
        if (auto name = property(window, atom("_NET_WM_NAME"), atom("UTF8_STRING")))
            return name;
        return property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
    }

    bool isViewable(xcb_window_t window) const
    {
        auto* reply = xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window),
                                                      nullptr);
        const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        free(reply);
        return viewable;
    }

    // Every window of the tree with exactly this title, frames included.
    std::vector<xcb_window_t> windowsNamed(const std::string& title) const
    {
        std::vector<xcb_window_t> found;
        collect(m_root, title, found);
        return found;
    }

    std::optional<xcb_window_t> viewableWindowNamed(const std::string& title) const
    {
        for (const xcb_window_t window : windowsNamed(title)) {
            if (isViewable(window))
                return window;
        }
        return std::nullopt;
    }

    // The window that owns a selection ("CLIPBOARD", "PRIMARY"), if any.
    std::optional<xcb_window_t> selectionOwner(const char* selection) const
    {
        auto* reply = xcb_get_selection_owner_reply(
            m_connection, xcb_get_selection_owner(m_connection, atom(selection)), nullptr);
        const xcb_window_t owner = reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
        free(reply);
        return owner == XCB_WINDOW_NONE ? std::nullopt : std::optional(owner);
    }

    // Whether the window manager stacks `upper` above `lower`, as its list of
    // managed windows from bottom to top says.
    bool isAbove(xcb_window_t upper, xcb_window_t lower) const
    {
        const auto bytes = property(m_root, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW);
        if (!bytes)
            return false;
        std::vector<xcb_window_t> order(bytes->size() / sizeof(xcb_window_t));
        memcpy(order.data(), bytes->data(), order.size() * sizeof(xcb_window_t));
        const auto upperAt = std::find(order.begin(), order.end(), upper);
        const auto lowerAt = std::find(order.begin(), order.end(), lower);
        return upperAt != order.end() && lowerAt != order.end() && upperAt > lowerAt;
    }

    std::optional<xcb_window_t> activeWindow() const { return windowProperty(m_root, "_NET_ACTIVE_WINDOW"); }

    bool windowManagerRunning() const { return windowProperty(m_root, "_NET_SUPPORTING_WM_CHECK").has_value(); }

    std::optional<xcb_keycode_t> keycode(xcb_keysym_t keysym) const
    {
        const xcb_setup_t* setup = xcb_get_setup(m_connection);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto* reply = xcb_get_keyboard_mapping_reply(
            m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, uint8_t(count)), nullptr);
        std::optional<xcb_keycode_t> result;
        if (reply) {
            const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(reply);
            for (int code = 0; code < count && !result; ++code) {
                if (symbols[code * reply->keysyms_per_keycode] == keysym)
                    result = xcb_keycode_t(setup->min_keycode + code);
            }
        }
        free(reply);
        return result;
    }

    // Puts each symbol the keyboard map lacks on a free keycode. A tool that
    // types a character missing from the map remaps a spare key just before
    // pressing it, and a client under load may still read the press with
    // the old map and lose the character; a map fixed before the client
    // starts leaves nothing to race. False when free keycodes run out.
    bool addKeysyms(const std::vector<xcb_keysym_t>& keysyms) const
    {
        const xcb_setup_t* setup = xcb_get_setup(m_connection);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto* reply = xcb_get_keyboard_mapping_reply(
            m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, uint8_t(count)), nullptr);
        if (!reply)
            return false;
        const int width = reply->keysyms_per_keycode;
        const std::vector<xcb_keysym_t> map(xcb_get_keyboard_mapping_keysyms(reply),
                                            xcb_get_keyboard_mapping_keysyms(reply) + count * width);
        free(reply);
        const auto present = [&](xcb_keysym_t keysym) { return std::find(map.begin(), map.end(), keysym) != map.end(); };
        const auto unused = [&](int code) {
            return std::all_of(map.begin() + code * width, map.begin() + (code + 1) * width,
                               [](xcb_keysym_t keysym) { return keysym == 0; });
        };
        int code = count - 1;
        for (const xcb_keysym_t keysym : keysyms) {
            if (present(keysym))
                continue;
            while (code >= 0 && !unused(code))
                --code;
            if (code < 0)
                return false;
            std::vector<xcb_keysym_t> row(size_t(width), 0);
            row[0] = keysym;
            if (width > 1)
                row[1] = keysym;
            xcb_change_keyboard_mapping(m_connection, 1, xcb_keycode_t(setup->min_keycode + code), uint8_t(width),
                                        row.data());
            --code;
        }
        sync();
        return true;
    }

    // Grabs the combination on the root window and keeps it: false when
    // another client holds it already.
    bool grabKey(xcb_keycode_t key, uint16_t modifiers) const
    {
        auto* error = xcb_request_check(m_connection, xcb_grab_key_checked(m_connection, 0, m_root, modifiers, key,
                                                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        const bool granted = error == nullptr;
        free(error);
        return granted;
    }

    // Whether another client holds the combination. The probe's grab and its
    // release leave together, so the server handles them back to back: were
    // the release sent after the grab's answer, the probe would hold the
    // combination for as long as a loaded test process takes to get that
    // answer and go on, and a program grabbing then would be refused. Still,
    // callers should not ask in a tight loop.
    bool keyHeldElsewhere(xcb_keycode_t key, uint16_t modifiers) const
    {
        const xcb_void_cookie_t grab = xcb_grab_key_checked(m_connection, 0, m_root, modifiers, key,
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        // A refused grab leaves nothing to release: a client's release only
        // touches its own grabs.
        xcb_ungrab_key(m_connection, key, m_root, modifiers);
        auto* error = xcb_request_check(m_connection, grab);
        const bool refused = error != nullptr;
        free(error);
        return refused;
    }

    // A small titled top-level window that takes the keyboard when asked.
    xcb_window_t createWindow(const std::string& title) const
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const xcb_window_t window = xcb_generate_id(m_connection);
        const uint32_t values[] = {screen->white_pixel, XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_FOCUS_CHANGE};
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 100, 100, 320, 120, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK,
                          values);
        setText(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, title);
        setText(window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), title);
        setText(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, std::string("quillor-e2e\0QuillorE2E\0", 23));
        // ICCCM WM_HINTS with only the input hint set: the window manager may
        // give this window the focus.
        const uint32_t hints[9] = {1, 1, 0, 0, 0, 0, 0, 0, 0};
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9,
                            hints);
        xcb_map_window(m_connection, window);
        xcb_flush(m_connection);
        return window;
    }

    // Key presses that reach `window`, one of this probe's, are reported by
    // keyPressArrived from now on.
    void selectKeyPresses(xcb_window_t window) const
    {
        const uint32_t mask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_KEY_PRESS;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }

    // Whether a press of `key` reached one of this probe's windows since the
    // last call: after the round trip, every event the server sent before is
    // in. Other events waiting are dropped.
    bool keyPressArrived(xcb_keycode_t key) const
    {
        sync();
        bool arrived = false;
        while (xcb_generic_event_t* event = xcb_poll_for_queued_event(m_connection)) {
            if ((event->response_type & 0x7F) == XCB_KEY_PRESS
                && reinterpret_cast<const xcb_key_press_event_t*>(event)->detail == key)
                arrived = true;
            free(event);
        }
        return arrived;
    }

    // Asks the window manager to activate `window`, as a pager would.
    void activate(xcb_window_t window) const
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("_NET_ACTIVE_WINDOW");
        event.data.data32[0] = 2; // source: pager
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(m_connection);
    }

    // From now on, the requests clients send the window manager through the
    // root window reach this probe too.
    void watchWindowManagerRequests() const
    {
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        sync();
    }

    // Whether some client asked the window manager to activate `window` since
    // the watch began (other events are dropped).
    bool activationRequested(xcb_window_t window)
    {
        const xcb_atom_t active = atom("_NET_ACTIVE_WINDOW");
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
                if (message->type == active)
                    m_activationRequests.push_back(message->window);
            }
            free(event);
        }
        return std::find(m_activationRequests.begin(), m_activationRequests.end(), window) != m_activationRequests.end();
    }

    bool hasXTest() const
    {
        const xcb_query_extension_reply_t* data = xcb_get_extension_data(m_connection, &xtestExtension());
        return data && data->present;
    }

    // A key press or release as if typed on the keyboard (XTEST FakeInput):
    // unlike a sent event, it triggers passive grabs.
    void fakeKey(xcb_keycode_t key, bool press) const
    {
        struct FakeInput {
            uint8_t majorOpcode;
            uint8_t minorOpcode;
            uint16_t length;
            uint8_t type;
            uint8_t detail;
            uint8_t pad0[2];
            uint32_t time;
            xcb_window_t root;
            uint8_t pad1[8];
            int16_t rootX;
            int16_t rootY;
            uint8_t pad2[7];
            uint8_t deviceid;
        };
        static_assert(sizeof(FakeInput) == 36);
        FakeInput request{};
        request.type = press ? XCB_KEY_PRESS : XCB_KEY_RELEASE;
        request.detail = key;
        xcb_protocol_request_t protocol{};
        protocol.count = 2;
        protocol.ext = &xtestExtension();
        protocol.opcode = 2; // FakeInput
        protocol.isvoid = 1;
        iovec parts[4];
        parts[2].iov_base = &request;
        parts[2].iov_len = sizeof request;
        parts[3].iov_base = nullptr;
        parts[3].iov_len = 0;
        xcb_send_request(m_connection, 0, parts + 2, &protocol);
    }

    void flush() const { xcb_flush(m_connection); }

    // A full round trip: every request sent before has been handled.
    void sync() const { free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); }

private:
    std::vector<xcb_window_t> m_activationRequests;

    static xcb_extension_t& xtestExtension()
    {
        static xcb_extension_t extension{"XTEST", 0};
        return extension;
    }

    void setText(xcb_window_t window, xcb_atom_t name, xcb_atom_t type, const std::string& text) const
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, name, type, 8, uint32_t(text.size()),
                            text.data());
    }

    void collect(xcb_window_t window, const std::string& title, std::vector<xcb_window_t>& found) const
    {
        auto* tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr);
        if (!tree)
            return;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        const int count = xcb_query_tree_children_length(tree);
        for (int i = 0; i < count; ++i) {
            if (windowName(children[i]) == title)
                found.push_back(children[i]);
            collect(children[i], title, found);
        }
        free(tree);
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};

} // namespace quillor::e2e
