#include "AppModelTestSupport.h"

#include <functional>

namespace quillor {
namespace {

using namespace test;

// What the user answers in the folder panel, and the message it leaves.
using Answer = std::function<std::optional<QString>(const DataFolder&)>;
using Message = std::function<std::optional<QString>(const DataFolder&)>;

const Answer chooseV = [](const DataFolder& d) { return d.folder("V"); };
const Answer cancel = [](const DataFolder&) { return std::nullopt; };
const Answer chooseAFile = [](const DataFolder& d) {
    DataFolder::write(d.folder("V") + "/file", "x");
    return d.folder("V") + "/file";
};
const Message bookmarkRefusal = [](const DataFolder& d) {
    return errorMessageOf([&] { VaultAccess::bookmark(d.folder("V") + "/file"); });
};

// The destination as it is stored once bound to `folder`.
Destination boundTo(Destination destination, const QString& folder)
{
    destination.vaultPath = folder;
    destination.vaultBookmark = VaultAccess::bookmark(folder);
    return destination;
}

// A model whose folder panel answers as told and counts its calls; the panel
// also tries to send and to choose again, which must be ignored while it is open.
struct Repairing : Session {
    int panels = 0;
    bool choosingWhilePanelOpen = false;

    void start(std::optional<Preferences> preferences)
    {
        if (preferences)
            data.put("preferences.json", preferences->encode());
        launch();
    }
    void answer(Answer answer)
    {
        model->onChooseVault = [this, answer](const Destination&) {
            ++panels;
            choosingWhilePanelOpen = model->choosingVault();
            model->submit();
            model->chooseCaptureFolder();
            return answer(data);
        };
    }
};

TEST(AppModelFolderRepairTest, ASubmissionAsksForTheMissingFolderStoresItAndSends)
{
    const struct {
        const char* name;
        Answer answer;
        Message error;                       // none when empty
    } cases[] = {
        {"chosen folder", chooseV, {}},
        {"cancelled", cancel, {}},
        {"a file instead of a folder", chooseAFile, bookmarkRefusal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Repairing s;
        s.start(std::nullopt);   // fresh settings
        s.answer(c.answer);
        const Destination before = s.model->preferences().destinations.first();
        s.type("hello");
        s.model->persistDraft();
        const auto files = s.data.snapshot();

        s.model->submit();
        s.waitForDelivery();
        EXPECT_EQ(s.panels, 1);
        EXPECT_TRUE(s.choosingWhilePanelOpen);
        EXPECT_FALSE(s.model->choosingVault());
        EXPECT_EQ(s.model->error(), c.error ? c.error(s.data) : std::nullopt);
        if (std::string(c.name) != "chosen folder") {
            EXPECT_EQ(s.data.snapshot(), files);
            EXPECT_EQ(s.model->preferences().destinations.first(), before);
            continue;
        }
        // Only the folder fields change: the stored attachment folder is not
        // replaced by the one delivery computes.
        const Destination expected = boundTo(before, s.data.folder("V"));
        EXPECT_EQ(s.model->preferences().destinations, QList<Destination>{expected});
        EXPECT_EQ(s.written(), s.model->preferences());
        EXPECT_EQ(QDir(expected.vaultPath + "/Inbox").entryList(QDir::Files).size(), 1);
    }
}

TEST(AppModelFolderRepairTest, AFolderForAnUnknownRouteBecomesANewDestinationAndAFailedChoiceChangesNothing)
{
    const Message unknownRoute = [](const DataFolder&) {
        return QString("Destination inconnue : zz. Choisis une destination ou retire le préfixe.");
    };
    const struct {
        const char* name;
        Answer answer;
        Message error;   // the choice is adopted when empty
    } cases[] = {
        {"chosen", [](const DataFolder& d) { return d.folder("V/MyNotes") + u'/'; }, {}},
        {"cancelled", cancel, unknownRoute},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Repairing s;
        s.start(std::nullopt);
        s.answer(c.answer);
        s.type("@zz x");
        EXPECT_TRUE(s.model->canRepairCaptureFolder());
        s.model->submit();   // leaves its message
        const Preferences preferences = s.model->preferences();
        const auto files = s.data.snapshot();

        s.model->chooseCaptureFolder();
        EXPECT_EQ(s.panels, 1);
        EXPECT_FALSE(s.model->choosingVault());
        EXPECT_EQ(s.model->error(), c.error ? c.error(s.data) : std::nullopt);
        EXPECT_EQ(s.model->content().text, "@zz x");
        if (c.error) {
            EXPECT_EQ(s.model->preferences(), preferences);
            EXPECT_EQ(s.data.snapshot(), files);
            continue;
        }
        const QList<Destination> after = s.model->preferences().destinations;
        ASSERT_EQ(after.size(), 2);
        const Destination added = boundTo(
            {after.last().id, "MyNotes", "", {}, DeliveryMode::newNote, "", "Attachments/Quillor"}, s.data.folder("V/MyNotes"));
        EXPECT_EQ(after, QList<Destination>({preferences.destinations.first(), added}));
        EXPECT_EQ(s.written(), s.model->preferences());
        const Capture draft = s.draft();
        EXPECT_EQ(draft.destinationID, added.id);
        EXPECT_EQ(draft.usesExplicitDestination, true);
        EXPECT_FALSE(s.model->canRepairCaptureFolder());
    }
}

TEST(AppModelFolderRepairTest, AChosenFolderReRootsTheStoredDestinationOnly)
{
    Repairing s;
    Destination stored = makeDestination("Carnet", "ca", s.data.folder("Old"));
    stored.mode = DeliveryMode::appendNote;
    stored.path = "Journal/Log.md";
    s.start(preferencesWith({stored}));
    s.answer([](const DataFolder& d) { return d.folder("New"); });
    s.type("hello");

    s.model->chooseCaptureFolder();
    Destination expected = boundTo(stored, s.data.folder("New"));
    expected.path = "Log.md";
    EXPECT_EQ(s.model->preferences().destinations, QList<Destination>{expected});
    EXPECT_EQ(s.written(), s.model->preferences());
}

TEST(AppModelFolderRepairTest, AFolderThatCannotBeReachedIsChosenAgainAndTheCaptureSent)
{
    Repairing s;
    // The path still names a folder, but not the one the bookmark remembers.
    const QString gone = s.data.folder("Gone");
    Destination stored = makeDestination("Carnet", "ca", s.data.folder("Old"));
    stored.vaultBookmark = VaultAccess::bookmark(gone);
    ASSERT_TRUE(QDir(gone).removeRecursively());
    s.start(preferencesWith({stored}));
    s.answer([](const DataFolder& d) { return d.folder("New"); });
    s.type("hello");
    EXPECT_FALSE(s.model->canRepairCaptureFolder());

    s.model->submit();
    EXPECT_TRUE(s.model->folderAccessFailed());
    EXPECT_TRUE(s.model->canRepairCaptureFolder());
    s.model->chooseCaptureFolder();
    EXPECT_FALSE(s.model->folderAccessFailed());
    EXPECT_FALSE(s.model->canRepairCaptureFolder());

    s.model->submit();
    s.model->chooseCaptureFolder();   // ignored while the delivery runs
    s.waitForDelivery();
    EXPECT_EQ(s.panels, 1);
    EXPECT_EQ(s.model->error(), std::nullopt);
    EXPECT_EQ(QDir(s.data.folder("New")).entryList(QDir::Files).size(), 1);
}

} // namespace
} // namespace quillor
