#include "shell/ProgramEnd.h"

#include <QThreadPool>

#include <cstdlib>

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

} // namespace quillor::ProgramEnd
