#include "core/CaptureFileWriter.h"
#include "core/Delivery.h"

#include "TestSupport.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QLocale>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillor;

namespace {

const QByteArray marker = "<!-- quillor:1A2B3C4D-0000-4000-8000-000000000001 -->";
const QUuid imageID(QStringLiteral("{AAAAAAAA-0000-4000-8000-000000000001}"));
const QString body = QStringLiteral("  \n first line\n\nsecond line \n\n");
const QByteArray trimmedBody = "first line\n\nsecond line";
const QString newNote = QStringLiteral("Inbox/2026-03-14 090507-1A2B3C4D.md");
const QString imageFile = QStringLiteral("Attachments/Quillor/AAAAAAAA-0000-4000-8000-000000000001.png");

QByteArray frontMatter()
{
    return "---\nquillor_id: 1A2B3C4D-0000-4000-8000-000000000001\ncreated: 2026-03-14T09:05:07Z\n---\n\n" + trimmedBody
        + "\n\n" + marker + "\n";
}

QByteArray section(const QByteArray& time = "09:05:07", const QByteArray& text = trimmedBody)
{
    return "\n\n## " + time + "\n\n" + text + "\n\n" + marker + "\n";
}

CaptureAttachment image(const QUuid& id = imageID, const QByteArray& data = "PNG bytes")
{
    return CaptureAttachment(id, data, QStringLiteral("PNG"));
}

// A throw-away vault with the backup folder beside it.
struct Sandbox {
    Sandbox() { QDir().mkpath(vault()); }
    QString vault() const { return base + "/Vault"; }
    QString at(const QString& relative) const { return vault() + '/' + relative; }
    QString backup() const { return base + "/Backups/1A2B3C4D-0000-4000-8000-000000000001.md"; }
    QStringList leftovers() const
    {
        QStringList found;
        for (QDirIterator it(base, {".quillor-*"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            found << it.next();
        return found;
    }
    Destination destination(DeliveryMode mode, const QString& path) const
    {
        return Destination(QUuid::createUuid(), "Notes", {}, vault(), mode, path, "Attachments/Quillor");
    }
    CaptureFileWriter writer(std::optional<QTimeZone> zone = QTimeZone::utc()) const
    {
        return CaptureFileWriter(base + "/Backups", CaptureFileWriter::Publication::hardLink, zone);
    }

    // Arrangements of the failure cases, on the capture, destination and writer below.
    void appendTo(const std::optional<QByteArray>& existing)
    {
        d = destination(DeliveryMode::appendNote, "Log");
        if (existing)
            test::put(at("Log.md"), *existing);
    }
    void withImage(const QString& text = image().token())
    {
        c.body = text;
        c.attachments = {image()};
    }
    // Plays another program that changes the note after the backup, before it is read again.
    void onRecheck(const QString& note, const std::optional<QByteArray>& bytes)
    {
        w.setBeforeRecheckHookForTesting([path = at(note), bytes] {
            if (bytes)
                test::put(path, *bytes);
            else
                QFile::remove(path);
        });
    }

    QTemporaryDir dir;
    QString base = QFileInfo(dir.path()).canonicalFilePath();
    Capture c = [] {
        const QDateTime createdAt({2026, 3, 14}, {9, 5, 7}, Qt::UTC);
        Capture c(QUuid("1A2B3C4D-0000-4000-8000-000000000001"), ReferenceDate::fromDateTime(createdAt), body, {}, {});
        c.timeZoneIdentifier = "UTC";
        return c;
    }();
    Destination d = destination(DeliveryMode::newNote, "Inbox");
    CaptureFileWriter w = writer();
};

// Which file a path names: device and inode, 0 when nothing is there.
std::pair<dev_t, ino_t> fileAt(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {info.st_dev, info.st_ino};
}

std::function<void(Sandbox&)> refusingLinks(int errnoValue)
{
    return [errnoValue](Sandbox& x) {
        x.w.setHardLinkForTesting([errnoValue](const QString&, const QString& target) {
            throw FileSystemError(FileSystemError::Operation::link, target, errnoValue);
        });
    };
}

} // namespace

TEST(CaptureFileWriterTest, WritesTheExactNoteOfEachMode)
{
    if (!QTimeZone(QByteArrayLiteral("Pacific/Pago_Pago")).isValid())
        GTEST_SKIP() << "tzdata is not installed";
    const QByteArray bom = "\xEF\xBB\xBF";
    const QDateTime inSystemZone = Sandbox().c.createdAt.toDateTime().toTimeZone(QTimeZone::systemTimeZone());
    using M = DeliveryMode;
    const struct {
        DeliveryMode mode;
        QString path;
        std::optional<QByteArray> existing;   // at the expected path
        QString expectedPath;
        QByteArray expectedNote;
        QString captureZone = "UTC";
        std::optional<QTimeZone> writerZone = {};
    } cases[] = {
        {M::newNote, "Inbox", {}, newNote, frontMatter()},
        {M::dailyNote, "Daily", "# Day\n", "Daily/2026-03-14.md", "# Day\n" + section()},
        {M::appendNote, "Journal/Log", "abc", "Journal/Log.md", "abc" + section()},
        {M::appendNote, "Journal/Log", "abc\n\n", "Journal/Log.md", "abc\n\n" + section()},
        {M::appendNote, "Journal/Log", "", "Journal/Log.md", section()},
        {M::appendNote, "Log.md", bom + "abc\r\n", "Log.md", bom + "abc\r\n" + section()},
        {M::appendNote, "Notes.MD", {}, "Notes.MD.md", section()},
        // Names and headings follow the capture's own zone; "created" stays in UTC.
        {M::dailyNote, "", {}, "2026-03-13.md", section("22:05:07"), "Pacific/Pago_Pago"},
        {M::newNote, "", {}, "2026-03-13 220507-1A2B3C4D.md", frontMatter(), "Pacific/Pago_Pago"},
        {M::dailyNote, "", {}, "2026-03-14.md", section(), "Pacific/Pago_Pago", QTimeZone::utc()},
        {M::dailyNote, "", {}, QLocale::c().toString(inSystemZone, "yyyy-MM-dd") + ".md",
         section(QLocale::c().toString(inSystemZone, "HH:mm:ss").toUtf8()), "Nowhere/Atlantis"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.path + " holding " + c.existing.value_or("nothing") + " in " + c.captureZone).toStdString());
        Sandbox sandbox;
        if (c.existing)
            test::put(sandbox.at(c.expectedPath), *c.existing);
        sandbox.c.timeZoneIdentifier = c.captureZone;
        const QString path = sandbox.writer(c.writerZone).save(sandbox.c, sandbox.destination(c.mode, c.path));
        EXPECT_EQ(path, sandbox.at(c.expectedPath));
        EXPECT_EQ(test::contents(path), c.expectedNote);
        EXPECT_EQ(test::contents(sandbox.backup()), c.existing);   // even an empty note is backed up
        EXPECT_EQ(sandbox.leftovers(), QStringList());
    }
}

TEST(CaptureFileWriterTest, DeliveringTheSameCaptureTwiceWritesItOnce)
{
    for (const DeliveryMode mode : DeliveryModes::allCases()) {
        SCOPED_TRACE(DeliveryModes::rawValue(mode).toStdString());
        Sandbox sandbox;
        sandbox.d = sandbox.destination(mode, "Log");
        sandbox.withImage(body + image().token());
        if (mode == DeliveryMode::appendNote)
            test::put(sandbox.at("Log.md"), "abc\n");
        const QString first = sandbox.w.save(sandbox.c, sandbox.d);
        const std::optional<QByteArray> note = test::contents(first);
        ASSERT_TRUE(note && QFile::exists(sandbox.at(imageFile)));
        // With these gone, a second delivery that wrote anything would show.
        QFile::remove(sandbox.backup());
        QFile::remove(sandbox.at(imageFile));

        EXPECT_EQ(sandbox.w.save(sandbox.c, sandbox.d), first);
        EXPECT_EQ(test::contents(first), note);
        EXPECT_EQ(note->count(marker), 1);
        EXPECT_FALSE(QFile::exists(sandbox.backup()) || QFile::exists(sandbox.at(imageFile)));
    }
}

// A send that reached the note but was never confirmed leaves the draft, with
// the same id, to be changed and sent again: only the very text delivered
// counts as delivered.
TEST(CaptureFileWriterTest, AMarkerFoundWithOtherTextIsNeverCalledDelivered)
{
    const QString changed = body + "SUITE IMPORTANTE";
    const QString shortened = "second line";
    const QString same = body + image().token();
    // The user's own layout: Markdown reads each of these differently.
    const QString lineJoined = QString(same).replace("first line\n\n", "first line\n");
    const QString hardBreak = QString(same).replace("first line", "first line  ");
    const QString blankRun = QString(same).replace("first line\n\n", "first line\n\n\n\n");
    // What the user's notes app, a formatter or a sync tool may make of the
    // note between the send and its retry.
    using Tidy = QByteArray (*)(QByteArray);
    const Tidy untouched = [](QByteArray note) { return note; };
    const Tidy headingBlankLines = [](QByteArray note) { return note.replace("\n\n## ", "## ") + "\n\n"; };
    const Tidy crlf = [](QByteArray note) { return note.replace("\n", "\r\n"); };
    const Tidy carriageReturns = [](QByteArray note) { return note.replace("\n", "\r"); };
    const Tidy trailingBlanks = [](QByteArray note) { return note.replace(" \n", "\n") + " \t\n"; };
    const Tidy byteOrderMark = [](QByteArray note) { return "\xEF\xBB\xBF" + note.chopped(1); };
    const Tidy blankRunsCollapsed = [](QByteArray note) { return note.replace("\n\n\n\n", "\n\n"); };
    const Tidy bodyBlankLineRemoved = [](QByteArray note) { return note.replace("first line\n\n", "first line\n"); };
    // After the heading (the front matter of a new note), and before the marker.
    const Tidy sectionBlankLines = [](QByteArray note) {
        return note.replace(":07\n\n", ":07\n").replace("---\n\n", "---\n").replace("\n\n<!--", "\n<!--");
    };
    const Tidy everything = [](QByteArray note) {
        return note.replace(" \n", "\n").replace("\n\n<!--", "\n<!--").replace("\n", "\r\n");
    };
    const struct {
        const char* name;
        QString sent, resent;
        Tidy tidy;
        bool held;
    } cases[] = {
        {"text added", same, changed, untouched, false},
        {"start removed", same, shortened, untouched, false},
        {"image removed", same, body, untouched, false},
        {"the same text", same, same, untouched, true},
        {"the same text, the note tidied", same, same, headingBlankLines, true},
        {"the same text, CRLF line ends", same, same, crlf, true},
        {"the same text, CR line ends", same, same, carriageReturns, true},
        {"the same text, blanks at line ends stripped", same, same, trailingBlanks, true},
        {"the same text, a byte-order mark and no final newline", same, same, byteOrderMark, true},
        {"the same text, blank lines in the section removed", same, same, sectionBlankLines, true},
        {"the same text, a run of blank lines made one", blankRun, blankRun, blankRunsCollapsed, true},
        {"the same text, a hard break kept through CRLF", hardBreak, hardBreak, crlf, true},
        {"a word changed, the note tidied", same, QString(same).replace("second", "third"), everything, false},
        {"a line joined, the note tidied", same, QString(same).replace(" \n\n", " "), everything, false},
        {"a blank line removed between two lines", same, lineJoined, untouched, false},
        {"a blank line added between two lines", lineJoined, same, untouched, false},
        {"a blank line removed, the note tidied", same, lineJoined, everything, false},
        {"a hard break added", same, hardBreak, untouched, false},
        {"a hard break removed", hardBreak, same, untouched, false},
        // The note no longer holds the text as the user wrote it: a second
        // copy is the safe side.
        {"the same text, a blank line of the body removed", same, same, bodyBlankLineRemoved, false},
        {"the same text, a hard break stripped", hardBreak, hardBreak, trailingBlanks, false},
    };
    for (const DeliveryMode mode : DeliveryModes::allCases()) {
        for (const auto& c : cases) {
            SCOPED_TRACE(DeliveryModes::rawValue(mode).toStdString() + ", " + c.name);
            Sandbox sandbox;
            sandbox.d = sandbox.destination(mode, "Log");
            sandbox.withImage(c.sent);
            const QString note = sandbox.w.save(sandbox.c, sandbox.d);
            test::put(note, c.tidy(*test::contents(note)));
            const std::optional<QByteArray> delivered = test::contents(note);
            QFile::remove(sandbox.at(imageFile));

            sandbox.c.body = c.resent;
            if (c.held) {
                EXPECT_EQ(sandbox.w.save(sandbox.c, sandbox.d), note);
            } else {
                try {
                    sandbox.w.save(sandbox.c, sandbox.d);
                    ADD_FAILURE() << "delivered";
                } catch (const CaptureError& error) {
                    EXPECT_EQ(error.kind(), CaptureError::Kind::deliveredWithOtherText);
                }
            }
            EXPECT_EQ(test::contents(note), delivered);
            EXPECT_FALSE(QFile::exists(sandbox.backup()) || QFile::exists(sandbox.at(imageFile)));
        }
    }
}

TEST(CaptureFileWriterTest, FailuresLeaveTheNoteAlone)
{
    using Kind = CaptureError::Kind;
    // Files that must then hold these bytes, or be absent; "backup" is the note's backup.
    using Files = QList<std::pair<QString, std::optional<QByteArray>>>;
    const QByteArray notUtf8 = "\xFF\xFE" + marker;
    const struct {
        const char* name;
        std::function<void(Sandbox&)> arrange;
        Kind expected;
        Files files;
    } cases[] = {
        {"blank body, with attachments and no vault",
         [](Sandbox& x) { x.withImage(" \n\t\u2028 "); x.d.vaultPath = x.base + "/Nowhere"; }, Kind::empty, {}},
        {"missing vault", [](Sandbox& x) { x.d.vaultPath = x.base + "/Nowhere"; }, Kind::missingVault, {}},
        {"invalid destination", [](Sandbox& x) { test::put(x.at("Inbox"), "file"); }, Kind::invalidPath,
         {{"Inbox", "file"}}},
        {"note folder through a symbolic link",
         [](Sandbox& x) { QDir().mkpath(x.base + "/Out"); QFile::link(x.base + "/Out", x.at("L")); x.d.path = "L"; },
         Kind::invalidPath, {{"../Out/2026-03-14 090507-1A2B3C4D.md", {}}}},
        {"non-UTF-8 note holding the marker", [&](Sandbox& x) { x.appendTo(notUtf8); }, Kind::invalidUTF8,
         {{"Log.md", notUtf8}, {"backup", {}}}},
        {"new note's file already there", [](Sandbox& x) { test::put(x.at(newNote), "theirs"); },
         Kind::modifiedDuringWrite, {{newNote, "theirs"}}},
        {"attachment changed at its earlier path",
         [](Sandbox& x) {
             x.withImage();
             x.c.imageReferences = QList<ImageReference>{{imageID, imageFile, std::nullopt}};
             test::put(x.at(imageFile), "other bytes");
         },
         Kind::modifiedDuringWrite, {{imageFile, "other bytes"}, {newNote, {}}}},
        {"attachment file changed by someone else",
         [](Sandbox& x) {
             x.withImage();
             x.w.setAttachmentResolvedHookForTesting([](const QString& path) { test::put(path, "other bytes"); });
         },
         Kind::modifiedDuringWrite, {{imageFile, "other bytes"}, {newNote, {}}}},
        {"leftover token, after the other attachments",
         [](Sandbox& x) { x.withImage(image().token() + image(QUuid::createUuid()).token()); }, Kind::invalidAttachment,
         {{imageFile, "PNG bytes"}, {newNote, {}}}},
        {"note appeared", [](Sandbox& x) { x.appendTo({}); x.onRecheck("Log.md", "theirs"); }, Kind::modifiedDuringWrite,
         {{"Log.md", "theirs"}, {"backup", {}}}},
        {"new note appeared", [](Sandbox& x) { x.onRecheck(newNote, "theirs"); }, Kind::modifiedDuringWrite,
         {{newNote, "theirs"}}},
        {"note vanished", [](Sandbox& x) { x.appendTo("mine"); x.onRecheck("Log.md", {}); }, Kind::modifiedDuringWrite,
         {{"Log.md", {}}, {"backup", "mine"}}},
        {"note changed", [](Sandbox& x) { x.appendTo("mine"); x.onRecheck("Log.md", "edited"); }, Kind::modifiedDuringWrite,
         {{"Log.md", "edited"}, {"backup", "mine"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox sandbox;
        c.arrange(sandbox);
        const auto error = test::thrown<CaptureError>([&] { sandbox.w.save(sandbox.c, sandbox.d); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), c.expected);
        for (const auto& [file, bytes] : c.files)
            EXPECT_EQ(test::contents(file == "backup" ? sandbox.backup() : sandbox.at(file)), bytes) << file.toStdString();
        EXPECT_EQ(sandbox.leftovers(), QStringList());
    }
}

TEST(CaptureFileWriterTest, PlacesTheAttachmentsTheBodyRefersTo)
{
    Sandbox sandbox;
    const CaptureAttachment pdf(QUuid::createUuid(), "document", "pdf", true);
    const CaptureAttachment earlier = image(QUuid::createUuid(), "earlier");
    sandbox.c.body = image().token() + "\n" + pdf.token() + "\n" + earlier.token();
    sandbox.c.attachments = {image(), pdf, image(QUuid::createUuid(), "unused"), earlier};
    sandbox.c.imageReferences = QList<ImageReference>{{earlier.id, "Pictures/old.png", std::nullopt}};
    // Identical bytes are used as they are; other bytes under the name push the file to a hashed name.
    const QString pdfFile = "Attachments/Quillor/" + pdf.token().mid(16, 36) + ".pdf";
    const QString hashed = QCryptographicHash::hash("document", QCryptographicHash::Sha256).left(8).toHex();
    const QString pdfHashed = QString(pdfFile).replace(".pdf", "-" + hashed + ".pdf");
    test::put(sandbox.at(imageFile), "PNG bytes");
    test::put(sandbox.at(pdfFile), "theirs");

    const QString path = sandbox.w.save(sandbox.c, sandbox.destination(DeliveryMode::dailyNote, "Daily"));

    EXPECT_EQ(test::contents(path),
              section("09:05:07", "![[" + imageFile.toUtf8() + "]]\n[[" + pdfHashed.toUtf8() + "]]\n![[Pictures/old.png]]"));
    EXPECT_EQ(test::contents(sandbox.at(pdfHashed)), "document");
    EXPECT_EQ(test::contents(sandbox.at(pdfFile)), "theirs");
    EXPECT_EQ(test::contents(sandbox.at("Pictures/old.png")), "earlier");
    EXPECT_EQ(QDir(sandbox.at("Attachments/Quillor")).entryList(QDir::Files).size(), 3);   // nothing unused
}

TEST(CaptureFileWriterTest, WriteNewNeverOverwritesWhicheverWayItPublishes)
{
    using Publication = CaptureFileWriter::Publication;
    // File systems without hard links (vfat, exFAT, some FUSE and network mounts) refuse link(2) with EPERM or
    // EOPNOTSUPP; the writer then falls back to a no-replace rename. Any other failure is the user's to see.
    const std::tuple<Publication, int, bool> cases[] = {
        {Publication::hardLink, 0, true}, {Publication::move, 0, true}, {Publication::hardLink, EOPNOTSUPP, true},
        {Publication::hardLink, EACCES, false},
    };
    for (const auto& [publication, linkErrno, published] : cases) {
        SCOPED_TRACE(linkErrno);
        Sandbox sandbox;
        sandbox.w = CaptureFileWriter(sandbox.base + "/Backups", publication);
        if (linkErrno != 0)
            refusingLinks(linkErrno)(sandbox);
        const auto failure = [&](const QString& path) { return test::errnoOf([&] { sandbox.w.writeNew("mine", path); }); };
        EXPECT_EQ(failure(sandbox.at("new.md")), published ? 0 : linkErrno);
        EXPECT_EQ(test::contents(sandbox.at("new.md")), published ? std::optional<QByteArray>("mine") : std::nullopt);
        test::put(sandbox.at("taken.md"), "theirs");
        EXPECT_EQ(failure(sandbox.at("taken.md")), published ? EEXIST : linkErrno);
        EXPECT_EQ(test::contents(sandbox.at("taken.md")), "theirs");
        EXPECT_EQ(sandbox.leftovers(), QStringList());
    }
}

// Leaves a file (or what `make` puts there) whose last change was `minutes` ago.
void leaveOld(const QString& path, int minutes, const std::function<void(const QString&)>& make = {})
{
    if (make)
        make(path);
    else
        test::put(path, "left by a crash");
    const timespec then{::time(nullptr) - minutes * 60, 0};
    const timespec times[2] = {then, then};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0) << path.toStdString();
}

TEST(CaptureFileWriterTest, PublishingIntoAFolderRemovesOnlyItsOwnStaleTemporaryFiles)
{
    const QString id = QStringLiteral("0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F1");
    const QString own = ".quillor-" + id + ".tmp";
    const auto folder = [](const QString& path) { QDir().mkpath(path); };
    const auto link = [](const QString& path) { QFile::link(QStringLiteral("/etc/hostname"), path); };
    const struct {
        QString relative;
        int minutes;
        std::function<void(const QString&)> make;
        bool removed;
    } cases[] = {
        {"Inbox/" + own, 16, {}, true},
        {"Attachments/Quillor/" + own, 60, {}, true},
        {own, 16, {}, true},   // beside the appended note
        {"Inbox/.quillor-0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F2.tmp", 14, {}, false},   // maybe still being written
        {"Inbox/" + own.toLower(), 16, {}, false},
        {"Inbox/.Quillor-" + id + ".tmp", 16, {}, false},   // another program's names, only alike
        {"Inbox/.quillor-" + id + ".TMP", 16, {}, false},
        {"Inbox/.quillor-notes.tmp", 16, {}, false},
        {"Inbox/quillor-" + id + ".tmp", 16, {}, false},
        {"Inbox/.quillor-" + id + ".tmp.md", 16, {}, false},
        {"Attachments/.quillor-0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F3.tmp", 16, {}, false},   // nothing published there
        {"Attachments/Quillor/.quillor-0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F4.tmp", 16, folder, false},
        {"Attachments/Quillor/.quillor-0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F5.tmp", 16, link, false},
    };
    Sandbox sandbox;
    for (const auto& c : cases) {
        QDir().mkpath(QFileInfo(sandbox.at(c.relative)).path());
        leaveOld(sandbox.at(c.relative), c.minutes, c.make);
    }
    sandbox.w.save(sandbox.c, sandbox.d);   // a new note in Inbox
    sandbox.withImage();
    sandbox.appendTo("# Log\n");   // an image, and a note at the vault's top
    sandbox.w.save(sandbox.c, sandbox.d);
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo::exists(sandbox.at(c.relative)) || QFileInfo(sandbox.at(c.relative)).isSymLink(), !c.removed)
            << c.relative.toStdString();
}

TEST(CaptureFileWriterTest, BacksUpANoteByLinkingItsFormerFileOrElseByACopy)
{
    const struct {
        const char* name;
        std::function<void(Sandbox&)> arrange;
        bool linked;   // the backup is the note's former file rather than a copy
    } cases[] = {
        {"hard links", [](Sandbox&) {}, true},
        {"a file system without hard links", refusingLinks(EPERM), false},
        {"backups on another file system", refusingLinks(EXDEV), false},
        {"any other refusal", refusingLinks(EACCES), false},
        // A write through the other name would otherwise change the backup.
        {"a note with another hard link",
         [](Sandbox& x) {
             ASSERT_EQ(::link(QFile::encodeName(x.at("Log.md")), QFile::encodeName(x.base + "/Other.md")), 0);
         },
         false},
        {"an earlier backup of this capture", [](Sandbox& x) { test::put(x.backup(), "older"); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox sandbox;
        sandbox.appendTo("mine");
        c.arrange(sandbox);
        const auto former = fileAt(sandbox.at("Log.md"));

        sandbox.w.save(sandbox.c, sandbox.d);

        EXPECT_EQ(test::contents(sandbox.backup()), "mine");
        EXPECT_EQ(test::contents(sandbox.at("Log.md")), "mine" + section());
        EXPECT_EQ(fileAt(sandbox.backup()) == former, c.linked);
        // Later writes to the note, or to any other name of its former file, leave the backup alone.
        test::put(sandbox.at("Log.md"), "later");
        if (QFile::exists(sandbox.base + "/Other.md"))
            test::put(sandbox.base + "/Other.md", "later");
        EXPECT_EQ(test::contents(sandbox.backup()), "mine");
        EXPECT_EQ(sandbox.leftovers(), QStringList());
    }
}

TEST(CaptureFileWriterTest, ABackupLinkedToAFileSwappedOutOfThePathBecomesACopy)
{
    // Another program puts a file with the same bytes in the note's place after the backup was linked, then
    // writes into the former file through a descriptor it kept (played here through the backup's name). The
    // note still holds the bytes first read, so the delivery goes on; the backup must hold them too.
    Sandbox sandbox;
    sandbox.appendTo("mine");
    sandbox.w.setBeforeRecheckHookForTesting([&] {
        test::put(sandbox.at("Swap.md"), "mine");
        ASSERT_EQ(::rename(QFile::encodeName(sandbox.at("Swap.md")), QFile::encodeName(sandbox.at("Log.md"))), 0);
        test::put(sandbox.backup(), "theirs");
    });
    sandbox.w.save(sandbox.c, sandbox.d);
    EXPECT_EQ(test::contents(sandbox.at("Log.md")), "mine" + section());
    EXPECT_EQ(test::contents(sandbox.backup()), "mine");
}

TEST(CaptureFileWriterTest, ReadOnlyFoldersGiveTheFrenchErrorAndNoLinkedBackup)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    for (const DeliveryMode mode : {DeliveryMode::newNote, DeliveryMode::appendNote}) {
        SCOPED_TRACE(DeliveryModes::rawValue(mode).toStdString());
        Sandbox sandbox;
        const QString folder = sandbox.at("Inbox");
        sandbox.d = sandbox.destination(mode, mode == DeliveryMode::newNote ? "Inbox" : "Inbox/Log");
        test::put(sandbox.at("Inbox/Log.md"), "mine");
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        const auto error = test::thrown<FileSystemError>([&] { sandbox.w.save(sandbox.c, sandbox.d); });
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->errnoValue(), EACCES);
        EXPECT_TRUE(error->localizedDescription().startsWith("Permission refusée")) << error->what();
        EXPECT_TRUE(error->localizedDescription().contains(folder)) << error->what();
        // The note keeps its file; a backup still linked to it would follow the user's next edit.
        test::put(sandbox.at("Inbox/Log.md"), "edited in place");
        EXPECT_EQ(test::contents(sandbox.backup()),
                  mode == DeliveryMode::appendNote ? std::optional<QByteArray>("mine") : std::nullopt);
    }
}

TEST(DeliveryTest, SavesOneAtATimeAndHandsBackPathsAndErrors)
{
    Sandbox sandbox;
    sandbox.appendTo({});
    const auto save = [&](Delivery& delivery, const QString& text) {
        return delivery.save(Capture(QUuid::createUuid(), ReferenceDate::now(), text, {}, std::nullopt), sandbox.d);
    };
    // Concurrent appends to one note would trip each other's change check.
    QList<QFuture<QString>> futures;
    QFuture<QString> blank;
    {
        Delivery delivery(sandbox.base + "/Backups");
        for (int i = 0; i < 4; ++i)
            futures.append(save(delivery, QString("entry %1").arg(i)));
        blank = save(delivery, " \n ");
    }   // the destructor waits for every queued save
    for (const QFuture<QString>& future : futures) {
        ASSERT_TRUE(future.isFinished());
        EXPECT_EQ(Delivery::result(future), sandbox.at("Log.md"));
    }
    EXPECT_EQ(test::contents(sandbox.at("Log.md"))->count("<!-- quillor:"), 4);
    EXPECT_EQ(test::thrown<CaptureError>([&] { Delivery::result(blank); }), CaptureError::empty());
}
