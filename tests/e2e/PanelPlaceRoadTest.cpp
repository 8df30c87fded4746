// The panel's place on the real program: where the window manager moves it,
// it stays, through the fits of typing and through a hide and a show.

#include "ProgramTest.h"

#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>
#include <thread>

inline void PrintTo(const QPoint& point, std::ostream* out)
{
    *out << "(" << point.x() << ", " << point.y() << ")";
}

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

class PanelPlaceRoadTest : public ProgramTest {
protected:
    // Where a window stands on the root window, as the server has it now.
    std::optional<QRect> place(xcb_window_t window) const
    {
        xcb_connection_t* connection = m_probe->connection();
        const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> size(
            xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr), &free);
        const std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&free)> origin(
            xcb_translate_coordinates_reply(
                connection, xcb_translate_coordinates(connection, window, m_probe->root(), 0, 0), nullptr),
            &free);
        if (!size || !origin)
            return std::nullopt;
        return QRect(origin->dst_x, origin->dst_y, size->width, size->height);
    }

    // The frame Openbox put the panel in.
    std::optional<xcb_window_t> frameOf(xcb_window_t window) const
    {
        xcb_connection_t* connection = m_probe->connection();
        const std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &free);
        if (!tree || tree->parent == m_probe->root())
            return std::nullopt;
        return tree->parent;
    }

    // Whether the panel stands at `topLeft` and keeps standing there: a
    // place taken back comes on the next turn of the program's loop.
    bool staysAt(QPoint topLeft)
    {
        const auto there = [&] {
            const std::optional<xcb_window_t> window = panel();
            const std::optional<QRect> at = window ? place(*window) : std::nullopt;
            return at && at->topLeft() == topLeft;
        };
        if (!waitUntil(there, 5s))
            return false;
        std::this_thread::sleep_for(400ms);
        return there();
    }

    QPoint savedPlace() const
    {
        const QJsonObject saved = readJson(dataPath(QStringLiteral("capture-position.json")));
        return QPoint(saved.value("x").toInt(-1), saved.value("top").toInt(-1));
    }

    // Two lines typed into the panel, once it has grown for them.
    void typeTwoLines(const std::string& word)
    {
        const int before = place(*panel())->height();
        for (int line = 0; line < 2; ++line) {
            ASSERT_EQ(xdotool({"type", "--delay", "20", word}).exitCode, 0);
            ASSERT_EQ(xdotool({"key", "Return"}).exitCode, 0);
        }
        EXPECT_TRUE(waitUntil([&] { return place(*panel())->height() > before; }, 5s)) << "the panel did not grow";
    }
};

// Openbox moves the panel for xdotool (as for a pager) or for an Alt+drag:
// from then on that is its place. Typing grows it there, a hide and the hot
// key bring it back there, and it never stands at the screen's corner, where
// Openbox makes its frame before moving it into place.
TEST_F(PanelPlaceRoadTest, AMoveOfTheWindowManagersIsThePanelsPlaceFromThenOn)
{
    ASSERT_TRUE(startHoldingHotKey());
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up with the keyboard";
    const std::optional<QRect> shown = place(*panel());
    ASSERT_TRUE(shown);
    ASSERT_NE(shown->topLeft(), QPoint(150, 120));

    const struct {
        const char* how;
        QPoint to;
        std::function<void(xcb_window_t)> move;
    } moves[] = {
        {"xdotool moves the panel's window", {150, 120},
         [&](xcb_window_t window) {
             ASSERT_EQ(xdotool({"windowmove", std::to_string(window), "150", "120"}).exitCode, 0);
         }},
        {"xdotool moves Openbox's frame", {700, 420},
         [&](xcb_window_t window) {
             const std::optional<xcb_window_t> frame = frameOf(window);
             ASSERT_TRUE(frame) << "Openbox did not frame the panel";
             ASSERT_EQ(xdotool({"windowmove", std::to_string(*frame), "700", "420"}).exitCode, 0);
         }},
        {"Alt+drag", {600, 360},
         [&](xcb_window_t window) {
             const QPoint from = place(window)->topLeft() + QPoint(200, 30);
             ASSERT_EQ(xdotool({"mousemove", std::to_string(from.x()), std::to_string(from.y())}).exitCode, 0);
             ASSERT_EQ(xdotool({"keydown", "alt"}).exitCode, 0);
             ASSERT_EQ(xdotool({"mousedown", "1"}).exitCode, 0);
             for (int step = 0; step < 5; ++step) {
                 ASSERT_EQ(xdotool({"mousemove_relative", "--", "-20", "-12"}).exitCode, 0);
                 std::this_thread::sleep_for(40ms);
             }
             ASSERT_EQ(xdotool({"mouseup", "1"}).exitCode, 0);
             ASSERT_EQ(xdotool({"keyup", "alt"}).exitCode, 0);
         }},
    };
    int round = 0;
    for (const auto& m : moves) {
        SCOPED_TRACE(m.how);
        const std::optional<xcb_window_t> window = panel();
        ASSERT_TRUE(window);
        m.move(*window);
        ASSERT_TRUE(staysAt(m.to)) << "the move did not take";

        typeTwoLines("ligne" + std::to_string(++round));
        EXPECT_TRUE(staysAt(m.to)) << "a fit took the panel back";
        EXPECT_TRUE(waitUntil([&] { return savedPlace() == m.to; }, 5s)) << "the place was not saved";

        for (int showing = 0; showing < 2; ++showing) {
            ASSERT_EQ(xdotool({"key", "Escape"}).exitCode, 0);
            ASSERT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "Escape did not hide the panel";
            ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
            // Looked at as often as it can be while it comes up.
            bool atCorner = false;
            waitUntil(
                [&] {
                    const std::optional<xcb_window_t> shownAgain = panel();
                    const std::optional<QRect> at = shownAgain ? place(*shownAgain) : std::nullopt;
                    atCorner |= at && at->topLeft() == QPoint(0, 0);
                    return shownAgain && m_probe->activeWindow() == shownAgain;
                },
                10s, 2ms);
            EXPECT_FALSE(atCorner) << "the panel stood at the screen's corner";
            EXPECT_TRUE(staysAt(m.to)) << "the hot key showed the panel elsewhere";
            EXPECT_EQ(savedPlace(), m.to);
        }
    }
}

} // namespace
