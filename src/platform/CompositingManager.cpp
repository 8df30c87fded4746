#include "platform/CompositingManager.h"

#include "platform/X11Client.h"

#include <cstdlib>
#include <memory>

namespace quillor::CompositingManager {

bool isRunning()
{
    xcb_connection_t* connection = X11Client::qtConnection();
    if (!connection)
        return false;
    // A compositing manager owns the selection named after the screen it
    // composites; our windows live on the connection's first screen.
    const xcb_atom_t selection = X11Client::atom(connection, "_NET_WM_CM_S0");
    if (selection == XCB_ATOM_NONE)
        return false;
    const auto cookie = xcb_get_selection_owner(connection, selection);
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(connection, cookie, nullptr), &std::free);
    return reply && reply->owner != XCB_NONE;
}

} // namespace quillor::CompositingManager
