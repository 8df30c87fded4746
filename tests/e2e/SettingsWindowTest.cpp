// The settings window on the real program: opened from the panel, a hot key
// recorded and applied, a destination added through the folder dialog, and
// the question asked when closing with unapplied changes.

#include "ProgramTest.h"

#include <QJsonArray>

#include <csignal>
#include <cstring>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

const std::string settingsTitle = "Réglages";

// Tab stops from the search field, which has the keyboard when the window
// opens: the six sections, then the section's fields.
constexpr int tabsToDestinations = 2;
constexpr int tabsFromDestinationsToAdd = 5;
constexpr int tabsToLanguage = 7;
constexpr int tabsToHotKeyButton = 9;
constexpr int tabsToPrefixField = 10;
constexpr int tabsFromDestinationsToNoteName = 11;

// The middle of the first line in the settings' error red on a window, or
// nothing.
std::optional<std::pair<int, int>> firstErrorLine(xcb_connection_t* connection, xcb_window_t window)
{
    auto* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return std::nullopt;
    const int width = geometry->width;
    const int height = geometry->height;
    free(geometry);
    auto* image = xcb_get_image_reply(
        connection, xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, width, height, ~0u), nullptr);
    if (!image)
        return std::nullopt;
    std::optional<std::pair<int, int>> found;
    // A 24-bit screen: four bytes a pixel, blue first.
    const uint8_t* pixels = xcb_get_image_data(image);
    if (xcb_get_image_data_length(image) >= width * height * 4) {
        for (int y = 0; y < height && !found; ++y) {
            int first = -1;
            int last = -1;
            for (int x = 0; x < width; ++x) {
                const uint8_t* pixel = pixels + (std::size_t(y) * width + x) * 4;
                if (pixel[2] > 170 && pixel[1] < 90 && pixel[0] < 90) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
            }
            if (first >= 0 && last - first > 40)
                found = std::pair((first + last) / 2, y + 3);
        }
    }
    free(image);
    return found;
}

class SettingsWindowTest : public ProgramTest {
protected:
    // The program with its hot key live, its settings window opened with
    // Ctrl+, from the capture panel.
    bool openSettings()
    {
        if (!startHoldingHotKey())
            return false;
        if (xdotool({"key", "ctrl+space"}).exitCode != 0 || !waitForActivePanel()) {
            ADD_FAILURE() << "the panel did not come up";
            return false;
        }
        xdotool({"key", "ctrl+comma"});
        if (!waitUntil([&] { return settingsActive(); }, 10s)) {
            ADD_FAILURE() << "Ctrl+, did not open the settings";
            return false;
        }
        EXPECT_FALSE(panel()) << "the panel stayed on screen";
        // The first turns of the window: the copy is loaded, focus settles.
        std::this_thread::sleep_for(300ms);
        return true;
    }

    std::optional<xcb_window_t> settings() const { return m_probe->viewableWindowNamed(m_settingsTitle); }
    bool settingsActive() const
    {
        const auto window = settings();
        return window && m_probe->activeWindow() == window;
    }
    std::size_t settingsWindows() const
    {
        std::size_t viewable = 0;
        for (const xcb_window_t window : m_probe->windowsNamed(m_settingsTitle))
            viewable += m_probe->isViewable(window);
        return viewable;
    }

    void tab(int times)
    {
        for (int i = 0; i < times; ++i)
            ASSERT_EQ(xdotool({"key", "Tab"}).exitCode, 0);
    }
    void key(const std::string& keys) { ASSERT_EQ(xdotool({"key", keys}).exitCode, 0); }

    QJsonObject preferences() const { return readJson(dataPath(QStringLiteral("preferences.json"))); }

    // The window's title in the interface language.
    std::string m_settingsTitle = settingsTitle;
};

TEST_F(SettingsWindowTest, ARecordedHotKeyReplacesTheOldOneOnceApplied)
{
    ASSERT_TRUE(openSettings());
    tab(tabsToHotKeyButton);
    key("space");
    std::this_thread::sleep_for(300ms);
    // While recording, the old hot key is a key like any other: recorded,
    // and the panel stays away.
    key("ctrl+space");
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(panel()) << "the hot key fired while recording";
    EXPECT_TRUE(settingsActive());

    // The keyboard is back on the button: record again, then apply.
    key("space");
    std::this_thread::sleep_for(300ms);
    key("ctrl+alt+k");
    std::this_thread::sleep_for(300ms);
    key("Return");
    ASSERT_TRUE(waitUntil([&] { return preferences().value("hotkeyCode").toInt() == 40; }, 5s))
        << "the recorded hot key was not applied";
    const QJsonObject applied = preferences();
    EXPECT_EQ(applied.value("hotkeyModifiers").toInt(), 0x1800);
    EXPECT_EQ(applied.value("hotkeyDisplay").toString(), QStringLiteral("⌃⌥K"));

    key("ctrl+alt+k");
    ASSERT_TRUE(waitForActivePanel()) << "the new hot key does not show the panel";
    key("ctrl+space");
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(panel()) << "the old hot key still works";
    key("ctrl+alt+k");
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the new hot key does not hide the panel";
}

TEST_F(SettingsWindowTest, ClosingWithAChangeAsksAndEscapeKeepsTheWindow)
{
    ASSERT_TRUE(openSettings());
    const QByteArray before = QJsonDocument(preferences()).toJson();
    tab(tabsToPrefixField);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "#"}).exitCode, 0);
    key("alt+F4");
    ASSERT_TRUE(waitUntil([&] { return settingsWindows() >= 2; }, 5s)) << "no question was asked";
    key("Escape");
    ASSERT_TRUE(waitUntil([&] { return settingsWindows() == 1; }, 5s));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(settings()) << "the window closed";
    EXPECT_EQ(QJsonDocument(preferences()).toJson(), before);

    // Return takes the question's default answer: apply, then close.
    key("alt+F4");
    ASSERT_TRUE(waitUntil([&] { return settingsWindows() >= 2; }, 5s));
    key("Return");
    EXPECT_TRUE(waitUntil([&] { return settingsWindows() == 0; }, 5s)) << "the window stayed";
    EXPECT_EQ(preferences().value("routePrefix").toString(), QStringLiteral("#"));
}

// A termination signal is not the user quitting: no question, nothing
// unapplied applied, the draft kept, and the process gone.
TEST_F(SettingsWindowTest, ATerminationSignalEndsTheProgramWithoutApplyingOrAsking)
{
    ASSERT_TRUE(startHoldingHotKey());
    ChildProcess* program = m_programs.back().get();
    key("ctrl+space");
    ASSERT_TRUE(waitForActivePanel());
    ASSERT_EQ(xdotool({"type", "--delay", "25", "gardé"}).exitCode, 0);
    key("ctrl+comma");
    ASSERT_TRUE(waitUntil([&] { return settingsActive(); }, 10s)) << "Ctrl+, did not open the settings";
    std::this_thread::sleep_for(300ms);
    const QByteArray before = QJsonDocument(preferences()).toJson();
    tab(tabsToPrefixField);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "#"}).exitCode, 0);
    std::this_thread::sleep_for(300ms);

    ASSERT_EQ(::kill(program->pid(), SIGTERM), 0);
    ASSERT_TRUE(program->waitForExit(10s)) << "the program stayed after SIGTERM";
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_EQ(QJsonDocument(preferences()).toJson(), before) << "an unapplied change was applied";
    EXPECT_EQ(readJson(dataPath(QStringLiteral("draft.json"))).value("body").toString(), QStringLiteral("gardé"));

    // The question already open counts as not answered.
    ASSERT_TRUE(openSettings());
    program = m_programs.back().get();
    tab(tabsToPrefixField);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "#"}).exitCode, 0);
    key("alt+F4");
    ASSERT_TRUE(waitUntil([&] { return settingsWindows() >= 2; }, 5s)) << "no question was asked";
    ASSERT_EQ(::kill(program->pid(), SIGTERM), 0);
    ASSERT_TRUE(program->waitForExit(10s)) << "the program stayed after SIGTERM with the question open";
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_EQ(QJsonDocument(preferences()).toJson(), before) << "an unapplied change was applied";
}

// A question with its own loop waits for an answer: the hot key brings it
// back from behind another program's window instead of being lost.
TEST_F(SettingsWindowTest, TheHotKeyBringsABlockingQuestionForward)
{
    ASSERT_TRUE(openSettings());
    // An unapplied change, then closing asks whether to apply it.
    tab(tabsToPrefixField);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "#"}).exitCode, 0);
    key("alt+F4");
    // The question once it has the keyboard: the window manager may name
    // none active on the way there, which is no question.
    std::optional<xcb_window_t> question;
    ASSERT_TRUE(waitUntil(
        [&] {
            question = m_probe->activeWindow();
            const std::vector<xcb_window_t> named = m_probe->windowsNamed(m_settingsTitle);
            return question && question != settings()
                   && std::find(named.begin(), named.end(), *question) != named.end() && m_probe->isViewable(*question);
        },
        10s))
        << "no question was asked";

    ASSERT_FALSE(activatePreviousWindow().empty());
    key("ctrl+space");
    EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == question; }, 5s))
        << "the question did not come forward";
    EXPECT_FALSE(panel()) << "the panel came up under an unanswered question";
}

TEST_F(SettingsWindowTest, ADestinationIsAddedThroughTheFolderDialog)
{
    const QString folder = QString::fromStdString(path("vault")) + QStringLiteral("-second");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(openSettings());
    tab(tabsToDestinations);
    key("space");
    tab(tabsFromDestinationsToAdd);
    key("space");
    const std::string dialogTitle = "Choisis le dossier dans lequel enregistrer tes captures.";
    // The path is typed into the dialog's field, which has the keyboard from
    // the moment the dialog does.
    ASSERT_TRUE(waitUntil(
        [&] {
            const auto dialog = m_probe->viewableWindowNamed(dialogTitle);
            return dialog && m_probe->activeWindow() == dialog;
        },
        10s))
        << "the folder dialog did not open";
    ASSERT_EQ(xdotool({"type", "--delay", "10", text(folder)}).exitCode, 0);
    key("Return");
    ASSERT_TRUE(waitUntil([&] { return !m_probe->viewableWindowNamed(dialogTitle); }, 5s)) << "the dialog stayed";
    ASSERT_TRUE(waitUntil([&] { return settingsActive(); }, 5s));
    key("Return");
    ASSERT_TRUE(waitUntil([&] { return preferences().value("destinations").toArray().size() == 2; }, 5s))
        << "the destination was not applied";
    const QJsonArray destinations = preferences().value("destinations").toArray();
    EXPECT_EQ(destinations.at(1).toObject().value("vaultPath").toString(), folder);
}

// Typed key by key, a note name with a "/" lands once in the note's folder.
TEST_F(SettingsWindowTest, ANoteNameWithAFolderIsTakenFromTheNotesFolder)
{
    QJsonObject preferences = this->preferences();
    QJsonArray destinations = preferences.value("destinations").toArray();
    QJsonObject templates = destinations.at(0).toObject();
    templates.insert("mode", "appendNote");
    templates.insert("path", "Templates/Captures.md");
    destinations.replace(0, templates);
    preferences.insert("destinations", destinations);
    QFile file(dataPath(QStringLiteral("preferences.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(preferences).toJson());
    file.close();

    ASSERT_TRUE(openSettings());
    tab(tabsToDestinations);
    key("space");
    tab(tabsFromDestinationsToNoteName);
    key("ctrl+a");
    ASSERT_EQ(xdotool({"type", "--delay", "40", "Sous/Journal"}).exitCode, 0);
    key("Return");
    const auto notePath = [&] {
        return this->preferences().value("destinations").toArray().at(0).toObject().value("path").toString();
    };
    EXPECT_TRUE(waitUntil([&] { return notePath() == QLatin1String("Templates/Sous/Journal"); }, 5s))
        << "the note path is " << text(notePath());
}

// An unreadable settings file: the program starts on the defaults and its
// settings window says where the unreadable file was kept.
TEST_F(SettingsWindowTest, TheStartUpSettingsErrorIsInTheWindow)
{
    if (!onPath("xclip"))
        GTEST_SKIP() << "xclip is not installed";
    {
        QFile file(dataPath(QStringLiteral("preferences.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{ \"destinations\": [");
    }
    // The default settings speak the system's language, English here.
    m_settingsTitle = "Settings";
    ASSERT_TRUE(openSettings());
    const auto window = settings();
    ASSERT_TRUE(window);
    std::optional<std::pair<int, int>> line;
    ASSERT_TRUE(waitUntil([&] { return (line = firstErrorLine(m_probe->connection(), *window)).has_value(); }, 5s))
        << "no error is shown";
    // Selected with the mouse, the message is the X selection.
    ASSERT_EQ(xdotool({"mousemove", "--window", std::to_string(*window), std::to_string(line->first),
                       std::to_string(line->second), "click", "--repeat", "3", "--delay", "80", "1"})
                  .exitCode,
              0);
    std::this_thread::sleep_for(300ms);
    const ToolResult selection = runTool({"xclip", "-selection", "primary", "-o"}, environment(), path("logs"));
    EXPECT_NE(selection.output.find("The settings could not be read"), std::string::npos) << selection.output;
    EXPECT_NE(selection.output.find("/Recovered/preferences"), std::string::npos) << selection.output;
}

TEST_F(SettingsWindowTest, AnotherLanguageAppliedAndRestartedShowsTheNewTexts)
{
    ASSERT_TRUE(openSettings());
    ChildProcess* first = m_programs.back().get();
    tab(tabsToLanguage);
    key("Up"); // from Français to English
    key("Return");
    ASSERT_TRUE(waitUntil([&] { return preferences().value("language").toString() == QLatin1String("en"); }, 5s))
        << "the language was not applied";
    // The restart row appears once the language is applied, right after the
    // picker.
    std::this_thread::sleep_for(300ms);
    tab(1);
    key("space");
    ASSERT_TRUE(first->waitForExit(10s)) << "the first instance kept running";
    EXPECT_EQ(first->exitCode(), 0);

    // The new instance holds the hot key and speaks English.
    const auto space = m_probe->keycode(spaceKeysym);
    ASSERT_TRUE(space);
    ASSERT_TRUE(waitUntil([&] { return m_probe->keyHeldElsewhere(*space, XCB_MOD_MASK_CONTROL); }, 20s, 150ms))
        << "no new instance took the hot key";
    key("ctrl+space");
    ASSERT_TRUE(waitForActivePanel());
    key("ctrl+comma");
    std::optional<xcb_window_t> window;
    EXPECT_TRUE(waitUntil([&] { return (window = m_probe->viewableWindowNamed("Settings")).has_value(); }, 10s))
        << "the restarted program does not show its settings in English";

    // The new instance was started by the program, not by the test: it is
    // ended here.
    if (window) {
        const auto pid = m_probe->property(*window, m_probe->atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
        if (pid && pid->size() >= sizeof(quint32)) {
            quint32 value = 0;
            std::memcpy(&value, pid->data(), sizeof value);
            ::kill(pid_t(value), SIGTERM);
        }
    }
}

TEST_F(SettingsWindowTest, TheTrayMenuOpensTheHistory)
{
    if (!onPath("trayer"))
        GTEST_SKIP() << "trayer is not installed";
    // A light XEmbed tray along the top edge, up before the program.
    m_clients.push_back(start({"trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                               "--height", "24", "--SetDockType", "true"},
                              "trayer"));
    // Up means holding the tray's selection, which need not come with
    // trayer's window; a program started before finds no tray and only looks
    // again every few seconds.
    ASSERT_TRUE(waitUntil([&] { return m_probe->selectionOwner("_NET_SYSTEM_TRAY_S0").has_value(); }, 10s))
        << "trayer did not start";
    ASSERT_TRUE(startHoldingHotKey());
    // The panel stays hidden: the one window of the program on screen is its
    // icon in the tray.
    std::optional<xcb_window_t> icon;
    ASSERT_TRUE(waitUntil([&] { return (icon = m_probe->viewableWindowNamed("Quillor")).has_value(); }, 10s))
        << "the icon did not reach the tray";
    ASSERT_EQ(xdotool({"mousemove", "--window", std::to_string(*icon), "8", "8", "click", "1"}).exitCode, 0);
    std::this_thread::sleep_for(500ms);
    // The version line is disabled: new capture, settings, then history.
    key("Down");
    key("Down");
    key("Down");
    key("Return");
    EXPECT_TRUE(waitUntil([&] { return settingsActive(); }, 10s)) << "the history did not open";
}

} // namespace
