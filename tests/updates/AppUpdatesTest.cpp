#include "updates/AppUpdates.h"

#include "LocalHttpsServer.h"
#include "updates/CatalogLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

using namespace quillor;
using quillor::testing::LocalHttpsServer;

namespace {

constexpr double day = 86'400;
const ReferenceDate start{700'000'000.5};
const QString upToDate = QStringLiteral("Quillor est à jour.");
const QString failed = QStringLiteral("Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.");

// Spins the event loop until `done` holds, for at most `limitMs`.
bool waitUntil(const std::function<bool()>& done, int limitMs = 10'000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}

// Lets a few timer ticks happen.
void spin(int ms = 80) { waitUntil([] { return false; }, ms); }

QJsonObject release(const QString& version)
{
    return QJsonObject{{"version", version},
                       {"date", "2025-01-31"},
                       {"notes", QJsonArray{"Une note"}},
                       {"asset", QStringLiteral("Quillor-%1.AppImage").arg(version)},
                       {"notarized", true},
                       {"architecture", "universal"},
                       {"minimum_macos", "14.0"}};
}

QByteArray catalog(const QString& latest, const QStringList& versions)
{
    QJsonArray releases;
    for (const QString& version : versions)
        releases.append(release(version));
    return QJsonDocument(QJsonObject{{"latest", latest}, {"releases", releases}}).toJson();
}

QStringList versions(const QList<PublishedRelease>& releases)
{
    QStringList result;
    for (const PublishedRelease& r : releases)
        result.append(r.version);
    return result;
}

// Stands in for the dialog: records what it was asked to show and stays open
// until the test closes it.
class RecordingPresenter : public ReleaseNotesPresenter {
public:
    void show(const ReleaseNotes& notes, std::function<void()> closed) override
    {
        shown.append(notes);
        m_closed = std::move(closed);
    }
    bool isOpen() const override { return bool(m_closed); }
    void close() override
    {
        if (const auto closed = std::exchange(m_closed, {}))
            closed();
    }

    QList<ReleaseNotes> shown;

private:
    std::function<void()> m_closed;
};

class AppUpdatesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        ASSERT_TRUE(server.isListening()) << server.errorString().toStdString();
        server.setHandler([this](const QString&) {
            if (onRequest)
                onRequest();
            return response;
        });
    }

    std::unique_ptr<AppUpdates> make(bool storeDistribution = false, const QString& folder = {})
    {
        CatalogRequest request;
        request.server = {QStringLiteral("localhost"), server.port()};
        request.sslConfiguration = server.clientConfiguration();
        request.transferTimeout = std::chrono::milliseconds(300);
        AppUpdatesEnvironment environment;
        environment.now = [this] { return clock; };
        environment.openUrl = [this](const QUrl& url) {
            opened.append(url);
            return true;
        };
        environment.tickInterval = std::chrono::milliseconds(5);
        environment.server = request.server;
        auto fetch = [this, request] {
            ++fetches;
            return CatalogLoader::loadCatalog(request);
        };
        auto updates = std::make_unique<AppUpdates>(folder.isEmpty() ? dataDirectory() : folder, installed,
                                                    storeDistribution, fetch, environment);
        auto recorder = std::make_unique<RecordingPresenter>();
        presenter = recorder.get();
        updates->setPresenter(std::move(recorder));
        return updates;
    }

    QString dataDirectory() const { return directory.filePath(QStringLiteral("Data")); }
    QString stateFile() const { return QDir(dataDirectory()).filePath(QStringLiteral("update-check.json")); }

    std::optional<QByteArray> stateBytes() const
    {
        QFile file(stateFile());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }

    void writeState(const QByteArray& bytes) const
    {
        QDir().mkpath(dataDirectory());
        QFile file(stateFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Waits for the end of a check that was started, or for nothing to start.
    bool settle(AppUpdates& updates)
    {
        spin(20);
        return waitUntil([&] { return !updates.checking(); });
    }

    QTemporaryDir directory;
    LocalHttpsServer server;
    LocalHttpsServer::Response response{200, catalog("1.0.0", {"1.0.0"}), {}, true, false};
    std::function<void()> onRequest;
    QString installed = QStringLiteral("1.0.0");
    ReferenceDate clock = start;
    int fetches = 0;
    QList<QUrl> opened;
    RecordingPresenter* presenter = nullptr;
};

TEST_F(AppUpdatesTest, TheStateFileGivesTheLastAttemptOrNothing)
{
    struct Case {
        std::optional<QByteArray> content;
        std::optional<double> lastAttempt;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt},
        {"700000000.5", 700'000'000.5},
        {" 1.25e3\n", 1250},
        {"x", std::nullopt},
        {"\"700000000\"", std::nullopt},
        {"[700000000]", std::nullopt},
        {"1, 2", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        QFile::remove(stateFile());
        if (c.content)
            writeState(*c.content);
        const auto updates = make();
        const auto lastAttempt = updates->lastAttempt();
        EXPECT_EQ(lastAttempt ? std::optional(lastAttempt->secondsSinceReferenceDate) : std::nullopt, c.lastAttempt)
            << c.content.value_or("(none)").toStdString();
    }
}

TEST_F(AppUpdatesTest, DueOncePerDayOrWhenTheClockWentBack)
{
    EXPECT_TRUE(make()->isDue(start));
    writeState(QByteArray::number(start.secondsSinceReferenceDate, 'g', 17));
    const auto updates = make();
    const struct {
        double offset;
        bool due;
    } cases[] = {{0, false}, {day - 1, false}, {day - 0.001, false}, {day, true}, {day * 30, true}, {-1, true}};
    for (const auto& c : cases)
        EXPECT_EQ(updates->isDue({start.secondsSinceReferenceDate + c.offset}), c.due) << c.offset;
}

TEST_F(AppUpdatesTest, AutomaticChecksRunOnceADayAcrossRestarts)
{
    auto updates = make();
    updates->start([] { return true; });
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(fetches, 1);
    EXPECT_EQ(updates->status(), upToDate);
    EXPECT_TRUE(presenter->shown.isEmpty());
    EXPECT_EQ(stateBytes(), QByteArray("700000000.5"));

    clock = {start.secondsSinceReferenceDate + day - 1};
    spin();
    EXPECT_EQ(fetches, 1) << "ticks within the day start no check";

    updates = make();
    EXPECT_EQ(updates->lastAttempt(), start);
    updates->start([] { return true; });
    spin();
    EXPECT_EQ(fetches, 1) << "a restart remembers the last attempt";

    clock = {start.secondsSinceReferenceDate + day};
    ASSERT_TRUE(waitUntil([&] { return fetches == 2; }));
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(updates->lastAttempt(), clock);

    clock = start;
    ASSERT_TRUE(waitUntil([&] { return fetches == 3; })) << "a clock set back makes a check due";
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(stateBytes(), QByteArray("700000000.5"));
}

TEST_F(AppUpdatesTest, WithAutomaticChecksOffTheTimerTicksWithoutChecking)
{
    bool enabled = false;
    const auto updates = make();
    updates->start([&] { return enabled; });
    spin();
    EXPECT_EQ(fetches, 0);
    EXPECT_EQ(updates->status(), std::nullopt);
    EXPECT_EQ(updates->lastAttempt(), std::nullopt);
    EXPECT_EQ(stateBytes(), std::nullopt);

    enabled = true;
    ASSERT_TRUE(waitUntil([&] { return fetches == 1; }));
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(updates->status(), upToDate);
}

TEST_F(AppUpdatesTest, ANewerReleaseIsPresentedAndTheCheckLastsUntilTheDialogCloses)
{
    response.body = catalog("1.2.0", {"0.9.0", "1.1.0", "1.2.0", "1.3.0", "1.2.0-beta.1"});
    const auto updates = make();
    updates->start([] { return true; });
    ASSERT_TRUE(waitUntil([&] { return !presenter->shown.isEmpty(); }));

    const ReleaseNotes& notes = presenter->shown.first();
    EXPECT_EQ(versions(notes.releases), QStringList({"1.2.0", "1.1.0"}));
    ASSERT_TRUE(notes.update);
    EXPECT_EQ(notes.update->version, "1.2.0");
    EXPECT_EQ(notes.installed, "1.0.0");
    EXPECT_FALSE(notes.storeDistribution);
    EXPECT_EQ(notes.installLink(),
              QUrl(QStringLiteral("https://localhost:%1/downloads/Quillor-1.2.0.AppImage").arg(server.port())));
    EXPECT_EQ(updates->status(), QStringLiteral("Quillor 1.2.0 est disponible."));
    EXPECT_TRUE(updates->checking());

    // While the dialog is open, neither the due timer nor a manual request
    // starts another check.
    clock = {start.secondsSinceReferenceDate + 2 * day};
    updates->check(true, true, true);
    spin();
    EXPECT_EQ(fetches, 1);
    EXPECT_EQ(presenter->shown.size(), 1);

    updates->closeDialog();
    EXPECT_FALSE(updates->checking());
    ASSERT_TRUE(waitUntil([&] { return fetches == 2; })) << "the next due tick checks again";
}

TEST_F(AppUpdatesTest, AManualCheckWithNothingNewerOnlySetsTheStatus)
{
    const auto updates = make();
    updates->check(true, false, true);
    EXPECT_TRUE(updates->checking());
    EXPECT_EQ(updates->status(), QStringLiteral("Recherche des mises à jour…"));
    EXPECT_EQ(updates->lastAttempt(), start);
    EXPECT_EQ(stateBytes(), QByteArray("700000000.5")) << "written before the fetch";
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(updates->status(), upToDate);
    EXPECT_TRUE(presenter->shown.isEmpty());
}

TEST_F(AppUpdatesTest, AutomaticChecksTurnedOffDuringTheFetchShowNothing)
{
    response.body = catalog("1.2.0", {"1.2.0"});
    bool enabled = true;
    onRequest = [&] { enabled = false; };
    const auto updates = make();
    updates->start([&] { return enabled; });
    ASSERT_TRUE(waitUntil([&] { return fetches == 1; }));
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(updates->status(), QStringLiteral("Quillor 1.2.0 est disponible."));
    EXPECT_TRUE(presenter->shown.isEmpty());
}

TEST_F(AppUpdatesTest, TheHistoryShowsEveryReleaseHighestVersionTextFirst)
{
    installed = QStringLiteral("1.10.0");
    response.body = catalog("1.10.0", {"1.2.0", "1.9.0", "1.10.0", "1.10.0-beta.2"});
    const auto updates = make();
    updates->check(true, true, true);
    ASSERT_TRUE(waitUntil([&] { return !presenter->shown.isEmpty(); }));
    EXPECT_EQ(versions(presenter->shown.first().releases), QStringList({"1.10.0-beta.2", "1.10.0", "1.9.0", "1.2.0"}));
    EXPECT_EQ(presenter->shown.first().update, std::nullopt);
    EXPECT_EQ(updates->status(), upToDate);
    presenter->close();
    EXPECT_FALSE(updates->checking());
}

TEST_F(AppUpdatesTest, AFailedCheckShowsTheErrorAndStillRecordsTheAttempt)
{
    struct Case {
        const char* name;
        LocalHttpsServer::Response response;
        QString installed = QStringLiteral("1.0.0");
    };
    const Case cases[] = {
        {"status 500", {500, catalog("1.2.0", {"1.2.0"}), {}, true, false}},
        {"broken JSON", {200, "{\"latest\": ", {}, true, false}},
        {"latest not listed", {200, catalog("2.0.0", {"1.2.0"}), {}, true, false}},
        {"installed version unusable", {200, catalog("1.2.0", {"1.2.0"}), {}, true, false}, QStringLiteral("x")},
        {"time-out", {200, {}, {}, true, true}},
    };
    for (const Case& c : cases) {
        QFile::remove(stateFile());
        response = c.response;
        installed = c.installed;
        fetches = 0;
        const auto updates = make();
        updates->check(true, false, true);
        ASSERT_TRUE(settle(*updates)) << c.name;
        EXPECT_EQ(fetches, 1) << c.name;
        EXPECT_EQ(updates->status(), failed) << c.name;
        EXPECT_EQ(updates->lastAttempt(), start) << c.name;
        EXPECT_EQ(stateBytes(), QByteArray("700000000.5")) << c.name;
        EXPECT_TRUE(presenter->shown.isEmpty()) << c.name;
    }
}

TEST_F(AppUpdatesTest, AnUnwritableDataDirectoryKeepsTheAttemptInMemory)
{
    QFile blocker(directory.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto updates = make(false, directory.filePath(QStringLiteral("file/Data")));
    updates->start([] { return true; });
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(updates->status(), upToDate);
    EXPECT_EQ(updates->lastAttempt(), start);
    spin();
    EXPECT_EQ(fetches, 1);
}

TEST_F(AppUpdatesTest, ASecondRequestDuringAFetchIsIgnored)
{
    response.stall = true;
    const auto updates = make();
    updates->check(true, false, true);
    ASSERT_TRUE(waitUntil([&] { return server.requestedPaths().size() == 1; }));
    updates->check(true, true, true);
    updates->check(false, false, true);
    ASSERT_TRUE(settle(*updates));
    EXPECT_EQ(fetches, 1);
    EXPECT_EQ(server.requestedPaths().size(), 1);
}

TEST_F(AppUpdatesTest, AStoreBuildLeavesUpdatesToTheStore)
{
    response.body = catalog("1.2.0", {"1.1.0", "1.2.0"});
    const auto updates = make(true);
    updates->start([] { return true; });
    spin();
    EXPECT_EQ(fetches, 0) << "never checks on its own";

    updates->check(true, false, true);
    EXPECT_EQ(opened, QList<QUrl>({storeUpdatesPage()}));
    EXPECT_FALSE(updates->checking());
    EXPECT_EQ(updates->status(), std::nullopt);
    EXPECT_EQ(updates->lastAttempt(), std::nullopt);
    EXPECT_EQ(stateBytes(), std::nullopt);

    updates->check(true, true, true);
    ASSERT_TRUE(waitUntil([&] { return !presenter->shown.isEmpty(); }));
    EXPECT_EQ(fetches, 1);
    EXPECT_EQ(versions(presenter->shown.first().releases), QStringList({"1.2.0", "1.1.0"}));
    EXPECT_EQ(presenter->shown.first().update, std::nullopt) << "the store installs, not the checker";
    EXPECT_TRUE(presenter->shown.first().storeDistribution);
    EXPECT_EQ(updates->status(), QStringLiteral("Quillor 1.2.0 est disponible."));
}

} // namespace
