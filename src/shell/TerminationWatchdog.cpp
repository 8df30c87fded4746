#include "shell/TerminationWatchdog.h"

#include "model/DiskWrites.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace quillor {

namespace {

// Written into the pipe by the destructor: no signal has this number.
constexpr unsigned char stopByte = 0;

} // namespace

TerminationWatchdog::TerminationWatchdog(std::chrono::milliseconds patience) : m_patience(patience)
{
    if (::pipe2(m_pipe, O_CLOEXEC) != 0)
        return;
    // The handler must never block; the watchdog's end must.
    ::fcntl(m_pipe[1], F_SETFL, ::fcntl(m_pipe[1], F_GETFL) | O_NONBLOCK);
    m_thread = std::thread([this] { watch(); });
}

TerminationWatchdog::~TerminationWatchdog()
{
    if (m_thread.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_changed.notify_all();
        const unsigned char byte = stopByte;
        [[maybe_unused]] const ssize_t written = ::write(m_pipe[1], &byte, 1);
        m_thread.join();
    }
    for (const int end : m_pipe) {
        if (end >= 0)
            ::close(end);
    }
}

void TerminationWatchdog::signalled(int signal) noexcept
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal the watchdog has yet to see.
    [[maybe_unused]] const ssize_t written = ::write(m_pipe[1], &byte, 1);
    errno = saved;
}

void TerminationWatchdog::answered()
{
    {
        const std::lock_guard lock(m_mutex);
        m_answered = true;
    }
    m_changed.notify_all();
}

void TerminationWatchdog::watch()
{
    unsigned char byte = stopByte;
    ssize_t got = 0;
    do {
        got = ::read(m_pipe[0], &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got != 1 || byte == stopByte)
        return;
    using namespace std::chrono_literals;
    const auto served = [this] { return m_answered || m_stopping; };
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_changed.wait_for(lock, m_patience, served))
            return;
        // A draft being written is let finish, within its own bound: the UI
        // thread may only be waiting for it, which is no hang, and cutting
        // it would leave the previous draft, without the newest text. The
        // thread then has its patience again to come round to the signal.
        bool waitedForDisk = false;
        while (const std::optional<DiskWrites::Clock::time_point> bound = DiskWrites::deadline()) {
            if (DiskWrites::Clock::now() >= *bound)
                break;
            if (m_changed.wait_for(lock, 50ms, served))
                return;
            waitedForDisk = true;
        }
        if (!waitedForDisk || DiskWrites::deadline())
            break;
    }
    // The status a shell reports for a process its signal ended.
    std::_Exit(128 + byte);
}

} // namespace quillor
