#include "AppModelTestSupport.h"
#include "StuckDisk.h"

#include "core/FileSystem.h"

#include <QElapsedTimer>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace quillor {
namespace {

using namespace test;
using namespace std::chrono_literals;

// A session counting the writes of draft.json.
struct Drafting : Session {
    int writes = 0;

    AppModel& start(AppModel::Environment environment = {})
    {
        launch(std::move(environment));
        QObject::connect(model.get(), &AppModel::draftWritten, [this] { ++writes; });
        return *model;
    }
};

TEST(AppModelDraftTest, ABurstOfEditsIsSavedOnceAQuarterSecondAfterTheLastEditAndAnExplicitSaveReplacesIt)
{
    Drafting s;
    AppModel& model = s.start();   // the real 250 ms
    QElapsedTimer sinceLastEdit;
    qint64 writtenAfter = -1;
    QObject::connect(&model, &AppModel::draftWritten, [&] { writtenAfter = sinceLastEdit.elapsed(); });
    QString text;
    for (int edit = 0; edit < 10; ++edit) {
        text += u'x';
        sinceLastEdit.start();
        s.type(text);
        spin(100ms);
    }
    EXPECT_EQ(s.writes, 0);
    ASSERT_TRUE(waitUntil([&] { return s.writes > 0; }));
    EXPECT_GE(writtenAfter, 250);
    spin(400ms);
    EXPECT_EQ(s.writes, 1);
    EXPECT_EQ(model.draftState(), DraftState::saved());
    EXPECT_EQ(s.onDisk().body, text);

    // A save on demand leaves no autosave pending behind it.
    s.type("note");
    model.persistDraft();
    EXPECT_EQ(s.writes, 2);
    spin(400ms);
    EXPECT_EQ(s.writes, 2);
}

// Edits ten a second, never a quarter-second apart: only the test's clock
// moves, so no pause ever lets the quiet-time save run.
TEST(AppModelDraftTest, TypingThatNeverPausesIsSavedOnceItsOldestUnsavedEditIsASecondOld)
{
    Drafting s;
    s.start();
    QString text;
    const auto typeAfter = [&](int milliseconds) {
        s.clock.set(s.clock.current->addMSecs(milliseconds));
        text += u'x';
        s.type(text);
    };
    typeAfter(0);
    for (int edit = 1; edit < 10; ++edit)
        typeAfter(100);
    EXPECT_EQ(s.writes, 0);
    typeAfter(100);   // the first edit is a second old
    ASSERT_TRUE(waitUntil([&] { return s.writes == 1; }));
    EXPECT_EQ(s.onDisk().body, text);

    // The next second counts from the first edit after that save.
    typeAfter(500);
    typeAfter(900);
    spin(50ms);
    EXPECT_EQ(s.writes, 1);
    typeAfter(100);
    ASSERT_TRUE(waitUntil([&] { return s.writes == 2; }));
    EXPECT_EQ(s.onDisk().body, text);
}

TEST(AppModelDraftTest, AFailedSaveIsShownAndStopsArchiving)
{
    Drafting s;
    AppModel& model = s.start();
    s.type("keep me");
    // A folder where the file should go: renaming over it fails, even for root.
    ASSERT_TRUE(QDir().mkpath(s.data.file("draft.json") + "/inside"));

    model.persistDraft();
    const QString prefix = "Le brouillon n’a pas pu être sauvegardé : ";
    const QString message = model.draftPersistenceError().value_or("");
    EXPECT_TRUE(message.startsWith(prefix) && message.size() > prefix.size()) << message.toStdString();
    EXPECT_EQ(model.draftState(), DraftState::failed(message));
    EXPECT_EQ(s.writes, 0);
    try {
        model.archiveAndClearDraft();
        ADD_FAILURE() << "archived an unsaved draft";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error, PlatformError("Quillor", 1, message));
    }
    EXPECT_EQ(model.content().text, "keep me");
    EXPECT_TRUE(s.data.recovered().isEmpty());

    ASSERT_TRUE(QDir(s.data.file("draft.json")).removeRecursively());
    model.persistDraft();
    EXPECT_EQ(model.draftPersistenceError(), std::nullopt);
    EXPECT_EQ(model.draftState(), DraftState::saved());
}

TEST(AppModelDraftTest, ArchivingStartsAnEmptyDraftForTheSameDestination)
{
    for (const QString& text : {QStringLiteral(" \n"), QStringLiteral("worth keeping")}) {
        SCOPED_TRACE(text.toStdString());
        Drafting s;
        AppModel& model = s.start();
        int contentChanges = 0;
        model.onContentChange = [&](const EditorContent& content) {
            ++contentChanges;
            EXPECT_TRUE(content.isEmpty());
        };
        s.type(text);
        const Capture before = s.draft();

        model.archiveAndClearDraft();
        const Capture after = s.onDisk();
        EXPECT_NE(after.id, before.id);
        EXPECT_EQ(after.destinationID, before.destinationID);
        EXPECT_EQ(after.body, "");
        EXPECT_EQ(model.draftState(), DraftState::empty());
        EXPECT_EQ(contentChanges, 1);
        // Only a draft with text is worth a copy.
        s.expectRecovered(text.trimmed().isEmpty() ? std::nullopt : std::optional(before));
    }
}

// Autosaves leave the file to the writer's thread: typing goes on while a
// write is held, the newest draft is written last and the ones overtaken in
// the meantime never; a save on demand returns only once its draft is on disk.
TEST(AppModelDraftTest, AutosavesAreWrittenBehindTheEditorNewestLastAndASaveOnDemandWaitsForThem)
{
    HeldFile file;
    Drafting s;
    AppModel::Environment environment = environmentWith(s.clock);
    environment.autosaveDelay = 1ms;
    environment.writeDraftFile = file.writer();
    AppModel& model = s.start(environment);

    s.type("a");
    ASSERT_TRUE(waitUntil([&] { return file.arrived() == 1; }));
    for (const char* text : {"ab", "abc"}) {
        s.type(text);
        spin(20ms);   // the autosave's quiet time passes
    }
    EXPECT_EQ(model.draftState(), DraftState::pending());
    EXPECT_EQ(s.writes, 0);
    file.setOpen(true);
    ASSERT_TRUE(waitUntil([&] { return s.writes == 2; }));
    EXPECT_EQ(file.bodies(), (QStringList{"a", "abc"}));
    EXPECT_EQ(s.onDisk().body, "abc");
    EXPECT_EQ(model.draftState(), DraftState::saved());

    file.setOpen(false);
    s.type("abcd");
    spin(20ms);   // an autosave now held at the file
    s.type("abcde");
    std::thread opener([&] {
        std::this_thread::sleep_for(50ms);
        file.setOpen(true);
    });
    model.persistDraft();
    opener.join();
    EXPECT_EQ(s.onDisk().body, "abcde");
    EXPECT_EQ(file.bodies().last(), "abcde");
    EXPECT_EQ(model.draftState(), DraftState::saved());
    spin(50ms);
    EXPECT_EQ(s.onDisk().body, "abcde");
}

// A wait that finds the newest draft already in the file, or being written,
// writes nothing more; a draft whose write failed is written again, and each
// outcome is still told.
TEST(AppModelDraftTest, AWaitWritesOnlyWhatTheFileDoesNotHoldYet)
{
    HeldFile file;
    file.setOpen(true);
    Drafting s;
    AppModel::Environment environment = environmentWith(s.clock);
    environment.writeDraftFile = file.writer();
    AppModel& model = s.start(environment);

    s.type("a");
    model.persistDraft();
    s.type("ab");
    s.type("a");   // back to what the file holds
    EXPECT_EQ(model.draftState(), DraftState::pending());
    model.persistDraft();
    model.persistDraft();
    EXPECT_EQ(file.arrived(), 1);
    EXPECT_EQ(model.draftState(), DraftState::saved());
    EXPECT_EQ(s.writes, 3);

    file.setOpen(false);
    s.type("abc");
    model.saveDraftInBackground();
    ASSERT_TRUE(waitUntil([&] { return file.arrived() > 1; }));
    std::thread opener([&] {
        std::this_thread::sleep_for(50ms);
        file.setOpen(true);
    });
    model.persistDraft();
    opener.join();
    EXPECT_EQ(file.arrived(), 2);
    EXPECT_EQ(s.onDisk().body, "abc");

    file.setFailing(true);
    s.type("abcd");
    model.persistDraft();
    EXPECT_EQ(model.draftPersistenceError(), "Le brouillon n’a pas pu être sauvegardé : Disque plein");
    model.persistDraft();
    EXPECT_EQ(file.arrived(), 4);
    file.setFailing(false);
    model.persistDraft();
    EXPECT_EQ(file.arrived(), 5);
    EXPECT_EQ(model.draftPersistenceError(), std::nullopt);
    EXPECT_EQ(s.onDisk().body, "abcd");
}

// Quitting right after start-up does not rewrite the draft read then; a
// draft changed since is written.
TEST(AppModelDraftTest, TheDraftReadAtStartUpIsNotWrittenAgainUnchanged)
{
    HeldFile file;
    file.setOpen(true);
    Drafting s;
    Capture stored(QUuid::createUuid(), ReferenceDate(800'000'000), "Photos du chantier",
                   {CaptureAttachment(QUuid::createUuid(), "jpeg bytes", "jpg")}, std::nullopt);
    stored.imageReferences = QList<ImageReference>();
    stored.usesExplicitDestination = false;
    s.data.put(QStringLiteral("draft.json"), bytesOf(stored));
    AppModel::Environment environment = environmentWith(s.clock);
    environment.writeDraftFile = file.writer();
    AppModel& model = s.start(environment);

    model.persistDraft();
    EXPECT_EQ(file.arrived(), 0);
    EXPECT_EQ(model.draftState(), DraftState::restored());
    s.type("Photos du chantier, suite");
    model.persistDraft();
    EXPECT_EQ(file.arrived(), 1);
    EXPECT_EQ(s.onDisk().attachments, stored.attachments);
}

// The way out of the program saves the draft, but a disk that does not
// answer holds neither that save past the write's bound nor the model's end:
// the end of the process cuts the write, and the file before stays whole.
TEST(AppModelDraftTest, TheWayOutWaitsForADraftWriteNoLongerThanItsBound)
{
    for (const bool answers : {true, false}) {
        SCOPED_TRACE(answers ? "answering disk" : "stuck disk");
        StuckDisk disk;
        if (answers)
            disk.open();
        Drafting s;
        AppModel::Environment environment = environmentWith(s.clock);
        environment.writeDraftFile = disk.writer();
        if (!answers)
            environment.draftWriteBound = [](qint64) { return 100ms; };
        AppModel& model = s.start(environment);
        s.type("dernier mot");

        DraftState told;
        const auto quit = [&] {
            model.persistDraftWithinBound();
            told = model.draftState();
            s.model.reset();
        };
        EXPECT_FALSE(disk.heldUntilRescued(quit));
        EXPECT_EQ(told, answers ? DraftState::saved() : DraftState::pending());
        EXPECT_EQ(disk.bodies(), QStringList{"dernier mot"});
    }
}

} // namespace
} // namespace quillor
