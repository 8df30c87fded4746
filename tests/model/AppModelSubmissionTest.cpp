#include "AppModelTestSupport.h"

#include "core/Delivery.h"
#include "core/DeliveryReceipt.h"
#include "model/VaultAccess.h"

#include <QSemaphore>

#include <atomic>
#include <functional>

namespace quillor {
namespace {

using namespace test;

const QString draftFile = QStringLiteral("draft.json");

// A model whose settings hold the given destinations, delivering with the
// real writer, and what the shell's callbacks saw.
struct Delivering : Session {
    QString vault = data.folder(QStringLiteral("Vault"));
    QList<bool> savingSeenBySaved;
    QList<EditorContent> contentsHandedOver;

    Destination inVault(const QString& name = "Inbox", const QString& alias = "in",
                        DeliveryMode mode = DeliveryMode::newNote, const QString& path = "Inbox") const
    {
        Destination destination = makeDestination(name, alias, vault);
        destination.mode = mode;
        destination.path = path;
        return destination;
    }
    void start(const QList<Destination>& destinations, AppModel::Environment environment = {})
    {
        launchWith(preferencesWith(destinations), std::nullopt, std::move(environment));
        model->onSaved = [this] { savingSeenBySaved.append(model->saving()); };
        model->onContentChange = [this](const EditorContent& content) { contentsHandedOver.append(content); };
    }
    void send() const
    {
        model->submit();
        waitForDelivery();
    }
};

QString marker(const QString& id) { return "<!-- quillor:" + id + " -->\n"; }

// The writer's note formats per mode are its own tests' business: here, where
// the note went and what the model recorded.
TEST(AppModelSubmissionTest, ADeliveryRecordsAndStartsAFreshDraft)
{
    Delivering s;
    const Destination destination = s.inVault("Carnet", "ca");
    s.start({destination});
    s.type("  hello\n");
    const Capture sent = s.draft();
    const QString id = Json::uuidText(sent.id), note = "Inbox/2025-01-31 080509-" + id.left(8) + ".md";
    s.clock.advance(60);
    s.send();

    EXPECT_TRUE(DataFolder::read(s.vault + u'/' + note).value_or("").endsWith("hello\n\n" + marker(id).toUtf8()));
    const QByteArray receiptBytes = s.data.contents("Receipts/" + id + ".json").value_or(QByteArray());
    EXPECT_FALSE(Json::parseObject(receiptBytes).contains("vaultID"));
    const DeliveryReceipt receipt{id, s.vault + u'/' + note, "2025-01-31T08:06:09Z", destination.displayName(),
                                  destination.id, std::nullopt, note};
    EXPECT_EQ(DeliveryReceipt::fromJson(Json::parseObject(receiptBytes)), receipt);
    EXPECT_EQ(s.model->latestReceipt(), receipt);
    const Capture archived = decodedDraft(s.data.contents("History/" + id + ".json").value_or(QByteArray()));
    EXPECT_EQ(archived.id, sent.id);
    EXPECT_EQ(archived.body, "  hello\n");
    EXPECT_EQ(archived.destinationID, destination.id);

    const Capture next = decodedDraft(*s.data.contents(draftFile));
    EXPECT_NE(next.id, sent.id);
    EXPECT_EQ(next.body, "");
    EXPECT_EQ(next.destinationID, destination.id);
    EXPECT_EQ(next.usesExplicitDestination, false);   // a route prefix may still route
    EXPECT_EQ(s.contentsHandedOver, QList<EditorContent>{EditorContent()});
    EXPECT_EQ(s.model->content(), EditorContent());
    EXPECT_EQ(s.model->error(), std::nullopt);
    EXPECT_EQ(s.model->draftState(), DraftState::empty());
    EXPECT_EQ(s.savingSeenBySaved, QList<bool>{false});
}

TEST(AppModelSubmissionTest, EveryFailureShowsOneMessageAndKeepsTheDraftAndTheFiles)
{
    const QString invalidImage = QStringLiteral("Une image est introuvable. Le brouillon est conservé.");
    const struct {
        const char* name;
        QString text;
        std::function<Destination(Delivering&)> destination;   // else an Inbox in the vault
        std::optional<QString> error;   // else the draft cannot be saved, and says why
        bool folderAccessFailed = false;
    } cases[] = {
        {"draft cannot be saved", "hello", nullptr, std::nullopt},
        {"unknown destination", "@zz hello", nullptr,
         "Destination inconnue : zz. Choisis une destination ou retire le préfixe."},
        {"folder cannot be reached", "hello",
         [](Delivering& s) {
             const QString gone = s.data.folder("Gone");
             Destination destination = makeDestination("Gone", "go", gone);
             destination.vaultBookmark = VaultAccess::bookmark(gone);
             QDir(gone).removeRecursively();
             return destination;
         },
         VaultAccess::accessError().localizedDescription(), true},
        {"destination invalid", "hello",
         [](Delivering& s) { return makeDestination("Nowhere", "no", s.vault + "/Missing"); },
         "Choisis un dossier de notes existant."},
        {"missing image", "![[missing.png]]", nullptr, invalidImage},
        {"delivery refused by the writer", "hello",
         [](Delivering& s) {
             DataFolder::write(s.vault + "/Log.md", QByteArray("caf\xe9\n"));
             return s.inVault("Log", "log", DeliveryMode::appendNote, "Log.md");
         },
         "La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Delivering s;
        DataFolder::write(s.vault + "/a.png", imageBytes(qRgb(1, 2, 3)));
        s.start({c.destination ? c.destination(s) : s.inVault()});
        if (!c.error)
            QDir().mkpath(s.data.file(draftFile));
        s.type(c.text);
        s.model->persistDraft();
        const auto dataBefore = s.data.snapshot();
        const auto vaultBefore = DataFolder::filesUnder(s.vault);
        const auto imagesBefore = s.model->imageReferences();

        s.send();
        EXPECT_EQ(s.model->error(), c.error ? c.error : s.model->draftPersistenceError().value_or("none"));
        EXPECT_EQ(s.model->folderAccessFailed(), c.folderAccessFailed);
        EXPECT_EQ(s.model->content().text, c.text);
        EXPECT_EQ(s.model->imageReferences(), imagesBefore);
        EXPECT_EQ(s.data.snapshot(), dataBefore);
        EXPECT_EQ(DataFolder::filesUnder(s.vault), vaultBefore);
        EXPECT_TRUE(s.savingSeenBySaved.isEmpty());
    }
}

TEST(AppModelSubmissionTest, AFailureAfterTheNoteKeepsTheDraftAndAResendDeliversItOnce)
{
    for (const QString& blocked : {QStringLiteral("Receipts"), QStringLiteral("History")}) {
        SCOPED_TRACE(blocked.toStdString());
        Delivering s;
        s.start({s.inVault()});
        s.data.put(blocked, "a file where a folder belongs");
        s.type("hello");
        const Capture sent = s.draft();
        const QString id = Json::uuidText(sent.id);

        s.send();
        ASSERT_TRUE(s.model->error());
        EXPECT_TRUE(s.model->error()->contains(s.data.file(blocked))) << s.model->error()->toStdString();
        EXPECT_EQ(s.draft(), sent);
        EXPECT_EQ(s.model->content().text, "hello");
        EXPECT_FALSE(s.data.contents("Receipts/" + id + ".json"));
        EXPECT_TRUE(s.savingSeenBySaved.isEmpty());

        ASSERT_TRUE(QFile::remove(s.data.file(blocked)));
        s.send();
        EXPECT_EQ(s.model->error(), std::nullopt);
        EXPECT_EQ(s.model->latestReceipt()->captureID, id);
        const auto notes = DataFolder::filesUnder(s.vault);
        ASSERT_EQ(notes.size(), 1);
        EXPECT_EQ(notes.first().count(marker(id).toUtf8()), 1);
    }
}

// The note was reached but the send never confirmed, and the user then added
// to the draft: what is sent now is in the note once the panel says so.
TEST(AppModelSubmissionTest, TextAddedAfterAnUnconfirmedSendReachesTheNote)
{
    for (const DeliveryMode mode : DeliveryModes::allCases()) {
        SCOPED_TRACE(DeliveryModes::rawValue(mode).toStdString());
        Delivering s;
        s.start({s.inVault("Journal", "jo", mode, "Journal")});
        s.data.put("Receipts", "a file where a folder belongs");
        s.type("premier envoi");
        const QString first = Json::uuidText(s.draft().id);
        s.send();
        ASSERT_TRUE(s.model->error());
        ASSERT_TRUE(QFile::remove(s.data.file("Receipts")));

        s.type("premier envoi SUITE IMPORTANTE");
        s.send();
        EXPECT_EQ(s.model->error(), std::nullopt);
        EXPECT_EQ(s.savingSeenBySaved, QList<bool>{false});
        ASSERT_TRUE(s.model->latestReceipt());
        const QString second = s.model->latestReceipt()->captureID;
        EXPECT_NE(second, first);
        const QByteArray note = DataFolder::read(s.model->latestReceipt()->path).value_or("");
        EXPECT_TRUE(note.contains("premier envoi SUITE IMPORTANTE\n\n" + marker(second).toUtf8())) << note.toStdString();
        EXPECT_EQ(note.count("SUITE IMPORTANTE"), 1);
        EXPECT_EQ(decodedDraft(s.data.contents("History/" + second + ".json").value_or("")).body,
                  "premier envoi SUITE IMPORTANTE");
    }
}

// The renewed send fails after its text reached the note too. The draft
// already carries the id that text went in under, so the retry writes nothing
// more; every id whose text the note holds ends with a receipt naming that
// note, the renewed one latest; and a draft a kill left with the renewed id
// after its receipt is not brought back at start-up.
TEST(AppModelSubmissionTest, ARenewedSendKeepsItsIdThroughAFailureAndARetry)
{
    for (const DeliveryMode mode : DeliveryModes::allCases()) {
        SCOPED_TRACE(DeliveryModes::rawValue(mode).toStdString());
        Delivering s;
        s.start({s.inVault("Journal", "jo", mode, "Journal")});
        s.data.put("Receipts", "a file where a folder belongs");
        s.type("premier envoi");
        const QString first = Json::uuidText(s.draft().id);
        s.send();
        ASSERT_TRUE(s.model->error());

        s.type("premier envoi SUITE IMPORTANTE");
        s.send();
        ASSERT_TRUE(s.model->error());
        const Capture renewed = s.onDisk();
        const QString second = Json::uuidText(renewed.id);
        EXPECT_NE(second, first);
        EXPECT_EQ(renewed.body, "premier envoi SUITE IMPORTANTE");

        ASSERT_TRUE(QFile::remove(s.data.file("Receipts")));
        s.send();
        EXPECT_EQ(s.model->error(), std::nullopt);
        ASSERT_TRUE(s.model->latestReceipt());
        EXPECT_EQ(s.model->latestReceipt()->captureID, second);
        QByteArray notes;
        for (const QByteArray& note : DataFolder::filesUnder(s.vault))
            notes += note;
        EXPECT_EQ(notes.count("SUITE IMPORTANTE"), 1) << notes.toStdString();
        for (const QString& id : {first, second}) {
            const std::optional<QByteArray> bytes = s.data.contents("Receipts/" + id + ".json");
            ASSERT_TRUE(bytes) << id.toStdString();
            const DeliveryReceipt receipt = DeliveryReceipt::fromJson(Json::parseObject(*bytes));
            EXPECT_EQ(DataFolder::read(receipt.path).value_or("").count(marker(id).toUtf8()), 1) << receipt.path.toStdString();
        }

        s.data.put(draftFile, bytesOf(renewed));
        s.launch();
        EXPECT_EQ(s.model->draftState(), DraftState::empty());
        // Both receipts came from one record: the renewed send's is still
        // the latest one read back.
        ASSERT_TRUE(waitUntil([&] { return s.model->latestReceipt().has_value(); }));
        EXPECT_EQ(s.model->latestReceipt()->captureID, second);
    }
}

// A draft holding images takes seconds to write: the send waits for it
// without holding up the UI thread, and delivers once it is on disk.
TEST(AppModelSubmissionTest, ASendWaitsForADraftWithImagesToBeSavedWithoutBlocking)
{
    Delivering s;
    const Destination destination = s.inVault();
    const CaptureAttachment photo(QUuid::createUuid(), imageBytes(qRgb(10, 20, 30)), "png");
    const ImageReference reference{photo.id, "Inbox/photo.png", std::nullopt};
    Capture stored = storedDraft("photo " + reference.source(), destination.id);
    stored.attachments = {photo};
    stored.imageReferences = QList<ImageReference>{reference};
    s.data.put(draftFile, bytesOf(stored));
    QSemaphore release;
    std::atomic_bool written = false;
    AppModel::Environment environment = environmentWith(s.clock);
    environment.writeDraftFile = [&](const QString& path, const QList<QByteArrayView>& parts) {
        // Never for ever: a send that blocks on this write must still end.
        release.tryAcquire(1, 10'000);
        FileSystem::writeAtomically(path, parts);
        written = true;
    };
    s.start({destination}, environment);
    s.type("photo " + reference.source() + " du jour");

    s.model->submit();
    EXPECT_FALSE(written);
    EXPECT_TRUE(s.model->saving());
    EXPECT_TRUE(DataFolder::filesUnder(s.vault).isEmpty());
    release.release(2);   // this draft, then the next one
    s.waitForDelivery();
    EXPECT_EQ(s.model->error(), std::nullopt);
    ASSERT_TRUE(s.model->latestReceipt());
    EXPECT_TRUE(DataFolder::read(s.model->latestReceipt()->path).value_or("").contains("du jour"));
    EXPECT_EQ(decodedDraft(*s.data.contents(draftFile)).body, "");
}

TEST(AppModelSubmissionTest, ImagesArePlacedAgainAndOnlyThoseStillInTheText)
{
    Delivering s;
    const Destination destination = s.inVault();
    const CaptureAttachment moved(QUuid::createUuid(), imageBytes(qRgb(10, 0, 0)), "png");
    const CaptureAttachment kept(QUuid::createUuid(), imageBytes(qRgb(0, 10, 0)), "png");
    const CaptureAttachment deleted(QUuid::createUuid(), imageBytes(qRgb(0, 0, 10)), "png");
    const auto referenceTo = [](const CaptureAttachment& attachment) {
        return ImageReference{attachment.id, "Old/" + Json::uuidText(attachment.id) + ".png", std::nullopt};
    };
    Capture stored = storedDraft("x " + referenceTo(moved).source() + " " + referenceTo(kept).source() + " ![[a.png]]",
                                 destination.id);
    stored.attachments = {moved, kept, deleted};
    stored.imageReferences = QList<ImageReference>{referenceTo(moved), referenceTo(kept), referenceTo(deleted)};
    s.data.put(draftFile, bytesOf(stored));
    // Another image already holds the first one's earlier path.
    DataFolder::write(s.vault + u'/' + referenceTo(moved).path, imageBytes(qRgb(99, 99, 99)));
    DataFolder::write(s.vault + "/a.png", imageBytes(qRgb(1, 2, 3)));
    s.start({destination});

    s.send();
    ASSERT_EQ(s.model->error(), std::nullopt);
    const Capture archived = decodedDraft(*s.data.contents("History/" + Json::uuidText(stored.id) + ".json"));
    EXPECT_EQ(archived.attachments, stored.attachments);
    const QList<ImageReference> placed = archived.imageReferences.value_or(QList<ImageReference>());
    ASSERT_EQ(placed.size(), 3);
    EXPECT_NE(placed[0].path, referenceTo(moved).path);
    EXPECT_EQ(placed[1], referenceTo(kept));
    EXPECT_EQ(placed[2], referenceTo(deleted));
    EXPECT_EQ(archived.body, "x " + placed[0].source() + " " + placed[1].source() + " ![[a.png]]");
    EXPECT_EQ(DataFolder::read(s.vault + u'/' + placed[0].path), moved.data);
    EXPECT_EQ(DataFolder::read(s.vault + u'/' + placed[1].path), kept.data);
    EXPECT_FALSE(QFileInfo::exists(s.vault + u'/' + placed[2].path));
}

TEST(AppModelSubmissionTest, NothingToSendOrADeliveryInFlightIsIgnoredQuietly)
{
    Delivering s;
    Delivery writer(s.data.path() + "/Backups");
    int deliveries = 0;
    AppModel::Environment environment = environmentWith(s.clock);
    environment.deliver = [&](const Capture& capture, const Destination& destination) {
        ++deliveries;
        return writer.save(capture, destination);
    };
    s.start({s.inVault()}, environment);
    s.model->setError(QStringLiteral("earlier"));
    s.type("\n \n");
    s.model->persistDraft();
    const auto before = s.data.snapshot();
    s.model->submit();
    EXPECT_FALSE(s.model->saving());
    EXPECT_EQ(s.model->error(), "earlier");
    EXPECT_EQ(s.data.snapshot(), before);

    s.type("hello");
    s.model->submit();
    EXPECT_TRUE(s.model->saving());
    s.model->submit();
    ASSERT_TRUE(waitUntil([&] { return !s.model->saving(); }));
    EXPECT_EQ(deliveries, 1);
    EXPECT_EQ(s.savingSeenBySaved, QList<bool>{false});
}

TEST(AppModelSubmissionTest, ASendWaitsForTheImagesTheEditorIsReadingUnlessOneFails)
{
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "a read fails" : "the reads end");
        Delivering s;
        int deliveries = 0;
        AppModel::Environment environment = environmentWith(s.clock);
        environment.deliver = [&](const Capture&, const Destination&) {
            ++deliveries;
            return QtFuture::makeReadyFuture(s.vault + QStringLiteral("/Inbox/note.md"));
        };
        s.start({s.inVault()}, environment);
        s.model->setReadingImages(true);
        QList<QString> afterReads;
        s.model->whenImagesRead([&] { afterReads.append(QStringLiteral("quit")); });
        // Nothing typed yet: the image being read is the content.
        s.model->submit();
        EXPECT_TRUE(s.model->saving());
        s.model->submit();
        s.type("hello");
        if (fails)
            s.model->setError(QStringLiteral("Cette image dépasse 50 Mo."));
        EXPECT_EQ(s.model->saving(), !fails);
        EXPECT_TRUE(afterReads.isEmpty());
        s.model->setReadingImages(false);
        EXPECT_EQ(afterReads, QList<QString>{QStringLiteral("quit")});
        s.waitForDelivery();
        EXPECT_EQ(deliveries, fails ? 0 : 1);
        EXPECT_EQ(s.model->error().has_value(), fails);
        // Nothing being read: at once.
        s.model->whenImagesRead([&] { afterReads.append(QStringLiteral("again")); });
        EXPECT_EQ(afterReads.size(), 2);
    }
}

} // namespace
} // namespace quillor
