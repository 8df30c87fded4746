#include "EventLoop.h"
#include "StuckDisk.h"

#include "model/DiskWrites.h"
#include "model/DraftWriter.h"

#include <gtest/gtest.h>

#include <thread>

namespace quillor {
namespace {

using namespace test;
using namespace std::chrono_literals;

Capture draftSaying(const QString& body)
{
    return Capture(QUuid::createUuid(), ReferenceDate{700000000}, body, {}, std::nullopt);
}

// Whether a write stays known to DiskWrites for the whole `duration`, the
// event loop left alone meanwhile.
bool registeredThroughout(std::chrono::milliseconds duration)
{
    const auto end = DiskWrites::Clock::now() + duration;
    while (DiskWrites::Clock::now() < end) {
        if (!DiskWrites::deadline())
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// The termination watchdog ends the process at once when no write is known:
// from one write's end to the start of the next one waiting for it, which
// the writer's own thread has to come round to, one is.
TEST(DraftWriterTest, AWriteIsKnownFromWhenItIsHandedOverUntilTheLastOneEnds)
{
    StuckDisk disk;
    DraftWriter writer(QStringLiteral("/nowhere/draft.json"), disk.writer(), {});
    ASSERT_FALSE(DiskWrites::deadline());

    writer.write(draftSaying(QStringLiteral("a")));
    EXPECT_TRUE(DiskWrites::deadline());
    ASSERT_TRUE(disk.waitForArrivals(1));
    writer.write(draftSaying(QStringLiteral("ab")));
    disk.letThrough(1);
    ASSERT_TRUE(disk.waitForReturns(1));
    EXPECT_TRUE(registeredThroughout(200ms));

    ASSERT_TRUE(waitUntil([&] { return disk.bodies().size() == 2; }));
    EXPECT_TRUE(DiskWrites::deadline());
    disk.letThrough(2);
    ASSERT_TRUE(waitUntil([&] { return !writer.busy(); }));
    EXPECT_FALSE(DiskWrites::deadline());
    EXPECT_EQ(disk.bodies(), (QStringList{"a", "ab"}));
}

// The writer's end writes what was handed over, the draft waiting included,
// but waits for no write longer than its bound: one that outlasts it is left
// to its thread, and nothing after it is written.
TEST(DraftWriterTest, ItsEndWaitsForEachWriteNoLongerThanItsBound)
{
    struct Case {
        const char* disk;
        bool answers;
        QStringList written;
    };
    for (const Case& test : {Case{"answering", true, {"a", "ab"}}, Case{"stuck", false, {"a"}}}) {
        SCOPED_TRACE(test.disk);
        StuckDisk disk;
        auto writer = std::make_unique<DraftWriter>(QStringLiteral("/nowhere/draft.json"), disk.writer(),
                                                    [](std::exception_ptr) { ADD_FAILURE() << "told at the end"; });
        if (!test.answers)
            writer->setBound([](qint64) { return 100ms; });
        writer->write(draftSaying(QStringLiteral("a")));
        ASSERT_TRUE(disk.waitForArrivals(1));
        writer->write(draftSaying(QStringLiteral("ab")));
        if (test.answers)
            disk.open();

        EXPECT_FALSE(disk.heldUntilRescued([&] { writer.reset(); }));
        disk.open();
        EXPECT_TRUE(waitUntil([&] { return !DiskWrites::deadline(); }));
        EXPECT_EQ(disk.bodies(), test.written);
    }
}

} // namespace
} // namespace quillor
