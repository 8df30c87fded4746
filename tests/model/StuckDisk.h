#pragma once

// A disk that does not answer, for the waits for draft.json that must not
// last longer than a write's bound.

#include "core/Capture.h"
#include "core/Json.h"
#include "model/DiskWrites.h"

#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>

namespace quillor::test {

// Each write of its writer notes its draft's body and then stays at the file
// until let through, in order of arrival; nothing reaches a real file. Its
// state is shared with the writer's thread, which a writer past its bound
// leaves to the write: that thread may outlive the test's objects.
class StuckDisk {
public:
    using Writer = std::function<void(const QString& path, const QList<QByteArrayView>& parts)>;

    ~StuckDisk()
    {
        // The threads left to their writes end, and no write of this test is
        // still known to the next one.
        open();
        for (int wait = 0; wait < 1000 && DiskWrites::deadline(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    Writer writer() const
    {
        return [state = m_state](const QString&, const QList<QByteArrayView>& parts) {
            QByteArray bytes;
            for (const QByteArrayView part : parts)
                bytes += part;
            std::unique_lock lock(state->mutex);
            state->bodies.append(Capture::fromJson(Json::parseObject(bytes)).body);
            const qsizetype arrival = state->bodies.size();
            state->changed.notify_all();
            state->changed.wait(lock, [&] { return state->letThrough >= arrival; });
            ++state->returned;
            state->changed.notify_all();
        };
    }

    // Lets the writes through up to the `count`th to arrive.
    void letThrough(qsizetype count) { update([&](State& state) { state.letThrough = count; }); }
    void open() { letThrough(std::numeric_limits<qsizetype>::max()); }

    bool waitForArrivals(qsizetype count) const
    {
        return waitFor([&](const State& state) { return state.bodies.size() >= count; });
    }
    bool waitForReturns(qsizetype count) const
    {
        return waitFor([&](const State& state) { return state.returned >= count; });
    }
    QStringList bodies() const
    {
        const std::lock_guard lock(m_state->mutex);
        return m_state->bodies;
    }

    // Runs `step`, which must return while the disk stays stuck; one that
    // waits for it is let go after half a minute rather than hang the test.
    // Tells whether it had to be.
    bool heldUntilRescued(const std::function<void()>& step)
    {
        std::mutex mutex;
        std::condition_variable returned;
        bool done = false;
        bool rescued = false;
        std::thread rescuer([&] {
            std::unique_lock lock(mutex);
            if (!returned.wait_for(lock, std::chrono::seconds(30), [&] { return done; })) {
                rescued = true;
                open();
            }
        });
        step();
        {
            const std::lock_guard lock(mutex);
            done = true;
        }
        returned.notify_all();
        rescuer.join();
        return rescued;
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        QStringList bodies;
        qsizetype letThrough = 0;
        qsizetype returned = 0;
    };

    template <typename Change>
    void update(Change change)
    {
        {
            const std::lock_guard lock(m_state->mutex);
            change(*m_state);
        }
        m_state->changed.notify_all();
    }

    template <typename Predicate>
    bool waitFor(Predicate reached) const
    {
        std::unique_lock lock(m_state->mutex);
        return m_state->changed.wait_for(lock, std::chrono::seconds(10), [&] { return reached(*m_state); });
    }

    std::shared_ptr<State> m_state = std::make_shared<State>();
};

} // namespace quillor::test
