#include "platform/ActiveWindow.h"

#include "platform/X11Client.h"

#include <array>
#include <cstdlib>

namespace quillor::ActiveWindow {

namespace {

// EWMH source indication of a pager: window managers that refuse activation
// requests from ordinary applications (focus-stealing prevention) honour it,
// and handing the keyboard back is exactly the user's wish.
constexpr quint32 pagerSource = 2;

constexpr std::array<const char*, 3> atomNames{"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_ACTIVE_WINDOW"};

} // namespace

void requestAtoms(xcb_connection_t* connection)
{
    if (connection)
        X11Client::requestAtoms(connection, atomNames);
}

std::optional<quint32> current(xcb_connection_t* connection)
{
    if (!connection)
        return std::nullopt;
    const QList<quint32> active = X11Client::property(connection, X11Client::root(connection),
                                                      X11Client::atom(connection, "_NET_ACTIVE_WINDOW"),
                                                      XCB_ATOM_WINDOW);
    if (active.isEmpty() || active.first() == XCB_WINDOW_NONE)
        return std::nullopt;
    return active.first();
}

bool isViewable(xcb_connection_t* connection, quint32 window)
{
    if (!connection || window == XCB_WINDOW_NONE)
        return false;
    const auto cookie = xcb_get_window_attributes(connection, window);
    xcb_generic_error_t* error = nullptr;
    xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(connection, cookie, &error);
    std::free(error); // BadWindow: the window is gone
    const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(reply);
    return viewable;
}

bool managerSupportsActivation(xcb_connection_t* connection)
{
    if (!connection)
        return false;
    const xcb_window_t root = X11Client::root(connection);
    const QList<xcb_atom_t> names = X11Client::atoms(connection, atomNames);
    const xcb_atom_t check = names[0];
    const QList<quint32> manager = X11Client::property(connection, root, check, XCB_ATOM_WINDOW);
    if (manager.isEmpty())
        return false;
    // A manager that died leaves the root's property behind; its check window
    // then no longer names itself.
    if (X11Client::property(connection, manager.first(), check, XCB_ATOM_WINDOW) != QList<quint32>{manager.first()})
        return false;
    return X11Client::property(connection, root, names[1], XCB_ATOM_ATOM).contains(names[2]);
}

bool activate(xcb_connection_t* connection, quint32 window, quint32 timestamp, quint32 requester)
{
    if (!isViewable(connection, window))
        return false;
    if (managerSupportsActivation(connection)) {
        X11Client::sendToRoot(connection, window, X11Client::atom(connection, "_NET_ACTIVE_WINDOW"),
                              {pagerSource, timestamp, requester, 0, 0});
        return true;
    }
    // Nobody manages the stacking: bring the window up and give it the keys.
    // At the server's current time: the server ignores a focus change older
    // than the last one, and ours showed a window since the user's action.
    // Checked, so that a window unmapped in the meantime fails here instead of
    // as a stray error in the connection's event queue.
    const quint32 above = XCB_STACK_MODE_ABOVE;
    std::free(xcb_request_check(
        connection, xcb_configure_window_checked(connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above)));
    const auto cookie = xcb_set_input_focus_checked(connection, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_generic_error_t* error = xcb_request_check(connection, cookie);
    const bool focused = error == nullptr;
    std::free(error);
    return focused;
}

} // namespace quillor::ActiveWindow
