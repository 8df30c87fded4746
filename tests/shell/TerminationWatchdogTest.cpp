#include "shell/TerminationWatchdog.h"

#include "core/FileSystem.h"
#include "core/Json.h"
#include "model/DraftWriter.h"

#include <QFile>
#include <QTemporaryDir>

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

// A UI thread waiting for a draft to reach the disk is not held: the write
// finishes with the newest text, and the process ends by the UI thread's
// answer or, without one, by the watchdog.
TEST(TerminationWatchdogTest, ADraftBeingWrittenIsLetFinish)
{
    for (const bool answers : {true, false}) {
        SCOPED_TRACE(answers ? "the UI thread answers once written" : "the UI thread never answers");
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("draft.json"));
        const int status = statusOfChild([&] {
            // A slow disk: the write outlasts the UI thread's patience many times.
            DraftWriter writer(
                path,
                [](const QString& target, const QList<QByteArrayView>& parts) {
                    std::this_thread::sleep_for(1s);
                    FileSystem::writeAtomically(target, parts);
                },
                {});
            writer.write(Capture(QUuid::createUuid(), ReferenceDate{700000000}, QStringLiteral("le dernier mot"), {}, std::nullopt));
            TerminationWatchdog watchdog(50ms);
            watchdog.signalled(SIGTERM);
            writer.waitUntilWritten();
            if (answers)
                watchdog.answered();
            std::this_thread::sleep_for(answers ? 300ms : 60s);
        });
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), answers ? 0 : 128 + SIGTERM);
        QFile written(path);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(Capture::fromJson(Json::parseObject(written.readAll())).body, QStringLiteral("le dernier mot"));
    }
}

} // namespace
