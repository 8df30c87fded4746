#include "shell/InstanceLock.h"
#include "shell/InstanceSocket.h"
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

#include <array>
#include <csignal>
#include <cstring>
#include <optional>
#include <vector>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quillor;
using namespace quillor::test;
using namespace std::chrono_literals;

namespace {

// Sets an environment variable for a scope, and puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : m_name(name), m_before(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        qputenv(name, value);
    }
    ~ScopedVariable()
    {
        if (m_before)
            qputenv(m_name, *m_before);
        else
            qunsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_before;
};

// What a killed program leaves: a socket file nobody listens on.
void leaveDeadSocket(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(encoded.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(descriptor, 0);
    EXPECT_EQ(::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(descriptor);
}

} // namespace

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

TEST(SingleInstanceTest, OnlyWholeShortRequestsAreHeardAndTheServerGoesOnServing)
{
    struct Case {
        const char* what;
        std::vector<QByteArray> parts; // written one after the other, with a pause
        bool clientLeaves;             // otherwise the program must close the connection itself
        int reopened;
    };
    const Case cases[] = {
        {"a request in pieces", {"reo", "pen\n"}, false, 1},
        {"a request with more after it", {"reopen\nreopen\n"}, false, 1},
        {"another line", {"reopened\n"}, false, 0},
        {"an overlong text without a newline", {QByteArray(100, 'x')}, false, 0},
        {"a line longer than any request", {QByteArray(70, 'x') + "reopen\n"}, false, 0},
        {"a connection closed midway", {"reop"}, true, 0},
        {"a request without its newline", {"reopen"}, true, 0},
        {"nothing at all", {}, true, 0},
    };
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::primary);
    QSignalSpy reopened(&first, &SingleInstance::reopenRequested);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        reopened.clear();
        QLocalSocket client;
        client.connectToServer(SingleInstance::serverName(folder.path()));
        ASSERT_TRUE(client.waitForConnected(1000));
        for (const QByteArray& part : test.parts) {
            client.write(part);
            client.flush();
            spin(20ms);
        }
        if (test.clientLeaves)
            client.disconnectFromServer();
        else
            EXPECT_TRUE(waitUntil([&] { return client.state() == QLocalSocket::UnconnectedState; }));
        spin(20ms);
        EXPECT_EQ(reopened.count(), test.reopened);

        SingleInstance later(folder.path());
        EXPECT_EQ(later.acquire(), SingleInstance::Outcome::forwarded);
        EXPECT_TRUE(waitUntil([&] { return reopened.count() == test.reopened + 1; }));
    }
}

TEST(SingleInstanceTest, ClientsConnectedAtOnceAreAllHeard)
{
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::primary);
    QSignalSpy reopened(&first, &SingleInstance::reopenRequested);
    std::array<QLocalSocket, 3> clients;
    for (QLocalSocket& client : clients) {
        client.connectToServer(SingleInstance::serverName(folder.path()));
        ASSERT_TRUE(client.waitForConnected(1000));
        client.write("reo");
        client.flush();
    }
    spin(20ms);
    // Slow clients keep no later launch waiting.
    SingleInstance later(folder.path());
    EXPECT_EQ(later.acquire(), SingleInstance::Outcome::forwarded);
    EXPECT_TRUE(waitUntil([&] { return reopened.count() == 1; }));
    for (auto client = clients.rbegin(); client != clients.rend(); ++client) {
        client->write("pen\n");
        client->flush();
    }
    EXPECT_TRUE(waitUntil([&] { return reopened.count() == 4; }));
}

TEST(SingleInstanceTest, ARequestWaitingForAFreeDescriptorIsHeardOnceOneIsFree)
{
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers check memory through descriptors of their own, which
    // this test takes away.
    GTEST_SKIP() << "needs every descriptor, which the sanitizers use";
#endif
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::primary);
    QSignalSpy reopened(&first, &SingleInstance::reopenRequested);
    const QByteArray path = QFile::encodeName(InstanceSocket::pathOf(SingleInstance::serverName(folder.path())));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(client, 0);

    // Every descriptor taken: the program cannot accept the request yet.
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
    rlimit lowered = before;
    lowered.rlim_cur = rlim_t(::dup(client) + 1);
    ::close(int(lowered.rlim_cur) - 1);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
    std::vector<int> fillers;
    for (int descriptor; (descriptor = ::dup(client)) >= 0;)
        fillers.push_back(descriptor);
    EXPECT_EQ(::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::send(client, "reopen\n", 7, MSG_NOSIGNAL), 7);
    spin(300ms);
    for (const int descriptor : fillers)
        ::close(descriptor);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &before), 0);
    EXPECT_EQ(reopened.count(), 0);

    EXPECT_TRUE(waitUntil([&] { return reopened.count() == 1; }));
    ::close(client);
}

TEST(SingleInstanceTest, TheSocketFileIsThereExactlyWhileTheProgramListens)
{
    // The user's runtime folder, and a shared temporary folder where the
    // socket is made aside and moved in.
    for (const bool runtimeFolder : {true, false}) {
        SCOPED_TRACE(runtimeFolder ? "runtime folder" : "temporary folder");
        QTemporaryDir runtime, temporary, folder;
        ASSERT_EQ(::chmod(QFile::encodeName(temporary.path()).constData(), 01777), 0);
        const ScopedVariable runtimeVariable("XDG_RUNTIME_DIR",
                                             runtimeFolder ? runtime.path().toLocal8Bit() : QByteArray());
        const ScopedVariable temporaryVariable("TMPDIR", temporary.path().toLocal8Bit());
        const QString name = SingleInstance::serverName(folder.path());
        const QFileInfo socket(runtimeFolder ? name : QDir(temporary.path()).filePath(name));
        ASSERT_EQ(socket.path(), runtimeFolder ? runtime.path() : temporary.path());

        // A killed program's socket is taken over.
        leaveDeadSocket(socket.filePath());
        SingleInstance first(folder.path());
        ASSERT_EQ(first.acquire(), SingleInstance::Outcome::primary);
        QSignalSpy reopened(&first, &SingleInstance::reopenRequested);
        SingleInstance second(folder.path());
        EXPECT_EQ(second.acquire(), SingleInstance::Outcome::forwarded);
        EXPECT_TRUE(waitUntil([&] { return reopened.count() == 1; }));
        // Nothing is left beside it.
        EXPECT_EQ(socket.dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                  QStringList{socket.fileName()});

        first.release();
        EXPECT_FALSE(QFileInfo::exists(socket.filePath()));
        ASSERT_TRUE(first.retake());
        EXPECT_TRUE(QFileInfo::exists(socket.filePath()));
    }
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
