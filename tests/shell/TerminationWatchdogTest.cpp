#include "shell/TerminationWatchdog.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillor;
using namespace std::chrono_literals;

namespace {

// Runs `body` in a child process, which then exits with 0 unless the
// watchdog ended it first; returns its wait status.
template <typename Body>
int statusOfChild(Body body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        std::_Exit(0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return status;
}

// A UI thread that never comes round to the signal: the process ends as the
// signal's own default would have it reported.
TEST(TerminationWatchdogTest, ASignalTheUIThreadDoesNotTakeUpEndsTheProcess)
{
    const int status = statusOfChild([] {
        TerminationWatchdog watchdog(100ms);
        watchdog.signalled(SIGTERM);
        std::this_thread::sleep_for(60s);
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
}

// Taken up, the quit is the program's own, however long it takes; and a
// watchdog that saw no signal ends quietly with its owner.
TEST(TerminationWatchdogTest, AnAnsweredSignalLeavesTheQuitToTheProgram)
{
    for (const bool signalled : {true, false}) {
        SCOPED_TRACE(signalled ? "signalled and answered" : "no signal");
        const int status = statusOfChild([signalled] {
            TerminationWatchdog watchdog(100ms);
            if (signalled) {
                watchdog.signalled(SIGTERM);
                watchdog.answered();
            }
            std::this_thread::sleep_for(300ms);
        });
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
}

} // namespace
