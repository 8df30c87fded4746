#include "InboxTestSupport.h"

#include <QSet>

using namespace quillor;
using namespace quillor::test;

namespace {

QStringList bodies(const QList<Capture>& captures)
{
    QStringList result;
    for (const Capture& capture : captures)
        result << capture.body;
    return result;
}

QStringList bodies(const QList<CaptureSummary>& summaries)
{
    QStringList result;
    for (const CaptureSummary& summary : summaries)
        result << summary.body;
    return result;
}

using InboxLayoutTest = InboxTest;

TEST_F(InboxLayoutTest, AMissingInboxReadsAsEmptyAndIsNotCreatedByReading)
{
    EXPECT_TRUE(inbox.drafts().isEmpty() && inbox.draftSummaries().isEmpty());
    EXPECT_TRUE(inbox.captures().isEmpty() && inbox.captureSummaries().isEmpty());
    EXPECT_EQ(inbox.draft(A), std::nullopt);
    EXPECT_EQ(inbox.capture(A), std::nullopt);
    EXPECT_EQ(inbox.receipt(A), std::nullopt);
    EXPECT_EQ(inbox.recoverySnapshot(), InboxRecoverySnapshot());
    EXPECT_FALSE(QFileInfo::exists(root()));
}

TEST_F(InboxLayoutTest, TheFirstWriteCreatesOnlyItsFolderAndWritesOneCompactUpperCaseRecord)
{
    inbox.enqueue(plainCapture(A, "hello", 700000000));
    EXPECT_EQ(QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"Captures"});
    EXPECT_EQ(QDir(path("Captures")).entryList(QDir::Files | QDir::Hidden), QStringList{fileName(A)});

    const QByteArray written = bytes(record("Captures", A));
    EXPECT_FALSE(written.contains('\n'));
    const QJsonObject object = json(record("Captures", A));
    EXPECT_EQ(object.keys(), (QStringList{"attachments", "body", "createdAt", "id"}));
    EXPECT_EQ(object["id"].toString(), "11111111-1111-4111-8111-111111111111");
    EXPECT_EQ(object["createdAt"].toDouble(), 700000000);
    EXPECT_EQ(object["body"].toString(), "hello");
    EXPECT_EQ(object["attachments"].toArray(), QJsonArray());
}

TEST_F(InboxLayoutTest, DraftRecordsKeepTheirShapes)
{
    Capture capture = plainCapture(A, "d", 1);
    capture.attachments = {CaptureAttachment(P, "AAA", "png"), CaptureAttachment(Q, "BBB", "jpg")};
    const QUuid revision = inbox.saveDraft(capture);

    // The snapshot is flat: the capture's keys with the revision beside them.
    const QJsonObject snapshot = json(record("Drafts", A));
    EXPECT_EQ(snapshot["draftRevision"].toString(), Json::uuidText(revision));
    EXPECT_EQ(snapshot["body"].toString(), "d");
    EXPECT_EQ(snapshot["attachments"].toArray().size(), 2);
    EXPECT_FALSE(snapshot.contains("capture"));
    EXPECT_EQ(Capture::fromJson(snapshot), capture);
    EXPECT_EQ(json(record("DraftRevisions", A)),
              QJsonObject({{"draftRevision", Json::uuidText(revision)},
                           {"attachmentIDs", QJsonArray{Json::uuidText(P), Json::uuidText(Q)}}}));

    capture.body = "edited";
    inbox.saveDraftEdit(capture, revision);
    const QJsonObject edit = json(record("DraftEdits", A));
    EXPECT_EQ(edit.keys(), (QStringList{"attachmentIDs", "capture", "draftRevision"}));
    EXPECT_EQ(edit["capture"].toObject()["attachments"].toArray(), QJsonArray());
    EXPECT_EQ(edit["capture"].toObject()["body"].toString(), "edited");
    EXPECT_EQ(edit["draftRevision"].toString(), Json::uuidText(revision));
    EXPECT_EQ(edit["attachmentIDs"].toArray(), (QJsonArray{"AAAAAAAA-AAAA-4AAA-8AAA-AAAAAAAAAAAA",
                                                          "BBBBBBBB-BBBB-4BBB-8BBB-BBBBBBBBBBBB"}));
}

TEST_F(InboxLayoutTest, ListsKeepJsonRecordsSkipUnreadableOnesAndNeverWaitOnAFifo)
{
    inbox.enqueue(plainCapture(A, "a", 2));
    inbox.enqueue(plainCapture(B, "b", 1));
    write("Captures/notes.txt", "garbage");
    write("Captures/B.JSON", "garbage");
    write("Captures/._" + fileName(A), "\0\5\26\7");
    write("Captures/.quillor-0F8FAD5B.tmp", "{\"id\":");
    write("Captures/.json", "{");
    write("Captures/C.json", "{");
    write("Captures/empty.json", "");
    write("Captures/truncated.json", bytes(record("Captures", A)).chopped(3));
    write("Captures/folder.json/inside", "x");
    makeFifo("Captures/fifo.json");

    EXPECT_EQ(bodies(inbox.captures()), (QStringList{"b", "a"}));
    EXPECT_EQ(bodies(inbox.captureSummaries()), (QStringList{"b", "a"}));

    // The snapshot shows what the lists leave out, one issue per record file.
    QStringList issuePaths;
    for (const InboxReadIssue& issue : inbox.recoverySnapshot().issues) {
        issuePaths << issue.path;
        EXPECT_FALSE(issue.message.isEmpty()) << issue.path.toStdString();
    }
    EXPECT_EQ(issuePaths, (QStringList{"Captures/C.json", "Captures/empty.json", "Captures/fifo.json",
                                       "Captures/folder.json", "Captures/truncated.json"}));
}

// The inbox writes only inside its folders: a link in a record's place, to a
// file outside or to nothing yet, is replaced by the record.
TEST_F(InboxLayoutTest, ALinkInARecordsPlaceIsReplacedNeverWrittenThrough)
{
    const Capture capture = plainCapture(A, "body", 1);
    QUuid revision;
    struct Case {
        const char* folder;
        std::function<void()> before, write;
    };
    const Case cases[] = {
        {"Failures", {}, [&] { inbox.recordDeliveryFailure(A, "boom"); }},
        {"Receipts", {}, [&] { inbox.recordDelivery(capture, "/tmp/v/n.md", std::nullopt); }},
        {"Drafts", {}, [&] { inbox.saveDraft(capture); }},
        {"DraftEdits", [&] { revision = inbox.saveDraft(capture); }, [&] { inbox.saveDraftEdit(capture, revision); }},
    };
    const QString outside = temporary.filePath("outside.json");
    for (const Case& test : cases) {
        for (const bool targetExists : {true, false}) {
            SCOPED_TRACE(std::string(test.folder) + (targetExists ? " to a file" : " to nothing"));
            QDir(root()).removeRecursively();
            QFile::remove(outside);
            if (targetExists)
                put(outside, "outside");
            if (test.before)
                test.before();
            QDir().mkpath(path(test.folder));
            ASSERT_TRUE(QFile::link(outside, path(record(test.folder, A))));

            test.write();
            EXPECT_EQ(contents(outside), targetExists ? std::optional<QByteArray>("outside") : std::nullopt);
            EXPECT_FALSE(QFileInfo(path(record(test.folder, A))).isSymLink());
            EXPECT_FALSE(json(record(test.folder, A)).isEmpty());
        }
    }
}

TEST_F(InboxLayoutTest, AnUndecodableRecordNamesItsFolderAndFile)
{
    write("Captures/" + fileName(A), "{");
    const auto error = thrown<PlatformError>([&] { inbox.capture(A); });
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->localizedDescription().contains("Captures/" + fileName(A)));
    EXPECT_EQ(inbox.recoverySnapshot().issues, (QList<InboxReadIssue>{{"Captures/" + fileName(A), error->localizedDescription()}}));
}

TEST_F(InboxLayoutTest, ListsAreOldestFirstWhateverTheFileNames)
{
    const QUuid x = QUuid::fromString(QStringLiteral("00000000-0000-4000-8000-000000000001"));
    const QUuid y = QUuid::fromString(QStringLiteral("00000000-0000-4000-8000-000000000002"));
    const QUuid z = QUuid::fromString(QStringLiteral("00000000-0000-4000-8000-000000000003"));
    inbox.enqueue(plainCapture(x, "X", 300));
    inbox.enqueue(plainCapture(y, "Y", 100));
    inbox.enqueue(plainCapture(z, "Z", 200));
    EXPECT_EQ(bodies(inbox.captures()), (QStringList{"Y", "Z", "X"}));
    EXPECT_EQ(bodies(inbox.captureSummaries()), (QStringList{"Y", "Z", "X"}));
    EXPECT_EQ(bodies(inbox.recoverySnapshot().captures), (QStringList{"Y", "Z", "X"}));
}

TEST_F(InboxLayoutTest, SummariesCarryTheDraftRevisionOnlyWhenItIsAUuid)
{
    inbox.enqueue(plainCapture(A, "queued", 1));
    EXPECT_EQ(inbox.captureSummaries().value(0).draftRevision, std::nullopt);

    QJsonObject snapshot = plainCapture(A, "draft", 1).toJson();
    snapshot.insert("draftRevision", "nope");
    write(record("Drafts", A), snapshot);
    // The merged read drops a bad revision; a summary cannot, so the draft is
    // left out of the summaries and shown as an issue.
    EXPECT_EQ(inbox.draft(A), plainCapture(A, "draft", 1));
    EXPECT_TRUE(inbox.draftSummaries().isEmpty());
    EXPECT_EQ(inbox.recoverySnapshot().issues.value(0).path, "Drafts/" + fileName(A));
}

// Records written by other tools may use the lower-case UUID: they are found
// under either name, the upper-case file wins when both are there, and the
// next write or removal of that id leaves the upper-case name alone.
TEST_F(InboxLayoutTest, ALowerCaseFileNameIsTheRecordUntilItsIdIsWrittenAgain)
{
    const Capture queued = plainCapture(P, "queued", 1);
    write("Captures/" + lowerCaseFileName(P), queued.toJson());
    EXPECT_EQ(inbox.capture(P), queued);
    EXPECT_EQ(inbox.captures(), QList<Capture>{queued});

    inbox.enqueue(queued);
    EXPECT_EQ(QDir(path("Captures")).entryList(QDir::Files), QStringList{lowerCaseFileName(P)});

    inbox.bindDeliveryVault(P, V1);
    EXPECT_EQ(QDir(path("Captures")).entryList(QDir::Files), QStringList{fileName(P)});
    EXPECT_EQ(inbox.capture(P)->deliveryVaultID, V1);
}

TEST_F(InboxLayoutTest, WhenBothNameCasesExistTheUpperCaseFileIsTheRecord)
{
    write("Captures/" + fileName(P), plainCapture(P, "upper", 1).toJson());
    write("Captures/" + lowerCaseFileName(P), plainCapture(P, "lower", 1).toJson());
    EXPECT_EQ(inbox.capture(P)->body, "upper");
    EXPECT_EQ(bodies(inbox.captures()), QStringList{"upper"});
    const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    EXPECT_EQ(bodies(snapshot.captures), QStringList{"upper"});
    EXPECT_TRUE(snapshot.issues.isEmpty());

    inbox.saveDraft(plainCapture(P, "draft", 1));
    write("Drafts/" + lowerCaseFileName(P), plainCapture(P, "stray", 1).toJson());
    write("DraftEdits/" + lowerCaseFileName(P), "{");
    inbox.discardDraft(P);
    EXPECT_FALSE(exists("Drafts/" + lowerCaseFileName(P)) || exists("DraftEdits/" + lowerCaseFileName(P)));
    EXPECT_EQ(inbox.draft(P), std::nullopt);
}

} // namespace
