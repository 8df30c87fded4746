#include "platform/X11WindowProperties.h"

#include "platform/X11Client.h"

namespace quillor::X11WindowProperties {

namespace {

// _NET_WM_STATE client message actions.
constexpr quint32 addState = 1;
// Source indication of an ordinary application.
constexpr quint32 applicationSource = 1;

QList<quint32> floatingStates(xcb_connection_t* connection)
{
    return {X11Client::atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
            X11Client::atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
}

} // namespace

void prepareFloating(xcb_connection_t* connection, quint32 window)
{
    if (!connection || window == XCB_WINDOW_NONE)
        return;
    const xcb_atom_t stateName = X11Client::atom(connection, "_NET_WM_STATE");
    QList<quint32> states = X11Client::property(connection, window, stateName, XCB_ATOM_ATOM);
    for (const quint32 state : floatingStates(connection)) {
        if (!states.contains(state))
            states.append(state);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, stateName, XCB_ATOM_ATOM, 32,
                        quint32(states.size()), states.constData());
    const quint32 desktop = allDesktops;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, X11Client::atom(connection, "_NET_WM_DESKTOP"),
                        XCB_ATOM_CARDINAL, 32, 1, &desktop);
    xcb_flush(connection);
}

void assertFloating(xcb_connection_t* connection, quint32 window)
{
    if (!connection || window == XCB_WINDOW_NONE)
        return;
    const QList<quint32> states = floatingStates(connection);
    X11Client::sendToRoot(connection, window, X11Client::atom(connection, "_NET_WM_STATE"),
                          {addState, states[0], states[1], applicationSource, 0});
    X11Client::sendToRoot(connection, window, X11Client::atom(connection, "_NET_WM_DESKTOP"),
                          {allDesktops, applicationSource, 0, 0, 0});
}

} // namespace quillor::X11WindowProperties
