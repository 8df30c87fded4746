#include "model/DraftEncoder.h"

#include "core/Json.h"

#include <gtest/gtest.h>

namespace quillor {
namespace {

QByteArray joined(const QList<QByteArray>& parts)
{
    QByteArray bytes;
    for (const QByteArray& part : parts)
        bytes += part;
    return bytes;
}

CaptureAttachment image(const QByteArray& data)
{
    return CaptureAttachment(QUuid::createUuid(), data, QStringLiteral("png"), std::nullopt, QStringLiteral("a.png"));
}

// The file keeps the form every reader of drafts knows, whatever the encoder
// kept from the drafts before; a replaced image is never written with the
// text of the one it replaced.
TEST(DraftEncoderTest, GivesExactlyTheCaptureJsonFromOneDraftToTheNext)
{
    const CaptureAttachment first = image(QByteArray(3000, 'a'));
    const CaptureAttachment second = image(QByteArray("\x00\xff\x10", 3));
    CaptureAttachment replaced = first;
    replaced.data = QByteArray(3000, 'b');   // same id and size, other bytes

    Capture draft(QUuid::createUuid(), ReferenceDate(1000), QStringLiteral("texte"), {}, std::nullopt);
    draft.imageReferences = QList<ImageReference>();
    const auto with = [&](const QString& body, const QList<CaptureAttachment>& attachments) {
        Capture changed = draft;
        changed.body = body;
        changed.attachments = attachments;
        return changed;
    };
    const struct {
        const char* name;
        Capture draft;
    } steps[] = {
        {"no image", draft},
        {"one image", with(QStringLiteral("une image"), {first})},
        {"a second image, the first kept", with(QStringLiteral("deux"), {first, second})},
        {"text that looks like the file's own",
         with(QStringLiteral("\"data\": \"") + QString::fromLatin1(first.data.toBase64()) + QStringLiteral("\""),
              {first, second})},
        {"the first replaced under its id", with(QStringLiteral("remplacée"), {replaced, second})},
        {"the same image twice", with(QStringLiteral("deux fois"), {second, second})},
        {"the images gone", with(QStringLiteral("vide"), {})},
        {"an image back after being let go", with(QStringLiteral("retour"), {first})},
    };
    DraftEncoder encoder;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        const QByteArray expected = Json::serialize(step.draft.toJson());
        EXPECT_EQ(joined(encoder.encode(step.draft)), expected);
        EXPECT_EQ(Capture::fromJson(Json::parseObject(expected)), step.draft);
    }
}

} // namespace
} // namespace quillor
