#pragma once

// The whole program on a real X server: its own Xvfb, Openbox as the window
// manager, a fresh data directory and vault, and xdotool as the user's hands.

#include "ChildProcess.h"
#include "HotKeyReadiness.h"
#include "X11Probe.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>
#include <map>

// Readable failure messages for Qt's texts.
inline void PrintTo(const QString& value, std::ostream* out)
{
    *out << '"' << value.toStdString() << '"';
}

namespace quillor::e2e {

using namespace std::chrono_literals;

inline const QString destinationID = QStringLiteral("6F1C2A34-9B0D-4E5F-8A7B-1C2D3E4F5A6B");

inline std::string text(const QString& value)
{
    return value.toStdString();
}

inline QJsonObject readJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

inline QStringList jsonFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
}

// A fresh server, window manager and data folder for each test.
class ProgramTest : public ::testing::Test {
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

    std::unique_ptr<ChildProcess> startProgram(const std::string& name)
    {
        Environment variables = environment();
        for (const auto& [variable, value] : m_programVariables)
            variables.set(variable, value);
        return ChildProcess::start({{QUILLOR_PROGRAM}, variables.entries(), log(name) + ".out", log(name) + ".err"});
    }

    ChildProcess* startQuillor(const std::string& name = "quillor")
    {
        m_programNames.push_back(name);
        m_programs.push_back(startProgram(name));
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
            return LaunchedProgram{startProgram(attemptName), log(attemptName) + ".err"};
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

    // Puts a file on the clipboard as `type`, as another program's copy does.
    // xclip answers from a process of its own that takes the clipboard after
    // the command has returned: a paste only sees the file once it has.
    bool copyToClipboard(const std::string& type, const QString& file)
    {
        const std::optional<xcb_window_t> before = m_probe->selectionOwner("CLIPBOARD");
        // xclip stays behind as the clipboard's owner until the server goes.
        if (runTool({"xclip", "-selection", "clipboard", "-t", type, "-i", text(file)}, environment(), path("logs"))
                .exitCode
            != 0)
            return false;
        return waitUntil(
            [&] {
                const std::optional<xcb_window_t> owner = m_probe->selectionOwner("CLIPBOARD");
                return owner && owner != before;
            },
            10s);
    }

    // A window of another program with the keyboard, as the user's work has
    // it; its id as xdotool prints it, or empty when it did not come up.
    std::string activatePreviousWindow()
    {
        const std::string previous = startClient({"window", "Carnet précédent"}, "previous");
        if (previous.empty() || xdotool({"windowactivate", "--sync", previous}).exitCode != 0)
            return {};
        const auto window = xcb_window_t(std::stoul(previous));
        return waitUntil([&] { return m_probe->activeWindow() == window; }, 5s) ? previous : std::string();
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

    QTemporaryDir m_root;
    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<X11Probe> m_probe;
    std::unique_ptr<ChildProcess> m_windowManager;
    std::vector<std::unique_ptr<ChildProcess>> m_clients;
    std::vector<std::unique_ptr<ChildProcess>> m_programs;
    std::vector<std::string> m_programNames;
    // Set for the program only, not for the tools around it.
    std::map<std::string, std::string> m_programVariables;
};

} // namespace quillor::e2e
