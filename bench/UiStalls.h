#pragma once

// The UI thread's pauses, for benchmarks that run a model or views headless.

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>

namespace quillor::bench {

// Random bytes: images that do not compress.
inline QByteArray noise(qsizetype size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    return bytes;
}

inline double sinceStart(const QElapsedTimer& clock) { return clock.nsecsElapsed() / 1e6; }

// Runs the event loop for that long.
inline void runFor(int milliseconds)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The UI thread's longest gap between the ticks of a 1 ms timer.
class StallClock {
public:
    explicit StallClock(const QElapsedTimer& clock) : m_clock(clock)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = sinceStart(m_clock);
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_last = sinceStart(m_clock);
        m_longest = 0;
        m_timer.start();
    }
    // A pause still running when asked counts too.
    double longest()
    {
        m_longest = std::max(m_longest, sinceStart(m_clock) - m_last);
        return m_longest;
    }

private:
    const QElapsedTimer& m_clock;
    QTimer m_timer;
    double m_last = 0;
    double m_longest = 0;
};

} // namespace quillor::bench
