#include "AppModelTestSupport.h"

#include "core/CaptureError.h"

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
    Session s;
    AppModel& model = s.launch();
    const auto filesBefore = s.data.snapshot();
    const CaptureAttachment a = png(), b = png();

    const EditorContent text = model.addImages({a, b});

    EXPECT_EQ(text.text, "![[Inbox/" + idText(a) + ".png]]\n![[Inbox/" + idText(b) + ".png]]\n");
    EXPECT_TRUE(text.images.isEmpty());
    ASSERT_EQ(model.imageReferences().size(), 2);
    EXPECT_EQ(model.imageReferences()[1].attachmentID, b.id);
    EXPECT_EQ(model.content().text, "");   // the editor inserts the text
    EXPECT_EQ(s.data.snapshot(), filesBefore);

    s.type("Deux images\n" + text.text);
    EXPECT_EQ(model.currentAttachments(), (QList<CaptureAttachment>{a, b}));
    s.type("Une image\n![[Inbox/" + idText(b) + ".png]]\n");
    EXPECT_EQ(model.currentAttachments(), QList<CaptureAttachment>{b});
    // An undo may bring A's text back: the draft keeps its bytes.
    EXPECT_EQ(s.draft().attachments, (QList<CaptureAttachment>{a, b}));
}

TEST(AppModelImagesTest, AVaultDestinationPlacesImagesInTheVaultWithoutOverwritingOtherBytes)
{
    Session s;
    const QString vault = s.data.folder("Vault");
    const CaptureAttachment a = png();
    DataFolder::write(vault + "/Inbox/" + idText(a) + ".png", "other bytes");
    const QString text = s.launchWith(preferencesWith({makeDestination("Notes", "n", vault)})).addImages({a}).text;

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
    const struct {
        const char* name;
        QList<CaptureAttachment> attachments;
        std::optional<QString> message;   // absent: accepted
        int recorded;
        QString typed = "Idée";
        bool authorisationRequired = false;
    } cases[] = {
        {"route to no destination", {png()}, CaptureError::missingVault().localizedDescription(), 0, "@zz idée"},
        {"unusable extension after a good image", {png(), bmp}, CaptureError::invalidAttachment().localizedDescription(),
         1},
        {"one image too large refuses all", {png(), pngOfSize(AppModel::maximumImageBytes + 1)}, tooLarge, 0},
        {"exactly the limit", {pngOfSize(AppModel::maximumImageBytes)}, std::nullopt, 1},
        {"bytes that do not decode", {png(), garbage}, unreadable, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s(c.authorisationRequired);
        AppModel& model = s.launchWith(preferencesWith({makeDestination("Notes", "n", s.data.folder("Vault"))}),
                                       storedDraft(c.typed, std::nullopt, std::nullopt));
        const EditorContent before = model.content();
        EXPECT_EQ(errorMessageOf([&] { model.addImages(c.attachments); }), c.message);
        EXPECT_EQ(model.imageReferences().size(), c.recorded);
        EXPECT_EQ(model.content(), before);
    }
}

// A draft keeps every image added while it lives, removed ones too: past what
// start-up reads, the next launch would set it aside. A lowered limit here
// (16 MiB) stands for start-up's.
TEST(AppModelImagesTest, ImagesThatWouldTakeTheDraftPastWhatStartUpReadsAreRefused)
{
    Session s;
    AppModel::Environment environment = environmentWith(s.clock);
    environment.maximumDraftFileSize = 16 * 1024 * 1024;
    AppModel& model = s.launch(environment);
    QStringList outcomes;
    for (int added = 0; added < 5; ++added) {
        // Each 4 MB in Base64; its text removed at once, its bytes kept.
        outcomes << errorMessageOf([&] { model.addImages({pngOfSize(3'000'000)}); }).value_or("ajoutée");
        s.type("Texte seul");
    }
    const QString refused = "Cette image rendrait le brouillon trop volumineux pour être rouvert : les images déjà "
                            "ajoutées, même retirées, y restent jusqu’à l’envoi. Le brouillon est conservé.";
    EXPECT_EQ(outcomes, (QStringList{"ajoutée", "ajoutée", "ajoutée", refused, refused}));
    EXPECT_EQ(s.draft().attachments.size(), 3);
    EXPECT_LE(QFileInfo(s.data.file("draft.json")).size(), environment.maximumDraftFileSize);
}

TEST(AppModelImagesTest, AnObsidianVaultsOwnFolderSettingTakesImagesToItsRootAndAnUnusableOneIsNamed)
{
    Session s;
    const QString vault = s.data.folder("Vault");
    DataFolder::write(vault + "/.obsidian/app.json", R"({"attachmentFolderPath": "/"})");
    AppModel& model = s.launchWith(preferencesWith({makeDestination("Notes", "n", vault)}));
    const CaptureAttachment a = png();

    const QString text = model.addImages({a}).text;
    EXPECT_EQ(text, "![[" + idText(a) + ".png]]\n");
    EXPECT_EQ(model.captureDestinationError(), std::nullopt);
    s.type("Image\n" + text);
    model.submit();
    s.waitForDelivery();
    EXPECT_EQ(model.error(), std::nullopt);
    EXPECT_EQ(DataFolder::read(vault + '/' + idText(a) + ".png"), a.data);

    DataFolder::write(vault + "/.obsidian/app.json", R"({"attachmentFolderPath": "/../Images"})");
    const QString unusable =
        "Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : « /../Images ».";
    EXPECT_EQ(errorMessageOf([&] { model.addImages({png()}); }), unusable);
    // The notice follows once the change is seen.
    EXPECT_TRUE(waitUntil([&] { return model.captureDestinationError() == unusable; }))
        << model.captureDestinationError().value_or("none").toStdString();
}

} // namespace
} // namespace quillor
