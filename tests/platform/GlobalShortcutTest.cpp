#include "platform/GlobalShortcut.h"
#include "platform/HotKeyMapping.h"

#include "XvfbServer.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <stdexcept>

using namespace quillor;

namespace {

constexpr quint32 spaceCode = 49;
constexpr quint32 kCode = 40;
constexpr quint32 control = HotKeyMapping::controlMask;
constexpr quint32 option = HotKeyMapping::optionMask;

TEST(HotKeyMappingTest, KeyCodesAndKeySymbolsTranslateBothWays)
{
    const std::pair<quint32, std::optional<quint32>> cases[] = {
        {spaceCode, 0x20}, {0x00, 'a'}, {0x24, 0xff0d}, {0x7A, 0xffbe}, {0x34, std::nullopt}, {0x80, std::nullopt}};
    for (const auto& [code, keysym] : cases)
        EXPECT_EQ(HotKeyMapping::keysym(code), keysym) << code;
    int mapped = 0;
    for (quint32 code = 0; code < 0x80; ++code) {
        if (const auto symbol = HotKeyMapping::keysym(code)) {
            ++mapped;
            EXPECT_EQ(HotKeyMapping::keyCode(*symbol), code) << code;
        }
    }
    EXPECT_GE(mapped, 100);
    EXPECT_EQ(HotKeyMapping::keyCode('J'), 0x26u);
    EXPECT_EQ(HotKeyMapping::keyCode(0xfe03 /* ISO_Level3_Shift */), std::nullopt);
}

TEST(HotKeyMappingTest, ModifierMasksBecomeXModifiers)
{
    const HotKeyMapping::X11ModifierBits usual, unusual{0x20, 0x80, 0x10};
    const std::tuple<quint32, HotKeyMapping::X11ModifierBits, std::optional<quint16>> cases[] = {
        {0, usual, 0}, {0x1B00, usual, 0x4D}, {option | HotKeyMapping::commandMask, unusual, 0xA0},
        {0x400 /* caps lock */, usual, std::nullopt}, {control | 0x2000 /* right shift */, usual, std::nullopt},
    };
    for (const auto& [mask, bits, x] : cases)
        EXPECT_EQ(HotKeyMapping::xModifiers(mask, bits), x) << mask;
}

// A registrar that records its calls, and refuses the codes it is told to.
struct FakeRegistrar {
    int next = 0;
    std::set<int> live;
    std::set<quint32> refused;
    QStringList calls;
    ShortcutTransaction<int> transaction{
        [this](const ShortcutCombination& c) {
            calls << QStringLiteral("register %1").arg(c.label);
            if (refused.count(c.code))
                throw std::runtime_error("refused");
            live.insert(++next);
            return next;
        },
        [this](const int& token) {
            calls << QStringLiteral("unregister %1").arg(token);
            live.erase(token);
        }};
};

const ShortcutCombination controlSpace{spaceCode, control, QStringLiteral("⌃Espace")};
const ShortcutCombination controlOptionK{kCode, control | option, QStringLiteral("⌃⌥K")};

TEST(ShortcutTransactionTest, AChangeNeverLeavesTheUserWithoutAWorkingRegistration)
{
    FakeRegistrar registrar;
    auto& transaction = registrar.transaction;
    transaction.change(controlSpace);
    int persisted = 0;
    // Same keys: only persisted, and the live label stays.
    transaction.change({spaceCode, control, QStringLiteral("⌃Space")}, [&] { ++persisted; });
    EXPECT_EQ(persisted, 1);
    EXPECT_EQ(transaction.active()->label, QStringLiteral("⌃Espace"));
    // A failing persist still propagates, and nothing else moves.
    EXPECT_THROW(transaction.change(controlSpace, [] { throw std::runtime_error("disk"); }), std::runtime_error);
    EXPECT_EQ(registrar.calls, QStringList({"register ⌃Espace"}));

    // Refused, or not persisted: the old registration stays in force.
    registrar.refused.insert(kCode);
    EXPECT_THROW(transaction.change(controlOptionK, [&] { ++persisted; }), std::runtime_error);
    registrar.refused.clear();
    EXPECT_THROW(transaction.change(controlOptionK, [] { throw std::runtime_error("disk"); }), std::runtime_error);
    EXPECT_EQ(persisted, 1);
    EXPECT_EQ(transaction.active(), controlSpace);
    EXPECT_EQ(registrar.live, std::set<int>{1});

    // The new combination is registered before the old one is released.
    transaction.change(controlOptionK, [&] {
        ++persisted;
        EXPECT_EQ(registrar.live, (std::set<int>{1, 3})); // both held while persisting
    });
    EXPECT_EQ(persisted, 2);
    EXPECT_EQ(registrar.calls, QStringList({"register ⌃Espace", "register ⌃⌥K", "register ⌃⌥K", "unregister 2",
                                            "register ⌃⌥K", "unregister 1"}));
    EXPECT_EQ(transaction.active(), controlOptionK);
    EXPECT_EQ(transaction.token(), 3);
}

// Suspending around a change is checked with the real grabs below.
TEST(ShortcutTransactionTest, AFailedResumeStaysSuspendedAndInvalidateReleasesEverything)
{
    FakeRegistrar registrar;
    auto& transaction = registrar.transaction;
    transaction.resume(); // nothing to restore
    transaction.change(controlOptionK);
    transaction.suspend();
    EXPECT_EQ(transaction.active(), controlOptionK);
    EXPECT_TRUE(registrar.live.empty() && registrar.calls.size() == 2);

    registrar.refused.insert(kCode);
    EXPECT_THROW(transaction.resume(), std::runtime_error);
    EXPECT_EQ(transaction.token(), std::nullopt);
    registrar.refused.clear();
    transaction.resume();
    EXPECT_EQ(registrar.live, std::set<int>{2});

    transaction.invalidate();
    EXPECT_EQ(transaction.active(), std::nullopt);
    EXPECT_TRUE(registrar.live.empty());
}

// Two clients of a real X server: the program, and another application.
struct X11GlobalShortcutTest : ::testing::Test {
    void SetUp() override
    {
        if (!server)
            GTEST_SKIP() << "Xvfb is not available";
        connection = xcb_connect(server->display().c_str(), nullptr);
        other = xcb_connect(server->display().c_str(), nullptr);
        ASSERT_FALSE(xcb_connection_has_error(connection) || xcb_connection_has_error(other));
        shortcut = std::make_unique<GlobalShortcut>(connection);
        shortcut->action = [&] { ++count; };
    }
    void TearDown() override
    {
        shortcut.reset();
        for (xcb_connection_t* client : {other, connection})
            if (client)
                xcb_disconnect(client);
    }

    // Whether the other client can grab Ctrl+Space (keycode 65 in Xvfb's
    // keymap); it keeps the grab when `keep`.
    bool otherGrabsControlSpace(bool keep)
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
        xcb_generic_error_t* error = xcb_request_check(
            other, xcb_grab_key_checked(other, 0, root, XCB_MOD_MASK_CONTROL, 65, XCB_GRAB_MODE_ASYNC,
                                        XCB_GRAB_MODE_ASYNC));
        const bool granted = !error;
        std::free(error);
        if (!keep)
            xcb_ungrab_key(other, 65, root, XCB_MOD_MASK_CONTROL);
        xcb_flush(other);
        return granted;
    }

    bool sendKeys(const QStringList& arguments)
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return false;
        QProcess xdotool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(server->display()));
        xdotool.setProcessEnvironment(environment);
        xdotool.start(QStringLiteral("xdotool"), arguments);
        return xdotool.waitForFinished(10000) && xdotool.exitCode() == 0;
    }

    // Reads events for a while; presses arrive shortly after xdotool returns.
    int pressesAfter(int expected)
    {
        for (QDeadlineTimer deadline(3000); count < expected && !deadline.hasExpired(); QThread::msleep(10))
            shortcut->grabber().processPendingEvents();
        QThread::msleep(150);
        shortcut->grabber().processPendingEvents();
        return count;
    }

    test::XvfbServer* server = test::XvfbServer::shared();
    xcb_connection_t* connection = nullptr;
    xcb_connection_t* other = nullptr;
    std::unique_ptr<GlobalShortcut> shortcut;
    int count = 0;
};

TEST_F(X11GlobalShortcutTest, ACombinationHeldByAnotherClientIsReportedAsTaken)
{
    ASSERT_TRUE(otherGrabsControlSpace(true));
    shortcut->transaction().change(controlOptionK);
    try {
        shortcut->transaction().change(controlSpace, [] { ADD_FAILURE() << "persisted a refused hot key"; });
        FAIL() << "the grab was not refused";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.code(), HotKeyStatus::taken);
    }
    EXPECT_EQ(shortcut->transaction().active(), controlOptionK);

    // No variant of the refused grab was left behind: once the other client
    // lets go, the combination can be taken.
    // The server handles a closed connection in its own time, so the other
    // client lets go explicitly and waits for the server to have done so.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_ungrab_key(other, 65, root, XCB_MOD_MASK_CONTROL);
    std::free(xcb_get_input_focus_reply(other, xcb_get_input_focus(other), nullptr));
    EXPECT_NO_THROW(shortcut->transaction().change(controlSpace));
}

TEST_F(X11GlobalShortcutTest, APressRunsTheActionOnceWhateverTheLocks)
{
    shortcut->transaction().change(controlSpace);
    if (!sendKeys({QStringLiteral("key"), QStringLiteral("ctrl+space")}))
        GTEST_SKIP() << "xdotool is not available";
    EXPECT_EQ(pressesAfter(1), 1);

    // Held down: the server's auto-repeat presses do not fire again.
    ASSERT_TRUE(sendKeys({"keydown", "ctrl+space", "sleep", "0.8", "keyup", "space", "keyup", "ctrl"}));
    EXPECT_EQ(pressesAfter(2), 2);

    for (const char* lock : {"Caps_Lock", "Num_Lock"}) {
        const int expected = count + 1;
        ASSERT_TRUE(sendKeys({"key", lock, "key", "ctrl+space", "key", lock}));
        EXPECT_EQ(pressesAfter(expected), expected) << lock;
    }

    // Other modifiers are another combination.
    ASSERT_TRUE(sendKeys({"key", "ctrl+shift+space"}));
    EXPECT_EQ(pressesAfter(5), 4);
}

TEST_F(X11GlobalShortcutTest, RecordingSilencesTheHotKeyAndReleasesItsGrab)
{
    shortcut->transaction().change(controlSpace);
    shortcut->setRecording(true);

    // Released: another client may grab it meanwhile, and a change made while
    // recording registers but does not run the action.
    EXPECT_TRUE(otherGrabsControlSpace(false));
    shortcut->transaction().change(controlOptionK);
    if (!sendKeys({"key", "ctrl+alt+k"}))
        GTEST_SKIP() << "xdotool is not available";
    EXPECT_EQ(pressesAfter(1), 0);

    shortcut->setRecording(false);
    ASSERT_TRUE(sendKeys({"key", "ctrl+alt+k"}));
    EXPECT_EQ(pressesAfter(1), 1);
}

} // namespace
