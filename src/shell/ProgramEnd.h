#pragma once

#include <chrono>
#include <functional>

namespace quillor::ProgramEnd {

// The last step of a quit, once what had to finish has (the draft saved, a
// capture being delivered written). What may still run on the shared thread
// pool (a vault scan, a note or history read) served windows that are gone:
// it gets `grace` to end, after which the process ends at once with `code`,
// `beforeExit` first, rather than wait for it. Returns when the pool is idle.
void leaveUnfinishedWork(int code, std::chrono::milliseconds grace, const std::function<void()>& beforeExit);

// Qt's own teardown, which follows the return from main(), gets `grace`, after
// which the process ends at once with `code`. It hands a text we copied to the
// session's clipboard manager, but also waits, without bound, for a name lookup
// still running for an update check whose transfer was dropped: one the
// resolver takes seconds to answer would hold the quit that long.
void boundTeardown(int code, std::chrono::milliseconds grace);

} // namespace quillor::ProgramEnd
