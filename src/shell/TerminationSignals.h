#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace quillor {

class TerminationWatchdog;

// Turns SIGTERM and SIGINT into a call on the UI thread, so that a kill or
// Ctrl+C in a terminal ends the program in order (the draft is saved first).
// A signal handler may do almost nothing: it writes one byte to a pipe whose
// reading end the event loop watches. A UI thread held too long to read it
// does not keep the program alive (see TerminationWatchdog). One instance at
// a time; the default handlers come back when it goes.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(std::function<void()> requested, QObject* parent = nullptr);
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up; signals then
    // keep their default effect.
    bool installed() const { return m_notifier != nullptr; }

private:
    void drain();

    std::function<void()> m_requested;
    std::unique_ptr<TerminationWatchdog> m_watchdog;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quillor
