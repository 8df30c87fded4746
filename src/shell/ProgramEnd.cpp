#include "shell/ProgramEnd.h"

#include <QThreadPool>

#include <cstdlib>
#include <thread>

namespace quillor::ProgramEnd {

void leaveUnfinishedWork(int code, std::chrono::milliseconds grace, const std::function<void()>& beforeExit)
{
    // The application's own teardown would wait for the pool without bound.
    if (QThreadPool::globalInstance()->waitForDone(int(grace.count())))
        return;
    if (beforeExit)
        beforeExit();
    std::_Exit(code);
}

void boundTeardown(int code, std::chrono::milliseconds grace)
{
    // Detached: a teardown that ends in time ends the process, and this
    // thread with it.
    std::thread([code, grace] {
        std::this_thread::sleep_for(grace);
        std::_Exit(code);
    }).detach();
}

} // namespace quillor::ProgramEnd
