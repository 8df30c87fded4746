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
// which the process ends at once with `code`. It waits, without bound, for a
// name lookup still running for an update check whose transfer was dropped:
// one the resolver takes seconds to answer would hold the quit that long. What
// must not be cut short goes before: the clipboard manager has been given a
// text we copied (ClipboardHandOver), and Qt's teardown has nothing of ours to
// hand it.
void boundTeardown(int code, std::chrono::milliseconds grace);

} // namespace quillor::ProgramEnd
