// Launching the whole program on a large draft, on a private Xvfb with
// Openbox, each figure beside the same program launched on an empty draft in
// the same run:
// - launch to panel: from the start of the process to the panel on screen
//   with the keyboard, the hot key pressed as soon as it is held; the draft
//   is mostly images (320 MB by default);
// - SIGTERM while one line of 25 M × "é" (50 MB) is laid out: from the signal
//   to the end of the process (target: under 3 s).
// Prints medians and their ratios.
//
//   draft_launch_bench [--runs N] [--megabytes N] [--line N] [--program PATH]

#include "ChildProcess.h"
#include "HotKeyReadiness.h"
#include "X11Probe.h"

#include "Median.h"
#include "ProgramDesktop.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QUuid>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

using quillor::bench::median;

const std::string destination = "6F1C2A34-9B0D-4E5F-8A7B-1C2D3E4F5A6B";

struct Settings {
    int runs = 3;
    int megabytes = 320;
    int line = 25'000'000;
    std::string program = QUILLOR_PROGRAM;
};

std::string newID()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString();
}

// A data folder with one destination and the draft given, removed at the end.
class Setup {
public:
    Setup(const std::string& name, const std::string& body, int imageMegabytes)
        : m_root("/tmp/quillor-draft-launch-bench-" + name + "-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(data());
        std::filesystem::create_directories(m_root + "/vault");
        std::ofstream(data() + "/preferences.json")
            << R"({"destinations":[{"id":")" << destination << R"(","name":"Inbox","alias":"inbox","vaultPath":")"
            << m_root << R"(/vault","mode":"newNote","path":"Inbox","attachmentFolder":"Attachments"}],)"
            << R"("defaultDestinationID":")" << destination
            << R"(","language":"fr","automaticallyCheckUpdates":false,"routePrefix":"@","hotkeyCode":49,)"
            << R"("hotkeyModifiers":4096,"hotkeyDisplay":"⌃Space","attachmentSettingsVersion":1})";
        std::ofstream draft(data() + "/draft.json");
        draft << R"({"id":")" << newID() << R"(","createdAt":700000000,"body":")" << body
              << R"(","destinationID":")" << destination << R"(","usesExplicitDestination":true,"attachments":[)";
        // Images removed from the text, which a draft keeps for undo, 8 MB each.
        QByteArray photo(8 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator generator(35);
        generator.fillRange(reinterpret_cast<quint32*>(photo.data()), photo.size() / 4);
        const std::string encoded = photo.toBase64().toStdString();
        for (int image = 0; image * 8 * 4 / 3 < imageMegabytes; ++image) {
            draft << (image ? "," : "") << R"({"id":")" << newID() << R"(","data":")" << encoded
                  << R"(","fileExtension":"png"})";
        }
        draft << "]}";
    }
    ~Setup() { std::filesystem::remove_all(m_root); }

    std::string data() const { return m_root + "/data"; }
    std::string path(const std::string& name) const
    {
        std::filesystem::create_directories(m_root + "/" + name);
        return m_root + "/" + name;
    }

private:
    std::string m_root;
};

enum class Measure { launchToPanel, sigtermDuringLayout };

class Bench {
public:
    Bench(const Settings& settings, const X11Probe& probe, Environment environment, std::string logs)
        : m_settings(settings), m_probe(probe), m_environment(std::move(environment)), m_logs(std::move(logs))
    {
    }

    std::optional<double> once(const Setup& setup, Measure measure)
    {
        const Environment environment =
            Environment(m_environment).set("QUILLOR_DATA_DIR", setup.data()).set("HOME", setup.path("home"));
        auto start = Clock::now();
        const HotKeyLaunch launch = startHoldingHotKey(m_probe, [&](int attempt) {
            const std::string errors = m_logs + "/launch-" + std::to_string(attempt + 1) + ".err";
            start = Clock::now();
            auto process = ChildProcess::start({{m_settings.program}, environment.entries(), "/dev/null", errors});
            return LaunchedProgram{std::move(process), errors};
        });
        if (!launch.program.process)
            return std::nullopt;
        ChildProcess& program = *launch.program.process;
        runTool({"xdotool", "key", "ctrl+space"}, m_environment, m_logs);
        std::optional<double> figure;
        if (measure == Measure::launchToPanel) {
            const bool shown = waitUntil(
                [&] {
                    const auto panel = m_probe.viewableWindowNamed("Quillor");
                    return panel && m_probe.activeWindow() == panel;
                },
                120s, 5ms);
            if (shown)
                figure = milliseconds(start);
        } else {
            // Well into the layout, which starts when the draft is read.
            std::this_thread::sleep_for(3s);
            start = Clock::now();
            ::kill(program.pid(), SIGTERM);
            if (program.waitForExit(120s))
                figure = milliseconds(start);
        }
        program.stop();
        return figure;
    }

    std::vector<double> run(const Setup& setup, Measure measure)
    {
        std::vector<double> times;
        for (int run = 0; run < m_settings.runs; ++run) {
            if (const std::optional<double> time = once(setup, measure))
                times.push_back(*time);
        }
        return times;
    }

private:
    static double milliseconds(Clock::time_point since)
    {
        return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
    }

    const Settings& m_settings;
    const X11Probe& m_probe;
    Environment m_environment;
    std::string m_logs;
};

Settings parse(int argc, char* argv[])
{
    Settings settings;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--runs")
            settings.runs = std::max(1, atoi(argv[i + 1]));
        else if (option == "--megabytes")
            settings.megabytes = std::max(0, atoi(argv[i + 1]));
        else if (option == "--line")
            settings.line = std::max(1, atoi(argv[i + 1]));
        else if (option == "--program")
            settings.program = argv[i + 1];
    }
    return settings;
}

void print(const char* name, const std::vector<double>& baseline, const std::vector<double>& heavy,
           const std::string& logs)
{
    if (baseline.empty() || heavy.empty()) {
        printf("%s: not measured (see %s)\n", name, logs.c_str());
        return;
    }
    printf("%s, median of %zu runs: empty draft %.1f ms, large draft %.1f ms, ratio %.2f\n", name, heavy.size(),
           median(baseline), median(heavy), median(heavy) / median(baseline));
    fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    const Settings settings = parse(argc, argv);
    const Setup empty("empty", "", 0);
    const std::string logs = empty.path("logs");
    const auto desktop = quillor::bench::ProgramDesktop::start(logs, empty.path("runtime"));
    if (!desktop)
        return 1;
    const X11Probe& probe = *desktop->probe;
    const Environment& environment = desktop->environment;

    Bench bench(settings, probe, environment, logs);
    {
        const Setup images("images", "premier jet", settings.megabytes);
        const std::string name = "launch to panel, " + std::to_string(settings.megabytes) + " MB draft";
        print(name.c_str(), bench.run(empty, Measure::launchToPanel), bench.run(images, Measure::launchToPanel),
              logs);
    }
    {
        std::string line;
        line.reserve(size_t(settings.line) * 2);
        for (int i = 0; i < settings.line; ++i)
            line += "é";
        const Setup longLine("line", line, 0);
        const std::string name = "SIGTERM while one line of " + std::to_string(settings.line) + " × é is laid out";
        print(name.c_str(), bench.run(empty, Measure::sigtermDuringLayout),
              bench.run(longLine, Measure::sigtermDuringLayout), logs);
    }
    return 0;
}
