#include "shell/TerminationSignals.h"

#include "shell/TerminationWatchdog.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace quillor {

namespace {

using namespace std::chrono_literals;

// The pipe is shared with the handler, which can reach nothing else.
int pipeEnds[2] = {-1, -1};
std::atomic<TerminationWatchdog*> watchdog = nullptr;
constexpr std::array<int, 2> caught = {SIGTERM, SIGINT};
// How long the UI thread has to take a signal up before the process ends
// without it: within what session managers and service managers wait.
constexpr auto unansweredPatience = 2000ms;

extern "C" void onTerminationSignal(int signal)
{
    if (TerminationWatchdog* watching = watchdog.load())
        watching->signalled(signal);
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a pending request: losing this byte is fine.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

void setHandler(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> requested, QObject* parent)
    : QObject(parent), m_requested(std::move(requested))
{
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_watchdog = std::make_unique<TerminationWatchdog>(unansweredPatience);
    if (m_watchdog->watching())
        watchdog = m_watchdog.get();
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::drain);
    for (const int signal : caught)
        setHandler(signal, onTerminationSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (const int signal : caught)
        setHandler(signal, SIG_DFL);
    watchdog = nullptr;
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::drain()
{
    // Several signals before the loop came round ask for one quit.
    char bytes[64];
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
    }
    m_watchdog->answered();
    if (m_requested)
        m_requested();
}

} // namespace quillor
