#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <xcb/xcb.h>

#include <array>
#include <span>

namespace quillor {

// The few round trips our EWMH code shares. All take a live connection.
namespace X11Client {

// Qt's own X connection whenever Qt runs on X11, XWayland included; null on
// any other platform (offscreen, native Wayland).
xcb_connection_t* qtConnection();

// The root window of the connection's first screen.
xcb_window_t root(xcb_connection_t* connection);

// The atom of a name, created when missing; XCB_ATOM_NONE on failure. The
// atoms of Qt's own connection are asked for once.
xcb_atom_t atom(xcb_connection_t* connection, const char* name);
// The atoms of several names, in order, in one round trip at most.
QList<xcb_atom_t> atoms(xcb_connection_t* connection, std::span<const char* const> names);
// Asks Qt's connection for atoms without waiting: the replies are read when
// the atoms are first needed, long after they have arrived.
void requestAtoms(xcb_connection_t* connection, std::span<const char* const> names);

// A 32-bit property of a window as a list of values; empty when the property
// is missing, of another type or unreadable.
QList<quint32> property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type);

// A client message about `window` sent to the root, as EWMH requests are, to
// reach the window manager.
void sendToRoot(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t type,
                const std::array<quint32, 5>& data);

// The symbol a keycode carries without any modifier (the first column of the
// keyboard map: "k" for the K key, "1" on a French keyboard's "&" key); 0 when
// the keycode has none.
quint32 unshiftedKeysym(xcb_connection_t* connection, quint8 keycode);

} // namespace X11Client
} // namespace quillor
