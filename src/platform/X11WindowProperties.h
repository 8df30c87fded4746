#pragma once

#include <QtGlobal>

#include <xcb/xcb.h>

namespace quillor {

// The EWMH hints that make a window float like a palette: out of the taskbar
// and the pager, and present on every workspace. A null connection (no X11,
// the offscreen platform) makes both calls do nothing.
namespace X11WindowProperties {

// Sentinel of _NET_WM_DESKTOP meaning "every workspace".
inline constexpr quint32 allDesktops = 0xFFFFFFFF;

// Writes the hints as properties of a window that is not mapped yet, so the
// window manager reads them when it takes the window on. States already on
// the window are kept. The window manager drops _NET_WM_STATE when a window is
// withdrawn, so this belongs before every map.
void prepareFloating(xcb_connection_t* connection, quint32 window);

// Asks Qt's connection for the hints' atoms ahead of the first showing,
// without waiting for the replies.
void requestAtoms(xcb_connection_t* connection);

// Asks the window manager, through client messages to the root, to apply the
// hints to a window it already manages; needed after a map because toolkits
// and managers may reset the workspace of a window they map.
void assertFloating(xcb_connection_t* connection, quint32 window);

} // namespace X11WindowProperties
} // namespace quillor
