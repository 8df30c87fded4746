#include "core/Delivery.h"

#include "core/CaptureError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quillor;

namespace {

class DeliveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = QFileInfo(dir.path()).canonicalFilePath();
        QDir().mkpath(base + QStringLiteral("/Vault"));
    }

    Capture capture(const QString& body) const
    {
        Capture capture(QUuid::createUuid(), ReferenceDate::now(), body, {}, std::nullopt);
        capture.timeZoneIdentifier = QStringLiteral("UTC");
        return capture;
    }
    Destination destination(DeliveryMode mode, const QString& path) const
    {
        return Destination(QUuid::createUuid(), QStringLiteral("Notes"), {}, base + QStringLiteral("/Vault"), mode,
                           path, {});
    }

    QTemporaryDir dir;
    QString base;
};

} // namespace

TEST_F(DeliveryTest, SavesOnItsWorkerAndGivesThePath)
{
    Delivery delivery(base + QStringLiteral("/Backups"));
    const QString path = Delivery::result(delivery.save(capture(QStringLiteral("hello")),
                                                        destination(DeliveryMode::appendNote, QStringLiteral("Log"))));
    EXPECT_EQ(path, base + QStringLiteral("/Vault/Log.md"));
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(DeliveryTest, SavesOneAtATime)
{
    // Concurrent appends to one note would trip each other's change check.
    QList<QFuture<QString>> futures;
    {
        Delivery delivery(base + QStringLiteral("/Backups"));
        for (int i = 0; i < 8; ++i)
            futures.append(delivery.save(capture(QStringLiteral("entry %1").arg(i)),
                                         destination(DeliveryMode::appendNote, QStringLiteral("Log"))));
    }   // the destructor waits for every queued save
    for (const QFuture<QString>& future : futures) {
        ASSERT_TRUE(future.isFinished());
        EXPECT_NO_THROW(Delivery::result(future));
    }
    QFile note(base + QStringLiteral("/Vault/Log.md"));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_EQ(note.readAll().count("<!-- quillor:"), 8);
}

TEST_F(DeliveryTest, FailureReachesTheCallerAsTheOriginalError)
{
    Delivery delivery(base + QStringLiteral("/Backups"));
    const QFuture<QString> future =
        delivery.save(capture(QStringLiteral(" \n ")), destination(DeliveryMode::newNote, QString()));
    try {
        Delivery::result(future);
        ADD_FAILURE() << "no error";
    } catch (const CaptureError& error) {
        EXPECT_EQ(error, CaptureError::empty());
    }
}
