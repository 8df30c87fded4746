// How long quitting takes, from the request (Ctrl+Q in the panel, or
// SIGTERM) to the end of the process, on a private Xvfb with Openbox. The
// baseline is the same program with one destination, a small vault and no
// history; the heavy run has ten destinations over five large vaults and a
// large history, and quits right after the panel showed (a vault scan
// running) and right after the history section opened (its list being read).
// A last case quits while the update check started at launch waits for a
// name lookup that a resolver timing out makes last seconds, against the same
// program whose lookups answer at once. Prints medians and their ratio to the
// baseline; judging them is left to people (target: 300 ms at most whatever
// the vaults, the history and the network).
//
//   quit_bench [--runs N] [--program PATH]

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
#include <vector>

using namespace quillor::e2e;
using namespace std::chrono_literals;

namespace {

using quillor::bench::median;

struct Settings {
    int runs = 5;
    std::string program = QUILLOR_PROGRAM;
};

// One data folder, its vaults and its history, removed at the end.
class Setup {
public:
    Setup(const std::string& name, int vaults, int destinations, int notesPerVault, int historyEntries,
          bool checksUpdates = false)
        : m_root("/tmp/quillor-quit-bench-" + name + "-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(data());
        std::string list;
        for (int v = 0; v < vaults; ++v)
            writeVault(vault(v), notesPerVault);
        for (int d = 0; d < destinations; ++d) {
            list += std::string(d ? "," : "") + R"({"id":")" + id(d) + R"(","name":"D)" + std::to_string(d)
                    + R"(","alias":"d)" + std::to_string(d) + R"(","vaultPath":")" + vault(d % vaults)
                    + R"(","mode":"newNote","path":"Inbox","attachmentFolder":"Attachments"})";
        }
        std::ofstream(data() + "/preferences.json")
            << R"({"destinations":[)" << list << R"(],"defaultDestinationID":")" << id(0)
            << R"(","language":"fr","automaticallyCheckUpdates":)" << (checksUpdates ? "true" : "false")
            << R"(,"routePrefix":"@","hotkeyCode":49,)"
            << R"("hotkeyModifiers":4096,"hotkeyDisplay":"⌃Space","attachmentSettingsVersion":1})";
        writeHistory(historyEntries);
    }
    ~Setup() { std::filesystem::remove_all(m_root); }

    std::string data() const { return m_root + "/data"; }
    // Each launch finds a check due, as the first launch of a day does.
    void forgetUpdateCheck() const { std::filesystem::remove(data() + "/update-check.json"); }
    std::string path(const std::string& name) const
    {
        std::filesystem::create_directories(m_root + "/" + name);
        return m_root + "/" + name;
    }

private:
    static std::string id(int number)
    {
        return QUuid::fromString(QStringLiteral("00000000-0000-4000-8000-%1").arg(number + 1, 12, 10, QLatin1Char('0')))
            .toString(QUuid::WithoutBraces)
            .toUpper()
            .toStdString();
    }
    std::string vault(int number) const { return m_root + "/vault" + std::to_string(number); }

    static void writeVault(const std::string& folder, int notes)
    {
        std::filesystem::create_directories(folder + "/.obsidian");
        const std::string body = "# Note\n\nLe projet #travail avance, voir [[Note 3]].\n";
        for (int n = 0; n < notes; ++n) {
            const std::string sub = folder + "/f" + std::to_string(n / 200);
            if (n % 200 == 0)
                std::filesystem::create_directories(sub);
            std::ofstream(sub + "/Note " + std::to_string(n) + ".md") << body << std::string(1500, 'x') << "\n";
        }
    }

    // Captures with a 15 MB photo each, as a year of screenshots leaves.
    void writeHistory(int entries) const
    {
        if (!entries)
            return;
        std::filesystem::create_directories(data() + "/History");
        QByteArray photo(15 * 1024 * 1024, Qt::Uninitialized);
        QRandomGenerator generator(7);
        generator.fillRange(reinterpret_cast<quint32*>(photo.data()), photo.size() / 4);
        const std::string encoded = photo.toBase64().toStdString();
        for (int e = 0; e < entries; ++e) {
            const std::string capture = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString();
            const std::string attachment = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString();
            std::ofstream(data() + "/History/" + capture + ".json")
                << R"({"id":")" << capture << R"(","createdAt":)" << 700000000 + e << R"(,"body":"photo {{attachment:)"
                << attachment << R"(}}","attachments":[{"id":")" << attachment << R"(","data":")" << encoded
                << R"(","fileExtension":"png"}]})";
        }
    }

    std::string m_root;
};

enum class Moment { panelShown, historyOpening };
enum class Request { controlQ, terminate };

class Bench {
public:
    Bench(const Settings& settings, const X11Probe& probe, Environment environment, std::string logs)
        : m_settings(settings), m_probe(probe), m_environment(std::move(environment)), m_logs(std::move(logs))
    {
    }

    // From the request to the end of the process; none when a step failed.
    std::optional<double> quitOnce(const Setup& setup, Moment moment, Request request, Milliseconds lookup)
    {
        Environment environment =
            Environment(m_environment).set("QUILLOR_DATA_DIR", setup.data()).set("HOME", setup.path("home"));
        if (lookup.count() > 0) {
            environment.set("LD_PRELOAD", QUILLOR_SLOW_LOOKUP)
                .set("QUILLOR_SLOW_LOOKUP_MS", std::to_string(lookup.count()));
        }
        setup.forgetUpdateCheck();
        const HotKeyLaunch launch = startHoldingHotKey(m_probe, [&](int attempt) {
            const std::string errors = m_logs + "/quit-" + std::to_string(attempt + 1) + ".err";
            auto process = ChildProcess::start({{m_settings.program}, environment.entries(), "/dev/null", errors});
            return LaunchedProgram{std::move(process), errors};
        });
        if (!launch.program.process)
            return std::nullopt;
        ChildProcess& program = *launch.program.process;
        key("ctrl+space");
        if (!waitUntil([&] { return m_probe.viewableWindowNamed("Quillor").has_value(); }, 10s))
            return std::nullopt;
        std::this_thread::sleep_for(300ms);
        runTool({"xdotool", "type", "--delay", "10", "brouillon"}, m_environment, m_logs);
        if (moment == Moment::historyOpening) {
            key("ctrl+comma");
            if (!waitUntil([&] { return m_probe.viewableWindowNamed("Réglages").has_value(); }, 10s))
                return std::nullopt;
            std::this_thread::sleep_for(500ms);
            // From the search field to the history section's button.
            for (int i = 0; i < 5; ++i)
                key("Tab");
            key("space");
            std::this_thread::sleep_for(100ms);
        } else {
            // The panel's showing started a scan of the routed vault.
            key("ctrl+space");
            std::this_thread::sleep_for(50ms);
            key("ctrl+space");
        }
        const auto start = Clock::now();
        if (request == Request::terminate)
            ::kill(program.pid(), SIGTERM);
        else
            key("ctrl+q");
        const bool ended = program.waitForExit(30s).has_value();
        const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!ended)
            program.stop();
        return ended ? std::optional<double>(elapsed) : std::nullopt;
    }

    std::vector<double> quit(const Setup& setup, Moment moment, Request request, Milliseconds lookup = {})
    {
        std::vector<double> times;
        for (int run = 0; run < m_settings.runs; ++run) {
            if (const std::optional<double> time = quitOnce(setup, moment, request, lookup))
                times.push_back(*time);
        }
        return times;
    }

private:
    void key(const std::string& keys) { runTool({"xdotool", "key", keys}, m_environment, m_logs); }

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
        else if (option == "--program")
            settings.program = argv[i + 1];
    }
    return settings;
}

} // namespace

int main(int argc, char* argv[])
{
    const Settings settings = parse(argc, argv);
    const Setup small("small", 1, 1, 200, 0);
    const Setup large("large", 5, 10, 20000, 20);
    const std::string logs = small.path("logs");
    const auto desktop = quillor::bench::ProgramDesktop::start(logs, small.path("runtime"));
    if (!desktop)
        return 1;
    const X11Probe& probe = *desktop->probe;
    const Environment& environment = desktop->environment;

    Bench bench(settings, probe, environment, logs);
    const struct {
        const char* name;
        Moment moment;
        Request request;
    } cases[] = {
        {"Ctrl+Q, a scan running", Moment::panelShown, Request::controlQ},
        {"SIGTERM, a scan running", Moment::panelShown, Request::terminate},
        {"Ctrl+Q, the history being read", Moment::historyOpening, Request::controlQ},
        {"SIGTERM, the history being read", Moment::historyOpening, Request::terminate},
    };
    for (const auto& c : cases) {
        const std::vector<double> baseline = bench.quit(small, c.moment, c.request);
        const std::vector<double> heavy = bench.quit(large, c.moment, c.request);
        if (baseline.empty() || heavy.empty()) {
            printf("%s: not measured (see %s)\n", c.name, logs.c_str());
            continue;
        }
        printf("%s, median of %zu runs: one small vault %.1f ms, ten destinations over five large vaults and a "
               "400 MB history %.1f ms, ratio %.2f (target: under 300 ms)\n",
               c.name, heavy.size(), median(baseline), median(heavy), median(heavy) / median(baseline));
    }

    const Setup checking("checking", 1, 1, 200, 0, true);
    constexpr Milliseconds slowLookup(8000);
    const std::vector<double> answered = bench.quit(checking, Moment::panelShown, Request::terminate);
    const std::vector<double> waiting = bench.quit(checking, Moment::panelShown, Request::terminate, slowLookup);
    if (answered.empty() || waiting.empty()) {
        printf("SIGTERM, an update check looking its host up: not measured (see %s)\n", logs.c_str());
        return 0;
    }
    printf("SIGTERM, an update check looking its host up, median of %zu runs: lookups answered at once %.1f ms, "
           "a lookup taking %lld ms %.1f ms, ratio %.2f (target: under 300 ms)\n",
           waiting.size(), median(answered), static_cast<long long>(slowLookup.count()), median(waiting),
           median(waiting) / median(answered));
    return 0;
}
