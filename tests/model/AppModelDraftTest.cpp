#include "AppModelTestSupport.h"

#include "core/Error.h"
#include "model/VaultAccess.h"

#include <QElapsedTimer>

namespace quillor {
namespace {

using namespace test;
using namespace std::chrono_literals;

const QString draftFile = QStringLiteral("draft.json");

class AppModelDraftTest : public ::testing::Test {
protected:
    // The model on the data folder, started afresh.
    std::unique_ptr<AppModel> start(AppModel::Environment environment)
    {
        auto model = std::make_unique<AppModel>(data.path(), access, std::move(environment));
        QObject::connect(model.get(), &AppModel::draftWritten, [this] { ++writes; });
        return model;
    }
    Capture saved() const { return decodedDraft(data.contents(draftFile).value_or(QByteArray())); }

    DataFolder data;
    ManualClock clock;
    VaultAccess access{false};
    int writes = 0;
};

TEST_F(AppModelDraftTest, ADraftIsDatedByItsFirstNonBlankEdit)
{
    auto environment = environmentWith(clock);
    environment.timeZoneIdentifier = [] { return QStringLiteral("Europe/Paris"); };
    const auto model = start(environment);
    const ReferenceDate made = clock.date();
    const struct {
        const char* text;
        int secondsLater;
        int datedAtStep;   // -1: when the draft was made
        DraftState state;
    } steps[] = {
        {"   \n", 10, -1, DraftState::empty()},
        {"a", 10, 1, DraftState::pending()},
        {"ab", 10, 1, DraftState::pending()},
        {"", 10, 1, DraftState::empty()},
        {"c", 10, 4, DraftState::pending()},
    };
    QList<ReferenceDate> moments;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.text);
        clock.advance(step.secondsLater);
        moments.append(clock.date());
        model->updateContent(EditorContent::plain(step.text));
        EXPECT_EQ(model->draftState(), step.state);
        EXPECT_EQ(model->status(), "");
        model->persistDraft();
        const Capture draft = saved();
        EXPECT_EQ(draft.createdAt, step.datedAtStep < 0 ? made : moments[step.datedAtStep]);
        EXPECT_EQ(draft.body, step.text);
        if (step.datedAtStep >= 0) {
            EXPECT_EQ(draft.timeZoneIdentifier, "Europe/Paris");
        }
    }
}

TEST_F(AppModelDraftTest, ABurstOfEditsIsSavedOnceAQuarterSecondAfterTheLastEdit)
{
    const auto model = start(environmentWith(clock));   // the real 250 ms
    QElapsedTimer sinceLastEdit;
    qint64 writtenAfter = -1;
    QObject::connect(model.get(), &AppModel::draftWritten, [&] { writtenAfter = sinceLastEdit.elapsed(); });

    QString text;
    for (int edit = 0; edit < 10; ++edit) {
        text += u'x';
        sinceLastEdit.start();
        model->updateContent(EditorContent::plain(text));
        spin(100ms);
    }
    EXPECT_EQ(writes, 0);
    ASSERT_TRUE(waitUntil([&] { return writes > 0; }));
    EXPECT_GE(writtenAfter, 250);
    spin(400ms);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(saved().body, text);
    EXPECT_EQ(model->draftState(), DraftState::saved());
}

TEST_F(AppModelDraftTest, AnExplicitSaveReplacesThePendingAutosave)
{
    auto environment = environmentWith(clock);
    environment.autosaveDelay = 50ms;
    const auto model = start(environment);
    model->updateContent(EditorContent::plain("note"));
    model->persistDraft();
    EXPECT_EQ(writes, 1);
    spin(150ms);
    EXPECT_EQ(writes, 1);
}

TEST_F(AppModelDraftTest, AFailedSaveIsShownAndStopsArchiving)
{
    const auto model = start(environmentWith(clock));
    model->updateContent(EditorContent::plain("keep me"));
    // A folder where the file should go: renaming over it fails, even for root.
    ASSERT_TRUE(QDir().mkpath(data.file(draftFile) + "/inside"));

    model->persistDraft();
    const QString prefix = "Le brouillon n’a pas pu être sauvegardé : ";
    ASSERT_TRUE(model->draftPersistenceError());
    EXPECT_TRUE(model->draftPersistenceError()->startsWith(prefix)) << model->draftPersistenceError()->toStdString();
    EXPECT_GT(model->draftPersistenceError()->size(), prefix.size());
    EXPECT_EQ(model->draftState(), DraftState::failed(*model->draftPersistenceError()));
    EXPECT_EQ(writes, 0);

    try {
        model->archiveAndClearDraft();
        ADD_FAILURE() << "archived an unsaved draft";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error, PlatformError("Quillor", 1, *model->draftPersistenceError()));
    }
    EXPECT_EQ(model->content().text, "keep me");
    EXPECT_TRUE(data.recovered().isEmpty());

    ASSERT_TRUE(QDir(data.file(draftFile)).removeRecursively());
    model->persistDraft();
    EXPECT_EQ(model->draftPersistenceError(), std::nullopt);
    EXPECT_EQ(model->draftState(), DraftState::saved());
}

TEST_F(AppModelDraftTest, ArchivingStartsAnEmptyDraftForTheSameDestination)
{
    const struct {
        const char* name;
        QString text;
        qsizetype recoveredCopies;
    } cases[] = {
        {"blank draft", " \n", 0},
        {"draft with text", "worth keeping", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DataFolder folder;
        VaultAccess vaults(false);
        AppModel model(folder.path(), vaults, environmentWith(clock));
        int contentChanges = 0;
        model.onContentChange = [&](const EditorContent& content) {
            ++contentChanges;
            EXPECT_TRUE(content.isEmpty());
        };
        model.updateContent(EditorContent::plain(c.text));
        model.persistDraft();
        const Capture before = decodedDraft(*folder.contents(draftFile));

        model.archiveAndClearDraft();
        const Capture after = decodedDraft(*folder.contents(draftFile));
        EXPECT_NE(after.id, before.id);
        EXPECT_EQ(after.destinationID, before.destinationID);
        EXPECT_EQ(after.body, "");
        EXPECT_EQ(model.draftState(), DraftState::empty());
        EXPECT_EQ(contentChanges, 1);
        const QStringList copies = folder.recovered();
        ASSERT_EQ(copies.size(), c.recoveredCopies);
        if (!copies.isEmpty()) {
            EXPECT_EQ(decodedDraft(*folder.contents("Recovered/" + copies.first())), before);
        }
    }
}

} // namespace
} // namespace quillor
