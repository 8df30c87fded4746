#pragma once

#include <QList>
#include <QPoint>

#include <xcb/xcb.h>

#include <optional>

namespace quillor {

// Where the X server says a top-level window stands on the root window, read
// from the window's own configure and reparent notifications in the order the
// server sent them.
//
// A real configure notification gives the position within the window's
// parent at the time it was sent: root coordinates while the parent is the
// root, and no news about the window's place once a window manager has framed
// it (it then tells of a resize within the frame). Qt translates a real
// notification into root coordinates when it reads it, through the parent the
// window has by then: one sent before the manager took the window on but read
// after reads as the corner where the manager made its frame. A framed window
// learns of its place from the manager, which moves the frame and sends a
// synthetic notification in root coordinates; one sent before the manager has
// framed the window is not taken.
class WindowPositionReports {
public:
    WindowPositionReports(xcb_window_t window, xcb_window_t root) : m_window(window), m_root(root) {}

    // The window's position on the root when the event says it; nothing for
    // events about other windows or that say nothing of the place.
    std::optional<QPoint> position(const xcb_generic_event_t& event);

private:
    xcb_window_t m_window;
    xcb_window_t m_root;
    bool m_framed = false;
};

// Tells the window manager's moves of the panel from the window system's
// answers to the panel's own requests, which may come late: a drag asks for
// many places in a row, each answered in turn.
class PanelMoves {
public:
    enum class Outcome {
        none,    // an answer to one of our requests, or where the panel is
        restate, // the last answer leaves the window where an earlier request put it
        moved,   // the window manager moved the panel
    };

    // A position the panel asked the window system for.
    void requested(QPoint position);
    // What a reported position means for a panel whose own place is `place`.
    Outcome reported(QPoint position, QPoint place);
    // A withdrawn window is answered no more.
    void forget() { m_unanswered.clear(); }

private:
    QList<QPoint> m_unanswered;
};

} // namespace quillor
