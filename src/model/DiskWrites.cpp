#include "model/DiskWrites.h"

#include <mutex>
#include <set>

namespace quillor::DiskWrites {

namespace {

// Never destroyed: a write left running past its bound by the end of the
// process may end while the process's statics go.
std::mutex& mutex()
{
    static auto* const shared = new std::mutex;
    return *shared;
}

std::multiset<Clock::time_point>& deadlines()
{
    static auto* const inProgress = new std::multiset<Clock::time_point>;
    return *inProgress;
}

} // namespace

Clock::duration boundFor(qint64 bytes)
{
    constexpr qint64 bytesPerSecond = 8 * 1024 * 1024;
    return std::chrono::seconds(10 + qMax<qint64>(bytes, 0) / bytesPerSecond);
}

Scope::Scope(Clock::time_point deadline) : m_deadline(deadline)
{
    const std::lock_guard lock(mutex());
    deadlines().insert(m_deadline);
}

Scope::~Scope()
{
    const std::lock_guard lock(mutex());
    deadlines().erase(deadlines().find(m_deadline));
}

std::optional<Clock::time_point> deadline()
{
    const std::lock_guard lock(mutex());
    if (deadlines().empty())
        return std::nullopt;
    return *deadlines().begin();
}

} // namespace quillor::DiskWrites
