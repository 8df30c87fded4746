#include "AppModelTestSupport.h"

#include "core/CaptureArchive.h"
#include "core/CaptureError.h"
#include "core/FileSystemError.h"
#include "model/VaultAccess.h"

namespace quillor {
namespace {

using namespace test;

const QString draftFile = QStringLiteral("draft.json");
const QString missingMessage = QStringLiteral("La destination d’origine n’existe plus. Choisis une destination.");

// A history entry as the settings window hands it over: read back from the
// archive, after being written where deliveries put their copies.
ArchivedCapture archived(const DataFolder& data, const Capture& capture)
{
    data.put("History/" + Json::uuidText(capture.id) + ".json", bytesOf(capture));
    for (const ArchivedCapture& entry : CaptureArchive{data.path()}.entries()) {
        if (entry.id() == capture.id)
            return entry;
    }
    ADD_FAILURE() << "entry not listed";
    return {};
}

Capture historyCapture(const QString& body, std::optional<QUuid> destinationID, std::optional<bool> isExplicit)
{
    Capture capture = storedDraft(body, destinationID, isExplicit);
    capture.timeZoneIdentifier = QStringLiteral("Asia/Tokyo");
    return capture;
}

class AppModelHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.put("preferences.json", preferencesWith({alpha, beta}, beta.id).encode());
        entry = archived(data, historyCapture("from the history", alpha.id, true));
    }

    std::unique_ptr<AppModel> start()
    {
        auto model = std::make_unique<AppModel>(data.path(), access, environmentWith(clock));
        model->onContentChange = [this](const EditorContent& text) { shown.append(text); };
        return model;
    }
    Capture saved() const { return decodedDraft(data.contents(draftFile).value_or(QByteArray())); }
    QByteArray historyBytes() const { return *data.contents("History/" + Json::uuidText(entry.id()) + ".json"); }

    DataFolder data;
    ManualClock clock;
    VaultAccess access{false};
    const Destination alpha = makeDestination("Alpha", "a", data.folder("VaultA"));
    const Destination beta = makeDestination("Beta", "b", data.folder("VaultB"));
    ArchivedCapture entry;
    QList<EditorContent> shown;
};

TEST_F(AppModelHistoryTest, AnEntryReplacesTheDraftOnlyWhenAllowedAndTheOldTextIsKept)
{
    const struct {
        const char* name;
        QString typed;
        bool replacing;
        bool restores;
    } cases[] = {
        {"empty editor", "", true, true},
        {"blank editor needs no permission", " \n", false, true},
        {"text is kept in Recovered", "words of my own", true, true},
        {"text is not replaced without permission", "words of my own", false, false},
    };
    const QByteArray entryBytes = historyBytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(data.file("Recovered")).removeRecursively();
        shown.clear();
        const auto model = start();
        model->updateContent(EditorContent::plain(c.typed));
        model->persistDraft();
        const Capture before = saved();
        const auto filesBefore = data.snapshot();
        clock.advance(3600);

        model->restore(entry.capture, c.replacing);

        if (!c.restores) {
            EXPECT_EQ(data.snapshot(), filesBefore);
            EXPECT_EQ(model->content().text, c.typed);
            EXPECT_TRUE(shown.isEmpty());
            continue;
        }
        const Capture draft = saved();
        EXPECT_NE(draft.id, entry.id());
        EXPECT_NE(draft.id, before.id);
        EXPECT_EQ(draft.createdAt, clock.date());
        EXPECT_EQ(draft.timeZoneIdentifier, "UTC");
        EXPECT_EQ(draft.body, "from the history");
        EXPECT_EQ(draft.destinationID, alpha.id);
        EXPECT_EQ(shown, QList<EditorContent>{EditorContent::plain("from the history")});
        EXPECT_EQ(model->draftState(), DraftState::restored());
        model->persistDraft();
        EXPECT_EQ(model->draftState(), DraftState::restored());
        EXPECT_EQ(saved().id, draft.id);
        EXPECT_EQ(historyBytes(), entryBytes);

        const QStringList copies = data.recovered();
        if (c.typed.trimmed().isEmpty()) {
            EXPECT_TRUE(copies.isEmpty());
        } else {
            ASSERT_EQ(copies.size(), 1);
            EXPECT_TRUE(copies.first().startsWith(Json::uuidText(before.id) + "-"));
            EXPECT_EQ(decodedDraft(*data.contents("Recovered/" + copies.first())), before);
        }
    }
}

TEST_F(AppModelHistoryTest, AnEntryIsAdaptedToTheCurrentSettings)
{
    const QUuid deleted = QUuid::createUuid();
    const CaptureAttachment image(QUuid::createUuid(), QByteArray("png bytes"), "PNG");
    const struct {
        const char* name;
        QByteArray settings;
        Capture capture;
        std::optional<QUuid> destinationID;
        QString body;
        std::optional<QString> resolvesTo;   // a name; absent: blocked as a missing destination
    } cases[] = {
        {"its destination", preferencesWith({alpha, beta}, beta.id).encode(), historyCapture("hi", alpha.id, true),
         alpha.id, "hi", "Alpha"},
        {"deleted destination is kept and blocks sending", preferencesWith({alpha, beta}, beta.id).encode(),
         historyCapture("hi", deleted, true), deleted, "hi", std::nullopt},
        {"an old entry's route prefix becomes its destination", preferencesWith({alpha, beta}, beta.id).encode(),
         historyCapture("@a hello", std::nullopt, std::nullopt), alpha.id, "hello", "Alpha"},
        {"explicit entry without destination takes the default", preferencesWith({alpha, beta}, beta.id).encode(),
         historyCapture("hi", std::nullopt, true), beta.id, "hi", "Beta"},
        {"no destination in the settings leaves it without one", R"({"destinations":[]})",
         historyCapture("hi", std::nullopt, true), std::nullopt, "hi", "Inbox"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder folder;
        folder.put("preferences.json", c.settings);
        AppModel model(folder.path(), access, environmentWith(clock));
        Capture withImage = c.capture;
        withImage.body += u' ' + image.token();
        withImage.attachments = {image};

        model.restore(archived(folder, withImage).capture, true);

        const Capture draft = decodedDraft(*folder.contents(draftFile));
        EXPECT_EQ(draft.destinationID, c.destinationID);
        EXPECT_EQ(draft.usesExplicitDestination, true);
        ASSERT_EQ(model.imageReferences().size(), 1);
        const ImageReference reference = model.imageReferences().first();
        EXPECT_EQ(model.content().text, c.body + u' ' + reference.source());
        EXPECT_TRUE(reference.path.endsWith(u'/' + Json::uuidText(image.id) + ".png")) << reference.path.toStdString();
        EXPECT_EQ(draft.attachments, QList<CaptureAttachment>{image});

        const RouteResolution resolution = model.routeResolution();
        if (c.resolvesTo) {
            ASSERT_TRUE(resolution.route()) << resolution.error()->toStdString();
            EXPECT_EQ(resolution.route()->destination.name, *c.resolvesTo);
        } else {
            EXPECT_EQ(resolution.error(), missingMessage);
            EXPECT_EQ(model.destinationLabel(), "Destination non résolue");
        }
    }
}

TEST_F(AppModelHistoryTest, ADraftThatCannotBeWrittenStaysWithTheReasonForIt)
{
    const struct {
        const char* name;
        QString typed;
    } cases[] = {
        {"current draft cannot be saved first", "unsaved words"},
        {"restored draft cannot be written", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder folder;
        folder.put("preferences.json", preferencesWith({alpha, beta}, beta.id).encode());
        const ArchivedCapture gone = archived(folder, historyCapture("hi", QUuid::createUuid(), true));
        AppModel model(folder.path(), access, environmentWith(clock));
        model.updateContent(EditorContent::plain(c.typed));
        // A folder where the file should go: replacing it fails, even for root.
        ASSERT_TRUE(QDir().mkpath(folder.file(draftFile) + "/inside"));

        try {
            model.restore(gone.capture, true);
            ADD_FAILURE() << "restored without writing the draft";
        } catch (const PlatformError& error) {
            ASSERT_FALSE(c.typed.isEmpty());
            ASSERT_TRUE(model.draftPersistenceError());
            EXPECT_EQ(error.localizedDescription(), *model.draftPersistenceError());
            EXPECT_TRUE(error.localizedDescription().startsWith("Le brouillon n’a pas pu être sauvegardé : "));
            EXPECT_NE(error.localizedDescription(), CaptureError::invalidAttachment().localizedDescription());
            EXPECT_EQ(model.draftState(), DraftState::failed(*model.draftPersistenceError()));
        } catch (const FileSystemError&) {
            EXPECT_TRUE(c.typed.isEmpty());
        }
        EXPECT_EQ(model.content().text, c.typed);
        EXPECT_TRUE(model.routeResolution().route());
        EXPECT_TRUE(folder.recovered().isEmpty());
    }
}

} // namespace
} // namespace quillor
