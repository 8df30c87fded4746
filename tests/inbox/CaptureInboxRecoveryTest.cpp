#include "InboxTestSupport.h"

using namespace quillor;
using namespace quillor::test;

namespace {

class InboxRecoveryTest : public InboxTest {
protected:
    void writeReceipt(const QString& name, const QString& captureID, const QString& date) const
    {
        write("Receipts/" + name, DeliveryReceipt{captureID, "/tmp/v/n.md", date}.toJson());
    }
    void writeFailure(const QUuid& id, double date, const QString& name = {}) const
    {
        write("Failures/" + (name.isEmpty() ? fileName(id) : name), DeliveryFailure{id, ReferenceDate{date}, "boom"}.toJson());
    }
    QStringList issuePaths(const InboxRecoverySnapshot& snapshot) const
    {
        QStringList paths;
        for (const InboxReadIssue& issue : snapshot.issues)
            paths << issue.path;
        return paths;
    }
    static QString misnamed(const QString& file) { return InboxRecordError::misnamed(file).localizedDescription(); }
};

TEST_F(InboxRecoveryTest, FilesNamedForAnotherCaptureBecomeIssuesAndHideNothing)
{
    inbox.enqueue(plainCapture(A, "a", 1));
    write("Captures/not-a-uuid.json", plainCapture(B, "b", 2).toJson());
    write("Captures/" + fileName(P), plainCapture(B, "b", 2).toJson());
    write("Captures/{" + Json::uuidText(B) + "}.json", plainCapture(B, "b", 2).toJson());
    write("Captures/" + lowerCaseFileName(Q), plainCapture(Q, "lower-case name", 3).toJson());

    const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    EXPECT_EQ(snapshot.captures, (QList<CaptureSummary>{{A, ReferenceDate{1}, "a", std::nullopt},
                                                        {Q, ReferenceDate{3}, "lower-case name", std::nullopt}}));
    const auto error = InboxRecordError::misnamed("Captures/not-a-uuid.json");
    EXPECT_EQ(error.code(), 259);
    EXPECT_EQ(snapshot.issues, (QList<InboxReadIssue>{
                                   {"Captures/" + fileName(P), misnamed("Captures/" + fileName(P))},
                                   {"Captures/not-a-uuid.json", error.localizedDescription()},
                                   {"Captures/{" + Json::uuidText(B) + "}.json",
                                    misnamed("Captures/{" + Json::uuidText(B) + "}.json")},
                               }));
}

TEST_F(InboxRecoveryTest, OnlyReadableReceiptsOfTheirOwnCaptureSuppressFailures)
{
    writeFailure(A, 10);
    writeFailure(B, 20);
    writeFailure(P, 30);
    writeReceipt(fileName(A), Json::uuidText(B), "2025-01-02T00:00:00Z");   // names another capture
    writeReceipt(fileName(B), "xyz", "2025-01-02T00:00:00Z");
    write("Receipts/" + fileName(P), "{");
    writeReceipt(fileName(Q), Json::uuidText(Q), "2025-01-02T00:00:00Z");
    writeFailure(Q, 40);

    const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    EXPECT_EQ(snapshot.receipts.size(), 1);
    QList<QUuid> failed;
    for (const DeliveryFailure& failure : snapshot.failures)
        failed << failure.id;
    EXPECT_EQ(failed, (QList<QUuid>{P, B, A}));
    EXPECT_EQ(issuePaths(snapshot),
              (QStringList{"Receipts/" + fileName(A), "Receipts/" + fileName(B), "Receipts/" + fileName(P)}));
}

TEST_F(InboxRecoveryTest, AFolderThatCannotBeListedIsOneIssue)
{
    write("Failures", "a plain file");
    inbox.enqueue(plainCapture(A, "a", 1));
    const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    EXPECT_TRUE(snapshot.failures.isEmpty());
    EXPECT_EQ(snapshot.captures.size(), 1);
    ASSERT_EQ(issuePaths(snapshot), QStringList{"Failures"});
    EXPECT_FALSE(snapshot.issues[0].message.isEmpty());
    // The lists still fail on such a folder.
    QFile::remove(path("Failures"));
    write("Drafts", "a plain file");
    EXPECT_EQ(errnoOf([&] { inbox.drafts(); }), ENOTDIR);
}

TEST_F(InboxRecoveryTest, EditsAreMergedAndAFailedLookupIsAnIssueWithTheEditsPath)
{
    const QUuid revision = inbox.saveDraft(plainCapture(A, "own body", 5));
    inbox.saveDraftEdit(plainCapture(A, "edited", 1), revision);
    const QUuid other = inbox.saveDraft(plainCapture(B, "b", 3));
    inbox.saveDraftEdit(plainCapture(B, "b edited", 4), other);

    InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    ASSERT_EQ(snapshot.drafts.size(), 2);
    EXPECT_EQ(snapshot.drafts[0], (CaptureSummary{A, ReferenceDate{1}, "edited", revision}));
    EXPECT_EQ(snapshot.drafts[1], (CaptureSummary{B, ReferenceDate{4}, "b edited", other}));

    write(record("DraftEdits", A), DraftEdit::of(plainCapture(B, "foreign", 1), revision).toJson());
    snapshot = inbox.recoverySnapshot();
    EXPECT_EQ(snapshot.drafts.value(1), (CaptureSummary{A, ReferenceDate{5}, "own body", revision}));
    EXPECT_EQ(snapshot.issues,
              (QList<InboxReadIssue>{{QDir(temporary.path()).absoluteFilePath("IN/DraftEdits/" + fileName(A)),
                                      "Cette capture est déjà en attente ou livrée. Le brouillon modifié est "
                                      "conservé ; récupère-le comme nouvelle capture."}}));
}

TEST_F(InboxRecoveryTest, ListsAreOrderedAndIssuesFollowTheFolders)
{
    writeReceipt(fileName(A), Json::uuidText(A), "2025-01-01T10:00:00Z");
    writeReceipt(fileName(B), Json::uuidText(B), "2025-01-02T10:00:00Z");
    writeReceipt(fileName(P), Json::uuidText(P), "2025-01-02T10:00:00Z");
    writeFailure(Q, 100);
    writeFailure(V1, 300);
    writeFailure(V2, 300);
    inbox.saveDraft(plainCapture(V2, "later draft", 9));
    inbox.saveDraft(plainCapture(V1, "same time", 1));
    inbox.saveDraft(plainCapture(Q, "same time", 1));
    for (const QString folder : {"Failures", "Receipts", "Captures", "Drafts"})
        write(folder + "/broken.json", "{");
    write(record("DraftEdits", Q), "{");

    const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    QStringList receipts, failures, drafts;
    for (const DeliveryReceipt& receipt : snapshot.receipts)
        receipts << receipt.captureID;
    for (const DeliveryFailure& failure : snapshot.failures)
        failures << Json::uuidText(failure.id);
    for (const CaptureSummary& draft : snapshot.drafts)
        drafts << Json::uuidText(draft.id);
    EXPECT_EQ(receipts, (QStringList{Json::uuidText(B), Json::uuidText(P), Json::uuidText(A)}));
    EXPECT_EQ(failures, (QStringList{Json::uuidText(V1), Json::uuidText(V2), Json::uuidText(Q)}));
    EXPECT_EQ(drafts, (QStringList{Json::uuidText(Q), Json::uuidText(V1), Json::uuidText(V2)}));
    EXPECT_EQ(issuePaths(snapshot), (QStringList{"Drafts/broken.json", path(record("DraftEdits", Q)),
                                                 "Captures/broken.json", "Receipts/broken.json",
                                                 "Failures/broken.json"}));
}

// What the lists leave out, the snapshot names: a record with a field of the
// wrong type is no more readable than one that is not JSON.
TEST_F(InboxRecoveryTest, ARecordWithAWrongTypedFieldIsAnIssueNotAHealthyRecord)
{
    const std::pair<const char*, QJsonValue> fields[] = {
        {"attachments", "none"},   {"destinationID", 5},     {"deliveryDestination", "Journal"},
        {"timeZoneIdentifier", 7}, {"usesExplicitDestination", "yes"},
    };
    for (const auto& [key, value] : fields) {
        SCOPED_TRACE(key);
        QDir(root()).removeRecursively();
        inbox.enqueue(plainCapture(B, "healthy", 2));
        inbox.saveDraft(plainCapture(B, "healthy draft", 2));
        QJsonObject queued = plainCapture(A, "queued", 1).toJson();
        queued.insert(key, value);
        write(record("Captures", A), queued);
        inbox.saveDraft(plainCapture(A, "draft", 1));
        QJsonObject draft = json(record("Drafts", A));
        draft.insert(key, value);
        write(record("Drafts", A), draft);

        EXPECT_EQ(inbox.captures().size(), 1);
        EXPECT_EQ(inbox.drafts().size(), 1);
        const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
        EXPECT_EQ(snapshot.captures.size(), 1);
        EXPECT_EQ(snapshot.drafts.size(), 1);
        const QString drafts = "Drafts/" + fileName(A), captures = "Captures/" + fileName(A);
        EXPECT_EQ(snapshot.issues,
                  (QList<InboxReadIssue>{{drafts, InboxRecordError::undecodable(drafts).localizedDescription()},
                                         {captures, InboxRecordError::undecodable(captures).localizedDescription()}}));
    }
}

TEST_F(InboxRecoveryTest, AnEditWhoseImagesAreNotTheSnapshotsIsAnIssueAndTheDraftStaysAsSaved)
{
    Capture saved = plainCapture(A, "saved", 1);
    saved.attachments = {CaptureAttachment(P, "AAA", "png"), CaptureAttachment(Q, "QQQ", "png")};
    const QUuid revision = inbox.saveDraft(saved);
    Capture reordered = saved;
    reordered.body = "edited";
    std::swap(reordered.attachments[0], reordered.attachments[1]);
    write(record("DraftEdits", A), DraftEdit::of(reordered, revision).toJson());

    EXPECT_TRUE(inbox.drafts().isEmpty());
    const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    EXPECT_EQ(snapshot.drafts, (QList<CaptureSummary>{{A, ReferenceDate{1}, "saved", revision}}));
    EXPECT_EQ(snapshot.issues, (QList<InboxReadIssue>{{QDir(temporary.path()).absoluteFilePath("IN/DraftEdits/" + fileName(A)),
                                                       "Les images de cette modification du brouillon ne correspondent "
                                                       "pas à celles de son dernier enregistrement : elle ne peut pas "
                                                       "lui être appliquée."}}));
}

// A record far larger than any the inbox writes is refused unread, by name,
// and hides nothing else.
TEST_F(InboxRecoveryTest, ARecordLargerThanAnyRealOneIsReportedUnread)
{
    inbox.enqueue(plainCapture(A, "a", 1));
    inbox.saveDraft(plainCapture(A, "d", 1));
    for (const char* folder : {"Captures", "Drafts", "Receipts"}) {
        QDir().mkpath(path(folder));
        QFile huge(path(record(folder, B)));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(InboxDirectory::maximumRecordSize + 1));
    }

    EXPECT_EQ(inbox.captures().size(), 1);
    EXPECT_EQ(inbox.drafts().size(), 1);
    EXPECT_EQ(inbox.captureSummaries().size(), 1);
    const auto tooLarge = [](const QString& file) { return InboxRecordError::tooLarge(file).localizedDescription(); };
    const auto error = thrown<PlatformError>([&] { inbox.capture(B); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(), tooLarge("Captures/" + fileName(B)));
    EXPECT_TRUE(thrown<PlatformError>([&] { inbox.receipt(B); }));
    QList<InboxReadIssue> expected;
    for (const QString folder : {"Drafts", "Captures", "Receipts"})
        expected.append({folder + "/" + fileName(B), tooLarge(folder + "/" + fileName(B))});
    EXPECT_EQ(inbox.recoverySnapshot().issues, expected);
}

// A folder that cannot even be looked at is not an empty one.
TEST_F(InboxRecoveryTest, AFolderThatIsALoopOfLinksIsAnIssue)
{
    inbox.enqueue(plainCapture(A, "a", 1));
    ASSERT_TRUE(QFile::link(path("Drafts"), path("Drafts")));
    EXPECT_EQ(errnoOf([&] { inbox.drafts(); }), ELOOP);
    const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    EXPECT_EQ(snapshot.captures.size(), 1);
    ASSERT_EQ(issuePaths(snapshot), QStringList{"Drafts"});
    EXPECT_EQ(snapshot.issues[0].message, FileSystemError(FileSystemError::Operation::list, path("Drafts"), ELOOP)
                                              .localizedDescription());
}

TEST_F(InboxRecoveryTest, AnInboxThatCannotBeEnteredIsAnIssuePerFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    inbox.enqueue(plainCapture(A, "a", 1));
    ASSERT_EQ(::chmod(QFile::encodeName(root()).constData(), 0), 0);
    const InboxRecoverySnapshot snapshot = inbox.recoverySnapshot();
    ::chmod(QFile::encodeName(root()).constData(), 0755);
    EXPECT_EQ(issuePaths(snapshot), (QStringList{"Drafts", "Captures", "Receipts", "Failures"}));
}

TEST_F(InboxRecoveryTest, TakingASnapshotChangesNothingOnDisk)
{
    const QUuid revision = inbox.saveDraft(plainCapture(A, "d", 1));
    inbox.saveDraftEdit(plainCapture(A, "e", 1), revision);
    inbox.enqueue(plainCapture(B, "q", 1));
    inbox.recordDeliveryFailure(B, "boom");
    write("Receipts/" + lowerCaseFileName(P), "{");
    write("Captures/._" + fileName(B), "x");
    write(record("Failures", Q) + "/inside", "x");
    makeFifo("Drafts/fifo.json");
    const auto before = tree();
    inbox.recoverySnapshot();
    EXPECT_EQ(tree(), before);
}

} // namespace
