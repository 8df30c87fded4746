#include "vault/NoteFiles.h"

#include "VaultTestSupport.h"

#include "core/FileSystem.h"

#include <QTemporaryDir>

#include <cerrno>
#include <sys/stat.h>

using namespace quillor;
using namespace quillor::test;

namespace {

// PNG-looking bytes; recovery checks extensions and sizes, not contents.
QByteArray image(char fill, qsizetype size = 16) { return QByteArray(size, fill); }

// Every reference names its attachment, in order, by the attachment's file
// name, and the body embeds it.
void expectReferencesAgree(const Capture& capture)
{
    const QList<ImageReference> references = capture.imageReferences.value_or(QList<ImageReference>());
    ASSERT_EQ(references.size(), capture.attachments.size());
    for (qsizetype i = 0; i < references.size(); ++i) {
        const CaptureAttachment& attachment = capture.attachments[i];
        EXPECT_EQ(references[i].attachmentID, attachment.id);
        EXPECT_EQ(references[i].path, "Attachments/Quillor/" + attachment.id.toString(QUuid::WithoutBraces).toUpper()
                                          + u'.' + attachment.fileExtension);
        EXPECT_TRUE(capture.body.contains("![[" + references[i].path + "]]")) << references[i].path.toStdString();
    }
}

struct NoteFilesTest : ::testing::Test {
    void SetUp() override { root = FileSystem::resolveExistingPrefix(dir.path()) + QStringLiteral("/vault"); }

    QString at(const QString& relative) const { return root + u'/' + relative; }

    NoteFiles::Recovery recoverNote(const QByteArray& text, qint64 imageLimit = 1000, qint64 totalLimit = 10000)
    {
        writeFile(at("Notes/note.md"), text);
        return NoteFiles::recover(at("Notes/note.md"), root, imageLimit, totalLimit);
    }

    QTemporaryDir dir;
    QString root;
};

} // namespace

TEST_F(NoteFilesTest, readAndRelativePathAcceptOnlyUtf8NotesInsideTheRoot)
{
    writeFile(at("a.md"), "\xEF\xBB\xBFÉté\r\n");
    writeFile(at("Inbox/n.md"), "x");
    writeFile(at(".hidden/n.md"), "x");
    writeFile(at("latin1.md"), "\xE9t\xE9");
    writeFile(dir.path() + QStringLiteral("/outside.md"), "x");
    ASSERT_TRUE(QDir().mkpath(at("folder.md")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.md")).constData(), 0644), 0);
    makeLink(root, dir.path() + "/alias");

    EXPECT_EQ(NoteFiles::read(at("a.md")), QStringLiteral("Été\r\n"));
    EXPECT_EQ(errnoOf([&] { NoteFiles::read(at("missing.md")); }), ENOENT);
    EXPECT_EQ(NoteFiles::relativePath(at("Inbox/n.md"), root), "Inbox/n.md");
    EXPECT_EQ(NoteFiles::relativePath(at("Inbox/../Inbox/./n.md"), dir.path() + "/alias"), "Inbox/n.md");

    using Kind = CaptureError::Kind;
    const auto read = [](QString file) { return [=] { NoteFiles::read(file); }; };
    const auto relative = [&](QString file) { return [=, this] { NoteFiles::relativePath(file, root); }; };
    const auto recover = [&](QString file) { return [=, this] { NoteFiles::recover(file, root, 1000, 1000); }; };
    const std::tuple<const char*, std::function<void()>, Kind> refused[] = {
        {"read latin1", read(at("latin1.md")), Kind::invalidUTF8},
        {"read pipe", read(at("pipe.md")), Kind::invalidPath},
        {"relative root/", relative(root + u'/'), Kind::invalidPath},
        {"relative outside", relative(dir.path() + "/outside.md"), Kind::invalidPath},
        {"relative ../outside", relative(at("../outside.md")), Kind::invalidPath},
        {"relative hidden", relative(at(".hidden/n.md")), Kind::invalidPath},
        {"relative sibling prefix", relative(dir.path() + "/vaultx/n.md"), Kind::invalidPath},
        {"recover outside", recover(dir.path() + "/outside.md"), Kind::invalidPath},
        {"recover folder", recover(at("folder.md")), Kind::invalidPath},
    };
    for (const auto& [what, action, expected] : refused)
        EXPECT_EQ(captureErrorOf(action), expected) << what;
}

TEST_F(NoteFilesTest, twoImagesBecomeAttachmentsThatTheBodyEmbeds)
{
    writeFile(at("photo.png"), image('p'));
    writeFile(at("Notes/img/b.JPG"), image('b', 20));   // found beside the note only
    writeFile(at("Notes/my photo.png"), image('m'));

    const NoteFiles::Recovery recovery = recoverNote(
        "A ![[photo.png|300]] B ![alt](../photo.png) C ![[img/b.JPG]]\n![](my%20photo.png) `![[photo.png]]`");

    EXPECT_TRUE(recovery.unavailable.isEmpty()) << recovery.unavailable.join(", ").toStdString();
    const Capture& capture = recovery.capture;
    ASSERT_EQ(capture.attachments.size(), 3);   // the same file twice is one attachment
    EXPECT_EQ(capture.attachments[1].data, image('b', 20));
    EXPECT_EQ(capture.attachments[1].fileExtension, "jpg");
    EXPECT_EQ(capture.attachments[2].data, image('m'));
    expectReferencesAgree(capture);

    const QList<ImageReference>& r = *capture.imageReferences;
    EXPECT_EQ(capture.body,
              QString("A %1 B %1 C %2\n%3 `![[photo.png]]`").arg(r[0].source(), r[1].source(), r[2].source()));
}

TEST_F(NoteFilesTest, embedsThatCannotBecomeAttachmentsAreListedAndKept)
{
    writeFile(at("doc.pdf"), "%PDF");
    writeFile(at("empty.png"), "");
    writeFile(at(".hidden/h.png"), image('h'));
    writeFile(dir.path() + QStringLiteral("/outside.png"), image('o'));
    writeFile(at("Notes/beside.png"), image('s'));
    writeFile(at("root-only.png"), image('r'));
    ASSERT_TRUE(QDir().mkpath(at("folder.png")));

    // Not available from inside code either: the fenced one is not listed.
    const QByteArray text = "![[missing.png]] ![[../outside.png]] ![[/etc/x.png]] ![](https://a.b/c.png) "
                            "![[.hidden/h.png]] ![[doc.pdf]] ![[empty.png]] ![[folder.png]] "
                            "![](root-only.png) ![](%zz.png) ![[../Notes/beside.png]]\n```\n![[doc.pdf]]\n```\n";
    const NoteFiles::Recovery recovery = recoverNote(text);
    EXPECT_EQ(recovery.unavailable, QStringList({"missing.png", "../outside.png", "/etc/x.png", "https://a.b/c.png",
                                                 ".hidden/h.png", "doc.pdf", "empty.png", "folder.png",
                                                 "root-only.png", "%zz.png", "../Notes/beside.png"}));
    EXPECT_EQ(recovery.capture.body, QString::fromUtf8(text));
    EXPECT_TRUE(recovery.capture.attachments.isEmpty());
}

TEST_F(NoteFilesTest, sizeLimitsUseTheReportedSizeAndTheRunningTotal)
{
    writeFile(at("exact.png"), image('e', 100));
    writeFile(at("over.png"), image('o', 101));
    writeFile(at("big.png"), image('b', 90));
    writeFile(at("small.png"), image('s', 50));

    // Limits: 100 per image, 160 in all: exact (100) leaves 60, so big (90) is
    // refused and small (50) still fits.
    const NoteFiles::Recovery recovery =
        recoverNote("![[exact.png]] ![[over.png]] ![[big.png]] ![[small.png]] ![[exact.png]]", 100, 160);
    EXPECT_EQ(recovery.unavailable, (QStringList{"over.png", "big.png"}));
    ASSERT_EQ(recovery.capture.attachments.size(), 2);
    EXPECT_EQ(recovery.capture.attachments[0].data.size(), 100);
    EXPECT_EQ(recovery.capture.attachments[1].data.size(), 50);
    expectReferencesAgree(recovery.capture);
}
