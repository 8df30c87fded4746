#include "platform/ActiveWindow.h"
#include "platform/X11Client.h"
#include "platform/X11WindowProperties.h"

#include "XvfbServer.h"

#include <QList>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace quillor;

namespace {

// (window, type, data) of one client message.
using Message = std::vector<quint32>;

// One X client of the test: the program's side, or a stand-in window manager.
struct Client {
    xcb_connection_t* c;
    xcb_window_t root;

    explicit Client(const std::string& display) : c(xcb_connect(display.c_str(), nullptr)), root(X11Client::root(c)) {}
    ~Client() { xcb_disconnect(c); }

    xcb_atom_t atom(const char* name) const { return X11Client::atom(c, name); }
    // A round trip: every request sent before it has been carried out.
    xcb_window_t focus() const
    {
        const std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> reply(
            xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &std::free);
        return reply->focus;
    }
    xcb_window_t window(bool mapped = true) const
    {
        const xcb_window_t id = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, id, root, 0, 0, 50, 50, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        if (mapped)
            xcb_map_window(c, id);
        focus();
        return id;
    }
    void set(xcb_window_t on, const char* name, xcb_atom_t type, const QList<quint32>& values) const
    {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, on, atom(name), type, 32, values.size(), values.constData());
        focus();
    }
    // Becomes a window manager that supports activation and hears requests.
    void manage() const
    {
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
        const xcb_window_t check = window(false);
        set(check, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {check});
        set(root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {check});
        set(root, "_NET_SUPPORTED", XCB_ATOM_ATOM, {atom("_NET_WM_STATE"), atom("_NET_ACTIVE_WINDOW")});
    }
    // The client messages heard once everything `sender` sent has arrived.
    std::vector<Message> messages(const Client& sender) const
    {
        sender.focus();
        focus();
        std::vector<Message> heard;
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const auto* m = reinterpret_cast<xcb_client_message_event_t*>(event);
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE)
                heard.push_back({m->window, m->type, m->data.data32[0], m->data.data32[1], m->data.data32[2],
                                 m->data.data32[3]});
            std::free(event);
        }
        return heard;
    }
};

struct ActiveWindowTest : ::testing::Test {
    void SetUp() override
    {
        const test::XvfbServer* server = test::XvfbServer::shared();
        if (!server)
            GTEST_SKIP() << "Xvfb is not available";
        program = std::make_unique<Client>(server->display());
        manager = std::make_unique<Client>(server->display());
        manager->set(manager->root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, {});
    }

    std::unique_ptr<Client> program;
    std::unique_ptr<Client> manager;
};

TEST_F(ActiveWindowTest, AtomsAskedTogetherAreThoseAskedOneByOne)
{
    // A name seen before, a new one, and one twice: the replies are read in
    // the order the names were given.
    const std::array<const char*, 4> names{"_NET_ACTIVE_WINDOW", "QUILLOR_TEST_FRESH_ATOM", "_NET_WM_STATE",
                                           "_NET_ACTIVE_WINDOW"};
    const QList<xcb_atom_t> together = X11Client::atoms(program->c, names);
    ASSERT_EQ(together.size(), 4);
    for (qsizetype i = 0; i < together.size(); ++i) {
        EXPECT_NE(together[i], xcb_atom_t(XCB_ATOM_NONE)) << names[i];
        EXPECT_EQ(together[i], manager->atom(names[i])) << names[i];
    }
    // Not Qt's connection: nothing is kept, nothing is asked ahead.
    X11Client::requestAtoms(program->c, names);
    EXPECT_EQ(X11Client::atoms(program->c, names), together);
}

TEST_F(ActiveWindowTest, TheActiveWindowIsReadFromTheRoot)
{
    const xcb_window_t other = manager->window();
    EXPECT_EQ(ActiveWindow::current(program->c), std::nullopt) << "empty";
    EXPECT_EQ(ActiveWindow::current(nullptr), std::nullopt);
    manager->set(manager->root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, {other});
    EXPECT_EQ(ActiveWindow::current(program->c), other);
    manager->set(manager->root, "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, {XCB_WINDOW_NONE});
    EXPECT_EQ(ActiveWindow::current(program->c), std::nullopt);
}

TEST_F(ActiveWindowTest, OnlyAViewableWindowGetsTheKeyboardBack)
{
    const xcb_window_t shown = manager->window();
    const xcb_window_t unmapped = manager->window(false);
    const xcb_window_t destroyed = manager->window();
    xcb_destroy_window(manager->c, destroyed);
    const xcb_window_t requester = program->window();
    // A manager that died leaves the root naming its vanished check window.
    manager->set(manager->root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW, {destroyed});
    manager->set(manager->root, "_NET_SUPPORTED", XCB_ATOM_ATOM, {manager->atom("_NET_ACTIVE_WINDOW")});

    for (const bool managed : {false, true}) {
        if (managed)
            manager->manage();
        ASSERT_EQ(ActiveWindow::managerSupportsActivation(program->c), managed);
        const xcb_window_t before = program->focus();
        for (const xcb_window_t gone : {unmapped, destroyed, xcb_window_t(XCB_WINDOW_NONE)})
            EXPECT_FALSE(ActiveWindow::activate(program->c, gone, 1234, requester)) << managed;
        EXPECT_FALSE(ActiveWindow::activate(nullptr, shown, 1234));
        EXPECT_TRUE(manager->messages(*program).empty());

        EXPECT_TRUE(ActiveWindow::activate(program->c, shown, 1234, requester));
        if (managed) {
            // Asked as a pager asks; the manager decides.
            const Message request{shown, manager->atom("_NET_ACTIVE_WINDOW"), 2, 1234, requester, 0};
            EXPECT_EQ(manager->messages(*program), std::vector<Message>{request});
            EXPECT_EQ(program->focus(), before);
        } else {
            // No live manager: focused directly.
            EXPECT_EQ(program->focus(), shown);
        }
    }
}

TEST_F(ActiveWindowTest, FloatingHintsAreWrittenBeforeMappingAndAskedForAfter)
{
    manager->manage();
    const xcb_window_t panel = program->window(false);
    const xcb_atom_t above = program->atom("_NET_WM_STATE_ABOVE");
    const xcb_atom_t skipTaskbar = program->atom("_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t skipPager = program->atom("_NET_WM_STATE_SKIP_PAGER");
    // A state the toolkit put there survives; preparing twice adds nothing.
    program->set(panel, "_NET_WM_STATE", XCB_ATOM_ATOM, {above});
    X11WindowProperties::prepareFloating(program->c, panel);
    X11WindowProperties::prepareFloating(program->c, panel);
    const auto property = [&](const char* name, xcb_atom_t type) {
        return X11Client::property(program->c, panel, program->atom(name), type);
    };
    EXPECT_EQ(property("_NET_WM_STATE", XCB_ATOM_ATOM), QList<quint32>({above, skipTaskbar, skipPager}));
    EXPECT_EQ(property("_NET_WM_DESKTOP", XCB_ATOM_CARDINAL), QList<quint32>{0xFFFFFFFF});

    X11WindowProperties::assertFloating(program->c, panel);
    const std::vector<Message> expected{
        {panel, program->atom("_NET_WM_STATE"), 1, skipTaskbar, skipPager, 1},
        {panel, program->atom("_NET_WM_DESKTOP"), 0xFFFFFFFF, 1, 0, 0},
    };
    EXPECT_EQ(manager->messages(*program), expected);
}

} // namespace
