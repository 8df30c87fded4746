#include "InboxTestSupport.h"

#include "core/Destination.h"

using namespace quillor;
using namespace quillor::test;

namespace {

class InboxQueueTest : public InboxTest {
protected:
    // A capture with every optional field set, a fractional date and an
    // explicit false, which must all come back as they were.
    static Capture fullCapture()
    {
        Capture capture(A, ReferenceDate{786543210.123456789}, "Photo {{quillor-image:" + Json::uuidText(P) + "}}",
                        {CaptureAttachment(P, "AAA", "png", false, QStringLiteral("Photo.png"))}, B);
        capture.imageReferences = QList<ImageReference>{{P, "Attachments/photo.png", std::nullopt}};
        capture.deliveryDestination = destination();
        capture.usesExplicitDestination = false;
        return capture;
    }
    static Destination destination()
    {
        return Destination(B, "Journal", "jr", "/tmp/v", DeliveryMode::newNote, "Inbox", "Attachments");
    }
    void makeVault(const QString& vault) const { put(temporary.filePath(vault + "/Inbox/n.md"), "# n\n"); }
};

TEST_F(InboxQueueTest, ABlankBodyIsRefusedBeforeAnythingIsWritten)
{
    const auto error = thrown<CaptureError>([&] { inbox.enqueue(plainCapture(A, " \n\t ", 1)); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), CaptureError::Kind::empty);
    EXPECT_EQ(error->localizedDescription(), "Ajoute du texte ou une image avant d’enregistrer.");
    EXPECT_FALSE(QFileInfo::exists(root()));

    inbox.enqueue(plainCapture(A, "{{quillor-image:AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA}}", 1));
    EXPECT_TRUE(exists(record("Captures", A)));
}

TEST_F(InboxQueueTest, QueueingTheSameCaptureAgainOnlyEndsItsDraft)
{
    const Capture capture = fullCapture();
    inbox.enqueue(capture);
    EXPECT_EQ(inbox.capture(A), capture);
    const QByteArray queued = bytes(record("Captures", A));

    const QUuid revision = inbox.saveDraft(capture);
    inbox.saveDraftEdit(capture, revision);
    inbox.enqueue(capture);
    EXPECT_EQ(bytes(record("Captures", A)), queued);
    for (const char* folder : {"Drafts", "DraftRevisions", "DraftEdits"})
        EXPECT_TRUE(QDir(path(folder)).isEmpty()) << folder;
    EXPECT_TRUE(throwsInboxError([&] { inbox.saveDraftEdit(capture, revision); }));
}

TEST_F(InboxQueueTest, AnotherCaptureUnderAQueuedIdChangesNothing)
{
    inbox.enqueue(plainCapture(A, "x", 1));
    inbox.saveDraft(plainCapture(A, "y", 1));
    const auto before = tree();
    EXPECT_TRUE(throwsInboxError([&] { inbox.enqueue(plainCapture(A, "y", 1)); }));
    EXPECT_EQ(tree(), before);
}

TEST_F(InboxQueueTest, AQueuedCaptureIsBoundToOneVault)
{
    const Capture original = plainCapture(A, "x", 1);
    inbox.enqueue(original);
    const Capture bound = inbox.bindDeliveryVault(A, V1);
    EXPECT_EQ(bound.deliveryVaultID, V1);
    EXPECT_EQ(json(record("Captures", A))["deliveryVaultID"].toString(), Json::uuidText(V1));
    const auto afterBinding = tree();

    EXPECT_EQ(inbox.bindDeliveryVault(A, V1), bound);
    EXPECT_TRUE(throwsInboxError([&] { inbox.bindDeliveryVault(A, V2); }));
    EXPECT_TRUE(throwsInboxError([&] { inbox.enqueue(original); }));
    EXPECT_EQ(tree(), afterBinding);

    const auto missing = thrown<FileSystemError>([&] { inbox.bindDeliveryVault(B, V1); });
    ASSERT_TRUE(missing);
    EXPECT_EQ(*missing, FileSystemError(FileSystemError::Operation::read, path(record("Captures", B)), ENOENT));
    EXPECT_EQ(tree(), afterBinding);
}

TEST_F(InboxQueueTest, AReceiptRecordsTheDeliveryAndDropsTheFailure)
{
    makeVault("v");
    const QString note = temporary.filePath("v/Inbox/n.md");
    Capture capture = plainCapture(A, "x", 1);
    capture.destinationID = B;
    capture.deliveryVaultID = V1;
    capture.deliveryDestination = destination();
    inbox.recordDeliveryFailure(A, "boom");
    EXPECT_EQ(json(record("Failures", A)),
              QJsonObject({{"id", Json::uuidText(A)}, {"date", now.secondsSinceReferenceDate}, {"message", "boom"}}));

    inbox.recordDelivery(capture, note, temporary.filePath("v"));
    const DeliveryReceipt expected{Json::uuidText(A), note, "2025-01-31T08:05:09Z", destination().displayName(),
                                   B, V1, "Inbox/n.md"};
    EXPECT_EQ(inbox.receipt(A), expected);
    EXPECT_FALSE(exists(record("Failures", A)));
    inbox.recordDeliveryFailure(A, "again");
    EXPECT_FALSE(exists(record("Failures", A)));

    // Without a root or a destination, their keys are left out.
    inbox.recordDelivery(plainCapture(A, "x", 1), note, std::nullopt);
    EXPECT_EQ(json(record("Receipts", A)).keys(), (QStringList{"captureID", "date", "path"}));
}

TEST_F(InboxQueueTest, ANoteOutsideTheRootIsRefusedBeforeTheReceiptIsWritten)
{
    makeVault("v");
    makeVault("w");
    const auto error = thrown<CaptureError>(
        [&] { inbox.recordDelivery(plainCapture(A, "x", 1), temporary.filePath("v/Inbox/n.md"), temporary.filePath("w")); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), CaptureError::Kind::invalidPath);
    EXPECT_FALSE(QFileInfo::exists(root()));
}

TEST_F(InboxQueueTest, AnUnreadableReceiptBlocksAFailure)
{
    write(record("Receipts", A), "{");
    EXPECT_TRUE(thrown<PlatformError>([&] { inbox.recordDeliveryFailure(A, "boom"); }));
    EXPECT_FALSE(exists(record("Failures", A)));
}

TEST_F(InboxQueueTest, AFolderInPlaceOfAQueuedRecordIsNeverOverwritten)
{
    write(record("Captures", A) + "/blocker", "x");
    inbox.enqueue(plainCapture(B, "b", 1));
    EXPECT_EQ(errnoOf([&] { inbox.enqueue(plainCapture(A, "a", 1)); }), EISDIR);
    EXPECT_EQ(bytes(record("Captures", A) + "/blocker"), "x");
    EXPECT_EQ(inbox.captures(), QList<Capture>{plainCapture(B, "b", 1)});
}

} // namespace
