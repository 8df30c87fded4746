#pragma once

#include "core/Error.h"

#include <exception>
#include <functional>

namespace quillor {

// Asked by a long-running read of the vault between notes and between the
// steps of one note's analysis; true ends the work with ScanCancelled. The
// model passes its task's state (a QPromise's isCanceled(), an atomic flag).
using CancellationCheck = std::function<bool()>;

// The work was abandoned because a newer request superseded it. Callers drop
// it silently; its text exists only for logs.
class ScanCancelled : public Error {
public:
    QString localizedDescription() const override;
};

// Throws ScanCancelled when the check says so; an empty check never cancels.
void throwIfCancelled(const CancellationCheck& isCancelled);

// Runs a worker's step on a fresh Outcome and keeps what it threw as the
// user's text (`failure`) or as `cancelled`: nothing thrown may cross back to
// the UI thread.
template <typename Outcome, typename Work>
Outcome capturedOnWorker(Work&& work)
{
    Outcome outcome;
    try {
        work(outcome);
    } catch (const ScanCancelled&) {
        outcome.cancelled = true;
    } catch (const Error& error) {
        outcome.failure = error.localizedDescription();
    } catch (const std::exception& error) {
        outcome.failure = QString::fromUtf8(error.what());
    }
    return outcome;
}

} // namespace quillor
