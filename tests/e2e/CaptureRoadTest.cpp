// The whole program on a real X server: its own Xvfb, Openbox as the window
// manager, a fresh data directory and vault, and xdotool as the user's hands.

#include "ChildProcess.h"
#include "HotKeyReadiness.h"
#include "X11Probe.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRect>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <thread>

// Readable failure messages for Qt's texts.
inline void PrintTo(const QString& value, std::ostream* out)
{
    *out << '"' << value.toStdString() << '"';
}

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

const QString destinationID = QStringLiteral("6F1C2A34-9B0D-4E5F-8A7B-1C2D3E4F5A6B");

std::string text(const QString& value)
{
    return value.toStdString();
}

QJsonObject readJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QStringList jsonFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
}

class CaptureRoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "openbox", "xdotool"}) {
            if (!onPath(tool))
                GTEST_SKIP() << tool << " is not installed";
        }
        ASSERT_EQ(access(QUILLOR_PROGRAM, X_OK), 0) << QUILLOR_PROGRAM << " is not built";
        ASSERT_TRUE(m_root.isValid());
        for (const char* folder : {"data", "vault", "home", "runtime", "logs"})
            ASSERT_TRUE(QDir(m_root.path()).mkpath(QString::fromLatin1(folder)));
        QFile::setPermissions(QString::fromStdString(path("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writePreferences();

        m_server = XvfbServer::start(log("xvfb"));
        ASSERT_TRUE(m_server) << "Xvfb did not start";
        m_probe = std::make_unique<X11Probe>(m_server->display());
        ASSERT_TRUE(m_probe->connected());
        m_windowManager = start({"openbox", "--sm-disable"}, "openbox");
        ASSERT_TRUE(waitUntil([&] { return m_probe->windowManagerRunning(); }, 10s)) << "Openbox did not start";
        // é œ û à ë: the accented letters the capture road types.
        ASSERT_TRUE(m_probe->addKeysyms({0xe9, 0x13bd, 0xfb, 0xe0, 0xeb}));
    }

    void TearDown() override
    {
        if (HasFailure()) {
            // Kept for a look at the files the program wrote and its logs.
            m_root.setAutoRemove(false);
            std::cerr << "scratch folder kept: " << text(m_root.path()) << "\n";
            for (const std::string& name : m_programNames)
                std::cerr << "---- " << name << " stderr:\n" << readWholeFile(log(name) + ".err") << "\n";
        }
        // The program first: it saves its draft while the server still runs.
        m_programs.clear();
        m_clients.clear();
        m_windowManager.reset();
        m_probe.reset();
        m_server.reset();
    }

    std::string path(const char* name) const { return text(m_root.filePath(QString::fromLatin1(name))); }
    std::string log(const std::string& name) const { return path("logs") + "/" + name; }
    QString dataPath(const QString& name) const { return QString::fromStdString(path("data")) + u'/' + name; }
    QString vaultPath() const { return QString::fromStdString(path("vault")); }

    Environment environment() const
    {
        const std::string home = path("home");
        return Environment::inherited()
            .set("DISPLAY", m_server->display())
            .set("HOME", home)
            .set("XDG_CONFIG_HOME", home + "/.config")
            .set("XDG_DATA_HOME", home + "/.local/share")
            .set("XDG_CACHE_HOME", home + "/.cache")
            .set("XDG_RUNTIME_DIR", path("runtime"))
            .set("QUILLOR_DATA_DIR", path("data"))
            .set("QT_QPA_PLATFORM", "xcb")
            .set("LC_ALL", "C.UTF-8")
            .set("TZ", "UTC")
            .unset("WAYLAND_DISPLAY")
            .unset("XDG_SESSION_TYPE")
            // No session bus, and none started on demand: without a bus address
            // libdbus tries to launch one over X, which can stall Qt's start.
            .set("DBUS_SESSION_BUS_ADDRESS", "disabled:")
            .unset("SESSION_MANAGER")
            .unset("QUILLOR_EXIT_WHEN_IDLE");
    }

    // One destination, "Inbox", writing new notes into the test's vault; no
    // update check, so nothing reaches the network.
    void writePreferences()
    {
        QJsonObject destination{
            {"id", destinationID},        {"name", "Inbox"},      {"alias", "inbox"},
            {"vaultPath", vaultPath()},   {"mode", "newNote"},    {"path", "Inbox"},
            {"attachmentFolder", "Attachments/Quillor"},
        };
        QJsonObject preferences{
            {"destinations", QJsonArray{destination}},
            {"defaultDestinationID", destinationID},
            {"language", "fr"},
            {"automaticallyCheckUpdates", false},
            {"routePrefix", "@"},
            {"hotkeyCode", 49},
            {"hotkeyModifiers", 4096},
            {"hotkeyDisplay", "⌃Space"},
            {"attachmentSettingsVersion", 1},
        };
        QFile file(dataPath(QStringLiteral("preferences.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(preferences).toJson(QJsonDocument::Compact));
    }

    std::unique_ptr<ChildProcess> start(std::vector<std::string> arguments, const std::string& name)
    {
        return ChildProcess::start({std::move(arguments), environment().entries(), log(name) + ".out",
                                    log(name) + ".err"});
    }

    ChildProcess* startQuillor(const std::string& name = "quillor")
    {
        m_programNames.push_back(name);
        m_programs.push_back(start({QUILLOR_PROGRAM}, name));
        return m_programs.back().get();
    }

    // The test's own X client; returns the first line it prints.
    std::string startClient(std::vector<std::string> arguments, const std::string& name)
    {
        arguments.insert(arguments.begin(), QUILLOR_X11_TEST_CLIENT);
        m_clients.push_back(start(std::move(arguments), name));
        std::string line;
        waitUntil(
            [&] {
                const std::string output = readWholeFile(log(name) + ".out");
                if (output.find('\n') == std::string::npos)
                    return false;
                line = output.substr(0, output.find('\n'));
                return true;
            },
            10s);
        return line;
    }

    // The program, once its hot key is live; null after a reported failure.
    ChildProcess* startHoldingHotKey(const std::string& name = "quillor")
    {
        HotKeyLaunch launch = quillor::e2e::startHoldingHotKey(*m_probe, [&](int attempt) {
            const std::string attemptName = attempt ? name + "-" + std::to_string(attempt + 1) : name;
            m_programNames.push_back(attemptName);
            return LaunchedProgram{start({QUILLOR_PROGRAM}, attemptName), log(attemptName) + ".err"};
        });
        if (!launch.program.process) {
            ADD_FAILURE() << launch.failure;
            return nullptr;
        }
        m_programs.push_back(std::move(launch.program.process));
        return m_programs.back().get();
    }

    ToolResult xdotool(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "xdotool");
        return runTool(std::move(arguments), environment(), path("logs"));
    }

    std::optional<xcb_window_t> panel() const { return m_probe->viewableWindowNamed("Quillor"); }

    bool waitForActivePanel()
    {
        return waitUntil(
            [&] {
                const auto window = panel();
                return window && m_probe->activeWindow() == window;
            },
            10s);
    }

    std::string programErrors(const std::string& name = "quillor") const { return readWholeFile(log(name) + ".err"); }

    // The panel on screen with the keyboard, shown by the hot key.
    bool showPanel()
    {
        return startHoldingHotKey() && xdotool({"key", "ctrl+space"}).exitCode == 0 && waitForActivePanel();
    }

    // Where a window stands on the screen, as xdotool reads it.
    std::optional<QRect> geometry(xcb_window_t window)
    {
        const ToolResult result = xdotool({"getwindowgeometry", "--shell", std::to_string(window)});
        QHash<QString, int> values;
        for (const QString& line : QString::fromStdString(result.output).split(u'\n', Qt::SkipEmptyParts)) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals > 0)
                values.insert(line.left(equals), line.mid(equals + 1).toInt());
        }
        if (result.exitCode != 0 || !values.contains(QStringLiteral("X")))
            return std::nullopt;
        return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                     values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT")));
    }

    // A left-button drag from `from` through relative steps, as a hand makes
    // it; Alt goes down after the press when asked. `during` runs before the
    // release.
    void drag(QPoint from, const std::vector<QPoint>& steps, bool altAfterPress = false,
              const std::function<void()>& during = {})
    {
        ASSERT_EQ(xdotool({"mousemove", std::to_string(from.x()), std::to_string(from.y())}).exitCode, 0);
        std::this_thread::sleep_for(100ms);
        ASSERT_EQ(xdotool({"mousedown", "1"}).exitCode, 0);
        std::this_thread::sleep_for(100ms);
        if (altAfterPress) {
            ASSERT_EQ(xdotool({"keydown", "alt"}).exitCode, 0);
        }
        for (const QPoint step : steps) {
            ASSERT_EQ(xdotool({"mousemove_relative", "--", std::to_string(step.x()), std::to_string(step.y())}).exitCode,
                      0);
            std::this_thread::sleep_for(40ms);
        }
        std::this_thread::sleep_for(200ms);
        if (during)
            during();
        ASSERT_EQ(xdotool({"mouseup", "1"}).exitCode, 0);
        if (altAfterPress) {
            ASSERT_EQ(xdotool({"keyup", "alt"}).exitCode, 0);
        }
    }

    bool guidesShown() const { return m_probe->viewableWindowNamed("Quillor guides").has_value(); }

    // The text of the first note delivered, once its receipt is written;
    // empty when none came.
    QString deliveredNote()
    {
        const QString receipts = dataPath(QStringLiteral("Receipts"));
        if (!waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s))
            return {};
        QFile note(readJson(receipts + u'/' + jsonFiles(receipts).first()).value("path").toString());
        return note.open(QIODevice::ReadOnly) ? QString::fromUtf8(note.readAll()) : QString();
    }

    QString positionFile() const { return dataPath(QStringLiteral("capture-position.json")); }
    // The saved place once it differs from `before`.
    std::optional<QPoint> savedPositionChangedFrom(const QJsonObject& before)
    {
        QJsonObject saved;
        waitUntil([&] { return (saved = readJson(positionFile())) != before; }, 5s);
        if (saved == before)
            return std::nullopt;
        return QPoint(saved.value("x").toInt(), saved.value("top").toInt());
    }

    QTemporaryDir m_root;
    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<X11Probe> m_probe;
    std::unique_ptr<ChildProcess> m_windowManager;
    std::vector<std::unique_ptr<ChildProcess>> m_clients;
    std::vector<std::unique_ptr<ChildProcess>> m_programs;
    std::vector<std::string> m_programNames;
};

TEST_F(CaptureRoadTest, HotKeyCaptureIsWrittenAndTheKeyboardGoesBack)
{
    const QDateTime started = QDateTime::currentDateTimeUtc().addSecs(-1);
    ASSERT_TRUE(startHoldingHotKey());

    const std::string previous = startClient({"window", "Carnet précédent"}, "previous");
    ASSERT_FALSE(previous.empty());
    const xcb_window_t previousWindow = xcb_window_t(std::stoul(previous));
    ASSERT_EQ(xdotool({"windowactivate", "--sync", previous}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return m_probe->activeWindow() == previousWindow; }, 5s));

    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel()) << "the panel did not come up with the keyboard";

    // Typed line by line: Return is a key of its own, and the editor's list
    // and pairing rules must leave these lines exactly as typed.
    const QStringList lines = {QStringLiteral("# Idée du matin"), QStringLiteral("Les œufs brûlés coûtent cher à Noël."),
                               QStringLiteral("- [ ] appeler Zoé")};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ToolResult typed = xdotool({"type", "--delay", "25", "--", text(lines[i])});
        ASSERT_EQ(typed.exitCode, 0) << typed.errors;
        if (i + 1 < lines.size()) {
            ASSERT_EQ(xdotool({"key", "Return"}).exitCode, 0);
        }
    }
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_TRUE(waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s)) << "no receipt";
    const QDateTime finished = QDateTime::currentDateTimeUtc().addSecs(1);
    const QStringList receiptFiles = jsonFiles(receipts);
    ASSERT_EQ(receiptFiles.size(), 1);
    const QString captureID = receiptFiles.first().chopped(5);
    const QString body = lines.join(u'\n');

    // The receipt names the note, its destination and a delivery time.
    const QJsonObject receipt = readJson(receipts + u'/' + receiptFiles.first());
    EXPECT_EQ(receipt.value("captureID").toString(), captureID);
    EXPECT_EQ(receipt.value("destinationName").toString(), QStringLiteral("Inbox"));
    EXPECT_EQ(receipt.value("destinationID").toString(), destinationID);
    const QString relativePath = receipt.value("relativePath").toString();
    static const QRegularExpression noteName(QStringLiteral("^Inbox/(\\d{4}-\\d\\d-\\d\\d \\d{6})-([0-9A-F]{8})\\.md$"));
    const QRegularExpressionMatch named = noteName.match(relativePath);
    ASSERT_TRUE(named.hasMatch()) << text(relativePath);
    EXPECT_EQ(named.captured(2), captureID.left(8));
    const QString notePath = vaultPath() + u'/' + relativePath;
    EXPECT_EQ(receipt.value("path").toString(), notePath);
    const QDateTime delivered = QDateTime::fromString(receipt.value("date").toString(), Qt::ISODate);
    EXPECT_TRUE(delivered.isValid() && delivered >= started && delivered <= finished)
        << text(receipt.value("date").toString());

    // The note: front matter, the capture, its marker; nothing else in the folder.
    QFile note(notePath);
    ASSERT_TRUE(note.open(QIODevice::ReadOnly)) << text(notePath);
    const QByteArray bytes = note.readAll();
    static const QRegularExpression createdLine(QStringLiteral("\ncreated: (\\S+)\n"));
    const QString created = createdLine.match(QString::fromUtf8(bytes)).captured(1);
    const QDateTime createdAt = QDateTime::fromString(created, Qt::ISODate);
    EXPECT_TRUE(createdAt.isValid() && createdAt >= started && createdAt <= delivered) << text(created);
    // The program runs in UTC here, so the file name shows the same moment.
    EXPECT_EQ(named.captured(1), createdAt.toString(QStringLiteral("yyyy-MM-dd HHmmss")));
    const QString expected = QStringLiteral("---\nquillor_id: %1\ncreated: %2\n---\n\n%3\n\n<!-- quillor:%1 -->\n")
                                 .arg(captureID, created, body);
    EXPECT_EQ(QString::fromUtf8(bytes), expected);
    EXPECT_EQ(QDir(vaultPath() + QStringLiteral("/Inbox")).entryList(QDir::Files | QDir::Hidden).size(), 1);

    // The history keeps the capture as typed.
    const QJsonObject history = readJson(dataPath(QStringLiteral("History/")) + captureID + QStringLiteral(".json"));
    EXPECT_EQ(history.value("id").toString(), captureID);
    EXPECT_EQ(history.value("body").toString().trimmed(), body);

    // The panel is gone and the previous window has the keyboard again.
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the panel is still on screen";
    // First shown on a fresh data folder, it stood centred, a tenth of the
    // screen above the middle, and kept its top edge while it grew: the
    // position saved on hiding says so (not the corner a window manager
    // gives a window it placed itself).
    const QJsonObject position = readJson(dataPath(QStringLiteral("capture-position.json")));
    EXPECT_EQ(position.value("x").toDouble(), 480.0);
    EXPECT_GT(position.value("top").toDouble(), 250.0);
    EXPECT_LT(position.value("top").toDouble(), 400.0);
    EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == previousWindow; }, 5s));
    const ToolResult active = xdotool({"getactivewindow"});
    EXPECT_EQ(active.exitCode, 0);
    EXPECT_EQ(active.output, previous + "\n");
}

TEST_F(CaptureRoadTest, ParagraphsSeparatedByBlankLinesReachTheNoteAsTyped)
{
    ASSERT_TRUE(startHoldingHotKey());
    const std::string previous = startClient({"window", "Carnet précédent"}, "previous");
    ASSERT_FALSE(previous.empty());
    ASSERT_EQ(xdotool({"windowactivate", "--sync", previous}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());

    // At the end of the text each time: one blank line, two, then one made
    // of line breaks typed with Shift held.
    const std::vector<std::pair<std::string, std::vector<std::string>>> typed = {
        {"alpha", {"Return", "Return"}},
        {"beta", {"Return", "Return", "Return"}},
        {"gamma", {"shift+Return", "shift+Return"}},
        {"delta", {}},
    };
    for (const auto& [words, breaks] : typed) {
        const ToolResult typing = xdotool({"type", "--delay", "25", "--", words});
        ASSERT_EQ(typing.exitCode, 0) << typing.errors;
        for (const std::string& key : breaks)
            ASSERT_EQ(xdotool({"key", key}).exitCode, 0);
    }
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString receipts = dataPath(QStringLiteral("Receipts"));
    ASSERT_TRUE(waitUntil([&] { return !jsonFiles(receipts).isEmpty(); }, 15s)) << "no receipt";
    const QJsonObject receipt = readJson(receipts + u'/' + jsonFiles(receipts).first());
    QFile note(receipt.value("path").toString());
    ASSERT_TRUE(note.open(QIODevice::ReadOnly)) << text(note.fileName());
    const QByteArray bytes = note.readAll();
    const QByteArray body = "\n\nalpha\n\nbeta\n\n\ngamma\n\ndelta\n\n<!-- quillor:";
    EXPECT_NE(bytes.indexOf("---" + body), -1) << bytes.toStdString();
}

// Minimised, the settings window is not on screen: hiding the panel gives the
// keyboard back to the window the user came from.
TEST_F(CaptureRoadTest, TheKeyboardGoesBackWhileTheSettingsWindowIsMinimised)
{
    ASSERT_TRUE(startHoldingHotKey());
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    ASSERT_EQ(xdotool({"key", "ctrl+comma"}).exitCode, 0);
    std::optional<xcb_window_t> settings;
    ASSERT_TRUE(waitUntil([&] { return (settings = m_probe->viewableWindowNamed("Réglages")).has_value(); }, 10s))
        << "no settings window";
    ASSERT_EQ(xdotool({"windowminimize", "--sync", std::to_string(*settings)}).exitCode, 0);

    const std::string previous = startClient({"window", "Carnet précédent"}, "previous");
    ASSERT_FALSE(previous.empty());
    const xcb_window_t previousWindow = xcb_window_t(std::stoul(previous));
    ASSERT_EQ(xdotool({"windowactivate", "--sync", previous}).exitCode, 0);
    ASSERT_TRUE(waitUntil([&] { return m_probe->activeWindow() == previousWindow; }, 5s));
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    // Openbox may fall back on the window focused last by itself: what
    // matters is that the program asks for the window the user came from.
    m_probe->watchWindowManagerRequests();
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the panel is still on screen";
    EXPECT_TRUE(waitUntil([&] { return m_probe->activationRequested(previousWindow); }, 5s))
        << "the program did not give the keyboard back";
    EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == previousWindow; }, 5s));
}

TEST_F(CaptureRoadTest, TheHotKeyStillHidesThePanelAfterAQuickDoublePress)
{
    ASSERT_TRUE(startHoldingHotKey());
    const std::string previous = startClient({"window", "Carnet précédent"}, "previous");
    ASSERT_FALSE(previous.empty());
    ASSERT_EQ(xdotool({"windowactivate", "--sync", previous}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());

    // Hidden and at once shown again, as a quick double press does.
    ASSERT_EQ(xdotool({"key", "ctrl+space", "key", "ctrl+space"}).exitCode, 0);
    ASSERT_TRUE(waitForActivePanel());
    // At a person's pace, the next press hides the panel.
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(xdotool({"key", "ctrl+space"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return !panel(); }, 5s)) << "the hot key no longer hides the panel";
    EXPECT_TRUE(waitUntil([&] { return m_probe->activeWindow() == xcb_window_t(std::stoul(previous)); }, 5s));
}

TEST_F(CaptureRoadTest, AHotKeyTakenByAnotherApplicationIsReportedAtLaunch)
{
    ASSERT_EQ(startClient({"grab-control-space"}, "rival"), "grabbed");
    ChildProcess* program = startQuillor();
    const auto reports = [&](const std::string& errors) {
        return errors.find("Ce raccourci est déjà réservé") != std::string::npos
            && errors.find("Indisponible") != std::string::npos;
    };
    waitUntil([&] { return reports(programErrors()) || !program->running(); }, 30s, 100ms);
    EXPECT_TRUE(reports(programErrors())) << programErrors();
    // A refused hot key is not a reason to stop: the program stays reachable.
    EXPECT_TRUE(program->running());
}

TEST_F(CaptureRoadTest, ASecondLaunchShowsTheFirstInstancesPanel)
{
    ChildProcess* first = startHoldingHotKey("first");
    ASSERT_TRUE(first);
    ASSERT_FALSE(panel()) << "the panel showed at launch";

    ChildProcess* second = startQuillor("second");
    const auto launched = Clock::now();
    ASSERT_TRUE(second->waitForExit(5s)) << "the second launch kept running";
    std::cout << "second launch exited after "
              << std::chrono::duration_cast<Milliseconds>(Clock::now() - launched).count() << " ms\n";
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(waitForActivePanel()) << "the first instance did not show its panel";
    EXPECT_TRUE(first->running());
}

// The drag strip along the panel's top edge moves it; a press and release
// on the spot moves nothing and saves nothing.
TEST_F(CaptureRoadTest, DraggingTheHandleMovesThePanelOverGuidesAndSavesItsPlace)
{
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> start = geometry(*panel());
    ASSERT_TRUE(start);
    const QPoint handle = start->topLeft() + QPoint(120, 3);

    drag(handle, {});
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(QFileInfo::exists(positionFile())) << "a click saved a place";
    EXPECT_EQ(geometry(*panel()), start);

    // (+100, +50 or a little further down), so that no edge nor the middle
    // comes within 10 pixels of a guide of the 1440 × 900 screen.
    const auto clearOfGuides = [&](int top) {
        for (const int y : {top, top + start->height() / 2, top + start->height()}) {
            for (const int guide : {225, 450, 675}) {
                if (std::abs(y - guide) <= 10)
                    return false;
            }
        }
        return true;
    };
    int down = 50;
    while (!clearOfGuides(start->y() + down))
        down += 10;
    const QJsonObject before = readJson(positionFile());
    bool guidesDuringDrag = false;
    drag(handle, std::vector<QPoint>(10, QPoint(10, down / 10)), false, [&] { guidesDuringDrag = guidesShown(); });
    EXPECT_TRUE(guidesDuringDrag) << "no guides during the drag";
    const std::optional<QPoint> saved = savedPositionChangedFrom(before);
    ASSERT_TRUE(saved) << "no place saved";
    EXPECT_EQ(*saved, start->topLeft() + QPoint(100, down));
    EXPECT_EQ(geometry(*panel())->topLeft(), start->topLeft() + QPoint(100, down));
    EXPECT_TRUE(waitUntil([&] { return !guidesShown(); }, 2s)) << "the guides outlived the drag";
}

// The panel first stands centred on the screen's middle line: dragged so its
// middle ends 8 pixels off that line it snaps back, 11 pixels off it stays,
// and with Alt pressed during the drag it follows the pointer exactly.
TEST_F(CaptureRoadTest, ThePanelsMiddleSnapsOntoTheScreensMiddleWithinTenPixelsUnlessAltIsHeld)
{
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> start = geometry(*panel());
    ASSERT_TRUE(start);
    ASSERT_EQ(start->x() + start->width() / 2, 720) << "not centred on the 1440-pixel screen";
    const struct {
        int offset;
        bool alt;
        int expected;
    } cases[] = {{8, false, 0}, {11, false, 11}, {8, true, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset) + (c.alt ? " with Alt" : ""));
        const std::optional<QRect> from = geometry(*panel());
        ASSERT_TRUE(from);
        const QJsonObject before = readJson(positionFile());
        const int there = start->x() + c.offset - from->x();
        drag(from->topLeft() + QPoint(120, 3), {QPoint(30, 0), QPoint(30, 0), QPoint(there - 60, 0)}, c.alt);
        const std::optional<QPoint> saved = savedPositionChangedFrom(before);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->x(), start->x() + c.expected);
        EXPECT_EQ(geometry(*panel())->x(), start->x() + c.expected);
    }
}

TEST_F(CaptureRoadTest, APanelDraggedHalfOffTheBottomIsFittedBackOnTheScreen)
{
    ASSERT_TRUE(showPanel());
    const std::optional<QRect> start = geometry(*panel());
    ASSERT_TRUE(start);
    const int down = 900 - start->y() - start->height() / 2;
    drag(start->topLeft() + QPoint(120, 3), std::vector<QPoint>(10, QPoint(0, down / 10)));
    const std::optional<QPoint> saved = savedPositionChangedFrom({});
    ASSERT_TRUE(saved);
    EXPECT_TRUE(waitUntil([&] { return geometry(*panel())->bottom() < 900; }, 2s));
    EXPECT_EQ(saved->y(), geometry(*panel())->y());
    EXPECT_GT(saved->y(), start->y());
}

} // namespace

// "[[" opens the suggestions under the caret in a window of their own; a
// click on a row inserts its link while the panel keeps the keyboard.
TEST_F(CaptureRoadTest, SuggestionsOpenUnderTheCaretAndAClickedRowIsInserted)
{
    for (const char* name : {"Alpha", "Beta", "Gamma"}) {
        QFile note(vaultPath() + u'/' + QString::fromLatin1(name) + QStringLiteral(".md"));
        ASSERT_TRUE(note.open(QIODevice::WriteOnly));
        note.write("Une note.\n");
    }
    ASSERT_TRUE(showPanel());
    const xcb_window_t capture = *panel();
    const std::optional<QRect> frame = geometry(capture);
    ASSERT_TRUE(frame);

    std::optional<xcb_window_t> suggestions;
    // The vault is read when the panel shows; the list fills once it is.
    ASSERT_TRUE(waitUntil(
        [&] {
            if (!(suggestions = m_probe->viewableWindowNamed("Quillor suggestions"))) {
                xdotool({"key", "ctrl+a", "BackSpace"});
                xdotool({"type", "--delay", "25", "--", "[["});
                std::this_thread::sleep_for(300ms);
                suggestions = m_probe->viewableWindowNamed("Quillor suggestions");
            }
            return suggestions.has_value();
        },
        10s))
        << "no suggestions window";
    const std::optional<QRect> list = geometry(*suggestions);
    ASSERT_TRUE(list);
    // Below the first line, from the caret's left.
    EXPECT_EQ(list->height(), 3 * 32 + 8);
    EXPECT_GT(list->top(), frame->top());
    EXPECT_LT(list->top(), frame->top() + 60);
    EXPECT_GT(list->left(), frame->left());
    EXPECT_LT(list->left(), frame->left() + 60);

    // The second row, "Beta": under the 4-pixel padding, one row down.
    const QPoint row(list->left() + 40, list->top() + 4 + 32 + 16);
    ASSERT_EQ(xdotool({"mousemove", std::to_string(row.x()), std::to_string(row.y())}).exitCode, 0);
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(xdotool({"click", "1"}).exitCode, 0);
    EXPECT_TRUE(waitUntil([&] { return !m_probe->viewableWindowNamed("Quillor suggestions"); }, 5s));
    std::this_thread::sleep_for(200ms);
    const ToolResult active = xdotool({"getactivewindow"});
    EXPECT_EQ(active.output, std::to_string(capture) + "\n") << "the click took the keyboard from the panel";
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", " suite"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString written = deliveredNote();
    ASSERT_FALSE(written.isEmpty()) << "no note delivered";
    static const QRegularExpression link(QStringLiteral("\n\n\\[\\[Beta\\]\\] suite\n\n"));
    EXPECT_TRUE(link.match(written).hasMatch()) << text(written);
}

// Dragged by its handle below the second item, the first item comes after it.
TEST_F(CaptureRoadTest, DraggingTheFirstItemsHandleBelowTheSecondSwapsThem)
{
    ASSERT_TRUE(showPanel());
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "- un"}).exitCode, 0);
    ASSERT_EQ(xdotool({"key", "Return"}).exitCode, 0);
    ASSERT_EQ(xdotool({"type", "--delay", "25", "--", "deux"}).exitCode, 0);
    std::this_thread::sleep_for(300ms);
    const std::optional<QRect> frame = geometry(*panel());
    ASSERT_TRUE(frame);
    // The first item's handle: past the drag strip and the text's margin,
    // left of its marker.
    const QPoint handle(frame->left() + 14, frame->top() + 6 + 8 + 10);
    drag(handle, {{0, 3}, {0, 8}, {0, 8}, {0, 8}, {0, 8}, {0, 8}});
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(xdotool({"key", "ctrl+Return"}).exitCode, 0);

    const QString written = deliveredNote();
    ASSERT_FALSE(written.isEmpty()) << "no note delivered";
    EXPECT_NE(written.indexOf(QStringLiteral("\n\n- deux\n- un\n\n")), -1) << text(written);
}
