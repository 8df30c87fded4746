#include "platform/X11WindowProperties.h"

#include "platform/X11Client.h"

#include <array>

namespace quillor::X11WindowProperties {

namespace {

// _NET_WM_STATE client message actions.
constexpr quint32 addState = 1;
// Source indication of an ordinary application.
constexpr quint32 applicationSource = 1;

constexpr std::array<const char*, 4> atomNames{"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR",
                                               "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_DESKTOP"};

struct Atoms {
    xcb_atom_t state, skipTaskbar, skipPager, desktop;
};

Atoms atoms(xcb_connection_t* connection)
{
    const QList<xcb_atom_t> found = X11Client::atoms(connection, atomNames);
    return {found[0], found[1], found[2], found[3]};
}

} // namespace

void requestAtoms(xcb_connection_t* connection)
{
    if (connection)
        X11Client::requestAtoms(connection, atomNames);
}

void prepareFloating(xcb_connection_t* connection, quint32 window)
{
    if (!connection || window == XCB_WINDOW_NONE)
        return;
    const Atoms names = atoms(connection);
    QList<quint32> states = X11Client::property(connection, window, names.state, XCB_ATOM_ATOM);
    for (const quint32 state : {names.skipTaskbar, names.skipPager}) {
        if (!states.contains(state))
            states.append(state);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, names.state, XCB_ATOM_ATOM, 32,
                        quint32(states.size()), states.constData());
    const quint32 desktop = allDesktops;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, names.desktop, XCB_ATOM_CARDINAL, 32, 1,
                        &desktop);
    xcb_flush(connection);
}

void assertFloating(xcb_connection_t* connection, quint32 window)
{
    if (!connection || window == XCB_WINDOW_NONE)
        return;
    const Atoms names = atoms(connection);
    X11Client::sendToRoot(connection, window, names.state,
                          {addState, names.skipTaskbar, names.skipPager, applicationSource, 0});
    X11Client::sendToRoot(connection, window, names.desktop, {allDesktops, applicationSource, 0, 0, 0});
}

} // namespace quillor::X11WindowProperties
