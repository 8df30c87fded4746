#include "model/EditorContent.h"

#include "../core/TestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

using namespace quillor;

namespace {

const QUuid idA(QStringLiteral("1a2b3c4d-0000-4000-8000-00000000000a"));
const QUuid idB(QStringLiteral("1a2b3c4d-0000-4000-8000-00000000000b"));
const QString textA = QStringLiteral("1A2B3C4D-0000-4000-8000-00000000000A");
const QString tokenA = "{{quillor-image:" + textA + "}}";
const QString textB = QStringLiteral("1A2B3C4D-0000-4000-8000-00000000000B");
const QString tokenB = "{{quillor-image:" + textB + "}}";
const QString object(QChar(0xFFFC));

QByteArray image(int width, int height, const char* format = "PNG",
                 QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone)
{
    QImage picture(width, height, QImage::Format_Grayscale8);
    picture.fill(0);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setTransformation(transformation);
    EXPECT_TRUE(writer.write(picture)) << writer.errorString().toStdString();
    return buffer.data();
}

InlineImage inlineImage(const QString& fileName, const std::optional<QByteArray>& contents)
{
    return InlineImage{0, fileName, contents, std::nullopt};
}

Capture capture(const QString& body, const QList<CaptureAttachment>& attachments,
                const std::optional<QList<ImageReference>>& references = std::nullopt)
{
    Capture result(QUuid::createUuid(), ReferenceDate(), body, attachments, std::nullopt);
    result.imageReferences = references;
    return result;
}

} // namespace

TEST(EditorContentTest, RenderThenSerializeGivesTheBodyBack)
{
    const CaptureAttachment a(idA, image(100, 100), "PNG");
    const CaptureAttachment b(idB, "not an image", "txt");
    const QList<ImageReference> referenceA{{idA, "Attachments/Quillor/A.png", std::nullopt}};
    const QString embedA = "![[Attachments/Quillor/A.png]]";
    const QList<ImageReference> crafted{{idA, "x" + tokenA, std::nullopt}};
    struct Case {
        QString body;
        std::optional<QList<ImageReference>> references;
        QString rendered;
        QString serialized;   // empty: the body itself
    };
    const Case cases[] = {
        {"a " + tokenA + " b " + tokenA, std::nullopt, "a " + object + " b " + object, ""},
        {"a " + tokenA + " b " + tokenA, referenceA, "a " + embedA + " b " + embedA, "a " + embedA + " b " + embedA},
        {tokenB + tokenA + tokenB, referenceA, object + embedA + object, tokenB + embedA + tokenB},
        {"x {{quillor-image:1A2B3C4D-0000-4000-8000-00000000000C}}", referenceA,
         "x {{quillor-image:1A2B3C4D-0000-4000-8000-00000000000C}}", ""},
        // A reference that spells its own token is inserted once per token.
        {tokenA + tokenA, crafted, "![[x" + tokenA + "]]![[x" + tokenA + "]]", "![[x" + tokenA + "]]![[x" + tokenA + "]]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        const EditorContent rendered = EditorContents::render(capture(c.body, {a, b}, c.references));
        EXPECT_EQ(rendered.text, c.rendered);
        EXPECT_EQ(rendered.images.size(), c.rendered.count(object));
        for (const InlineImage& image : rendered.images)
            EXPECT_EQ(rendered.text.at(image.position), QChar(0xFFFC));
        EXPECT_EQ(EditorContents::serializedBody(rendered), c.serialized.isEmpty() ? c.body : c.serialized);
    }

    const EditorContent inlineA = EditorContents::render(capture(tokenA + " " + tokenA, {a}));
    const InlineImage expected{0, textA + ".PNG", a.data, QSizeF(100, 100)};
    EXPECT_EQ(inlineA.images, (QList<InlineImage>{expected, {2, expected.fileName, a.data, expected.displaySize}}));
    EXPECT_EQ(EditorContents::extractAttachments(inlineA), QList<CaptureAttachment>{a});
}

// An image is tied to an attachment by a file name that is an id, less any
// extension; the others stay object characters in the body.
TEST(EditorContentTest, OnlyImagesTiedToAnAttachmentBecomeTokensAndAttachmentsEachIdOnce)
{
    EditorContent content = EditorContent::plain("x");
    content.append(inlineImage("photo.png", "1")).append(" ").append(inlineImage(textA + ".png", std::nullopt));
    content.append(object);   // a character with no image on it
    content.append(inlineImage("{" + textA + "}.png", "2")).append(inlineImage(textA.toLower() + ".JPG", "3"));
    EXPECT_EQ(EditorContents::serializedBody(content), "x" + object + " " + tokenA + object + object + tokenA);

    const QString textC = QStringLiteral("1A2B3C4D-0000-4000-8000-00000000000C");
    content = EditorContent();
    for (const InlineImage& image : {inlineImage("photo.png", "0"), inlineImage(textA + ".png", "1"),
                                     inlineImage(textB + ".png", std::nullopt), inlineImage(textA + ".jpg", "2"),
                                     inlineImage(textA.toLower() + ".png", "3"), inlineImage(idB.toString() + ".png", "4"),
                                     inlineImage(textC + ".tar.gz", "5"), inlineImage(textC.toLower(), "6")})
        content.append(image).append("\n");
    EXPECT_EQ(EditorContents::extractAttachments(content),
              (QList<CaptureAttachment>{{idA, "1", "png"}, {QUuid(textC), "6", ""}}));
}

TEST(EditorContentTest, MigrateImagesTurnsTokensIntoVaultPaths)
{
    const QList<CaptureAttachment> attachments{{idA, "1", "PNG"}, {idB, "2", "Jpeg"}};
    const ImageReference oldB{idB, "Old/b.jpeg", true};
    struct Case {
        QString folder;
        QString body;
        std::optional<QList<ImageReference>> references;
        QString migratedBody;
        QList<ImageReference> migratedReferences;
    };
    const Case cases[] = {
        {"Attachments/Quillor", "a " + tokenA + " " + tokenA, std::nullopt,
         "a ![[Attachments/Quillor/" + textA + ".png]] ![[Attachments/Quillor/" + textA + ".png]]",
         {{idA, "Attachments/Quillor/" + textA + ".png", std::nullopt}}},
        {"F", tokenB + " " + tokenA, QList<ImageReference>{oldB}, "[[Old/b.jpeg]] ![[F/" + textA + ".png]]",
         {oldB, {idA, "F/" + textA + ".png", std::nullopt}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        Destination destination;
        destination.attachmentFolder = c.folder;
        const Capture draft = capture(c.body, attachments, c.references);
        const Capture migrated = EditorContents::migrateImages(draft, destination);
        EXPECT_EQ(migrated.body, c.migratedBody);
        EXPECT_EQ(migrated.imageReferences, std::optional(c.migratedReferences));
        Capture rest = migrated;
        rest.body = draft.body;
        rest.imageReferences = draft.imageReferences;
        EXPECT_EQ(rest, draft);
    }
}

TEST(EditorContentTest, DisplaySizeFitsWithoutEnlarging)
{
    const std::pair<QSizeF, QSizeF> cases[] = {
        {{4000, 1000}, {460, 115}}, {{100, 100}, {100, 100}}, {{300, 1200}, {80, 320}}, {{0, 0}, {0, 0}},
    };
    for (const auto& [natural, shown] : cases)
        EXPECT_EQ(EditorContents::displaySize(natural), shown);
    EXPECT_EQ(EditorContents::displaySize(QByteArray("not an image")), std::nullopt);
    if (QImageWriter::supportedImageFormats().contains("jpeg")) {
        // A photo stored sideways is shown upright.
        EXPECT_EQ(EditorContents::displaySize(image(1200, 300, "JPEG", QImageIOHandler::TransformationRotate90)),
                  QSizeF(80, 320));
    }
}

TEST(EditorContentTest, ReplacingMovesAndDropsImages)
{
    EditorContent content = EditorContent::plain("ab");
    content.append(inlineImage("1.png", "1")).append("cd").append(inlineImage("2.png", "2")).append("e");
    content.replace({2, 2}, EditorContent::plain("XYZ"));
    EXPECT_EQ(content, (EditorContent{"abXYZd" + object + "e", {{6, "2.png", "2", std::nullopt}}}));
    content.replace({0, 0}, EditorContent().append(inlineImage("3.png", "3")));
    EXPECT_EQ(content.imageAt(0)->fileName, "3.png");
    EXPECT_EQ(content.imageAt(7)->fileName, "2.png");
    EXPECT_EQ(content.imageAt(6), nullptr);
}
