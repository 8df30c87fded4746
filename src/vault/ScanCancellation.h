#pragma once

#include "core/Error.h"

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

} // namespace quillor
