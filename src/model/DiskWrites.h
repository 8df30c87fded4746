#pragma once

#include <QtGlobal>

#include <chrono>
#include <optional>

namespace quillor {

// The writes of the program's own files in progress, known to every thread:
// the end of the process lets one finish rather than cut it (see the shell's
// TerminationWatchdog), for a UI thread that waits for the disk is not held.
// Each write gets a bound of its own, past which it counts as stuck.
namespace DiskWrites {

using Clock = std::chrono::steady_clock;

// Generous for a slow disk (a USB stick, a network folder): ten seconds, and
// one more for every 8 MiB.
Clock::duration boundFor(qint64 bytes);

// One write, from its start to its end, on whichever thread runs it.
class Scope {
public:
    explicit Scope(qint64 bytes);
    ~Scope();

    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    Clock::time_point m_deadline;
};

// The earliest bound among the writes in progress; none when there are none.
std::optional<Clock::time_point> deadline();

} // namespace DiskWrites
} // namespace quillor
