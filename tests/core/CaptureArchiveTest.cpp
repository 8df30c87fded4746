#include "core/CaptureArchive.h"

#include "TestSupport.h"
#include "core/DateFormats.h"
#include "core/Json.h"
#include "core/ReferenceDate.h"

#include <QJsonDocument>
#include <QTimeZone>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillor;

namespace {

TEST(DateFormatsTest, FixedFormsTruncateToTheSecondAndStayInRange)
{
    const ReferenceDate date = ReferenceDate::fromUnixSeconds(1738310709.999);   // 2025-01-31T08:05:09.999Z
    EXPECT_EQ(DateFormats::iso8601(date), "2025-01-31T08:05:09Z");
    EXPECT_EQ(DateFormats::dayAndTime(date, QTimeZone(9 * 3600)), "2025-01-31 170509");
    EXPECT_EQ(DateFormats::iso8601(ReferenceDate::fromUnixSeconds(ReferenceDate::unixOffset - 0.5)), "2000-12-31T23:59:59Z");
    EXPECT_EQ(DateFormats::iso8601(ReferenceDate{1e300}), "9999-12-31T23:59:59Z");
    EXPECT_EQ(DateFormats::iso8601(ReferenceDate{-1e300}), "0001-01-01T00:00:00Z");
}

TEST(DeliveryReceiptTest, JsonOmitsAbsentKeysAndReadsStrictly)
{
    const DeliveryReceipt full{"0F8FAD5B-D9CB-469F-A165-70867728950E", "/home/me/Notes/Inbox/Idée.md", "2025-01-31T08:05:09Z",
                               "Inbox · in", QUuid::createUuid(), QUuid::createUuid(), "Inbox/Idée.md"};
    const DeliveryReceipt minimal{full.captureID, full.path, full.date};
    EXPECT_EQ(minimal.toJson().keys(), (QStringList{"captureID", "date", "path"}));
    for (const DeliveryReceipt& receipt : {full, minimal})
        EXPECT_EQ(DeliveryReceipt::fromJson(Json::parseObject(Json::serialize(receipt.toJson()))), receipt);
    // Null drops an optional key; unknown keys are left for later versions.
    QJsonObject object = full.toJson();
    object.insert("destinationName", QJsonValue::Null);
    object.insert("unknown", 4);
    EXPECT_EQ(DeliveryReceipt::fromJson(object).destinationName, std::nullopt);
}

class CaptureArchiveTest : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return temporary.filePath(relative); }
    void write(const QString& relative, const QByteArray& bytes) const { test::put(path(relative), bytes); }
    static Capture capture(double createdAt) { return Capture(QUuid::createUuid(), ReferenceDate{createdAt}, "", {}, {}); }
    void writeCapture(const QString& relative, const Capture& c) const { write(relative, Json::serialize(c.toJson())); }
    void writeHistory(const Capture& c) const { writeCapture("History/" + Json::uuidText(c.id) + ".json", c); }
    void writeReceipt(const DeliveryReceipt& r) const { write("Receipts/" + r.captureID + ".json", Json::serialize(r.toJson())); }
    // The platform's listing order, which the archive keeps between equal dates.
    QStringList listingOrder(const QString& relative) const
    {
        QStringList names;
        for (const auto& entry : std::filesystem::directory_iterator(QFile::encodeName(path(relative)).toStdString()))
            names.append(QFile::decodeName(entry.path().filename().c_str()));
        return names;
    }
    QList<Capture> listed() const
    {
        QList<Capture> captures;
        for (const ArchivedCapture& entry : archive.entries())
            captures.append(entry.capture);
        return captures;
    }

    QTemporaryDir temporary;
    CaptureArchive archive{temporary.path()};
};

TEST_F(CaptureArchiveTest, NoFoldersMeansNoHistory)
{
    const CaptureArchive missing{path("missing/data")};
    EXPECT_TRUE(archive.entries().isEmpty() && missing.entries().isEmpty());
    EXPECT_EQ(missing.latestReceipt(), std::nullopt);
}

TEST_F(CaptureArchiveTest, JoinsCopiesWithReceiptAndBackupAndSkipsOtherFiles)
{
    const Capture delivered = capture(1000), unconfirmed = capture(500);
    const QString id = Json::uuidText(delivered.id), other = Json::uuidText(unconfirmed.id);
    const QString recovered = "Recovered/" + id + "-" + Json::uuidText(QUuid::createUuid()) + ".json";
    writeHistory(delivered);
    writeCapture(recovered, delivered);
    const DeliveryReceipt receipt{id, path("note.md"), "2025-01-31T08:05:09Z"};
    writeReceipt(receipt);
    write("Backups/" + id + ".md", "avant");
    writeHistory(unconfirmed);
    write("Receipts/" + other + ".json", R"({"captureID": "x", "path": 3})");
    // Valid captures under names the archive does not read, and broken files.
    writeCapture("History/x.JSON", capture(2000));
    writeCapture("notes.json", capture(2000));
    write("History/corrupt.json", "{\"id\": ");
    write("Recovered/empty.json", "{}");
    QDir().mkpath(path("History/folder.json"));

    // Same date: the history copy was read first and stays first.
    EXPECT_EQ(archive.entries(), (QList<ArchivedCapture>{
                           {delivered, receipt, path("Backups/" + id + ".md"), path("History/" + id + ".json")},
                           {delivered, receipt, path("Backups/" + id + ".md"), path(recovered)},
                           {unconfirmed, {}, {}, path("History/" + other + ".json")}}));
}

TEST_F(CaptureArchiveTest, SortsNewestFirstKeepingReadingOrderOnTies)
{
    const Capture older = capture(10), newest = capture(30), tiedA = capture(20), tiedB = capture(20);
    for (const Capture& c : {older, newest, tiedA, tiedB})
        writeHistory(c);
    const Capture tiedRecovered = capture(20);
    archive.preserve(tiedRecovered);

    const QStringList history = listingOrder("History");
    const auto listedAt = [&](const Capture& c) { return history.indexOf(Json::uuidText(c.id) + ".json"); };
    const bool aFirst = listedAt(tiedA) < listedAt(tiedB);
    EXPECT_EQ(listed(), (QList<Capture>{newest, aFirst ? tiedA : tiedB, aFirst ? tiedB : tiedA, tiedRecovered, older}));
}

TEST_F(CaptureArchiveTest, FileStateFollowsTheDeliveredNote)
{
    const QString note = path("Notes/note.md");
    write("Notes/note.md", "# note");
    write("Notes/locked.md", "secret");
    ::chmod(QFile::encodeName(path("Notes/locked.md")).constData(), 0);
    using State = ArchivedCapture::FileState;
    const bool root = ::geteuid() == 0;   // reads every file
    const std::pair<std::optional<QString>, State> cases[] = {   // note (nothing: no receipt), state
        {{}, State::unconfirmed},       {note, State::available},  {path("Notes/deleted.md"), State::missing},
        {path("Notes"), State::unavailable}, {note + QChar(0) + "x", State::unavailable},
        {path("Notes/locked.md"), root ? State::available : State::unavailable},
    };
    for (const auto& [notePath, state] : cases) {
        SCOPED_TRACE(notePath.value_or("no receipt").toStdString());
        ArchivedCapture entry;
        if (notePath)
            entry.receipt = DeliveryReceipt{"ID", *notePath, "2025-01-31T08:05:09Z"};
        EXPECT_EQ(entry.fileState(), state);
        EXPECT_EQ(entry.deliveredFileExists(), state == State::available);
    }
}

TEST_F(CaptureArchiveTest, PreserveAlwaysWritesANewCopy)
{
    const Capture draft = capture(42.25);
    const QString first = archive.preserve(draft);
    const QString second = archive.preserve(draft);
    EXPECT_NE(first, second);
    for (const QString& file : {first, second})
        EXPECT_TRUE(file.startsWith(path("Recovered/") + Json::uuidText(draft.id) + '-')) << file.toStdString();
    EXPECT_EQ(listed(), (QList<Capture>{draft, draft}));
}

TEST_F(CaptureArchiveTest, LatestReceiptComparesDatesAsTextAndKeepsTheFirstListed)
{
    const auto receipt = [](const QString& note, const QString& date) {
        return DeliveryReceipt{Json::uuidText(QUuid::createUuid()), note, date};
    };
    const QString tie = "2025-03-01T00:00:00Z";
    const QList<DeliveryReceipt> receipts{receipt("/old.md", "2024-12-31T23:59:59Z"), receipt("/tie-1.md", tie),
                                          receipt("/tie-2.md", tie),
                                          receipt("/offset.md", "2025-03-01+02:00")};   // later in time, smaller as text
    for (const DeliveryReceipt& r : receipts)
        writeReceipt(r);
    // Greater dates under names or in forms that are not read.
    write("Receipts/upper.JSON", Json::serialize(receipt("/upper.md", "2099-01-01T00:00:00Z").toJson()));
    write("Receipts/broken.json", R"({"date": "2099-01-01T00:00:00Z"})");

    const QStringList order = listingOrder("Receipts");
    const auto firstListed = std::min_element(receipts.begin() + 1, receipts.end() - 1, [&](const auto& a, const auto& b) {
        return order.indexOf(a.captureID + ".json") < order.indexOf(b.captureID + ".json");
    });
    EXPECT_EQ(archive.latestReceipt(), *firstListed);
}

// A summary holds at most 32 MB of text: a longer capture is still listed,
// without its text, dated and joined to its receipt as any other.
TEST_F(CaptureArchiveTest, ACaptureWhoseTextIsTooLongForASummaryIsListedWithoutIt)
{
    Capture longText = capture(1000);
    longText.body = QString(33 * 1024 * 1024, u'a');
    const QString id = Json::uuidText(longText.id);
    const DeliveryReceipt receipt{id, path("note.md"), "2025-01-31T08:05:09Z"};
    writeReceipt(receipt);
    const QString indented = path("History/" + id + ".json");
    writeCapture("History/" + id + ".json", longText);
    // Laid out otherwise: its name and the time it was written stand in for its keys.
    const QString compact = path("Recovered/" + id + "-" + Json::uuidText(QUuid::createUuid()) + ".json");
    write("Recovered/" + QFileInfo(compact).fileName(),
          QJsonDocument(longText.toJson()).toJson(QJsonDocument::Compact));
    const QDateTime written(QDate(2024, 5, 1), QTime(12, 0), QTimeZone::utc());
    QFile file(compact);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(written, QFileDevice::FileModificationTime));
    file.close();
    writeHistory(capture(500));

    Capture withoutText = longText;
    withoutText.body.clear();
    Capture fromName;
    fromName.id = longText.id;
    fromName.createdAt = ReferenceDate::fromUnixSeconds(written.toSecsSinceEpoch());
    const QList<ArchivedCapture> listed = archive.summaries();
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed.at(0), (ArchivedCapture{fromName, receipt, {}, compact, true}));
    EXPECT_EQ(listed.at(1), (ArchivedCapture{withoutText, receipt, {}, indented, true}));
    EXPECT_FALSE(listed.at(2).textLeftOut);
    EXPECT_EQ(CaptureArchive::record(indented), longText);
}

// A file far larger than any receipt is skipped unread, whatever it would
// say: for the latest receipt and for a history entry alike.
TEST_F(CaptureArchiveTest, AFileLargerThanAnyReceiptIsSkippedAndNamed)
{
    const Capture delivered = capture(1000);
    const QString id = Json::uuidText(delivered.id);
    writeHistory(delivered);
    const DeliveryReceipt atLimit{Json::uuidText(QUuid::createUuid()), "/limit.md", "2025-02-01T00:00:00Z"};
    const QByteArray limitBytes = Json::serialize(atLimit.toJson());
    write("Receipts/" + atLimit.captureID + ".json",
          limitBytes + QByteArray(DeliveryReceipt::maximumFileSize - limitBytes.size(), ' '));
    const QByteArray later = Json::serialize(DeliveryReceipt{id, "/later.md", "2099-01-01T00:00:00Z"}.toJson());
    write("Receipts/" + id + ".json", later + QByteArray(DeliveryReceipt::maximumFileSize - later.size() + 1, ' '));

    QStringList oversized;
    EXPECT_EQ(archive.latestReceipt(&oversized), atLimit);
    EXPECT_EQ(oversized, QStringList{path("Receipts/" + id + ".json")});
    ASSERT_EQ(archive.entries().size(), 1);
    EXPECT_EQ(archive.entries().constFirst().receipt, std::nullopt);
}

TEST_F(CaptureArchiveTest, FoldersThatCannotBeListedAreErrors)
{
    write("History", "not a folder");
    write("Receipts", "not a folder");
    EXPECT_EQ(test::errnoOf([&] { archive.entries(); }), ENOTDIR);
    EXPECT_EQ(test::errnoOf([&] { archive.latestReceipt(); }), ENOTDIR);
    if (::geteuid() == 0)
        return;   // root lists every folder
    for (const QString folder : {"History", "Receipts"}) {
        QFile::remove(path(folder));
        QDir().mkpath(path(folder));
        QFile::setPermissions(path(folder), {});
    }
    EXPECT_EQ(test::errnoOf([&] { archive.entries(); }), EACCES);
    EXPECT_EQ(test::errnoOf([&] { archive.latestReceipt(); }), EACCES);
    for (const QString folder : {"History", "Receipts"})
        QFile::setPermissions(path(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TEST(ReferenceDateTest, ConvertsToUtcMillisecondsTowardsThePast)
{
    const QDateTime origin({2001, 1, 1}, {0, 0}, QTimeZone::utc());
    // Never rounded up into the next second; binary noise does not lose a millisecond.
    const std::pair<double, QDateTime> cases[] = {{59.9996, origin.addMSecs(59999)}, {0.123, origin.addMSecs(123)},
        {-0.0005, origin.addMSecs(-1)}, {std::numeric_limits<double>::quiet_NaN(), {}}};
    for (const auto& [seconds, expected] : cases)
        EXPECT_EQ(ReferenceDate{seconds}.toDateTime(), expected) << seconds;
    EXPECT_EQ(ReferenceDate::fromDateTime(origin.addSecs(90)).secondsSinceReferenceDate, 90.0);
}
