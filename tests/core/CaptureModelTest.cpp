#include "core/Capture.h"

#include "TestSupport.h"
#include "core/Json.h"

#include <QJsonArray>

#include <functional>

using namespace quillor;

namespace {

const QUuid imageID(QStringLiteral("aaaaaaaa-0000-0000-0000-000000000001"));

Capture fullCapture()
{
    const QUuid fileID(QStringLiteral("aaaaaaaa-0000-0000-0000-000000000002"));
    const QUuid destinationID(QStringLiteral("bbbbbbbb-0000-0000-0000-000000000000"));
    Capture capture(QUuid(QStringLiteral("11111111-2222-3333-4444-555555555555")), ReferenceDate{-12.5},
                    "Voir {{quillor-image:AAAAAAAA-0000-0000-0000-000000000001}}",
                    {CaptureAttachment(imageID, QByteArray("\x89PNG\r\n\x1a\n\0\xff", 10), "png"),
                     CaptureAttachment(fileID, "%PDF", "pdf", true, "Rapport final.pdf")},
                    destinationID);
    capture.timeZoneIdentifier = "Europe/Paris";
    capture.imageReferences = QList<ImageReference>{{imageID, "Attachments/a.png", std::nullopt},
                                                    {fileID, "Attachments/Rapport final.pdf", true}};
    Destination destination(destinationID, "Journal", "j", "/home/u/Vault", DeliveryMode::appendNote,
                            "Journal/Captures.md", "Attachments");
    destination.vaultBookmark = QByteArray("bookmark\0bytes", 14);
    destination.attachmentPolicy = AttachmentPolicy{AttachmentPolicy::Location::subfolder, "img"};
    destination.useObsidianAttachments = false;
    capture.deliveryDestination = destination;
    capture.deliveryVaultID = destinationID;
    return capture;
}

// The node at the slash-separated path replaced by `value`; an undefined value removes it.
QJsonValue edited(const QJsonValue& node, const QStringList& path, const QJsonValue& value)
{
    if (path.isEmpty())
        return value;
    if (node.isArray()) {
        QJsonArray array = node.toArray();
        array[path[0].toInt()] = edited(array[path[0].toInt()], path.mid(1), value);
        return array;
    }
    QJsonObject object = node.toObject();
    object.insert(path[0], edited(object.value(path[0]), path.mid(1), value));
    return object;
}

} // namespace

TEST(CaptureModelTest, JsonRoundTripWritesOnlyPresentKeys)
{
    Capture minimal;
    minimal.id = QUuid::createUuid();
    minimal.createdAt = ReferenceDate{795180307.123456789};
    minimal.body = "Idée du jour\n";
    EXPECT_EQ(minimal.toJson().keys(), (QStringList{"attachments", "body", "createdAt", "id"}));

    for (const Capture& capture : {minimal, fullCapture()})
        EXPECT_EQ(Capture::fromJson(Json::parseObject(Json::serialize(capture.toJson()))), capture);
}

TEST(CaptureModelTest, ReadingIsStrictAboutRequiredFieldsAndTypes)
{
    // The JSON edit (an undefined value removes the key) and what it changes in the capture (nothing: unreadable).
    const std::tuple<QString, QJsonValue, std::function<void(Capture&)>> cases[] = {
        {"attachments", QJsonValue::Undefined, {}},     {"body", QJsonValue::Null, {}},
        {"body", 3, {}},                                {"id", "{11111111-2222-3333-4444-555555555555}", {}},
        {"attachments/0/data", "not base64!", {}},      {"attachments/0/fileExtension", QJsonValue::Undefined, {}},
        {"deliveryDestination/mode", "weekly", {}},     {"future", QJsonObject{}, [](Capture&) {}},
        {"destinationID", QJsonValue::Null, [](Capture& c) { c.destinationID.reset(); }},
        {"usesExplicitDestination", QJsonValue::Undefined, [](Capture& c) { c.usesExplicitDestination.reset(); }},
        {"createdAt", 42, [](Capture& c) { c.createdAt = ReferenceDate{42}; }},
    };
    for (const auto& [path, value, change] : cases) {
        SCOPED_TRACE(path.toStdString());
        const QJsonObject json = edited(fullCapture().toJson(), path.split('/'), value).toObject();
        Capture expected = fullCapture();
        if (change)
            change(expected);
        const auto error = test::thrown<JsonDecodingError>([&] { EXPECT_EQ(Capture::fromJson(json), expected); });
        EXPECT_EQ(error.has_value(), !change);
    }
}

TEST(JsonTest, UuidsAndBase64AreReadStrictly)
{
    const QUuid expected(QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"));
    EXPECT_EQ(Json::parseUuid("6f9619FF-8b86-D011-b42d-00C04fc964ff"), expected);
    EXPECT_EQ(Json::parseUuid("6F9619FF8B86-D011-B42D-00C04FC964FF0"), std::nullopt);
    EXPECT_EQ(Json::parseUuid("00000000-0000-0000-0000-000000000000"), QUuid());
    EXPECT_EQ(Json::uuidText(expected), "6F9619FF-8B86-D011-B42D-00C04FC964FF");

    const std::pair<const char*, std::optional<QByteArray>> base64[] = {
        {"", ""}, {"+/+/", QByteArray::fromHex("fbffbf")}, {"aGVsbG8", {}}, {"aGk=\r\n", {}}, {"-_-_", {}}, {"aG=k", {}},
    };
    for (const auto& [text, bytes] : base64)
        EXPECT_EQ(Json::parseBase64(text), bytes) << text;
}

TEST(JsonTest, NumbersSurviveAWriteAndReadExactly)
{
    for (const double value : {795180307.123456789, 0.1, -1.0 / 3.0, 1e-300}) {
        const QByteArray bytes = Json::serialize(Json::Writer().set("v", value).object());
        EXPECT_EQ(Json::Reader(Json::parseObject(bytes)).number("v"), value) << bytes.toStdString();
    }
    const qint64 large = 9007199254740993;   // not representable as a double
    EXPECT_EQ(Json::Reader(Json::parseObject(Json::serialize(Json::Writer().set("v", large).object()))).integer("v"), large);
}

TEST(JsonTest, ReaderTreatsMissingAndNullAsAbsentAndWrongTypesAsErrors)
{
    const Json::Reader reader(Json::parseObject(
        R"({"n": null, "b": true, "i": 3.0, "f": 2.5, "big": 1e30, "o": {}, "u": "not-a-uuid"})"));
    EXPECT_FALSE(reader.has("n") || reader.has("missing"));
    EXPECT_EQ(reader.integer("i"), 3);
    for (const auto& read : std::initializer_list<std::function<void()>>{
             [&] { reader.optionalString("b"); }, [&] { reader.array("o"); },    [&] { reader.integer("f"); },
             [&] { reader.integer("big"); },      [&] { reader.optionalUuid("u"); }, [] { Json::parseObject("[]"); },
             [] { Json::parseObject("{\"a\": "); }})
        EXPECT_THROW(read(), JsonDecodingError);
}
