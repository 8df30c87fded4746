#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace quillor {

// Turns SIGTERM and SIGINT into a call on the UI thread, so that a kill or
// Ctrl+C in a terminal ends the program in order (the draft is saved first).
// A signal handler may do almost nothing: it writes one byte to a pipe whose
// reading end the event loop watches. One instance at a time; the default
// handlers come back when it goes.
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
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quillor
