#pragma once

// An Xvfb server of the test's own, on a display number it picks itself.

#include <QStandardPaths>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace quillor::test {

class XvfbServer {
public:
    // Null when Xvfb is not installed or does not come up.
    static std::unique_ptr<XvfbServer> start(const char* screen = "640x480x24")
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            return nullptr;
        int fds[2];
        if (pipe(fds) != 0)
            return nullptr;
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            // The server must not outlive a test program that dies early, nor
            // hold its output open.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0", screen,
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        auto server = std::unique_ptr<XvfbServer>(new XvfbServer(pid));
        std::string number;
        pollfd readable{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&readable, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            return nullptr;
        server->m_display = ":" + number;
        return server;
    }

    // One server for the whole test program, started on first use.
    static XvfbServer* shared()
    {
        static const std::unique_ptr<XvfbServer> server = start();
        return server.get();
    }

    ~XvfbServer()
    {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }

    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& display() const { return m_display; }

private:
    explicit XvfbServer(pid_t pid) : m_pid(pid) {}

    pid_t m_pid = 0;
    std::string m_display;
};

} // namespace quillor::test
