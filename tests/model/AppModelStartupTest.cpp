#include "AppModelTestSupport.h"

#include "core/DeliveryReceipt.h"
#include "core/StaleTemporaryFiles.h"

#include <functional>

namespace quillor {
namespace {

using namespace test;
using namespace std::chrono_literals;

const QString preferencesFile = QStringLiteral("preferences.json");
const QString draftFile = QStringLiteral("draft.json");

TEST(AppModelStartupTest, FreshSettingsAreWrittenOnceSoTheDefaultDestinationSurvivesARelaunch)
{
    DataFolder data;
    ManualClock clock;
    VaultAccess access(false);
    const QString directory = data.path() + QStringLiteral("/not/yet/there");
    QUuid inbox;
    {
        AppModel model(directory, access, environmentWith(clock));
        inbox = model.preferences().destinations.first().id;
        const LoadedPreferences written = Preferences::load(directory + u'/' + preferencesFile);
        EXPECT_EQ(written.outcome, LoadedPreferences::Outcome::loaded);
        EXPECT_EQ(written.preferences, model.preferences());
        EXPECT_FALSE(QFileInfo::exists(directory + u'/' + draftFile));
        model.persistDraft();
        const Capture draft = decodedDraft(*DataFolder::read(directory + u'/' + draftFile));
        // A new draft leaves the default to the settings, and a route prefix free to route.
        EXPECT_EQ(draft.usesExplicitDestination, false);
        EXPECT_EQ(draft.destinationID, std::nullopt);
    }
    AppModel relaunched(directory, access, environmentWith(clock));
    const auto route = relaunched.routeResolution().route();
    ASSERT_TRUE(route) << relaunched.routeResolution().error()->toStdString();
    EXPECT_EQ(route->destination.id, inbox);
}

TEST(AppModelStartupTest, UnreadableFilesAreSetAsideBeforeAnythingReplacesThem)
{
    const struct {
        const char* name;
        QByteArray preferences, draft;
        QString occupied;   // already in Recovered
        QString preferencesCopy, draftCopy;
    } cases[] = {
        {"JSON of the wrong shape", R"({"destinations":null})", R"({"body":"lost?"})", {},
         "preferences 2025-01-31 080509.json", "draft 2025-01-31 080509.json"},
        {"not JSON, an earlier copy of the same second", "not json", "not json", "preferences 2025-01-31 080509.json",
         "preferences 2025-01-31 080509 2.json", "draft 2025-01-31 080509.json"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        s.data.put(preferencesFile, c.preferences);
        s.data.put(draftFile, c.draft);
        if (!c.occupied.isEmpty())
            s.data.put("Recovered/" + c.occupied, "earlier");
        AppModel& model = s.launch();
        // The settings file is replaced by fresh settings at once; the draft
        // file stays untouched until the first save.
        EXPECT_EQ(s.data.contents("Recovered/" + c.preferencesCopy), c.preferences);
        EXPECT_EQ(s.written(), model.preferences());
        spin(300ms);
        EXPECT_EQ(s.data.contents(draftFile), c.draft);
        if (!c.occupied.isEmpty()) {
            EXPECT_EQ(s.data.contents("Recovered/" + c.occupied), "earlier");
        }

        s.type("new text");
        EXPECT_EQ(s.draft().body, "new text");
        EXPECT_EQ(s.data.contents("Recovered/" + c.draftCopy), c.draft);
        const qsizetype kept = s.data.recovered().size();
        model.persistDraft();
        EXPECT_EQ(s.data.recovered().size(), kept);
    }
}

// A draft.json no draft could grow to (a sparse file here) is never read: it
// goes to Recovered untouched, and the panel says where.
TEST(AppModelStartupTest, AnOversizedDraftIsSetAsideUnreadAndReported)
{
    const qint64 oversized = qint64(5) * 1024 * 1024 * 1024;
    const struct {
        const char* name;
        bool recoveredBlocked;
    } cases[] = {{"kept in Recovered", false}, {"Recovered cannot be made", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        QFile huge(s.data.file(draftFile));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(oversized));
        huge.close();
        if (c.recoveredBlocked)
            s.data.put("Recovered", "a file in the way");
        AppModel& model = s.launch();
        EXPECT_EQ(model.content().text, QString());
        ASSERT_TRUE(model.error());
        const QString copy = s.data.path() + "/Recovered/draft 2025-01-31 080509.json";
        if (c.recoveredBlocked) {
            EXPECT_TRUE(model.error()->startsWith("Le brouillon est trop volumineux pour être ouvert et n’a pas pu "
                                                  "être mis de côté"))
                << model.error()->toStdString();
            EXPECT_EQ(QFileInfo(s.data.file(draftFile)).size(), oversized);
            // Never written over while it cannot be kept.
            s.type("new text");
            model.persistDraft();
            EXPECT_TRUE(model.draftPersistenceError());
            EXPECT_EQ(QFileInfo(s.data.file(draftFile)).size(), oversized);
        } else {
            EXPECT_EQ(model.error(), "Le brouillon est trop volumineux pour être ouvert : Quillor commence un nouveau "
                                     "brouillon. Le fichier est gardé dans « " + copy + " ».");
            EXPECT_EQ(QFileInfo(copy).size(), oversized);
            EXPECT_FALSE(QFileInfo::exists(s.data.file(draftFile)));
            s.type("new text");
            EXPECT_EQ(s.draft().body, "new text");
            EXPECT_EQ(s.data.recovered().size(), 1);
        }
    }
}

// Years of deliveries leave thousands of receipts: they are read on a worker,
// and a file far larger than a receipt (a sparse one here) is skipped unread.
TEST(AppModelStartupTest, TheLatestReceiptIsFoundOffTheUIThreadSkippingAnOversizedFile)
{
    Session s;
    const DeliveryReceipt latest{Json::uuidText(QUuid::createUuid()), "/notes/b.md", "2025-01-30T10:00:00Z"};
    s.data.put("Receipts/" + latest.captureID + ".json", Json::serialize(latest.toJson()));
    for (int older = 0; older < 50; ++older) {
        const DeliveryReceipt receipt{Json::uuidText(QUuid::createUuid()), "/notes/a.md", "2024-01-01T00:00:00Z"};
        s.data.put("Receipts/" + receipt.captureID + ".json", Json::serialize(receipt.toJson()));
    }
    QFile huge(s.data.file("Receipts/huge.json"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(qint64(5) * 1024 * 1024 * 1024));
    huge.close();

    AppModel& model = s.launch();
    EXPECT_EQ(model.latestReceipt(), std::nullopt);   // not yet: the constructor read no receipt
    ASSERT_TRUE(waitUntil([&] { return model.latestReceipt().has_value(); }));
    EXPECT_EQ(model.latestReceipt(), latest);
    EXPECT_EQ(model.settingsError(), "Le reçu « Receipts/huge.json » est trop volumineux pour être lu : il est ignoré.");
}

// Defaults stand in for settings that could not be read: the user is told,
// and nothing acts on a choice the user never made.
TEST(AppModelStartupTest, AnUnreadableSettingsFileIsReportedAndLeftAloneWhenItCannotBeSetAside)
{
    const QByteArray wrongType = R"({"destinations":[],"hotkeyCode":"49","automaticallyCheckUpdates":false})";
    {
        Session s;
        s.data.put(preferencesFile, wrongType);
        AppModel& model = s.launch();
        const QString copy = s.data.path() + "/Recovered/preferences 2025-01-31 080509.json";
        EXPECT_EQ(DataFolder::read(copy), wrongType);
        EXPECT_EQ(model.settingsError(), "Les réglages n’ont pas pu être lus : Quillor utilise les réglages par "
                                         "défaut. Le fichier illisible est gardé dans « " + copy + " ».");
        EXPECT_EQ(model.error(), model.settingsError());   // the panel's notice
        EXPECT_TRUE(model.preferences().automaticallyCheckUpdates);
        EXPECT_FALSE(model.checksUpdatesAutomatically());
    }

    // A file in the way of Recovered: the unreadable file stays the only copy,
    // and nothing writes over it in this run.
    Session s;
    s.data.put(preferencesFile, wrongType);
    s.data.put("Recovered", "a file in the way");
    AppModel& model = s.launch();
    ASSERT_TRUE(model.settingsError());
    EXPECT_TRUE(model.settingsError()->startsWith("Les réglages n’ont pas pu être lus ni mis de côté"))
        << model.settingsError()->toStdString();
    EXPECT_FALSE(model.checksUpdatesAutomatically());
    const QString refusal = "Les réglages ne peuvent pas être enregistrés : « " + s.data.file(preferencesFile)
                            + " » n’a pas pu être lu ni mis de côté au lancement. Déplace ou corrige ce fichier, "
                              "puis relance Quillor.";

    Preferences changed = model.preferences();
    changed.routePrefix = "+";
    EXPECT_FALSE(model.applyPreferences(changed, true));
    EXPECT_EQ(model.settingsError(), refusal);
    EXPECT_EQ(model.preferences().routePrefix, "@");

    s.type("keep me");
    model.onChooseVault = [&](const Destination&) { return std::optional(s.data.folder("Vault")); };
    ASSERT_TRUE(model.canRepairCaptureFolder());
    model.chooseCaptureFolder();
    EXPECT_EQ(model.error(), refusal);
    EXPECT_EQ(model.content().text, "keep me");
    EXPECT_EQ(s.onDisk().body, "keep me");
    EXPECT_EQ(s.data.contents(preferencesFile), wrongType);
}

TEST(AppModelStartupTest, StartingFromSettledFilesWritesNothing)
{
    const Destination notes = makeDestination("Notes", "n");
    const Capture delivered = storedDraft("sent already", notes.id);
    const DeliveryReceipt receipt{Json::uuidText(delivered.id), "/notes/a.md", "2025-01-30T10:00:00Z"};
    const struct {
        const char* name;
        std::function<void(DataFolder&)> setUp;
        std::function<void(Session&)> check;
    } cases[] = {
        {"settings and a draft with text",
         [&](DataFolder& data) {
             data.put(preferencesFile, preferencesWith({notes}).encode());
             data.put(draftFile, bytesOf(storedDraft("x", notes.id)));
         },
         [&](Session& s) { EXPECT_EQ(s.model->draftState(), DraftState::restored()); }},
        {"legacy settings, migrated in memory only",
         [&](DataFolder& data) {
             QJsonObject object = preferencesWith({notes}).toJson();
             object.remove("attachmentSettingsVersion");
             data.put(preferencesFile, Json::serialize(object));
         },
         [](Session&) {}},
        {"a draft that was delivered",
         [&](DataFolder& data) {
             data.put(preferencesFile, preferencesWith({notes}).encode());
             data.put(draftFile, bytesOf(delivered));
             data.put("Receipts/" + receipt.captureID + ".json", Json::serialize(receipt.toJson()));
         },
         [&](Session& s) {
             EXPECT_EQ(s.model->latestReceipt(), receipt);
             EXPECT_TRUE(s.model->content().isEmpty());
             EXPECT_NE(s.draft().id, delivered.id);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        c.setUp(s.data);
        const auto before = s.data.snapshot();
        s.launch();
        spin(300ms);   // longer than the autosave delay
        EXPECT_EQ(s.data.snapshot(), before);
        c.check(s);
    }
}

TEST(AppModelStartupTest, DraftsWithoutAnExplicitDestinationAreRoutedOnce)
{
    const Destination first = makeDestination("Alpha", "al"), routed = makeDestination("Beta", "in"),
                      fallback = makeDestination("Gamma", "ga");
    const struct {
        const char* name;
        Capture stored;
        QString body;
        std::optional<QUuid> destination;
        std::optional<bool> isExplicit;
        bool keptInRecovered;
    } cases[] = {
        {"old draft with a route", storedDraft("@in hello", std::nullopt, std::nullopt), "hello", routed.id, true, true},
        {"old draft without a route", storedDraft("hello", std::nullopt, std::nullopt), "hello", fallback.id, true, false},
        {"old draft with an unknown route", storedDraft("@zz hi", std::nullopt, std::nullopt), "@zz hi",
         std::nullopt, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        EXPECT_EQ(s.launchWith(preferencesWith({first, routed, fallback}, fallback.id), c.stored).content().text,
                  c.body);
        s.expectRecovered(c.keptInRecovered ? std::optional(c.stored) : std::nullopt);
        const Capture saved = s.draft();
        EXPECT_EQ(saved.destinationID, c.destination);
        EXPECT_EQ(saved.usesExplicitDestination, c.isExplicit);
    }
}

TEST(AppModelStartupTest, FolderAccessIsRestoredAndOnlyAChangeIsWrittenBack)
{
    Session s;
    const QString moved = s.data.folder("Moved"), gone = s.data.folder("Gone");
    Destination renamed = makeDestination("Renamed", "r", s.data.folder("Vault"));
    renamed.vaultBookmark = VaultAccess::bookmark(renamed.vaultPath);
    ASSERT_TRUE(QDir().rmdir(moved) && QDir().rename(renamed.vaultPath, moved));
    Destination deleted = makeDestination("Deleted", "d", gone);
    deleted.vaultBookmark = VaultAccess::bookmark(gone);
    ASSERT_TRUE(QDir().rmdir(gone));
    const QString accessRefused = VaultAccess::accessError().localizedDescription();

    // A renamed folder is found again: its new path and bookmark are saved.
    s.launchWith(preferencesWith({renamed}));
    EXPECT_EQ(s.model->settingsError(), std::nullopt);
    const Destination stored = s.written().destinations.first();
    EXPECT_EQ(stored.vaultPath, moved);
    EXPECT_NE(stored.vaultBookmark, renamed.vaultBookmark);
    EXPECT_EQ(stored, s.model->preferences().destinations.first());

    // A folder that is gone is reported and the file left as it was.
    s.data.put(preferencesFile, preferencesWith({deleted}).encode());
    const auto unresolved = s.data.contents(preferencesFile);
    EXPECT_EQ(s.launch().settingsError(), accessRefused);
    EXPECT_EQ(s.data.contents(preferencesFile), unresolved);

    // An old draft that cannot be kept before it is routed wins the message,
    // and stays as it was.
    s.data.put("Recovered", "a file in the way");
    const Destination routed = makeDestination("Inbox", "in");
    AppModel& model = s.launchWith(preferencesWith({deleted, routed}), storedDraft("@in hello", std::nullopt, std::nullopt));
    ASSERT_TRUE(model.settingsError());
    EXPECT_NE(model.settingsError(), accessRefused);
    EXPECT_TRUE(model.settingsError()->contains("Recovered")) << model.settingsError()->toStdString();
    EXPECT_EQ(model.content().text, "@in hello");
    const auto route = model.routeResolution().route();
    ASSERT_TRUE(route);
    EXPECT_EQ(route->destination.id, routed.id);
    EXPECT_EQ(route->body, "hello");
}

// Read in the background, the draft goes through the same start-up steps when
// it arrives (here the routing of an old draft), and until then the empty
// text shown is no draft: nothing replaces the one on disk.
TEST(AppModelStartupTest, ADraftReadInTheBackgroundIsTakenWhenItArrivesAndNothingReplacesItBefore)
{
    Session s;
    const Destination inbox = makeDestination("Inbox", "in");
    const Destination other = makeDestination("Autre", "au");
    const Capture old = storedDraft("@in hello", std::nullopt, std::nullopt);
    AppModel::Environment environment = environmentWith(s.clock);
    environment.readsDraftInBackground = true;
    AppModel& model = s.launchWith(preferencesWith({inbox, other}), old, environment);
    QStringList handed;
    model.onContentChange = [&](const EditorContent& content) { handed.append(content.text); };
    int finished = 0;
    QObject::connect(&model, &AppModel::draftReadFinished, [&] { ++finished; });

    ASSERT_TRUE(model.readingDraft());
    EXPECT_EQ(model.content().text, "");
    const std::optional<QByteArray> onDisk = s.data.contents(draftFile);
    model.persistDraft();
    model.setDestination(other.id);
    EXPECT_NO_THROW(model.archiveAndClearDraft());
    EXPECT_EQ(s.data.contents(draftFile), onDisk);
    s.expectRecovered(std::nullopt);

    ASSERT_TRUE(waitUntil([&] { return !model.readingDraft(); }));
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(handed, QStringList{"hello"});
    EXPECT_EQ(model.content().text, "hello");
    EXPECT_EQ(model.draft().destinationID, inbox.id);
    EXPECT_EQ(model.draftState(), DraftState::restored());
    s.expectRecovered(old);
    s.type("hello!");
    EXPECT_EQ(s.draft().body, "hello!");

    // Waited for, it is taken at once, and only once.
    AppModel& again = s.launch(environment);
    again.waitForDraft();
    EXPECT_FALSE(again.readingDraft());
    EXPECT_EQ(again.content().text, "hello!");
    int finishedAgain = 0;
    QObject::connect(&again, &AppModel::draftReadFinished, [&] { ++finishedAgain; });
    spin(100ms);
    EXPECT_EQ(finishedAgain, 0);
}

// A kill leaves the temporary file of what was being written anywhere in the
// data directory. Start-up removes the program's own once old enough that no
// write still uses them, or, when the program holds the data directory alone,
// every one that is not being written by this process; anything else in the
// folders stays as it is.
TEST(AppModelStartupTest, StaleTemporaryFilesOfTheProgramAreRemovedFromTheDataDirectory)
{
    const QString written = ".quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp";
    const QString writtenLong = "History/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp";
    const OwnTemporaryFile beingWritten(written), beingWrittenLong(writtenLong);
    const struct { QString name; bool old; bool removed; bool removedWhenHeld; } cases[] = {
        {".quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", true, true, true},
        {"History/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", true, true, true},
        {"Receipts/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", true, true, true},
        {"Backups/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", true, true, true},
        {"Recovered/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", true, true, true},
        {"History/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", false, false, true},
        {".quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", false, false, true},
        {written, false, false, false},
        {writtenLong, true, false, false},
        {".quillor-" + Json::uuidText(QUuid::createUuid()).toLower() + ".tmp", true, false, false},
        {".quillor-notes.tmp", true, false, false},
        {".Quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", true, false, false},
        {"Receipts/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".TMP", true, false, false},
        {"History/notes.tmp", true, false, false},
        {"History/Archive/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", true, false, false},
        {"Vault/.quillor-" + Json::uuidText(QUuid::createUuid()) + ".tmp", true, false, false},
    };
    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "held alone" : "shared");
        Session s;
        const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-16 * 60);
        for (const auto& c : cases) {
            s.data.put(c.name, "partial");
            QFile file(s.data.file(c.name));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(c.old ? old : QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime));
        }

        AppModel::Environment environment = environmentWith(s.clock);
        environment.holdsDataDirectory = held;
        s.launch(environment);
        // What stays is looked at once every removal is done.
        for (const auto& c : cases) {
            if (held ? c.removedWhenHeld : c.removed) {
                EXPECT_TRUE(waitUntil([&] { return !s.data.contents(c.name); })) << c.name.toStdString();
            }
        }
        for (const auto& c : cases) {
            if (!(held ? c.removedWhenHeld : c.removed)) {
                EXPECT_EQ(s.data.contents(c.name), "partial") << c.name.toStdString();
            }
        }
    }
}

} // namespace
} // namespace quillor
