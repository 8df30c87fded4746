// The capture history on the real program: a capture sent with the hot key is
// exported through Qt's save dialog, then restored as the new draft from the
// settings window.

#include "ProgramTest.h"

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

// Tab stops from the search field to the history section's button, then from
// there to the history's first entry and on to its buttons: the about
// button, the latest capture's two buttons, "Actualiser", then the list.
constexpr int tabsToHistory = 5;
constexpr int tabsFromHistoryToList = 5;
constexpr int tabsFromListToExport = 4;
// From the history section's button to the draft's "Effacer le brouillon…".
constexpr int tabsFromHistoryToClearDraft = 2;

class HistoryRoadTest : public ProgramTest {
protected:
    void key(const std::string& keys) { ASSERT_EQ(xdotool({"key", keys}).exitCode, 0); }
    void tab(int times)
    {
        for (int i = 0; i < times; ++i)
            key("Tab");
    }
    std::optional<xcb_window_t> settings() const { return m_probe->viewableWindowNamed("Réglages"); }
    bool settingsActive() const
    {
        const auto window = settings();
        return window && m_probe->activeWindow() == window;
    }
    // Ctrl+, from the panel, then the history section.
    void openHistorySection()
    {
        key("ctrl+comma");
        ASSERT_TRUE(waitUntil([&] { return settingsActive(); }, 10s)) << "Ctrl+, did not open the settings";
        std::this_thread::sleep_for(300ms);
        tab(tabsToHistory);
        key("space");
        std::this_thread::sleep_for(300ms);
    }
    QByteArray bytes(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(HistoryRoadTest, ASentCaptureIsExportedAndRestoredFromTheHistory)
{
    ASSERT_TRUE(startHoldingHotKey());
    key("ctrl+space");
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up";
    const QString body = QStringLiteral("Retrouvée plus tard");
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", text(body)}).exitCode, 0);
    key("ctrl+Return");
    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_TRUE(waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s)) << "no receipt";
    const QString note = readJson(receipts + u'/' + jsonFiles(receipts).first()).value("path").toString();
    ASSERT_TRUE(waitUntil([&] { return !panel(); }, 5s));

    // The settings, from the empty panel, on the history section.
    key("ctrl+space");
    ASSERT_TRUE(waitForActivePanel());
    ASSERT_NO_FATAL_FAILURE(openHistorySection());
    tab(tabsFromHistoryToList + tabsFromListToExport);
    key("space");

    // Qt's save dialog, with the note's name proposed: a path typed instead.
    ASSERT_TRUE(waitUntil([&] { return !settingsActive() && m_probe->activeWindow().has_value(); }, 10s))
        << "no save dialog";
    std::this_thread::sleep_for(500ms);
    const QString copy = QString::fromStdString(path("home")) + QStringLiteral("/copie exportée.md");
    key("ctrl+a");
    ASSERT_EQ(xdotool({"type", "--delay", "10", "--", text(copy)}).exitCode, 0);
    key("Return");
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(copy); }, 10s)) << "nothing exported";
    EXPECT_EQ(bytes(copy), bytes(note));
    EXPECT_FALSE(bytes(note).isEmpty());

    // Back on the export button: the next one restores.
    ASSERT_TRUE(waitUntil([&] { return settingsActive(); }, 5s));
    tab(1);
    key("space");
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come back with the capture";
    EXPECT_TRUE(waitUntil([&] { return !settings(); }, 5s)) << "the settings stayed on screen";
    // The caret is in the editor: typing goes on after the restored text.
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", " bis"}).exitCode, 0);
    key("Escape");
    ASSERT_TRUE(waitUntil([&] { return !panel(); }, 5s));
    EXPECT_TRUE(waitUntil(
        [&] {
            return readJson(dataPath(QStringLiteral("draft.json"))).value("body").toString() == body + " bis";
        },
        5s))
        << text(readJson(dataPath(QStringLiteral("draft.json"))).value("body").toString());
}

// A question waits for its answer even without a loop of its own: the hot
// key brings it forward, from behind another program's window, with its
// frame, and never puts the panel over it. Answered, the panel comes again.
TEST_F(HistoryRoadTest, TheHotKeyBringsAnOpenHistoryQuestionForward)
{
    ASSERT_TRUE(startHoldingHotKey());
    key("ctrl+space");
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up";
    const xcb_window_t panelWindow = *panel();
    ASSERT_EQ(xdotool({"type", "--delay", "25", "brouillon"}).exitCode, 0);
    ASSERT_NO_FATAL_FAILURE(openHistorySection());
    tab(tabsFromHistoryToClearDraft);
    key("space");
    // The untitled question bears the program's name, as the panel does.
    std::optional<xcb_window_t> question;
    ASSERT_TRUE(waitUntil(
        [&] {
            question = m_probe->activeWindow();
            return question && question != panelWindow && m_probe->windowName(*question) == "Quillor"
                   && m_probe->isViewable(*question);
        },
        10s))
        << "the question did not open";
    const std::optional<std::string> frame = m_probe->property(*question, m_probe->atom("_NET_FRAME_EXTENTS"),
                                                               XCB_ATOM_CARDINAL);

    ASSERT_FALSE(activatePreviousWindow().empty());
    for (int press = 1; press <= 2; ++press) {
        SCOPED_TRACE(press);
        key("ctrl+space");
        EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == question; }, 5s))
            << "the question did not come forward";
        std::this_thread::sleep_for(300ms);
        EXPECT_FALSE(m_probe->isViewable(panelWindow)) << "the panel came up over the question";
        EXPECT_EQ(m_probe->activeWindow(), question);
        EXPECT_EQ(m_probe->property(*question, m_probe->atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL), frame)
            << "the question lost its frame";
    }

    key("Escape");
    ASSERT_TRUE(waitUntil([&] { return settingsActive(); }, 5s)) << "the question did not go";
    key("ctrl+space");
    ASSERT_TRUE(waitForActivePanel()) << "the hot key did not show the panel once the question was answered";
    EXPECT_TRUE(waitUntil(
        [&] { return readJson(dataPath(QStringLiteral("draft.json"))).value("body").toString() == "brouillon"; },
        5s));
}

} // namespace
