#include "UpdatesTestSupport.h"
#include "updates/AppUpdates.h"

using namespace quillor;
using namespace quillor::test;
using std::chrono::milliseconds;

namespace {

constexpr double day = 86'400;
const ReferenceDate start{700'000'000.5};
const QByteArray startRecord = "700000000.5";
const QString available = "Quillor 1.2.0 est disponible.";

// Stands in for the dialog: records what it is asked to show and stays open
// until closed.
struct RecordingPresenter : ReleaseNotesPresenter {
    void show(const ReleaseNotes& notes, std::function<void()> closed) override
    {
        shown.append(notes);
        onClose = std::move(closed);
    }
    bool isOpen() const override { return bool(onClose); }
    void close() override
    {
        if (const auto closed = std::exchange(onClose, {}))
            closed();
    }
    QList<ReleaseNotes> shown;
    std::function<void()> onClose;
};

struct AppUpdatesTest : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(server.isListening());
        server.handler = [this](const QString&) { return response; };
    }

    // A checker on the local server, the test's clock and a recording presenter.
    std::unique_ptr<AppUpdates> make(bool storeDistribution = false, const QString& folder = {})
    {
        CatalogRequest request = server.request();
        request.transferTimeout = milliseconds(300);
        auto updates = std::make_unique<AppUpdates>(
            folder.isEmpty() ? data : folder, "1.0.0", storeDistribution,
            [this, request] { return ++fetches, CatalogLoader::loadCatalog(request); },
            AppUpdatesEnvironment{.now = [this] { return clock; },
                                  .openUrl = [this](const QUrl& url) { opened.append(url); return true; },
                                  .tickInterval = milliseconds(5),
                                  .server = request.server});
        auto recorder = std::make_unique<RecordingPresenter>();
        presenter = recorder.get();
        updates->setPresenter(std::move(recorder));
        return updates;
    }

    // Waits for the end of a check that was started, or for nothing to start.
    static bool settle(const AppUpdates& updates)
    {
        spin(milliseconds(20));
        return waitUntil([&] { return !updates.checking(); }, std::chrono::seconds(10));
    }
    void setClock(double secondsAfterStart) { clock = {start.secondsSinceReferenceDate + secondsAfterStart}; }
    std::optional<QByteArray> record() const { return contents(stateFile); }

    QTemporaryDir directory;
    const QString data = directory.filePath("Data");
    const QString stateFile = data + "/update-check.json";
    LocalHttpsServer server;
    LocalHttpsServer::Response response{200, catalogJson("1.0.0", {"1.0.0"})};
    ReferenceDate clock = start;
    int fetches = 0;
    QList<QUrl> opened;
    RecordingPresenter* presenter = nullptr;
};

} // namespace

TEST_F(AppUpdatesTest, TheLastAttemptComesFromTheStateFileOrMemoryAndADayLaterACheckIsDue)
{
    const std::pair<std::optional<QByteArray>, std::optional<double>> records[] = {
        {std::nullopt, std::nullopt}, {startRecord, start.secondsSinceReferenceDate}, {" 1.25e3\n", 1250},
        {"x", std::nullopt}, {"[700000000]", std::nullopt}};
    for (const auto& [bytes, expected] : records) {
        QFile::remove(stateFile);
        if (bytes)
            put(stateFile, *bytes);
        const auto updates = make();
        const auto lastAttempt = updates->lastAttempt();
        EXPECT_EQ(lastAttempt ? std::optional(lastAttempt->secondsSinceReferenceDate) : std::nullopt, expected)
            << bytes.value_or("(none)").data();
        EXPECT_EQ(updates->isDue(start), expected != start.secondsSinceReferenceDate) << "due unless checked today";
    }
    // A clock set back makes a check due rather than wait for a far day.
    put(stateFile, startRecord);
    const auto updates = make();
    for (const auto& [offset, due] : {std::pair{day - 0.001, false}, {day, true}, {-1.0, true}})
        EXPECT_EQ(updates->isDue({start.secondsSinceReferenceDate + offset}), due) << offset;

    // A record that cannot be written is kept in memory: the check is not due again.
    put(directory.filePath("file"), "");
    const auto unwritable = make(false, directory.filePath("file/Data"));
    unwritable->check(true, false, true);
    ASSERT_TRUE(settle(*unwritable));
    EXPECT_EQ(unwritable->status(), "Quillor est à jour.");
    EXPECT_FALSE(unwritable->isDue(start));
}

TEST_F(AppUpdatesTest, AutomaticChecksFollowTheSettingEvenDuringTheFetchAndRunOnceADay)
{
    bool enabled = false;
    auto updates = make();
    updates->start([&] { return enabled; });
    spin(milliseconds(80));
    EXPECT_EQ(fetches, 0) << "the timer ticks without checking";
    EXPECT_EQ(record(), std::nullopt);

    enabled = true;
    ASSERT_TRUE(waitUntil([&] { return fetches == 1; })) << "turned on, the next tick checks";
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(record(), startRecord);
    setClock(day - 1);
    spin(milliseconds(80));
    EXPECT_EQ(fetches, 1) << "ticks within the day start no check";

    // Turned off while the catalog loads: the newer release is not shown.
    response.body = catalogJson("1.2.0", {"1.2.0"});
    server.handler = [&](const QString&) {
        enabled = false;
        return response;
    };
    setClock(day);
    ASSERT_TRUE(waitUntil([&] { return fetches == 2; }));
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(updates->status(), available);
    EXPECT_TRUE(presenter->shown.isEmpty());
}

TEST_F(AppUpdatesTest, ANewerReleaseIsPresentedAndTheCheckLastsUntilTheDialogCloses)
{
    response.body = catalogJson("1.2.0", {"0.9.0", "1.1.0", "1.2.0", "1.3.0", "1.2.0-beta.1"});
    const auto updates = make();
    updates->start([] { return true; });
    ASSERT_TRUE(waitUntil([&] { return !presenter->shown.isEmpty(); }));
    const ReleaseNotes notes = presenter->shown.first();
    EXPECT_EQ(versions(notes.releases), QStringList({"1.2.0", "1.1.0"}));
    EXPECT_EQ(notes.installLink(), QUrl(QStringLiteral("https://localhost:%1/downloads/Quillor-1.2.0.AppImage")
                                            .arg(server.request().server.port.value())));
    EXPECT_EQ(updates->status(), available);

    // While the dialog is open, neither the due timer nor a manual request
    // starts another check.
    setClock(2 * day);
    updates->check(true, true, true);
    spin(milliseconds(80));
    EXPECT_EQ(fetches, 1);
    EXPECT_TRUE(updates->checking());

    updates->closeDialog();
    EXPECT_FALSE(updates->checking());
    ASSERT_TRUE(waitUntil([&] { return fetches == 2; })) << "the next due tick checks again";
}

TEST_F(AppUpdatesTest, AFailedCheckShowsTheErrorAndStillRecordsTheAttemptMadeBeforeTheFetch)
{
    // One failure of each kind: the server's answer, the document, its versions, the transport.
    const LocalHttpsServer::Response cases[] = {
        {500, catalogJson("1.2.0", {"1.2.0"})}, {200, "{\"latest\": "}, {200, catalogJson("2.0.0", {"1.2.0"})},
        {.stall = true}};
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.body.left(20).toStdString());
        QFile::remove(stateFile);
        response = failing;
        fetches = 0;
        const auto updates = make();
        updates->check(true, false, true);
        EXPECT_EQ(record(), startRecord) << "recorded before the fetch";
        updates->check(true, true, true);   // ignored until the check ends
        ASSERT_TRUE(settle(*updates));
        EXPECT_EQ(fetches, 1);
        EXPECT_EQ(updates->status(),
                  "Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.");
        EXPECT_TRUE(presenter->shown.isEmpty());
    }
}

TEST_F(AppUpdatesTest, AStoreBuildLeavesUpdatesToTheStoreButShowsTheHistory)
{
    response.body = catalogJson("1.10.0", {"1.2.0", "1.10.0", "1.10.0-beta.2"});
    const auto updates = make(true);
    updates->start([] { return true; });
    spin(milliseconds(80));
    EXPECT_EQ(fetches, 0) << "never checks on its own";

    updates->check(true, false, true);
    EXPECT_EQ(opened, QList<QUrl>({storeUpdatesPage()}));
    EXPECT_FALSE(updates->checking());
    EXPECT_EQ(record(), std::nullopt);

    updates->check(true, true, true);
    ASSERT_TRUE(waitUntil([&] { return !presenter->shown.isEmpty(); }));
    EXPECT_EQ(versions(presenter->shown.first().releases), QStringList({"1.10.0-beta.2", "1.10.0", "1.2.0"}));
    EXPECT_EQ(presenter->shown.first().update, std::nullopt) << "the store installs, not the checker";
    presenter->close();
    EXPECT_FALSE(updates->checking());
}

// A server that takes the connection and never answers the TLS handshake holds
// a check only until its deadline; the next check, a manual one, then runs.
TEST_F(AppUpdatesTest, AHandshakeThatNeverCompletesFailsAtTheDeadlineAndLetsTheNextCheckRun)
{
    const SilentServer silent;
    ASSERT_TRUE(silent.isListening());
    const QList<CatalogRequest> requests{silent.hanging(server.request()), server.request()};
    AppUpdates updates(data, "1.0.0", false, [&] { return CatalogLoader::loadCatalog(requests.value(fetches++)); },
                       AppUpdatesEnvironment{.now = [this] { return clock; }, .server = server.request().server});

    updates.check(true, false, false);
    ASSERT_TRUE(settle(updates));
    EXPECT_EQ(updates.status(), "Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.");
    updates.check(true, false, false);
    ASSERT_TRUE(settle(updates));
    EXPECT_EQ(fetches, 2);
    EXPECT_EQ(updates.status(), "Quillor est à jour.");
}
