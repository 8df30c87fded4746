#pragma once

#include <QtGlobal>

#include <chrono>
#include <optional>

namespace quillor {

// The writes of the program's own files in progress, known to every thread:
// the end of the process lets one finish rather than cut it (see the shell's
// TerminationWatchdog and DraftWriter's end), but no longer than its bound,
// past which it counts as stuck.
namespace DiskWrites {

using Clock = std::chrono::steady_clock;

// Generous for a slow disk (a USB stick, a network folder): ten seconds, and
// one more for every 8 MiB.
Clock::duration boundFor(qint64 bytes);

// One write, registered from when it is handed over until it ends, on
// whichever threads make and end the registration. A write waiting for
// another registers as soon as it waits, bounded by the other's bound and
// its own after it, so that the next write of a series is known before the
// one before it ends.
class Scope {
public:
    explicit Scope(Clock::time_point deadline);
    ~Scope();

    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    const Clock::time_point m_deadline;
};

// The earliest bound among the writes in progress; none when there are none.
std::optional<Clock::time_point> deadline();

} // namespace DiskWrites
} // namespace quillor
