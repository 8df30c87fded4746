#include "shell/InstanceLock.h"
#include "shell/SingleInstance.h"
#include "shell/TerminationSignals.h"

#include "../model/EventLoop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(SingleInstanceTest, TheLockIsTheKernelsAndReadsAsQLockFilesToEarlierVersions)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral(".quillor.lock"));

    // A holder that was killed leaves its file, whatever it says; the kernel
    // let go of its lock, which is taken over.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock held(path);
        std::_Exit(held.tryLock() == InstanceLock::Result::acquired ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFileInfo::exists(path));

    InstanceLock lock(path);
    ASSERT_EQ(lock.tryLock(), InstanceLock::Result::acquired);
    // Another open of the file, as another launch makes, is kept out.
    InstanceLock other(path);
    EXPECT_EQ(other.tryLock(), InstanceLock::Result::heldElsewhere);
    // So is an earlier version, which reads a live holder from the text.
    QFile text(path);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readAll().startsWith(QByteArray::number(qint64(::getpid())) + '\n'));
    QLockFile earlier(path);
    EXPECT_FALSE(earlier.tryLock(0));
    EXPECT_EQ(earlier.error(), QLockFile::LockFailedError);

    // Letting go removes the file; the next holder makes it again.
    lock.unlock();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(other.tryLock(), InstanceLock::Result::acquired);
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

TEST(SingleInstanceTest, OnlyTheUserCanReachTheSocketWhateverTheRuntimeFolder)
{
    // A private runtime folder, one others may enter, and none (the shared
    // temporary folder).
    const std::optional<QByteArray> runtimeBefore =
        qEnvironmentVariableIsSet("XDG_RUNTIME_DIR") ? std::optional(qgetenv("XDG_RUNTIME_DIR")) : std::nullopt;
    for (const QFile::Permissions mode :
         {QFile::Permissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner),
          QFile::Permissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                             | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup),
          QFile::Permissions()}) {
        QTemporaryDir runtime, folder;
        if (mode) {
            ASSERT_TRUE(QFile::setPermissions(runtime.path(), mode));
        }
        qputenv("XDG_RUNTIME_DIR", mode ? runtime.path().toLocal8Bit() : QByteArray());
        SingleInstance first(folder.path());
        ASSERT_EQ(first.acquire(), SingleInstance::Outcome::primary);
        const QString socket = SingleInstance::serverName(folder.path());
        const QString path = mode ? socket : QDir::temp().filePath(socket);
        SCOPED_TRACE(path.toStdString());
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700);

        QSignalSpy reopened(&first, &SingleInstance::reopenRequested);
        SingleInstance second(folder.path());
        EXPECT_EQ(second.acquire(), SingleInstance::Outcome::forwarded);
        EXPECT_TRUE(waitUntil([&] { return reopened.count() == 1; }));
        // A restart listens again the same way.
        first.release();
        ASSERT_TRUE(first.retake());
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700);
    }
    if (runtimeBefore)
        qputenv("XDG_RUNTIME_DIR", *runtimeBefore);
    else
        qunsetenv("XDG_RUNTIME_DIR");
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
