#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quillor {

// Ends the process when the UI thread does not take up a termination signal
// in time. The orderly way out (the draft saved, a capture being delivered
// waited for) runs on the UI thread, and Qt can hold that thread for minutes
// in one call, laying out a paragraph of millions of characters; a session's
// end or a service manager would wait, then kill the program anyway.
//
// Ending it from here is safe: every file the program keeps is replaced
// atomically (a temporary renamed over it), so a write cut short leaves the
// previous file whole, at worst with a stray temporary beside it; and what
// the held UI thread has not saved it could not save before the end either.
// A capture whose delivery is cut short stays the draft, as after a crash.
// A draft being written is the exception: the UI thread waiting for it is not
// held, and the write is let finish, within its own bound (DiskWrites).
//
// Once the UI thread answered, the watchdog stands down: the orderly way out
// may then wait for a delivery as long as it needs.
class TerminationWatchdog {
public:
    explicit TerminationWatchdog(std::chrono::milliseconds patience);
    ~TerminationWatchdog();

    TerminationWatchdog(const TerminationWatchdog&) = delete;
    TerminationWatchdog& operator=(const TerminationWatchdog&) = delete;

    // False when its thread could not be started; signals then wait for the
    // UI thread, as without it.
    bool watching() const { return m_thread.joinable(); }

    // From the signal handler: async-signal-safe.
    void signalled(int signal) noexcept;
    // From the UI thread, which took the request up.
    void answered();

private:
    void watch();

    const std::chrono::milliseconds m_patience;
    int m_pipe[2] = {-1, -1};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_answered = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace quillor
