#include "core/CaptureFileWriter.h"

#include "core/CaptureError.h"
#include "core/FileSystemError.h"
#include "core/L10n.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillor;

namespace {

const QUuid captureID(QStringLiteral("{1A2B3C4D-0000-4000-8000-000000000001}"));
const QString idText = QStringLiteral("1A2B3C4D-0000-4000-8000-000000000001");
const QByteArray marker = "<!-- quillor:1A2B3C4D-0000-4000-8000-000000000001 -->";
const QUuid imageID(QStringLiteral("{AAAAAAAA-0000-4000-8000-000000000001}"));
const QUuid fileID(QStringLiteral("{BBBBBBBB-0000-4000-8000-000000000002}"));
const QUuid unusedID(QStringLiteral("{CCCCCCCC-0000-4000-8000-000000000003}"));
const QUuid earlierID(QStringLiteral("{DDDDDDDD-0000-4000-8000-000000000004}"));
const QString body = QStringLiteral("  \n first line\n\nsecond line \n\n");
const QByteArray trimmedBody = "first line\n\nsecond line";

QDateTime utc(int day, int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second), Qt::UTC);
}

QByteArray frontMatter(const QByteArray& created = "2026-03-14T09:05:07Z")
{
    return "---\nquillor_id: " + idText.toUtf8() + "\ncreated: " + created + "\n---\n\n" + trimmedBody + "\n\n"
        + marker + "\n";
}

QByteArray section(const QByteArray& time = "09:05:07")
{
    return "\n\n## " + time + "\n\n" + trimmedBody + "\n\n" + marker + "\n";
}

QString hashed(const QByteArray& data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).left(8).toHex());
}

// One throw-away vault with a backup folder beside it.
class Sandbox {
public:
    Sandbox()
    {
        base = QFileInfo(dir.path()).canonicalFilePath();
        QDir().mkpath(vault());
    }

    QString vault() const { return base + QStringLiteral("/Vault"); }
    QString backups() const { return base + QStringLiteral("/Backups"); }
    QString backup() const { return backups() + QLatin1Char('/') + idText + QStringLiteral(".md"); }
    QString at(const QString& relative) const { return vault() + QLatin1Char('/') + relative; }

    void put(const QString& path, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static std::optional<QByteArray> read(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }

    // Hidden temporary files left anywhere under the sandbox.
    QStringList leftovers() const
    {
        QStringList found;
        QDirIterator it(base, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (QFileInfo(path).fileName().startsWith(QStringLiteral(".quillor-")))
                found.append(path);
        }
        return found;
    }

    Capture capture(const QString& text = body, const QDateTime& date = utc(14, 9, 5, 7)) const
    {
        Capture capture(captureID, ReferenceDate::fromDateTime(date), text, {}, std::nullopt);
        capture.timeZoneIdentifier = QStringLiteral("UTC");
        return capture;
    }
    Destination destination(DeliveryMode mode, const QString& path) const
    {
        return Destination(QUuid::createUuid(), QStringLiteral("Notes"), {}, vault(), mode, path,
                           QStringLiteral("Attachments/Quillor"));
    }
    CaptureFileWriter writer(CaptureFileWriter::Publication publication = CaptureFileWriter::Publication::hardLink)
        const
    {
        return CaptureFileWriter(backups(), publication, QTimeZone::utc());
    }

    QTemporaryDir dir;
    QString base;
};

CaptureAttachment image(const QUuid& id, const QByteArray& data = "PNG bytes")
{
    return CaptureAttachment(id, data, QStringLiteral("PNG"));
}

QString token(const QUuid& id)
{
    return image(id).token();
}

QString idUpper(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

ino_t inode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

TEST(CaptureFileWriterTest, WritesTheExactNoteOfEachMode)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    struct Case {
        const char* name;
        DeliveryMode mode;
        QString path;
        std::optional<QByteArray> existing;   // at the expected note path
        QString expectedPath;
        QByteArray expectedNote;
    };
    const QList<Case> cases = {
        {"new note in a folder", DeliveryMode::newNote, "Inbox", std::nullopt,
         "Inbox/2026-03-14 090507-1A2B3C4D.md", frontMatter()},
        {"new note at the vault root", DeliveryMode::newNote, "", std::nullopt, "2026-03-14 090507-1A2B3C4D.md",
         frontMatter()},
        {"daily note created", DeliveryMode::dailyNote, "Daily", std::nullopt, "Daily/2026-03-14.md", section()},
        {"daily note at the root", DeliveryMode::dailyNote, "", std::nullopt, "2026-03-14.md", section()},
        {"daily note appended", DeliveryMode::dailyNote, "Daily", QByteArray("# Day\n"), "Daily/2026-03-14.md",
         "# Day\n" + section()},
        {"no final line feed", DeliveryMode::appendNote, "Journal/Log", QByteArray("abc"), "Journal/Log.md",
         "abc" + section()},
        {"one final line feed", DeliveryMode::appendNote, "Journal/Log", QByteArray("abc\n"), "Journal/Log.md",
         "abc\n" + section()},
        {"two final line feeds", DeliveryMode::appendNote, "Journal/Log", QByteArray("abc\n\n"), "Journal/Log.md",
         "abc\n\n" + section()},
        {"empty note", DeliveryMode::appendNote, "Journal/Log", QByteArray(""), "Journal/Log.md", section()},
        {"byte-order mark kept", DeliveryMode::appendNote, "Log.md", bom + "abc\r\n", "Log.md",
         bom + "abc\r\n" + section()},
        {"append note created", DeliveryMode::appendNote, "Journal/today", std::nullopt, "Journal/today.md",
         section()},
        {"append path with .md", DeliveryMode::appendNote, "today.md", std::nullopt, "today.md", section()},
        {"extension test is case-sensitive", DeliveryMode::appendNote, "Notes.MD", std::nullopt, "Notes.MD.md",
         section()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox sandbox;
        if (c.existing)
            sandbox.put(sandbox.at(c.expectedPath), *c.existing);

        const QString path = sandbox.writer().save(sandbox.capture(), sandbox.destination(c.mode, c.path));

        EXPECT_EQ(path, sandbox.at(c.expectedPath));
        EXPECT_EQ(Sandbox::read(path), c.expectedNote);
        // The backup holds the note exactly as it was, even an empty one.
        EXPECT_EQ(Sandbox::read(sandbox.backup()), c.existing);
        EXPECT_EQ(sandbox.leftovers(), QStringList());
    }
}

TEST(CaptureFileWriterTest, NamesAndHeadingsUseTheDeliveryTimeZone)
{
    if (!QTimeZone(QByteArrayLiteral("Asia/Tokyo")).isValid())
        GTEST_SKIP() << "tzdata is not installed";
    const QDateTime lateEvening = utc(14, 23, 30, 0);
    const QDateTime inSystemZone = lateEvening.toTimeZone(QTimeZone::systemTimeZone());
    const QString systemDay = QLocale::c().toString(inSystemZone, QStringLiteral("yyyy-MM-dd"));
    const QByteArray systemTime = QLocale::c().toString(inSystemZone, QStringLiteral("HH:mm:ss")).toUtf8();

    struct Case {
        const char* name;
        std::optional<QTimeZone> writerZone;
        QString captureZone;
        DeliveryMode mode;
        QString expectedPath;
        QByteArray expectedNote;
    };
    const QList<Case> cases = {
        {"daily note by the capture's date", std::nullopt, "Asia/Tokyo", DeliveryMode::dailyNote, "2026-03-15.md",
         section("08:30:00")},
        {"new note by the capture's time, created in UTC", std::nullopt, "Asia/Tokyo", DeliveryMode::newNote,
         "2026-03-15 083000-1A2B3C4D.md", frontMatter("2026-03-14T23:30:00Z")},
        {"the writer's zone wins", QTimeZone::utc(), "Asia/Tokyo", DeliveryMode::dailyNote, "2026-03-14.md",
         section("23:30:00")},
        {"unknown zone falls back to the system's", std::nullopt, "Nowhere/Atlantis", DeliveryMode::dailyNote,
         systemDay + ".md", section(systemTime)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox sandbox;
        Capture capture = sandbox.capture(body, lateEvening);
        capture.timeZoneIdentifier = c.captureZone;
        const CaptureFileWriter writer(sandbox.backups(), CaptureFileWriter::Publication::hardLink, c.writerZone);

        const QString path = writer.save(capture, sandbox.destination(c.mode, QString()));

        EXPECT_EQ(path, sandbox.at(c.expectedPath));
        EXPECT_EQ(Sandbox::read(path), c.expectedNote);
    }
}

TEST(CaptureFileWriterTest, DeliveringTheSameCaptureTwiceWritesItOnce)
{
    struct Case {
        const char* name;
        DeliveryMode mode;
        QString path;
        std::optional<QByteArray> existing;
    };
    const QList<Case> cases = {
        {"append note", DeliveryMode::appendNote, "Log", QByteArray("abc\n")},
        {"daily note", DeliveryMode::dailyNote, "Daily", std::nullopt},
        {"new note", DeliveryMode::newNote, "Inbox", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox sandbox;
        const Destination destination = sandbox.destination(c.mode, c.path);
        Capture capture = sandbox.capture(body + token(imageID));
        capture.attachments = {image(imageID)};
        if (c.existing)
            sandbox.put(sandbox.at(c.path + ".md"), *c.existing);
        const QString attachment = sandbox.at("Attachments/Quillor/" + idUpper(imageID) + ".png");

        const QString first = sandbox.writer().save(capture, destination);
        const std::optional<QByteArray> note = Sandbox::read(first);
        ASSERT_TRUE(note);
        ASSERT_TRUE(QFile::exists(attachment));
        // With these gone, a second delivery that wrote anything would show.
        QFile::remove(sandbox.backup());
        QFile::remove(attachment);

        EXPECT_EQ(sandbox.writer().save(capture, destination), first);
        EXPECT_EQ(Sandbox::read(first), note);
        EXPECT_EQ(note->count(marker), 1);
        EXPECT_FALSE(QFile::exists(sandbox.backup()));
        EXPECT_FALSE(QFile::exists(attachment));
    }
}

TEST(CaptureFileWriterTest, FailuresLeaveTheNoteAlone)
{
    using Kind = CaptureError::Kind;
    using Arrange = std::function<void(Sandbox&, Capture&, Destination&, CaptureFileWriter&)>;
    using Verify = std::function<void(const Sandbox&)>;
    const QString newNote = QStringLiteral("Inbox/2026-03-14 090507-1A2B3C4D.md");
    const QString imageFile = "Attachments/Quillor/" + idUpper(imageID) + ".png";
    const auto appendTo = [](const QByteArray& existing) {
        return [existing](Sandbox& s, Capture&, Destination& d, CaptureFileWriter&) {
            d = s.destination(DeliveryMode::appendNote, QStringLiteral("Log"));
            s.put(s.at("Log.md"), existing);
        };
    };
    const auto noteIs = [](const QString& relative, const std::optional<QByteArray>& expected) {
        return [relative, expected](const Sandbox& s) { EXPECT_EQ(Sandbox::read(s.at(relative)), expected); };
    };
    const auto backupIs = [](const std::optional<QByteArray>& expected) {
        return [expected](const Sandbox& s) { EXPECT_EQ(Sandbox::read(s.backup()), expected); };
    };

    struct Case {
        const char* name;
        Arrange arrange;
        Kind expected;
        QList<Verify> verify;
    };
    const QList<Case> cases = {
        {"blank body, even with attachments and no vault",
         [](Sandbox& s, Capture& c, Destination& d, CaptureFileWriter&) {
             c.body = QStringLiteral(" \n\t\u2028 ");
             c.attachments = {image(imageID)};
             d.vaultPath = s.base + "/Nowhere";
         },
         Kind::empty, {}},
        {"no vault path", [](Sandbox&, Capture&, Destination& d, CaptureFileWriter&) { d.vaultPath.clear(); },
         Kind::missingVault, {}},
        {"missing vault",
         [](Sandbox& s, Capture&, Destination& d, CaptureFileWriter&) { d.vaultPath = s.base + "/Nowhere"; },
         Kind::missingVault, {}},
        {"vault is a file",
         [](Sandbox& s, Capture&, Destination& d, CaptureFileWriter&) {
             s.put(s.base + "/File", "x");
             d.vaultPath = s.base + "/File";
         },
         Kind::missingVault, {}},
        {"destination fails validation",
         [](Sandbox& s, Capture&, Destination&, CaptureFileWriter&) { s.put(s.at("Inbox"), "a file"); },
         Kind::invalidPath, {noteIs("Inbox", QByteArray("a file"))}},
        {"append note without a path",
         [](Sandbox& s, Capture&, Destination& d, CaptureFileWriter&) {
             d = s.destination(DeliveryMode::appendNote, QString());
         },
         Kind::invalidPath, {}},
        {"note folder through a symbolic link",
         [](Sandbox& s, Capture&, Destination& d, CaptureFileWriter&) {
             QDir().mkpath(s.base + "/Outside");
             QFile::link(s.base + "/Outside", s.at("Link"));
             d.path = QStringLiteral("Link");
         },
         Kind::invalidPath,
         {[](const Sandbox& s) {
             EXPECT_TRUE(QDir(s.base + "/Outside").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
         }}},
        {"non-UTF-8 note holding the marker", appendTo("\xFF\xFE" + marker), Kind::invalidUTF8,
         {noteIs("Log.md", "\xFF\xFE" + marker), backupIs(std::nullopt)}},
        {"new note's file already there",
         [newNote](Sandbox& s, Capture&, Destination&, CaptureFileWriter&) { s.put(s.at(newNote), "theirs"); },
         Kind::modifiedDuringWrite, {noteIs(newNote, QByteArray("theirs"))}},
        {"attachment moved from its earlier path",
         [imageFile](Sandbox& s, Capture& c, Destination&, CaptureFileWriter&) {
             c.body = token(imageID);
             c.attachments = {image(imageID)};
             c.imageReferences = QList<ImageReference>{{imageID, imageFile, std::nullopt}};
             s.put(s.at(imageFile), "other bytes");
         },
         Kind::modifiedDuringWrite, {noteIs(imageFile, QByteArray("other bytes")), noteIs(newNote, std::nullopt)}},
        {"attachment file changed by someone else",
         [](Sandbox& s, Capture& c, Destination&, CaptureFileWriter& w) {
             c.body = token(imageID);
             c.attachments = {image(imageID)};
             w.setAttachmentResolvedHookForTesting([&s](const QString& path) { s.put(path, "other bytes"); });
         },
         Kind::modifiedDuringWrite, {noteIs(imageFile, QByteArray("other bytes")), noteIs(newNote, std::nullopt)}},
        {"leftover token, after the other attachments",
         [](Sandbox&, Capture& c, Destination&, CaptureFileWriter&) {
             c.body = token(imageID) + " " + token(unusedID);
             c.attachments = {image(imageID)};
         },
         Kind::invalidAttachment, {noteIs(imageFile, QByteArray("PNG bytes")), noteIs(newNote, std::nullopt)}},
        {"note appeared",
         [](Sandbox& s, Capture&, Destination& d, CaptureFileWriter& w) {
             d = s.destination(DeliveryMode::appendNote, QStringLiteral("Log"));
             w.setBeforeRecheckHookForTesting([&s] { s.put(s.at("Log.md"), "theirs"); });
         },
         Kind::modifiedDuringWrite, {noteIs("Log.md", QByteArray("theirs")), backupIs(std::nullopt)}},
        {"new note appeared",
         [newNote](Sandbox& s, Capture&, Destination&, CaptureFileWriter& w) {
             w.setBeforeRecheckHookForTesting([&s, newNote] { s.put(s.at(newNote), "theirs"); });
         },
         Kind::modifiedDuringWrite, {noteIs(newNote, QByteArray("theirs"))}},
        {"note vanished",
         [appendTo](Sandbox& s, Capture& c, Destination& d, CaptureFileWriter& w) {
             appendTo("mine")(s, c, d, w);
             w.setBeforeRecheckHookForTesting([&s] { QFile::remove(s.at("Log.md")); });
         },
         Kind::modifiedDuringWrite, {noteIs("Log.md", std::nullopt), backupIs(QByteArray("mine"))}},
        {"note changed",
         [appendTo](Sandbox& s, Capture& c, Destination& d, CaptureFileWriter& w) {
             appendTo("mine")(s, c, d, w);
             w.setBeforeRecheckHookForTesting([&s] { s.put(s.at("Log.md"), "mine, edited"); });
         },
         Kind::modifiedDuringWrite, {noteIs("Log.md", QByteArray("mine, edited")), backupIs(QByteArray("mine"))}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox sandbox;
        Capture capture = sandbox.capture();
        Destination destination = sandbox.destination(DeliveryMode::newNote, QStringLiteral("Inbox"));
        CaptureFileWriter writer = sandbox.writer();
        c.arrange(sandbox, capture, destination, writer);

        try {
            writer.save(capture, destination);
            ADD_FAILURE() << "no error";
        } catch (const CaptureError& error) {
            EXPECT_EQ(error.kind(), c.expected);
        }
        for (const Verify& verify : c.verify)
            verify(sandbox);
        EXPECT_EQ(sandbox.leftovers(), QStringList());
    }
}

TEST(CaptureFileWriterTest, PlacesTheAttachmentsTheBodyRefersTo)
{
    Sandbox sandbox;
    Capture capture = sandbox.capture();
    capture.body = "Look " + token(imageID) + "\nand " + token(fileID) + "\nalso ![[Pictures/old.png]]\n";
    capture.attachments = {image(imageID, "image"),
                           CaptureAttachment(fileID, "document", QStringLiteral("pdf"), true),
                           image(unusedID, "unused"), image(earlierID, "earlier")};
    capture.imageReferences = QList<ImageReference>{{earlierID, QStringLiteral("Pictures/old.png"), std::nullopt}};

    const QString path = sandbox.writer().save(capture, sandbox.destination(DeliveryMode::dailyNote, "Daily"));

    const QString folder = "Attachments/Quillor/";
    const QByteArray expectedBody = "Look ![[" + (folder + idUpper(imageID)).toUtf8() + ".png]]\nand [["
        + (folder + idUpper(fileID)).toUtf8() + ".pdf]]\nalso ![[Pictures/old.png]]";
    EXPECT_EQ(Sandbox::read(path), "\n\n## 09:05:07\n\n" + expectedBody + "\n\n" + marker + "\n");
    EXPECT_EQ(Sandbox::read(sandbox.at(folder + idUpper(imageID) + ".png")), QByteArray("image"));
    EXPECT_EQ(Sandbox::read(sandbox.at(folder + idUpper(fileID) + ".pdf")), QByteArray("document"));
    EXPECT_EQ(Sandbox::read(sandbox.at("Pictures/old.png")), QByteArray("earlier"));
    EXPECT_FALSE(QFile::exists(sandbox.at(folder + idUpper(unusedID) + ".png")));
    EXPECT_EQ(sandbox.leftovers(), QStringList());
}

TEST(CaptureFileWriterTest, ReusesIdenticalAttachmentsAndAvoidsOthers)
{
    const QString name = "Attachments/Quillor/" + idUpper(imageID);
    struct Case {
        const char* name;
        QByteArray alreadyThere;
        QString expectedPath;
    };
    const QList<Case> cases = {
        {"identical bytes reused", "PNG bytes", name + ".png"},
        {"other bytes kept, hashed name used", "other bytes", name + "-" + hashed("PNG bytes") + ".png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox sandbox;
        sandbox.put(sandbox.at(name + ".png"), c.alreadyThere);
        const ino_t before = inode(sandbox.at(name + ".png"));
        Capture capture = sandbox.capture(token(imageID));
        capture.attachments = {image(imageID)};

        const QString note = sandbox.writer().save(capture, sandbox.destination(DeliveryMode::newNote, "Inbox"));

        EXPECT_TRUE(Sandbox::read(note)->contains("![[" + c.expectedPath.toUtf8() + "]]"));
        EXPECT_EQ(Sandbox::read(sandbox.at(c.expectedPath)), QByteArray("PNG bytes"));
        EXPECT_EQ(Sandbox::read(sandbox.at(name + ".png")), c.alreadyThere);
        EXPECT_EQ(inode(sandbox.at(name + ".png")), before);
    }
}

TEST(CaptureFileWriterTest, WriteNewNeverOverwritesWithEitherPublication)
{
    using Publication = CaptureFileWriter::Publication;
    for (const Publication publication : {Publication::hardLink, Publication::move}) {
        SCOPED_TRACE(publication == Publication::hardLink ? "hard link" : "move");
        Sandbox sandbox;
        const CaptureFileWriter writer = sandbox.writer(publication);

        const QString note = writer.save(sandbox.capture(), sandbox.destination(DeliveryMode::newNote, "Inbox"));
        EXPECT_EQ(Sandbox::read(note), frontMatter());
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(note).constData(), &info), 0);
        EXPECT_EQ(info.st_nlink, 1u);   // the temporary name is gone

        sandbox.put(sandbox.at("taken.md"), "theirs");
        try {
            writer.writeNew("mine", sandbox.at("taken.md"));
            ADD_FAILURE() << "overwrote an existing file";
        } catch (const FileSystemError& error) {
            EXPECT_EQ(error.errnoValue(), EEXIST);
        }
        EXPECT_EQ(Sandbox::read(sandbox.at("taken.md")), QByteArray("theirs"));
        EXPECT_EQ(sandbox.leftovers(), QStringList());
    }
}

TEST(CaptureFileWriterTest, ReadOnlyFolderGivesTheFrenchFileSystemError)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString previousLanguage = L10n::currentLanguage();
    L10n::configure(QStringLiteral("fr"));
    Sandbox sandbox;
    const QString folder = sandbox.at("Inbox");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);

    try {
        sandbox.writer().save(sandbox.capture(), sandbox.destination(DeliveryMode::newNote, "Inbox"));
        ADD_FAILURE() << "wrote into a read-only folder";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.errnoValue(), EACCES);
        EXPECT_TRUE(error.localizedDescription().startsWith(QStringLiteral("Permission refusée")))
            << error.what();
        EXPECT_TRUE(error.localizedDescription().contains(folder)) << error.what();
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    L10n::configure(previousLanguage);
}
