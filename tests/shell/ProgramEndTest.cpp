#include "shell/ProgramEnd.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

using namespace quillor;
using namespace std::chrono_literals;

// A scan or a read that will not end soon never holds the quit: the process
// ends with the quit's code, the lock let go first.
TEST(ProgramEndDeathTest, WorkThatDoesNotEndIsLeftBehind)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static QSemaphore never;
            QThreadPool::globalInstance()->start([] { never.acquire(); });
            ProgramEnd::leaveUnfinishedWork(7, 50ms, [] { fputs("lock released", stderr); });
            std::exit(1);
        },
        ::testing::ExitedWithCode(7), "lock released");
}

TEST(ProgramEndTest, WorkThatEndsInTimeIsWaitedFor)
{
    QSemaphore started;
    bool finished = false;
    QThreadPool::globalInstance()->start([&] {
        started.release();
        QThread::msleep(20);
        finished = true;
    });
    started.acquire();
    bool left = false;
    ProgramEnd::leaveUnfinishedWork(7, 5s, [&] { left = true; });
    EXPECT_TRUE(finished);
    EXPECT_FALSE(left);
}

// Qt's teardown waiting for a name lookup that will not end soon never holds
// the quit: the process ends with the quit's code.
TEST(ProgramEndDeathTest, ATeardownThatDoesNotEndIsCutShort)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ProgramEnd::boundTeardown(7, 50ms);
            static QSemaphore never;
            never.acquire();
        },
        ::testing::ExitedWithCode(7), "");
}
