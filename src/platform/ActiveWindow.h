#pragma once

#include <QtGlobal>

#include <xcb/xcb.h>

#include <optional>

namespace quillor {

// Which window has the keyboard, and handing it back, through the window
// manager's EWMH protocol. Every function takes the connection to speak on (a
// null one does nothing), so the rules can be checked against a server of
// the caller's own.
namespace ActiveWindow {

// Asks Qt's connection for the atoms used here ahead of their first use,
// without waiting for the replies.
void requestAtoms(xcb_connection_t* connection);

// The root window's _NET_ACTIVE_WINDOW; nothing when it is unset or none.
std::optional<quint32> current(xcb_connection_t* connection);

// Whether the window still exists and is mapped on screen.
bool isViewable(xcb_connection_t* connection, quint32 window);

// Whether a window manager that understands _NET_ACTIVE_WINDOW runs.
bool managerSupportsActivation(xcb_connection_t* connection);

// Gives the window the keyboard again, when it is still viewable: asks the
// window manager as a pager would (source 2, which focus-stealing prevention
// lets through), else, with no such manager, sets the input focus directly.
// `timestamp` is the X time of the user action behind the request, handed
// to the window manager (0: none known); `requester` is our active window,
// or 0. Tells whether a request was made.
bool activate(xcb_connection_t* connection, quint32 window, quint32 timestamp, quint32 requester = 0);

} // namespace ActiveWindow
} // namespace quillor
