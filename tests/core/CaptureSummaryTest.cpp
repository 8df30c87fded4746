#include "core/CaptureSummary.h"

#include "core/CaptureArchive.h"
#include "core/Json.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

using namespace quillor;

namespace {

Capture withImages(const QString& body, const QList<QByteArray>& images)
{
    Capture capture(QUuid::createUuid(), ReferenceDate(700'000'000), body, {}, QUuid::createUuid());
    for (const QByteArray& image : images)
        capture.attachments.append(CaptureAttachment(QUuid::createUuid(), image, QStringLiteral("png")));
    capture.imageReferences = QList<ImageReference>();
    return capture;
}

Capture summaryOf(Capture capture)
{
    capture.attachments.clear();
    return capture;
}

QByteArray compact(const Capture& capture)
{
    return QJsonDocument(capture.toJson()).toJson(QJsonDocument::Compact);
}

// The list's summary is the capture less its attachments, whether the file is
// laid out as this program writes it (its end alone is read) or otherwise
// (read once, the images' data left out), and text that looks like the
// file's own keys fools neither way.
TEST(CaptureSummaryTest, ReadsEverythingButTheImagesInEveryLayout)
{
    const QByteArray large(3 * 1024 * 1024, '\x7f');
    const Capture tricky = withImages(QStringLiteral("ligne\n    \"body\": \"piège\",\n\"data\": \"QUJD\""), {large});
    const Capture plain = withImages(QStringLiteral("Photo du jour"), {large, QByteArray("\"\\/", 3)});
    const struct {
        const char* name;
        QByteArray file;
        bool readable;
    } cases[] = {
        {"indented, large images", Json::serialize(plain.toJson()), true},
        {"indented, text like keys", Json::serialize(tricky.toJson()), true},
        {"indented, no image", Json::serialize(withImages("seul", {}).toJson()), true},
        {"compact, large images", compact(plain), true},
        {"compact, text like keys", compact(tricky), true},
        {"escaped data",
         R"({"attachments":[{"data":"QU\/D","fileExtension":"png","id":")"
             + Json::uuidText(plain.attachments.first().id).toLatin1() + R"("}],"body":"b","createdAt":1,"id":")"
             + Json::uuidText(plain.id).toLatin1() + R"("})",
         true},
        {"cut short", Json::serialize(plain.toJson()).left(2 * 1024 * 1024), false},
        {"not JSON", "pas du JSON", false},
    };
    QTemporaryDir folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.filePath(QStringLiteral("capture.json"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.file);
        file.close();
        const std::optional<Capture> expected =
            c.readable ? std::optional(summaryOf(Capture::fromJson(Json::parseObject(c.file)))) : std::nullopt;
        EXPECT_EQ(CaptureSummary::read(path), expected);
    }
}

TEST(CaptureSummaryTest, AReadGivenUpGivesNothing)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("capture.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(compact(withImages(QStringLiteral("x"), {QByteArray(1024, 'a')})));
    file.close();
    EXPECT_EQ(CaptureSummary::read(path, [] { return true; }), std::nullopt);
    EXPECT_TRUE(CaptureSummary::read(path, [] { return false; }).has_value());
}

// The elision is fed in pieces cut anywhere, even inside an escape.
TEST(CaptureSummaryTest, TheDataIsLeftOutWhereverThePiecesAreCut)
{
    const QByteArray json = R"({"data" : "AB\"\\CD", "x": {"data":"EF"}, "body": "data", "y": ["data", "GH"]})";
    const QByteArray expected = R"({"data" : "", "x": {"data":""}, "body": "data", "y": ["data", "GH"]})";
    for (qsizetype size = 1; size <= 7; ++size) {
        CaptureSummary::DataElision elision;
        for (qsizetype at = 0; at < json.size(); at += size)
            elision.feed(QByteArrayView(json.constData() + at, std::min(size, json.size() - at)));
        EXPECT_EQ(elision.text(), expected) << size;
    }
}

} // namespace
