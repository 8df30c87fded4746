#include "AppModelTestSupport.h"

#include "core/CaptureError.h"
#include "model/VaultAccess.h"

namespace quillor {
namespace {

using namespace test;

CaptureAttachment png() { return CaptureAttachment(QUuid::createUuid(), imageBytes(Qt::darkGreen), "png"); }

// A PNG padded after its end up to `size` bytes: still decodes.
CaptureAttachment pngOfSize(qsizetype size)
{
    CaptureAttachment attachment = png();
    attachment.data.append(QByteArray(size - attachment.data.size(), '\0'));
    return attachment;
}

QString idText(const CaptureAttachment& attachment) { return Json::uuidText(attachment.id); }

TEST(AppModelImagesTest, ImagesOfAFreshInboxGoBesideTheDraftAndStayStoredWhenTheirTextGoes)
{
    DataFolder data;
    ManualClock clock;
    VaultAccess access(false);
    AppModel model(data.path(), access, environmentWith(clock));
    const auto filesBefore = data.snapshot();
    const CaptureAttachment a = png(), b = png();

    const EditorContent text = model.addImages({a, b});

    EXPECT_EQ(text.text, "![[Inbox/" + idText(a) + ".png]]\n![[Inbox/" + idText(b) + ".png]]\n");
    EXPECT_TRUE(text.images.isEmpty());
    ASSERT_EQ(model.imageReferences().size(), 2);
    EXPECT_EQ(model.imageReferences()[1].attachmentID, b.id);
    EXPECT_EQ(model.content().text, "");   // the editor inserts the text
    EXPECT_EQ(data.snapshot(), filesBefore);

    model.updateContent(EditorContent::plain("Deux images\n" + text.text));
    EXPECT_EQ(model.currentAttachments(), (QList<CaptureAttachment>{a, b}));
    model.updateContent(EditorContent::plain("Une image\n![[Inbox/" + idText(b) + ".png]]\n"));
    EXPECT_EQ(model.currentAttachments(), QList<CaptureAttachment>{b});
    // An undo may bring A's text back: the draft keeps its bytes.
    model.persistDraft();
    EXPECT_EQ(decodedDraft(*data.contents("draft.json")).attachments, (QList<CaptureAttachment>{a, b}));
}

TEST(AppModelImagesTest, AVaultDestinationPlacesImagesInTheVaultWithoutOverwritingOtherBytes)
{
    DataFolder data;
    ManualClock clock;
    VaultAccess access(false);
    const QString vault = data.folder("Vault");
    data.put("preferences.json", preferencesWith({makeDestination("Notes", "n", vault)}).encode());
    AppModel model(data.path(), access, environmentWith(clock));
    const CaptureAttachment a = png();
    DataFolder::write(vault + "/Inbox/" + idText(a) + ".png", "other bytes");

    const QString text = model.addImages({a}).text;

    EXPECT_TRUE(text.startsWith("![[Inbox/" + idText(a) + "-")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(".png]]\n")) << text.toStdString();
    EXPECT_EQ(*DataFolder::read(vault + "/Inbox/" + idText(a) + ".png"), "other bytes");
}

TEST(AppModelImagesTest, RefusedImagesChangeNothingButThoseAlreadyPlaced)
{
    const QString tooLarge = QStringLiteral("Cette image dépasse 50 Mo.");
    const QString unreadable = QStringLiteral("Cette image est illisible.");
    CaptureAttachment bmp(QUuid::createUuid(), imageBytes(Qt::darkGreen, "BMP"), "bmp");
    CaptureAttachment garbage(QUuid::createUuid(), "not an image", "png");
    CaptureAttachment linkedFile(QUuid::createUuid(), "%PDF-1.4", "pdf", true);
    const struct {
        const char* name;
        QList<CaptureAttachment> attachments;
        std::optional<QString> message;   // absent: accepted
        int recorded;
        QString typed = "Idée";
        bool authorisationRequired = false;
    } cases[] = {
        {"route to no destination", {png()}, CaptureError::missingVault().localizedDescription(), 0, "@zz idée"},
        {"folder access refused", {png()}, VaultAccess::accessError().localizedDescription(), 0, "Idée", true},
        {"unusable extension after a good image", {png(), bmp}, CaptureError::invalidAttachment().localizedDescription(),
         1},
        {"one image too large refuses all", {png(), pngOfSize(AppModel::maximumImageBytes + 1)}, tooLarge, 0},
        {"exactly the limit", {pngOfSize(AppModel::maximumImageBytes)}, std::nullopt, 1},
        {"bytes that do not decode", {png(), garbage}, unreadable, 0},
        {"a linked file is not decoded", {linkedFile}, std::nullopt, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder data;
        ManualClock clock;
        VaultAccess access(c.authorisationRequired);
        data.put("preferences.json",
                 preferencesWith({makeDestination("Notes", "n", data.folder("Vault"))}).encode());
        data.put("draft.json", bytesOf(storedDraft(c.typed, std::nullopt, std::nullopt)));
        AppModel model(data.path(), access, environmentWith(clock));
        const EditorContent before = model.content();

        std::optional<QString> message;
        try {
            model.addImages(c.attachments);
        } catch (const Error& error) {
            message = error.localizedDescription();
        }
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(model.imageReferences().size(), c.recorded);
        EXPECT_EQ(model.content(), before);
    }
}

} // namespace
} // namespace quillor
