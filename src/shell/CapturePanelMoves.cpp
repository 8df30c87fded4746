#include "shell/CapturePanelMoves.h"

namespace quillor {

namespace {

// A drag asks for a place per pointer move; answers a window system never
// sent (Qt folds configure notifications that queue up into the last) must
// not pile up.
constexpr qsizetype unansweredLimit = 32;

constexpr quint8 syntheticFlag = 0x80;

} // namespace

std::optional<QPoint> WindowPositionReports::position(const xcb_generic_event_t& event)
{
    const bool synthetic = event.response_type & syntheticFlag;
    switch (event.response_type & ~syntheticFlag) {
    case XCB_REPARENT_NOTIFY: {
        const auto& reparent = reinterpret_cast<const xcb_reparent_notify_event_t&>(event);
        if (!synthetic && reparent.window == m_window)
            m_framed = reparent.parent != m_root;
        return std::nullopt;
    }
    case XCB_CONFIGURE_NOTIFY: {
        const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
        // Before a manager has framed the window, only the server speaks for
        // it; once framed, only the manager.
        if (configure.window != m_window || configure.event != m_window || m_framed != synthetic)
            return std::nullopt;
        return QPoint(configure.x, configure.y);
    }
    default:
        return std::nullopt;
    }
}

void PanelMoves::requested(QPoint position)
{
    if (!m_unanswered.isEmpty() && m_unanswered.constLast() == position)
        return;
    if (m_unanswered.size() == unansweredLimit)
        m_unanswered.removeFirst();
    m_unanswered.append(position);
}

PanelMoves::Outcome PanelMoves::reported(QPoint position, QPoint place)
{
    // Answers come in the order of the requests: one answered means those
    // before it were answered or passed over.
    if (const qsizetype answered = m_unanswered.indexOf(position); answered >= 0) {
        m_unanswered.remove(0, answered + 1);
        return m_unanswered.isEmpty() && position != place ? Outcome::restate : Outcome::none;
    }
    return position == place ? Outcome::none : Outcome::moved;
}

} // namespace quillor
