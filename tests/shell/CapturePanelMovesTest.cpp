#include "shell/CapturePanelMoves.h"

#include <gtest/gtest.h>

#include <cstring>
#include <variant>

using namespace quillor;

namespace {

constexpr xcb_window_t root = 0x100;
constexpr xcb_window_t panel = 0x400006;
constexpr xcb_window_t frame = 0x200261;
constexpr xcb_window_t other = 0x500001;
constexpr quint8 synthetic = 0x80;

// An event as it comes off the connection: in the 32 bytes of a generic one.
template <typename Event>
xcb_generic_event_t generic(const Event& event)
{
    xcb_generic_event_t result;
    static_assert(sizeof event <= sizeof result);
    std::memset(&result, 0, sizeof result);
    std::memcpy(&result, &event, sizeof event);
    return result;
}

xcb_generic_event_t configure(QPoint at, bool sent, xcb_window_t window = panel, xcb_window_t to = panel)
{
    xcb_configure_notify_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CONFIGURE_NOTIFY | (sent ? synthetic : 0);
    event.event = to;
    event.window = window;
    event.x = qint16(at.x());
    event.y = qint16(at.y());
    event.width = 480;
    event.height = 85;
    return generic(event);
}

xcb_generic_event_t reparent(xcb_window_t parent, bool sent = false)
{
    xcb_reparent_notify_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_REPARENT_NOTIFY | (sent ? synthetic : 0);
    event.event = panel;
    event.window = panel;
    event.parent = parent;
    return generic(event);
}

// Openbox takes the panel on, is asked to grow it, moves it for the user, lets
// it go and takes it on again; in between, notifications about other windows.
TEST(CapturePanelMovesTest, OnlyRootCoordinatesCountAsThePanelsPosition)
{
    const struct {
        const char* step;
        xcb_generic_event_t event;
        std::optional<QPoint> position;
    } steps[] = {
        {"the showing's request answered before the manager frames the panel", configure({480, 318}, false),
         QPoint(480, 318)},
        {"a notification sent as the manager's before it framed the panel", configure({0, 0}, true), std::nullopt},
        {"framed", reparent(frame), std::nullopt},
        {"a resize within the frame, read by Qt as the frame's corner", configure({0, 0}, false), std::nullopt},
        {"the manager puts its frame in place", configure({480, 318}, true), QPoint(480, 318)},
        {"the manager moves the panel", configure({150, 120}, true), QPoint(150, 120)},
        {"the frame told of its child", configure({0, 0}, false, panel, frame), std::nullopt},
        {"another window", configure({10, 10}, true, other, other), std::nullopt},
        {"a reparent someone else sent", reparent(root, true), std::nullopt},
        {"still framed", configure({0, 0}, false), std::nullopt},
        {"withdrawn", reparent(root), std::nullopt},
        {"a child of the root again", configure({150, 120}, false), QPoint(150, 120)},
        {"and no longer the manager's", configure({0, 0}, true), std::nullopt},
    };
    WindowPositionReports reports(panel, root);
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_EQ(reports.position(s.event), s.position);
    }
}

// The window system answers the panel's requests in order, some answers
// folded into later ones; anything else that moves the panel is the window
// manager's doing.
TEST(CapturePanelMovesTest, TheWindowManagersMovesAreToldFromAnswersToThePanel)
{
    using Outcome = PanelMoves::Outcome;
    struct Request {
        QPoint position;
    };
    struct Report {
        QPoint position;
        QPoint place;
        Outcome outcome;
    };
    struct Forget {};
    const struct {
        const char* step;
        std::variant<Request, Report, Forget> what;
    } steps[] = {
        {"shown", Request{{480, 318}}},
        {"its answer", Report{{480, 318}, {480, 318}, Outcome::none}},
        {"a report of where the panel is", Report{{480, 318}, {480, 318}, Outcome::none}},
        {"the manager moves it", Report{{150, 120}, {480, 318}, Outcome::moved}},
        {"a drag asks", Request{{160, 125}}},
        {"and asks", Request{{170, 130}}},
        {"and asks again the same", Request{{170, 130}}},
        {"and asks", Request{{180, 135}}},
        {"the first answer", Report{{160, 125}, {180, 135}, Outcome::none}},
        {"the second folded into the third", Report{{180, 135}, {180, 135}, Outcome::none}},
        {"a fit asks for the place of the drag's end", Request{{180, 135}}},
        {"the manager moves the panel before it answers", Report{{600, 450}, {180, 135}, Outcome::moved}},
        {"then answers: the window stands where the panel no longer is",
         Report{{180, 135}, {600, 450}, Outcome::restate}},
        {"asked again", Request{{600, 450}}},
        {"answered", Report{{600, 450}, {600, 450}, Outcome::none}},
        {"a place asked for", Request{{300, 300}}},
        {"hidden before its answer", Forget{}},
        {"shown elsewhere, then that old place reported", Report{{300, 300}, {600, 450}, Outcome::moved}},
    };
    PanelMoves moves;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        if (const auto* request = std::get_if<Request>(&s.what))
            moves.requested(request->position);
        else if (const auto* report = std::get_if<Report>(&s.what))
            EXPECT_EQ(moves.reported(report->position, report->place), report->outcome);
        else
            moves.forget();
    }
}

} // namespace
