#include "core/Delivery.h"

#include "TestSupport.h"

using namespace quillor;

TEST(DeliveryTest, SavesOneAtATimeAndHandsBackPathsAndErrors)
{
    const QTemporaryDir dir;
    const QString base = QFileInfo(dir.path()).canonicalFilePath();
    QDir().mkpath(base + "/Vault");
    const auto save = [&](Delivery& delivery, const QString& body) {
        Capture capture(QUuid::createUuid(), ReferenceDate::now(), body, {}, std::nullopt);
        return delivery.save(capture, Destination(QUuid::createUuid(), "Notes", {}, base + "/Vault",
                                                  DeliveryMode::appendNote, "Log", {}));
    };
    // Concurrent appends to one note would trip each other's change check.
    QList<QFuture<QString>> futures;
    QFuture<QString> blank;
    {
        Delivery delivery(base + "/Backups");
        for (int i = 0; i < 8; ++i)
            futures.append(save(delivery, QString("entry %1").arg(i)));
        blank = save(delivery, " \n ");
    }   // the destructor waits for every queued save
    for (const QFuture<QString>& future : futures) {
        ASSERT_TRUE(future.isFinished());
        EXPECT_EQ(Delivery::result(future), base + "/Vault/Log.md");
    }
    EXPECT_EQ(test::contents(base + "/Vault/Log.md")->count("<!-- quillor:"), 8);
    EXPECT_EQ(test::thrown<CaptureError>([&] { Delivery::result(blank); }), CaptureError::empty());
}
