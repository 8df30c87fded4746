#include "model/DiskWrites.h"

#include <mutex>
#include <set>

namespace quillor::DiskWrites {

namespace {

std::mutex& mutex()
{
    static std::mutex shared;
    return shared;
}

std::multiset<Clock::time_point>& deadlines()
{
    static std::multiset<Clock::time_point> inProgress;
    return inProgress;
}

} // namespace

Clock::duration boundFor(qint64 bytes)
{
    constexpr qint64 bytesPerSecond = 8 * 1024 * 1024;
    return std::chrono::seconds(10 + qMax<qint64>(bytes, 0) / bytesPerSecond);
}

Scope::Scope(qint64 bytes) : m_deadline(Clock::now() + boundFor(bytes))
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
