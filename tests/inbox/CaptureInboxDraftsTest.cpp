#include "InboxTestSupport.h"

using namespace quillor;
using namespace quillor::test;

namespace {

class InboxDraftsTest : public InboxTest {
protected:
    static Capture withImages(const QString& body, const QList<QUuid>& ids)
    {
        Capture capture = plainCapture(A, body, 1);
        for (const QUuid& id : ids)
            capture.attachments.append(CaptureAttachment(id, id == P ? "AAA" : "QQQ", "png"));
        return capture;
    }
    QStringList draftFiles() const
    {
        QStringList present;
        for (const char* folder : {"Drafts", "DraftRevisions", "DraftEdits"}) {
            if (exists(record(folder, A)))
                present << folder;
        }
        return present;
    }
};

TEST_F(InboxDraftsTest, EachSaveMakesANewRevisionAndDropsTheEditOfTheOldOne)
{
    const QUuid r1 = inbox.saveDraft(plainCapture(A, "one", 1));
    inbox.saveDraftEdit(plainCapture(A, "one edited", 1), r1);
    EXPECT_EQ(inbox.draft(A)->body, "one edited");

    const QUuid r2 = inbox.saveDraft(plainCapture(A, "two", 1));
    EXPECT_NE(r1, r2);
    EXPECT_EQ(draftFiles(), (QStringList{"Drafts", "DraftRevisions"}));
    EXPECT_EQ(json(record("DraftRevisions", A))["draftRevision"].toString(), Json::uuidText(r2));

    EXPECT_TRUE(throwsInboxError([&] { inbox.saveDraftEdit(plainCapture(A, "late", 1), r1); }));
    EXPECT_FALSE(exists(record("DraftEdits", A)));
    EXPECT_EQ(inbox.draft(A)->body, "two");
}

TEST_F(InboxDraftsTest, AnEditTakesTheSnapshotsAttachmentBytes)
{
    const QUuid revision = inbox.saveDraft(withImages("snapshot", {P, Q}));
    Capture edited = withImages("edited", {P, Q});
    edited.attachments[0].data = "not these bytes";
    inbox.saveDraftEdit(edited, revision);

    const auto draft = inbox.draft(A);
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->body, "edited");
    EXPECT_EQ(draft->attachments, withImages("", {P, Q}).attachments);
    EXPECT_EQ(inbox.drafts(), QList<Capture>{*draft});
    EXPECT_EQ(inbox.draftSummaries().value(0).body, "edited");
}

// An edit whose images are not the snapshot's could never be merged; storing
// it would break every later read of the draft.
TEST_F(InboxDraftsTest, AnEditWithOtherAttachmentsIsRefusedAndNothingIsWritten)
{
    const QUuid revision = inbox.saveDraft(withImages("snapshot", {P, Q}));
    inbox.saveDraftEdit(withImages("kept", {P, Q}), revision);
    const QByteArray kept = bytes(record("DraftEdits", A));
    for (const QList<QUuid>& ids : {QList<QUuid>{Q, P}, QList<QUuid>{P}, QList<QUuid>{P, Q, B}, QList<QUuid>{}}) {
        EXPECT_EQ(thrown<InboxError>([&] { inbox.saveDraftEdit(withImages("other", ids), revision); }),
                  InboxError::editImagesDiffer());
        EXPECT_EQ(bytes(record("DraftEdits", A)), kept);
    }

    // A revision record without the ids (written by an earlier store) is
    // checked against the snapshot itself.
    write(record("DraftRevisions", A), QJsonObject{{"draftRevision", Json::uuidText(revision)}});
    EXPECT_EQ(thrown<InboxError>([&] { inbox.saveDraftEdit(withImages("other", {Q, P}), revision); }),
              InboxError::editImagesDiffer());
    inbox.saveDraftEdit(withImages("accepted", {P, Q}), revision);
    EXPECT_EQ(inbox.draft(A)->body, "accepted");
}

TEST_F(InboxDraftsTest, AHandWrittenEditWithOtherAttachmentsFailsTheMergedReadOnly)
{
    const QUuid revision = inbox.saveDraft(withImages("snapshot", {P, Q}));
    inbox.saveDraft(plainCapture(B, "other draft", 2));
    inbox.saveDraftEdit(withImages("edited", {P, Q}), revision);
    QJsonObject edit = json(record("DraftEdits", A));
    edit["attachmentIDs"] = QJsonArray{Json::uuidText(Q), Json::uuidText(P)};
    write(record("DraftEdits", A), edit);

    EXPECT_EQ(thrown<InboxError>([&] { inbox.draft(A); }), InboxError::editImagesDiffer());
    // One broken draft no longer hides the others.
    EXPECT_EQ(inbox.drafts(), QList<Capture>{plainCapture(B, "other draft", 2)});
    EXPECT_EQ(inbox.draftSummaries().value(0).body, "edited");
}

TEST_F(InboxDraftsTest, EditsThatDoNotMatchTheSnapshotAreIgnoredOrRefusedByReaders)
{
    const QUuid revision = inbox.saveDraft(plainCapture(A, "snapshot", 1));

    // An edit of another revision is ignored and left as it is.
    write(record("DraftEdits", A), DraftEdit::of(plainCapture(A, "stale", 1), QUuid::createUuid()).toJson());
    const QByteArray stale = bytes(record("DraftEdits", A));
    EXPECT_EQ(inbox.draft(A), plainCapture(A, "snapshot", 1));
    EXPECT_EQ(inbox.draftSummaries().value(0).body, "snapshot");
    EXPECT_EQ(bytes(record("DraftEdits", A)), stale);

    // An edit holding another capture does not belong to this draft.
    write(record("DraftEdits", A), DraftEdit::of(plainCapture(B, "foreign", 1), revision).toJson());
    EXPECT_TRUE(throwsInboxError([&] { inbox.draft(A); }));
    EXPECT_TRUE(inbox.drafts().isEmpty());

    // A snapshot without a revision takes no edit at all.
    write(record("Drafts", A), plainCapture(A, "plain", 1).toJson());
    write(record("DraftEdits", A), DraftEdit::of(plainCapture(A, "edit", 1), revision).toJson());
    EXPECT_EQ(inbox.draft(A), plainCapture(A, "plain", 1));
    ASSERT_EQ(inbox.draftSummaries().size(), 1);
    EXPECT_EQ(inbox.draftSummaries()[0].draftRevision, std::nullopt);
    EXPECT_EQ(inbox.draftSummaries()[0].body, "plain");
}

TEST_F(InboxDraftsTest, DiscardingRemovesTheThreeFilesAndEndsEdits)
{
    const QUuid revision = inbox.saveDraft(plainCapture(A, "d", 1));
    inbox.saveDraftEdit(plainCapture(A, "e", 1), revision);
    inbox.saveDraft(plainCapture(B, "kept", 1));
    const auto before = tree();
    inbox.discardDraft(QUuid::fromString(QStringLiteral("33333333-3333-4333-8333-333333333333")));
    EXPECT_EQ(tree(), before);

    inbox.discardDraft(A);
    EXPECT_TRUE(draftFiles().isEmpty());
    EXPECT_EQ(inbox.draft(A), std::nullopt);
    EXPECT_TRUE(throwsInboxError([&] { inbox.saveDraftEdit(plainCapture(A, "late", 1), revision); }));
    EXPECT_TRUE(draftFiles().isEmpty());
    EXPECT_EQ(inbox.drafts().size(), 1);
}

TEST_F(InboxDraftsTest, LeftoversOfAnInterruptedSaveRefuseEdits)
{
    // An edit or a revision record without its snapshot.
    const QUuid revision = QUuid::createUuid();
    write(record("DraftRevisions", A), Revision{revision, QList<QUuid>{}}.toJson());
    write(record("DraftEdits", A), DraftEdit::of(plainCapture(A, "orphan", 1), revision).toJson());
    EXPECT_EQ(inbox.draft(A), std::nullopt);
    EXPECT_TRUE(inbox.drafts().isEmpty());
    EXPECT_TRUE(throwsInboxError([&] { inbox.saveDraftEdit(plainCapture(A, "e", 1), revision); }));

    // A snapshot whose revision record is older, unreadable or missing.
    QJsonObject snapshot = plainCapture(A, "snapshot", 1).toJson();
    const QUuid current = QUuid::createUuid();
    snapshot.insert("draftRevision", Json::uuidText(current));
    write(record("Drafts", A), snapshot);
    for (const QByteArray& stored : {Json::serialize(Revision{revision, {}}.toJson()), QByteArray("{")}) {
        write(record("DraftRevisions", A), stored);
        EXPECT_TRUE(throwsInboxError([&] { inbox.saveDraftEdit(plainCapture(A, "e", 1), current); }));
    }
    QFile::remove(path(record("DraftRevisions", A)));
    EXPECT_TRUE(throwsInboxError([&] { inbox.saveDraftEdit(plainCapture(A, "e", 1), current); }));
    EXPECT_EQ(inbox.draft(A)->body, "snapshot");
}

// Before the snapshot changes, the revision edits are checked against is
// gone: after a save that fails half-way an edit is refused, never accepted
// against the old revision and then silently dropped.
TEST_F(InboxDraftsTest, ASaveThatFailsLeavesEditsRefusedUntilASaveSucceeds)
{
    const QUuid r1 = inbox.saveDraft(plainCapture(A, "one", 1));
    QFile::remove(path(record("Drafts", A)));
    write(record("Drafts", A) + "/blocker", "x");
    EXPECT_NE(errnoOf([&] { inbox.saveDraft(plainCapture(A, "two", 1)); }), 0);
    EXPECT_TRUE(throwsInboxError([&] { inbox.saveDraftEdit(plainCapture(A, "edit", 1), r1); }));
    EXPECT_FALSE(exists(record("DraftEdits", A)));

    QDir(path(record("Drafts", A))).removeRecursively();
    const QUuid r3 = inbox.saveDraft(plainCapture(A, "three", 1));
    inbox.saveDraftEdit(plainCapture(A, "edit", 1), r3);
    EXPECT_EQ(inbox.draft(A)->body, "edit");
}

} // namespace
