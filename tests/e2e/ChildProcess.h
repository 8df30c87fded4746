#pragma once

// Child processes for the end-to-end tests and the capture-road benchmark: the
// X server, the window manager, the program itself and the tools that drive
// it. Plain POSIX so the benchmark needs no Qt of its own.

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace quillor::e2e {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

// Polls `condition` until it holds or `timeout` passes; the one way these
// programs wait, so that no fixed sleep ever decides an outcome.
template <typename Condition>
bool waitUntil(Condition condition, Milliseconds timeout, std::chrono::microseconds step = Milliseconds(20))
{
    const auto deadline = Clock::now() + timeout;
    while (true) {
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
}

inline std::string readWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// A copy of this process's environment that can be edited for a child.
class Environment {
public:
    static Environment inherited()
    {
        Environment environment;
        for (char** entry = environ; entry && *entry; ++entry) {
            const std::string text = *entry;
            const auto equals = text.find('=');
            if (equals != std::string::npos)
                environment.m_values[text.substr(0, equals)] = text.substr(equals + 1);
        }
        return environment;
    }

    Environment& set(const std::string& name, const std::string& value)
    {
        m_values[name] = value;
        return *this;
    }
    Environment& unset(const std::string& name)
    {
        m_values.erase(name);
        return *this;
    }

    std::vector<std::string> entries() const
    {
        std::vector<std::string> result;
        for (const auto& [name, value] : m_values)
            result.push_back(name + "=" + value);
        return result;
    }

private:
    std::map<std::string, std::string> m_values;
};

// One child, its output sent to files. It dies with this process (so a test
// that crashes leaves no server behind) and is stopped when destroyed.
class ChildProcess {
public:
    struct Options {
        std::vector<std::string> arguments;   // arguments[0] is looked up on PATH
        std::vector<std::string> environment; // NAME=value entries
        std::string outputPath = "/dev/null";
        std::string errorPath = "/dev/null";
    };

    static std::unique_ptr<ChildProcess> start(const Options& options)
    {
        // Everything the child touches is prepared before fork(): after it,
        // only async-signal-safe calls are allowed.
        std::vector<char*> argv;
        for (const std::string& argument : options.arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (const std::string& entry : options.environment)
            envp.push_back(const_cast<char*>(entry.c_str()));
        envp.push_back(nullptr);
        const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
        const int output = open(options.outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int error = open(options.errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const pid_t parent = getpid();

        const pid_t pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(126);
            dup2(input, STDIN_FILENO);
            dup2(output, STDOUT_FILENO);
            dup2(error, STDERR_FILENO);
            execvpe(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        for (const int fd : {input, output, error}) {
            if (fd >= 0)
                close(fd);
        }
        if (pid < 0)
            return nullptr;
        return std::unique_ptr<ChildProcess>(new ChildProcess(pid));
    }

    ~ChildProcess() { stop(); }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }

    bool running() { return !reap(WNOHANG); }

    // The raw wait status once the child has ended within `timeout`.
    std::optional<int> waitForExit(Milliseconds timeout)
    {
        if (reap(WNOHANG))
            return m_status;
        // A pidfd wakes us the moment the child ends, which the start-up
        // timings need; sleeping between polls would add to every figure.
        const int pidfd = int(syscall(SYS_pidfd_open, m_pid, 0));
        const auto deadline = Clock::now() + timeout;
        while (!reap(WNOHANG)) {
            const auto left = std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                break;
            if (pidfd >= 0) {
                pollfd ended{pidfd, POLLIN, 0};
                poll(&ended, 1, int(left));
            } else {
                std::this_thread::sleep_for(Milliseconds(1));
            }
        }
        if (pidfd >= 0)
            close(pidfd);
        return m_exited ? std::optional(m_status) : std::nullopt;
    }

    // The exit code of a child that exited normally; -1 after a signal or
    // while it runs.
    int exitCode() const { return m_exited && WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1; }
    // Peak resident memory in KiB, known once the child has been reaped.
    long peakResidentKiB() const { return m_exited ? m_usage.ru_maxrss : 0; }

    // SIGTERM first, so the program takes its own way out; SIGKILL if it
    // does not within `grace`.
    void stop(Milliseconds grace = Milliseconds(5000))
    {
        if (m_exited)
            return;
        kill(m_pid, SIGTERM);
        if (!waitForExit(grace)) {
            kill(m_pid, SIGKILL);
            reap(0);
        }
    }

private:
    explicit ChildProcess(pid_t pid) : m_pid(pid) {}

    bool reap(int flags)
    {
        if (m_exited)
            return true;
        int status = 0;
        rusage usage{};
        if (wait4(m_pid, &status, flags, &usage) != m_pid)
            return false;
        m_exited = true;
        m_status = status;
        m_usage = usage;
        return true;
    }

    pid_t m_pid;
    bool m_exited = false;
    int m_status = 0;
    rusage m_usage{};
};

// Runs a short tool to its end and gives back its exit code and output.
struct ToolResult {
    int exitCode = -1;
    std::string output;
    std::string errors;
};

inline ToolResult runTool(std::vector<std::string> arguments, const Environment& environment,
                          const std::string& scratchDirectory, Milliseconds timeout = Milliseconds(10000))
{
    const std::string outputPath = scratchDirectory + "/tool-output.txt";
    const std::string errorPath = scratchDirectory + "/tool-errors.txt";
    auto tool = ChildProcess::start({std::move(arguments), environment.entries(), outputPath, errorPath});
    if (!tool || !tool->waitForExit(timeout))
        return {};
    return {tool->exitCode(), readWholeFile(outputPath), readWholeFile(errorPath)};
}

inline bool onPath(const std::string& program)
{
    const char* path = getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

// An Xvfb server on a display number it picks itself (-displayfd), so tests
// can run side by side.
class XvfbServer {
public:
    static std::unique_ptr<XvfbServer> start(const std::string& logPath, int width = 1440, int height = 900)
    {
        if (!onPath("Xvfb"))
            return nullptr;
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return nullptr;
        // Only the write end goes to the server, as its -displayfd.
        const int serverEnd = fcntl(fds[1], F_DUPFD, 3);
        close(fds[1]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        auto process = ChildProcess::start({{"Xvfb", "-displayfd", std::to_string(serverEnd), "-nolisten", "tcp",
                                             "-noreset", "-screen", "0", screen},
                                            Environment::inherited().entries(), "/dev/null", logPath});
        close(serverEnd);
        std::string number;
        pollfd readable{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&readable, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!process || number.empty())
            return nullptr;
        auto server = std::unique_ptr<XvfbServer>(new XvfbServer);
        server->m_process = std::move(process);
        server->m_display = ":" + number;
        return server;
    }

    const std::string& display() const { return m_display; }

private:
    XvfbServer() = default;

    std::unique_ptr<ChildProcess> m_process;
    std::string m_display;
};

} // namespace quillor::e2e
