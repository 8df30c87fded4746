#include "AppModelTestSupport.h"

#include "core/CaptureArchive.h"
#include "core/CaptureError.h"
#include "core/FileSystemError.h"

namespace quillor {
namespace {

using namespace test;

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

// Two destinations, the second the default, and what the editor was shown.
struct Restoring : Session {
    const Destination alpha = makeDestination("Alpha", "a", data.folder("VaultA"));
    const Destination beta = makeDestination("Beta", "b", data.folder("VaultB"));
    QList<EditorContent> shown;

    AppModel& start(const std::optional<Preferences>& preferences = std::nullopt)
    {
        launchWith(preferences.value_or(preferencesWith({alpha, beta}, beta.id)));
        model->onContentChange = [this](const EditorContent& text) { shown.append(text); };
        return *model;
    }
};

TEST(AppModelHistoryTest, AnEntryReplacesTheDraftOnlyWhenAllowedAndTheOldTextIsKept)
{
    const struct { const char* name; QString typed; bool replacing, restores; } cases[] = {
        {"empty editor", "", true, true},
        {"text is kept in Recovered", "words of my own", true, true},
        {"text is not replaced without permission", "words of my own", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restoring s;
        const ArchivedCapture entry = archived(s.data, historyCapture("from the history", s.alpha.id, true));
        const QString historyFile = "History/" + Json::uuidText(entry.id()) + ".json";
        const QByteArray entryBytes = *s.data.contents(historyFile);
        AppModel& model = s.start();
        s.type(c.typed);
        const Capture before = s.draft();
        const auto filesBefore = s.data.snapshot();
        s.clock.advance(3600);

        model.restore(entry.capture, c.replacing);
        if (!c.restores) {
            EXPECT_EQ(s.data.snapshot(), filesBefore);
            EXPECT_EQ(model.content().text, c.typed);
            EXPECT_TRUE(s.shown.isEmpty());
            continue;
        }
        const Capture draft = s.onDisk();
        EXPECT_NE(draft.id, entry.id());
        EXPECT_NE(draft.id, before.id);
        EXPECT_EQ(draft.createdAt, s.clock.date());
        EXPECT_EQ(draft.timeZoneIdentifier, "UTC");
        EXPECT_EQ(draft.body, "from the history");
        EXPECT_EQ(draft.destinationID, s.alpha.id);
        EXPECT_EQ(s.shown, QList<EditorContent>{EditorContent::plain("from the history")});
        EXPECT_EQ(s.draft().id, draft.id);   // the model works on the draft it wrote
        EXPECT_EQ(model.draftState(), DraftState::restored());
        EXPECT_EQ(*s.data.contents(historyFile), entryBytes);
        s.expectRecovered(c.typed.trimmed().isEmpty() ? std::nullopt : std::optional(before));
    }
}

TEST(AppModelHistoryTest, AnEntryIsAdaptedToTheCurrentSettings)
{
    Restoring vaults;   // only lends its destinations to each case's session
    const Destination alpha = vaults.alpha, beta = vaults.beta;
    const QUuid deleted = QUuid::createUuid();
    const CaptureAttachment image(QUuid::createUuid(), QByteArray("png bytes"), "PNG");
    const struct {
        const char* name;
        Capture capture;
        QUuid destinationID;
        QString body;
    } cases[] = {
        {"deleted destination is kept and blocks sending", historyCapture("hi", deleted, true), deleted, "hi"},
        {"an old entry's route prefix becomes its destination", historyCapture("@a hello", std::nullopt, std::nullopt),
         alpha.id, "hello"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Restoring s;
        AppModel& model = s.start(preferencesWith({alpha, beta}, beta.id));
        Capture withImage = c.capture;
        withImage.body += u' ' + image.token();
        withImage.attachments = {image};

        model.restore(archived(s.data, withImage).capture, true);

        const Capture draft = s.onDisk();
        EXPECT_EQ(draft.destinationID, c.destinationID);
        EXPECT_EQ(draft.usesExplicitDestination, true);
        EXPECT_EQ(draft.attachments, QList<CaptureAttachment>{image});
        ASSERT_EQ(model.imageReferences().size(), 1);
        const ImageReference reference = model.imageReferences().first();
        EXPECT_EQ(model.content().text, c.body + u' ' + reference.source());
        EXPECT_TRUE(reference.path.endsWith(u'/' + Json::uuidText(image.id) + ".png")) << reference.path.toStdString();
        const RouteResolution resolution = model.routeResolution();
        EXPECT_EQ(resolution.route() ? std::optional(resolution.route()->destination.id) : std::nullopt,
                  c.destinationID == alpha.id ? std::optional(alpha.id) : std::nullopt);
    }
}

TEST(AppModelHistoryTest, ADraftThatCannotBeWrittenStaysWithTheReasonForIt)
{
    for (const QString& typed : {QStringLiteral("unsaved words"), QString()}) {
        SCOPED_TRACE(typed.isEmpty() ? "restored draft cannot be written" : "current draft cannot be saved first");
        Restoring s;
        const ArchivedCapture gone = archived(s.data, historyCapture("hi", QUuid::createUuid(), true));
        AppModel& model = s.start();
        s.type(typed);
        // A folder where the file should go: replacing it fails, even for root.
        ASSERT_TRUE(QDir().mkpath(s.data.file("draft.json") + "/inside"));
        try {
            model.restore(gone.capture, true);
            ADD_FAILURE() << "restored without writing the draft";
        } catch (const PlatformError& error) {
            ASSERT_FALSE(typed.isEmpty());
            ASSERT_TRUE(model.draftPersistenceError());
            EXPECT_EQ(error.localizedDescription(), *model.draftPersistenceError());
            EXPECT_TRUE(error.localizedDescription().startsWith("Le brouillon n’a pas pu être sauvegardé : "));
            EXPECT_NE(error.localizedDescription(), CaptureError::invalidAttachment().localizedDescription());
            EXPECT_EQ(model.draftState(), DraftState::failed(*model.draftPersistenceError()));
        } catch (const FileSystemError&) {
            EXPECT_TRUE(typed.isEmpty());
        }
        EXPECT_EQ(model.content().text, typed);
        EXPECT_TRUE(model.routeResolution().route());
        EXPECT_TRUE(s.data.recovered().isEmpty());
    }
}

} // namespace
} // namespace quillor
