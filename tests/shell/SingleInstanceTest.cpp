#include "shell/SingleInstance.h"
#include "shell/TerminationSignals.h"

#include "../model/EventLoop.h"

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using namespace quillor;
using namespace quillor::test;
using namespace std::chrono_literals;

TEST(SingleInstanceTest, ASecondLaunchAsksTheFirstToComeForward)
{
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::primary);
    QSignalSpy reopened(&first, &SingleInstance::reopenRequested);

    SingleInstance second(folder.path());
    EXPECT_EQ(second.acquire(), SingleInstance::Outcome::forwarded);
    EXPECT_FALSE(second.holdsLock());
    EXPECT_TRUE(waitUntil([&] { return reopened.count() == 1; }));

    // Anything else on the socket is not a request.
    QLocalSocket stranger;
    stranger.connectToServer(SingleInstance::serverName(folder.path()));
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write("quit\n");
    stranger.flush();
    spin(100ms);
    EXPECT_EQ(reopened.count(), 1);

    // Another data directory is another program.
    QTemporaryDir elsewhere;
    SingleInstance other(elsewhere.path());
    EXPECT_EQ(other.acquire(), SingleInstance::Outcome::primary);
    EXPECT_NE(SingleInstance::serverName(folder.path()), SingleInstance::serverName(elsewhere.path()));
}

TEST(SingleInstanceTest, ALockWithoutAnAnsweringProgramDecidesByItsHolder)
{
    // A live holder that listens on no socket keeps a second program out; the
    // lock of a killed program (a process id that no longer runs) is taken over.
    for (const bool alive : {true, false}) {
        QTemporaryDir folder;
        QLockFile held(folder.filePath(QStringLiteral(".quillor.lock")));
        if (alive) {
            ASSERT_TRUE(held.tryLock());
        } else {
            QFile lock(folder.filePath(QStringLiteral(".quillor.lock")));
            ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
            lock.write("999999999\nquillor\n\n");
        }
        SingleInstance second(folder.path());
        EXPECT_EQ(second.acquire(), alive ? SingleInstance::Outcome::unanswered : SingleInstance::Outcome::primary);
        EXPECT_EQ(second.holdsLock(), !alive);
    }
}

TEST(SingleInstanceTest, ARestartHandsTheFolderOverAndCanTakeItBack)
{
    QTemporaryDir folder;
    SingleInstance running(folder.path());
    ASSERT_EQ(running.acquire(), SingleInstance::Outcome::primary);
    running.release();
    {
        SingleInstance successor(folder.path());
        EXPECT_EQ(successor.acquire(), SingleInstance::Outcome::primary);
        EXPECT_FALSE(running.retake());
    }
    // The successor could not start after all: the old program goes on, and
    // later launches reach it again.
    ASSERT_TRUE(running.retake());
    QSignalSpy reopened(&running, &SingleInstance::reopenRequested);
    SingleInstance later(folder.path());
    EXPECT_EQ(later.acquire(), SingleInstance::Outcome::forwarded);
    EXPECT_TRUE(waitUntil([&] { return reopened.count() == 1; }));
}

TEST(TerminationSignalsTest, SignalsArriveThroughTheEventLoop)
{
    int requests = 0;
    TerminationSignals signals([&] { ++requests; });
    ASSERT_TRUE(signals.installed());
    // Only one watcher can own the handlers at a time.
    EXPECT_FALSE(TerminationSignals([] {}).installed());

    std::raise(SIGTERM);
    std::raise(SIGINT);
    EXPECT_EQ(requests, 0);
    EXPECT_TRUE(waitUntil([&] { return requests > 0; }));
    spin(50ms);
    EXPECT_LE(requests, 2);
}
