#include "core/CaptureArchive.h"
#include "core/DateFormats.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "core/L10n.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillor;

namespace {

// 2025-01-31T08:05:09Z.
constexpr double unixMoment = 1738310709.0;

TEST(DateFormatsTest, FixedFormsTruncateToTheSecond)
{
    const QTimeZone utc = QTimeZone::utc();
    const QTimeZone tokyo(9 * 3600);
    const QTimeZone newYork(-5 * 3600);
    struct Case {
        double unixSeconds;
        QTimeZone zone;
        const char* iso;
        const char* day;
        const char* time;
        const char* dayAndTime;
    };
    const Case cases[] = {
        {unixMoment, utc, "2025-01-31T08:05:09Z", "2025-01-31", "08:05:09", "2025-01-31 080509"},
        {unixMoment + 0.999, utc, "2025-01-31T08:05:09Z", "2025-01-31", "08:05:09", "2025-01-31 080509"},
        {unixMoment + 0.999, tokyo, "2025-01-31T08:05:09Z", "2025-01-31", "17:05:09", "2025-01-31 170509"},
        {unixMoment, newYork, "2025-01-31T08:05:09Z", "2025-01-31", "03:05:09", "2025-01-31 030509"},
        {unixMoment - 9 * 3600 + 0.5, newYork, "2025-01-30T23:05:09Z", "2025-01-30", "18:05:09", "2025-01-30 180509"},
        {unixMoment + 16 * 3600, tokyo, "2025-02-01T00:05:09Z", "2025-02-01", "09:05:09", "2025-02-01 090509"},
        // Half a second before the reference date still belongs to its last second.
        {ReferenceDate::unixOffset - 0.5, utc, "2000-12-31T23:59:59Z", "2000-12-31", "23:59:59", "2000-12-31 235959"},
    };
    for (const Case& c : cases) {
        const ReferenceDate date = ReferenceDate::fromUnixSeconds(c.unixSeconds);
        SCOPED_TRACE(c.iso);
        EXPECT_EQ(DateFormats::iso8601(date), QString::fromLatin1(c.iso));
        EXPECT_EQ(DateFormats::day(date, c.zone), QString::fromLatin1(c.day));
        EXPECT_EQ(DateFormats::time(date, c.zone), QString::fromLatin1(c.time));
        EXPECT_EQ(DateFormats::dayAndTime(date, c.zone), QString::fromLatin1(c.dayAndTime));
    }
}

TEST(DateFormatsTest, OutOfRangeMomentsStayFourDigitYears)
{
    EXPECT_EQ(DateFormats::iso8601(ReferenceDate{1e300}), QStringLiteral("9999-12-31T23:59:59Z"));
    EXPECT_EQ(DateFormats::iso8601(ReferenceDate{-1e300}), QStringLiteral("0001-01-01T00:00:00Z"));
}

// --- DeliveryReceipt ---

DeliveryReceipt fullReceipt()
{
    return DeliveryReceipt{QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E"),
                           QStringLiteral("/home/me/Notes/Inbox/Idée.md"),
                           QStringLiteral("2025-01-31T08:05:09Z"),
                           QStringLiteral("Inbox · in"),
                           QUuid::createUuid(),
                           QUuid::createUuid(),
                           QStringLiteral("Inbox/Idée.md")};
}

TEST(DeliveryReceiptTest, RoundTripsAndWritesOnlyPresentKeys)
{
    const DeliveryReceipt full = fullReceipt();
    EXPECT_EQ(DeliveryReceipt::fromJson(Json::parseObject(Json::serialize(full.toJson()))), full);
    EXPECT_EQ(full.toJson().value(QStringLiteral("destinationID")).toString(),
              Json::uuidText(*full.destinationID));

    const DeliveryReceipt minimal{full.captureID, full.path, full.date};
    const QJsonObject object = minimal.toJson();
    EXPECT_EQ(object.keys(), (QStringList{QStringLiteral("captureID"), QStringLiteral("date"), QStringLiteral("path")}));
    EXPECT_EQ(DeliveryReceipt::fromJson(object), minimal);
}

TEST(DeliveryReceiptTest, ReadingIsStrict)
{
    const DeliveryReceipt original = fullReceipt();
    const QJsonObject full = original.toJson();
    auto with = [&](const char* key, const QJsonValue& value) {
        QJsonObject object = full;
        object.insert(QString::fromLatin1(key), value);
        return object;
    };
    auto without = [&](const char* key) {
        QJsonObject object = full;
        object.remove(QString::fromLatin1(key));
        return object;
    };
    struct Case {
        const char* name;
        QJsonObject object;
    };
    const Case failing[] = {
        {"missing date", without("date")},
        {"missing path", without("path")},
        {"missing captureID", without("captureID")},
        {"null date", with("date", QJsonValue::Null)},
        {"numeric date", with("date", 1.0)},
        {"numeric destinationName", with("destinationName", 3)},
        {"boolean relativePath", with("relativePath", true)},
        {"malformed destinationID", with("destinationID", QStringLiteral("not-a-uuid"))},
        {"numeric vaultID", with("vaultID", 7)},
    };
    for (const Case& c : failing) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DeliveryReceipt::fromJson(c.object), JsonDecodingError);
    }

    QJsonObject lenient = with("destinationName", QJsonValue::Null);
    lenient.insert(QStringLiteral("vaultID"), QJsonValue::Null);
    lenient.remove(QStringLiteral("relativePath"));
    lenient.insert(QStringLiteral("unknown"), 42);
    const DeliveryReceipt read = DeliveryReceipt::fromJson(lenient);
    EXPECT_EQ(read.destinationName, std::nullopt);
    EXPECT_EQ(read.vaultID, std::nullopt);
    EXPECT_EQ(read.relativePath, std::nullopt);
    EXPECT_EQ(read.destinationID, original.destinationID);
}

// --- CaptureArchive ---

class CaptureArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temporary.isValid()); }

    QString path(const QString& relative) const { return temporary.filePath(relative); }

    void write(const QString& relative, const QByteArray& bytes) const
    {
        FileSystem::createDirectories(QFileInfo(path(relative)).absolutePath());
        FileSystem::writeAtomically(path(relative), bytes);
    }

    static Capture capture(double createdAt, const QString& body)
    {
        return Capture(QUuid::createUuid(), ReferenceDate{createdAt}, body, {}, std::nullopt);
    }

    static QString idText(const Capture& capture) { return Json::uuidText(capture.id); }

    void writeCapture(const QString& relative, const Capture& capture) const
    {
        write(relative, Json::serialize(capture.toJson()));
    }

    void writeHistory(const Capture& capture) const
    {
        writeCapture(QStringLiteral("History/%1.json").arg(idText(capture)), capture);
    }

    DeliveryReceipt writeReceipt(const Capture& capture, const QString& notePath, const QString& date) const
    {
        const DeliveryReceipt receipt{idText(capture), notePath, date};
        write(QStringLiteral("Receipts/%1.json").arg(idText(capture)), Json::serialize(receipt.toJson()));
        return receipt;
    }

    // The order in which the platform lists a folder, which the archive
    // keeps for equal dates.
    QStringList listingOrder(const QString& relative) const
    {
        QStringList names;
        for (const auto& entry : std::filesystem::directory_iterator(QFile::encodeName(path(relative)).toStdString()))
            names.append(QFile::decodeName(entry.path().filename().c_str()));
        return names;
    }

    QTemporaryDir temporary;
    CaptureArchive archive{temporary.path()};
};

TEST_F(CaptureArchiveTest, NoFoldersMeansNoHistory)
{
    EXPECT_TRUE(archive.entries().isEmpty());
    EXPECT_EQ(archive.latestReceipt(), std::nullopt);

    const CaptureArchive nowhere{path(QStringLiteral("missing/data"))};
    EXPECT_TRUE(nowhere.entries().isEmpty());
    EXPECT_EQ(nowhere.latestReceipt(), std::nullopt);
}

TEST_F(CaptureArchiveTest, JoinsCopiesWithReceiptAndBackupAndSkipsOtherFiles)
{
    const Capture delivered = capture(1000, QStringLiteral("livrée"));
    writeHistory(delivered);
    writeCapture(QStringLiteral("Recovered/%1-%2.json").arg(idText(delivered), Json::uuidText(QUuid::createUuid())),
                 delivered);
    const DeliveryReceipt receipt = writeReceipt(delivered, path(QStringLiteral("note.md")), QStringLiteral("2025-01-31T08:05:09Z"));
    write(QStringLiteral("Backups/%1.md").arg(idText(delivered)), "avant");

    // Valid captures under names the archive does not read, and a broken file.
    writeCapture(QStringLiteral("History/x.JSON"), capture(2000, QStringLiteral("upper")));
    writeCapture(QStringLiteral("History/notes.txt"), capture(2000, QStringLiteral("text")));
    writeCapture(QStringLiteral("notes.json"), capture(2000, QStringLiteral("outside")));
    write(QStringLiteral("History/corrupt.json"), "{\"id\": ");
    write(QStringLiteral("Recovered/empty.json"), "{}");
    QDir(temporary.path()).mkpath(QStringLiteral("History/folder.json"));
    const Capture other = capture(500, QStringLiteral("autre"));
    writeHistory(other);

    const QList<ArchivedCapture> entries = archive.entries();
    ASSERT_EQ(entries.size(), 3);
    const QString backup = path(QStringLiteral("Backups/%1.md").arg(idText(delivered)));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].capture, delivered);
        EXPECT_EQ(entries[i].id(), delivered.id);
        EXPECT_EQ(entries[i].receipt, receipt);
        EXPECT_EQ(entries[i].backup, backup);
    }
    // Same date: the history copy was read first and stays first.
    EXPECT_EQ(entries[0].source, path(QStringLiteral("History/%1.json").arg(idText(delivered))));
    EXPECT_TRUE(entries[1].source.startsWith(path(QStringLiteral("Recovered/"))));
    EXPECT_EQ(entries[2].capture, other);
    EXPECT_EQ(entries[2].receipt, std::nullopt);
    EXPECT_EQ(entries[2].backup, std::nullopt);
}

TEST_F(CaptureArchiveTest, SortsNewestFirstKeepingReadingOrderOnTies)
{
    const Capture older = capture(10, QStringLiteral("older"));
    const Capture newest = capture(30, QStringLiteral("newest"));
    const Capture tiedA = capture(20, QStringLiteral("a"));
    const Capture tiedB = capture(20, QStringLiteral("b"));
    const Capture tiedRecovered = capture(20, QStringLiteral("recovered"));
    for (const Capture& c : {older, newest, tiedA, tiedB})
        writeHistory(c);
    archive.preserve(tiedRecovered);

    const QStringList history = listingOrder(QStringLiteral("History"));
    const bool aListedFirst = history.indexOf(idText(tiedA) + QStringLiteral(".json"))
        < history.indexOf(idText(tiedB) + QStringLiteral(".json"));
    const QList<Capture> expected{newest,
                                  aListedFirst ? tiedA : tiedB,
                                  aListedFirst ? tiedB : tiedA,
                                  tiedRecovered,
                                  older};
    QList<Capture> actual;
    for (const ArchivedCapture& entry : archive.entries())
        actual.append(entry.capture);
    EXPECT_EQ(actual, expected);
}

TEST_F(CaptureArchiveTest, FileStateFollowsTheDeliveredNote)
{
    L10n::configure(QStringLiteral("fr"));
    const QString note = path(QStringLiteral("Notes/note.md"));
    write(QStringLiteral("Notes/note.md"), "# note");
    const QString folder = path(QStringLiteral("Notes"));
    const QString deleted = path(QStringLiteral("Notes/deleted.md"));
    auto withReceipt = [](const QString& notePath) {
        ArchivedCapture entry;
        entry.receipt = DeliveryReceipt{QStringLiteral("ID"), notePath, QStringLiteral("2025-01-31T08:05:09Z")};
        return entry;
    };
    using State = ArchivedCapture::FileState;
    struct Case {
        const char* name;
        ArchivedCapture entry;
        State state;
        QString status;
    };
    const Case cases[] = {
        {"no receipt", ArchivedCapture{}, State::unconfirmed, QStringLiteral("Livraison non confirmée")},
        {"readable note", withReceipt(note), State::available, QStringLiteral("Livraison confirmée")},
        {"deleted note", withReceipt(deleted), State::missing, QStringLiteral("Livrée · fichier absent")},
        {"folder", withReceipt(folder), State::unavailable, QStringLiteral("Livrée · accès au fichier indisponible")},
        {"through a file", withReceipt(note + QStringLiteral("/inside.md")), State::unavailable,
         QStringLiteral("Livrée · accès au fichier indisponible")},
        {"embedded NUL", withReceipt(note + QChar(0) + QStringLiteral("x")), State::unavailable,
         QStringLiteral("Livrée · accès au fichier indisponible")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.entry.fileState(), c.state);
        EXPECT_EQ(c.entry.deliveredFileExists(), c.state == State::available);
        EXPECT_EQ(c.entry.deliveryStatus(), c.status);
    }

    if (geteuid() != 0) {
        const QString locked = path(QStringLiteral("Notes/locked.md"));
        write(QStringLiteral("Notes/locked.md"), "secret");
        ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
        EXPECT_EQ(withReceipt(locked).fileState(), State::unavailable);
    }
}

TEST_F(CaptureArchiveTest, UndecodableReceiptLeavesTheEntryUnconfirmed)
{
    const Capture delivered = capture(1, QStringLiteral("body"));
    writeHistory(delivered);
    write(QStringLiteral("Receipts/%1.json").arg(idText(delivered)), "{\"captureID\": \"x\", \"path\": 3}");

    const QList<ArchivedCapture> entries = archive.entries();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].receipt, std::nullopt);
    EXPECT_EQ(entries[0].fileState(), ArchivedCapture::FileState::unconfirmed);
}

TEST_F(CaptureArchiveTest, PreserveAlwaysWritesANewCopy)
{
    const Capture draft = capture(42.25, QStringLiteral("brouillon ✍️"));
    const QString first = archive.preserve(draft);
    const QString second = archive.preserve(draft);

    EXPECT_NE(first, second);
    for (const QString& file : {first, second}) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(QFileInfo(file).absolutePath(), path(QStringLiteral("Recovered")));
        const QString name = QFileInfo(file).fileName();
        EXPECT_TRUE(name.startsWith(idText(draft) + QLatin1Char('-')));
        EXPECT_TRUE(name.endsWith(QStringLiteral(".json")));
        const auto secondUuid = Json::parseUuid(name.mid(37, 36));
        ASSERT_TRUE(secondUuid.has_value());
        EXPECT_EQ(Json::uuidText(*secondUuid), name.mid(37, 36));
        EXPECT_EQ(Capture::fromJson(Json::parseObject(FileSystem::read(file))), draft);
    }
    const QList<ArchivedCapture> entries = archive.entries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].capture, draft);
    EXPECT_EQ(entries[1].capture, draft);
}

TEST_F(CaptureArchiveTest, LatestReceiptComparesDatesAsText)
{
    auto receipt = [](const char* note, const char* date) {
        return DeliveryReceipt{Json::uuidText(QUuid::createUuid()), QString::fromLatin1(note), QString::fromLatin1(date)};
    };
    const QList<DeliveryReceipt> receipts{
        receipt("/old.md", "2024-12-31T23:59:59Z"),
        receipt("/tie-1.md", "2025-03-01T00:00:00Z"),
        receipt("/tie-2.md", "2025-03-01T00:00:00Z"),
        receipt("/tie-3.md", "2025-03-01T00:00:00Z"),
        // Greater in time, smaller as text.
        receipt("/offset.md", "2025-03-01+02:00"),
    };
    for (const DeliveryReceipt& r : receipts)
        write(QStringLiteral("Receipts/%1.json").arg(r.captureID), Json::serialize(r.toJson()));
    // Greater dates under names or in forms that are not read.
    write(QStringLiteral("Receipts/upper.JSON"), Json::serialize(receipt("/upper.md", "2099-01-01T00:00:00Z").toJson()));
    write(QStringLiteral("Receipts/broken.json"), "{\"date\": \"2099-01-01T00:00:00Z\"}");
    write(QStringLiteral("Receipts/garbage.json"), "not json");

    std::optional<DeliveryReceipt> expected;
    for (const QString& name : listingOrder(QStringLiteral("Receipts"))) {
        for (const DeliveryReceipt& r : receipts) {
            if (!expected && name == r.captureID + QStringLiteral(".json") && r.path.startsWith(QStringLiteral("/tie")))
                expected = r;
        }
    }
    EXPECT_EQ(archive.latestReceipt(), expected);
}

TEST_F(CaptureArchiveTest, FileInPlaceOfAFolderIsAnError)
{
    write(QStringLiteral("History"), "not a folder");
    write(QStringLiteral("Receipts"), "not a folder");
    try {
        archive.entries();
        ADD_FAILURE() << "entries() listed a file as a folder";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.operation(), FileSystemError::Operation::list);
        EXPECT_EQ(error.path(), path(QStringLiteral("History")));
        EXPECT_EQ(error.errnoValue(), ENOTDIR);
    }
    EXPECT_THROW(archive.latestReceipt(), FileSystemError);
}

TEST_F(CaptureArchiveTest, UnlistableFolderIsAnError)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root lists every folder";
    writeHistory(capture(1, QStringLiteral("body")));
    write(QStringLiteral("Receipts/x.json"), Json::serialize(DeliveryReceipt{}.toJson()));
    for (const char* folder : {"History", "Receipts"}) {
        const QByteArray encoded = QFile::encodeName(path(QString::fromLatin1(folder)));
        ASSERT_EQ(::chmod(encoded.constData(), 0), 0);
    }
    try {
        archive.entries();
        ADD_FAILURE() << "entries() listed an unreadable folder";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.operation(), FileSystemError::Operation::list);
        EXPECT_EQ(error.path(), path(QStringLiteral("History")));
        EXPECT_EQ(error.errnoValue(), EACCES);
    }
    EXPECT_THROW(archive.latestReceipt(), FileSystemError);
    for (const char* folder : {"History", "Receipts"})
        ::chmod(QFile::encodeName(path(QString::fromLatin1(folder))).constData(), 0700);
}

} // namespace
