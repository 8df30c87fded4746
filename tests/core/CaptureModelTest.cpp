#include "core/Capture.h"
#include "core/Json.h"
#include "core/Route.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quillor;

namespace {

QUuid uuid(const char* text)
{
    return QUuid::fromString(QString::fromLatin1(text));
}

Capture minimalCapture()
{
    Capture capture;
    capture.id = uuid("11111111-2222-3333-4444-555555555555");
    capture.createdAt = ReferenceDate{795180307.123456789};
    capture.body = QStringLiteral("Idée du jour\n");
    return capture;
}

Capture fullCapture()
{
    const QUuid imageID = uuid("aaaaaaaa-0000-0000-0000-000000000001");
    const QUuid fileID = uuid("aaaaaaaa-0000-0000-0000-000000000002");
    Capture capture(uuid("11111111-2222-3333-4444-555555555555"), ReferenceDate{-12.5},
                    QStringLiteral("Voir {{quillor-image:AAAAAAAA-0000-0000-0000-000000000001}}"),
                    {CaptureAttachment(imageID, QByteArray("\x89PNG\r\n\x1a\n\0\xff", 10), QStringLiteral("png")),
                     CaptureAttachment(fileID, QByteArray("%PDF"), QStringLiteral("pdf"), true,
                                       QStringLiteral("Rapport final.pdf"))},
                    uuid("bbbbbbbb-0000-0000-0000-000000000000"));
    capture.timeZoneIdentifier = QStringLiteral("Europe/Paris");
    capture.imageReferences = QList<ImageReference>{
        {imageID, QStringLiteral("Attachments/a.png"), std::nullopt},
        {fileID, QStringLiteral("Attachments/Rapport final.pdf"), true},
    };
    Destination destination(uuid("bbbbbbbb-0000-0000-0000-000000000000"), QStringLiteral("Journal"),
                            QStringLiteral("j"), QStringLiteral("/home/u/Vault"), DeliveryMode::appendNote,
                            QStringLiteral("Journal/Captures.md"), QStringLiteral("Attachments"));
    destination.vaultBookmark = QByteArray("bookmark\0bytes", 14);
    destination.attachmentPolicy = AttachmentPolicy{AttachmentPolicy::Location::subfolder, QStringLiteral("img")};
    destination.useObsidianAttachments = false;
    capture.deliveryDestination = destination;
    capture.deliveryVaultID = uuid("cccccccc-0000-0000-0000-000000000000");
    return capture;
}

Capture throughBytes(const Capture& capture)
{
    return Capture::fromJson(Json::parseObject(Json::serialize(capture.toJson())));
}

} // namespace

TEST(CaptureModelTest, CaptureWithoutOptionalFieldsWritesOnlyTheRequiredKeys)
{
    const Capture capture = minimalCapture();
    QStringList keys = capture.toJson().keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"attachments", "body", "createdAt", "id"}));
    EXPECT_TRUE(capture.toJson().value(QStringLiteral("attachments")).isArray());
    EXPECT_EQ(throughBytes(capture), capture);
}

TEST(CaptureModelTest, FullCaptureSurvivesARoundTrip)
{
    const Capture capture = fullCapture();
    EXPECT_EQ(throughBytes(capture), capture);

    const QJsonObject json = capture.toJson();
    EXPECT_EQ(json.value(QStringLiteral("id")).toString(), QStringLiteral("11111111-2222-3333-4444-555555555555"));
    const QJsonObject image = json.value(QStringLiteral("attachments")).toArray().at(0).toObject();
    EXPECT_FALSE(image.contains(QStringLiteral("isFile")));
    EXPECT_FALSE(image.contains(QStringLiteral("originalFilename")));
    const QJsonObject reference = json.value(QStringLiteral("imageReferences")).toArray().at(0).toObject();
    EXPECT_FALSE(reference.contains(QStringLiteral("isFile")));
    EXPECT_EQ(json.value(QStringLiteral("deliveryDestination")).toObject().value(QStringLiteral("mode")).toString(),
              QStringLiteral("appendNote"));
}

TEST(CaptureModelTest, ReadingIsStrictAboutRequiredFields)
{
    using Edit = std::function<void(QJsonObject&)>;
    const auto editNested = [](const char* key, const Edit& edit) {
        return [=](QJsonObject& o) {
            QJsonObject nested = o.value(QLatin1String(key)).toObject();
            edit(nested);
            o.insert(QLatin1String(key), nested);
        };
    };
    const auto editFirstAttachment = [](const Edit& edit) {
        return [=](QJsonObject& o) {
            QJsonArray attachments = o.value(QStringLiteral("attachments")).toArray();
            QJsonObject first = attachments.at(0).toObject();
            edit(first);
            attachments[0] = first;
            o.insert(QStringLiteral("attachments"), attachments);
        };
    };
    struct Case {
        const char* name;
        Edit edit;
        bool readable;
        std::function<void(Capture&)> expectedChange = {};
    };
    const Case cases[] = {
        {"missing attachments", [](QJsonObject& o) { o.remove("attachments"); }, false},
        {"null attachments", [](QJsonObject& o) { o.insert("attachments", QJsonValue::Null); }, false},
        {"null body", [](QJsonObject& o) { o.insert("body", QJsonValue::Null); }, false},
        {"missing id", [](QJsonObject& o) { o.remove("id"); }, false},
        {"createdAt as text", [](QJsonObject& o) { o.insert("createdAt", "2024-01-01T00:00:00Z"); }, false},
        {"body as number", [](QJsonObject& o) { o.insert("body", 3); }, false},
        {"braced id", [](QJsonObject& o) { o.insert("id", "{11111111-2222-3333-4444-555555555555}"); }, false},
        {"attachment with bad Base64", editFirstAttachment([](QJsonObject& a) { a.insert("data", "not base64!"); }),
         false},
        {"attachment without extension", editFirstAttachment([](QJsonObject& a) { a.remove("fileExtension"); }),
         false},
        {"attachment isFile as text", editFirstAttachment([](QJsonObject& a) { a.insert("isFile", "true"); }),
         false},
        {"attachment that is not an object", [](QJsonObject& o) { o.insert("attachments", QJsonArray{1}); }, false},
        {"unknown delivery mode", editNested("deliveryDestination", [](QJsonObject& d) { d.insert("mode", "weekly"); }),
         false},
        {"destination without attachmentFolder",
         editNested("deliveryDestination", [](QJsonObject& d) { d.remove("attachmentFolder"); }), false},
        {"unknown policy location",
         editNested("deliveryDestination",
                    [](QJsonObject& d) {
                        d.insert("attachmentPolicy", QJsonObject{{"location", "desktop"}, {"folder", ""}});
                    }),
         false},
        {"unknown keys are ignored", [](QJsonObject& o) { o.insert("future", QJsonObject{}); }, true},
        {"lower-case id", [](QJsonObject& o) { o.insert("id", "11111111-2222-3333-4444-555555555555"); }, true},
        {"null optional", [](QJsonObject& o) { o.insert("destinationID", QJsonValue::Null); }, true,
         [](Capture& c) { c.destinationID.reset(); }},
        {"no usesExplicitDestination", [](QJsonObject& o) { o.remove("usesExplicitDestination"); }, true,
         [](Capture& c) { c.usesExplicitDestination.reset(); }},
        {"null deliveryDestination", [](QJsonObject& o) { o.insert("deliveryDestination", QJsonValue::Null); }, true,
         [](Capture& c) { c.deliveryDestination.reset(); }},
        {"integral createdAt", [](QJsonObject& o) { o.insert("createdAt", 42); }, true,
         [](Capture& c) { c.createdAt = ReferenceDate{42}; }},
    };
    for (const Case& c : cases) {
        QJsonObject json = fullCapture().toJson();
        c.edit(json);
        if (!c.readable) {
            EXPECT_THROW(Capture::fromJson(json), JsonDecodingError) << c.name;
            continue;
        }
        Capture expected = fullCapture();
        if (c.expectedChange)
            c.expectedChange(expected);
        try {
            EXPECT_EQ(Capture::fromJson(json), expected) << c.name;
        } catch (const JsonDecodingError& error) {
            ADD_FAILURE() << c.name << ": " << error.what();
        }
    }
}

TEST(CaptureModelTest, ConstructorFillsTheZoneAndMarksTheDestinationExplicit)
{
    for (const auto& destinationID : {std::optional<QUuid>(), std::optional(QUuid::createUuid())}) {
        const Capture capture(QUuid::createUuid(), ReferenceDate::now(), QString(), {}, destinationID);
        EXPECT_EQ(capture.usesExplicitDestination, true);
        ASSERT_TRUE(capture.timeZoneIdentifier.has_value());
        EXPECT_FALSE(capture.timeZoneIdentifier->isEmpty());
        EXPECT_EQ(capture.destinationID, destinationID);
        EXPECT_FALSE(capture.imageReferences || capture.deliveryDestination || capture.deliveryVaultID);
    }
}

TEST(CaptureModelTest, TokenAndSourceTexts)
{
    const CaptureAttachment attachment(uuid("0a1b2c3d-4e5f-6a7b-8c9d-0e1f2a3b4c5d"), {}, QStringLiteral("png"));
    EXPECT_EQ(attachment.token(), QStringLiteral("{{quillor-image:0A1B2C3D-4E5F-6A7B-8C9D-0E1F2A3B4C5D}}"));

    EXPECT_EQ((ImageReference{{}, QStringLiteral("A/b c.png"), std::nullopt}).source(), QStringLiteral("![[A/b c.png]]"));
    EXPECT_EQ((ImageReference{{}, QStringLiteral("A/b.png"), false}).source(), QStringLiteral("![[A/b.png]]"));
    EXPECT_EQ((ImageReference{{}, QStringLiteral("A/f.pdf"), true}).source(), QStringLiteral("[[A/f.pdf]]"));
}

TEST(CaptureModelTest, RouteResolutionAccessors)
{
    const Route route{Destination(), QStringLiteral("texte")};
    const auto resolved = RouteResolution::resolved(route);
    EXPECT_EQ(resolved.route(), route);
    EXPECT_EQ(resolved.error(), std::nullopt);
    const auto unresolved = RouteResolution::unresolved(QStringLiteral("raison"));
    EXPECT_EQ(unresolved.route(), std::nullopt);
    EXPECT_EQ(unresolved.error(), QStringLiteral("raison"));
}
