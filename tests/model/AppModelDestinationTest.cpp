#include "AppModelTestSupport.h"

#include "core/CaptureError.h"

#include <QFileSystemWatcher>
#include <QProcess>
#include <QPromise>
#include <QStandardPaths>

namespace quillor {
namespace {

using namespace test;

// How long a condition on the folders may take on a loaded machine: the
// tests wait for conditions, and only a fault takes this long.
constexpr std::chrono::seconds settling{30};

// Folders for a vault away from the system's temporary folder, where other
// programs keep making files: a look made for them would see a change the
// watches missed, and hide the fault.
class QuietFolder {
public:
    QString folder(const QString& name) const
    {
        const QString path = m_root.path() + u'/' + name;
        QDir().mkpath(path);
        return path;
    }

private:
    static QString parent()
    {
        const QFileInfo spare(QStringLiteral("/var/tmp"));
        return spare.isDir() && spare.isWritable() ? spare.filePath() : QDir::tempPath();
    }
    QTemporaryDir m_root{parent() + QStringLiteral("/quillor-XXXXXX")};
};

TEST(AppModelDestinationTest, AnExplicitChoiceBeatsARouteWhichBeatsTheDraftsOwnWhichBeatsTheDefault)
{
    const Destination first = makeDestination("Alpha", "a"), fallback = makeDestination("Beta", "b"),
                      own = makeDestination("Gamma", "g");
    const QString missing = QStringLiteral("La destination d’origine n’existe plus. Choisis une destination.");
    const QString unknown = CaptureError::unknownDestination("zz").localizedDescription();
    const struct {
        const char* name;
        Capture stored;
        std::optional<QString> typed;       // else the stored body
        std::optional<QUuid> destination;   // else unresolved with `reason`
        QString body, reason;
        QUuid selected;
    } cases[] = {
        {"explicit choice keeps a route in the text", storedDraft("@a hi", own.id, true), {}, own.id, "@a hi", {},
         own.id},
        {"explicit draft without destination takes the default", storedDraft("x", std::nullopt, true), {},
         fallback.id, "x", {}, fallback.id},
        {"route to nowhere", storedDraft("@zz hi", own.id, std::nullopt), {}, {}, {}, unknown, own.id},
        {"draft's own destination", storedDraft("@zz hi", own.id, std::nullopt), "plain", own.id, "plain", {},
         own.id},
        {"route over the draft's own destination", storedDraft("@zz hi", own.id, std::nullopt), "@a \thello",
         first.id, "hello", {}, own.id},
        {"deleted destination blocks everything", storedDraft("@a hi", QUuid::createUuid(), true), {}, {}, {},
         missing, fallback.id},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        AppModel& model = s.launchWith(preferencesWith({first, fallback, own}, fallback.id), c.stored);
        if (c.typed)
            s.type(*c.typed);
        const RouteResolution resolution = model.routeResolution();
        EXPECT_EQ(model.selectedDestination().id, c.selected);
        if (c.destination) {
            ASSERT_TRUE(resolution.route()) << resolution.error()->toStdString();
            EXPECT_EQ(resolution.route()->destination.id, *c.destination);
            EXPECT_EQ(resolution.route()->body, c.body);
            EXPECT_EQ(model.effectiveDestination().id, *c.destination);
            EXPECT_EQ(model.destinationLabel(), resolution.route()->destination.displayName());
        } else {
            EXPECT_EQ(resolution.error(), c.reason);
            EXPECT_EQ(model.effectiveDestination().id, c.selected);
            EXPECT_EQ(model.destinationLabel(), "Destination non résolue");
        }
    }
}

// What the disk says of the destinations is read when it can change, not at
// each key: with a vault slow to answer every key would wait for it.
TEST(AppModelDestinationTest, TheFoldersAreLookedAtWhenTheyOrTheRouteChangeNotAtEachKey)
{
    Session s;
    const QString notes = s.data.folder("Notes"), far = s.data.folder("Loin/Autre");
    AppModel& model = s.launchWith(preferencesWith({makeDestination("Notes", "no", notes),
                                                    makeDestination("Autre", "au", far)}));
    const QString missing = QStringLiteral("Choisis un dossier de notes existant.");
    s.type("Idée");
    ASSERT_EQ(model.captureDestinationError(), std::nullopt);

    ASSERT_TRUE(QDir(notes).removeRecursively());
    s.type("Idée, suite");
    EXPECT_EQ(model.captureDestinationError(), std::nullopt) << "a key looked at the folders";
    EXPECT_TRUE(waitUntil([&] { return model.captureDestinationError() == missing; })) << "the removal was not seen";

    // Not watched while the text routed elsewhere: looked at once routed to.
    ASSERT_TRUE(QDir(far).removeRecursively());
    s.type("@au Idée");
    EXPECT_EQ(model.destinationLabel(), "Inbox · au");
    EXPECT_TRUE(waitUntil([&] { return model.captureDestinationError() == missing; })) << "the route was not followed";

    // A folder made again clears the notice.
    QDir().mkpath(far);
    EXPECT_TRUE(waitUntil([&] { return !model.captureDestinationError(); })) << "the new folder was not seen";
}

// A folder removed takes its watches, and those below, with it, and one
// renamed takes them along to its new name: a change above the vault is seen
// from the nearest folder left standing.
TEST(AppModelDestinationTest, TheNoticeFollowsAChangeAboveTheVaultAndTheWatchesComeBack)
{
    const QString missing = QStringLiteral("Choisis un dossier de notes existant.");
    const struct {
        const char* name;
        QString changed;   // under the quiet folder
        bool removed;      // else renamed, and renamed back
    } cases[] = {
        {"parent renamed", "Haut/Milieu", false},
        {"grandparent renamed", "Haut", false},
        {"parent removed and made again", "Haut/Milieu", true},
        {"grandparent removed and made again", "Haut", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        const QuietFolder quiet;
        const QString vault = quiet.folder("Haut/Milieu/Vault");
        const QString changed = quiet.folder(c.changed), aside = changed + QStringLiteral(" (ancien)");
        AppModel& model = s.launchWith(preferencesWith({makeDestination("Notes", "no", vault)}));
        s.type("Idée");
        ASSERT_TRUE(waitUntil(
            [&] { return model.watchedFolders().contains(vault) && !model.lookingAtDestinations(); }, settling));
        ASSERT_EQ(model.captureDestinationError(), std::nullopt);

        ASSERT_TRUE(c.removed ? QDir(changed).removeRecursively() : QDir().rename(changed, aside));
        EXPECT_TRUE(waitUntil([&] { return model.captureDestinationError() == missing; }, settling))
            << "the change was not seen";

        ASSERT_TRUE(c.removed ? QDir().mkpath(vault) : QDir().rename(aside, changed));
        EXPECT_TRUE(waitUntil([&] { return !model.captureDestinationError(); }, settling))
            << "the vault back was not seen";
        EXPECT_TRUE(waitUntil([&] { return model.watchedFolders().contains(vault); }, settling))
            << "the vault is not watched";

        ASSERT_TRUE(QDir(vault).removeRecursively());
        EXPECT_TRUE(waitUntil([&] { return model.captureDestinationError() == missing; }, settling))
            << "the vault's removal was not seen";
    }
}

// A watch follows a folder, not its path: with the folders on the vault's road
// renamed away and made again at once, the path names other folders, which
// are watched in turn, so that the new vault's removal is seen.
TEST(AppModelDestinationTest, TheFoldersRenamedAwayAndMadeAgainAtOnceAreWatchedAgain)
{
    const QString missing = QStringLiteral("Choisis un dossier de notes existant.");
    for (const char* renamed : {"Haut", "Haut/Milieu", "Haut/Milieu/Vault"}) {
        SCOPED_TRACE(renamed);
        Session s;
        const QuietFolder quiet;
        const QString vault = quiet.folder("Haut/Milieu/Vault"), changed = quiet.folder(renamed);
        AppModel& model = s.launchWith(preferencesWith({makeDestination("Notes", "no", vault)}));
        s.type("Idée");
        ASSERT_TRUE(waitUntil(
            [&] { return model.watchedFolders().contains(vault) && !model.lookingAtDestinations(); }, settling));

        ASSERT_TRUE(QDir().rename(changed, changed + QStringLiteral(" (ancien)")));
        ASSERT_TRUE(QDir().mkpath(vault));
        // The look the rename makes, and those it leads to.
        ASSERT_TRUE(waitUntil([&] { return model.lookingAtDestinations(); }, settling)) << "the rename was not seen";
        ASSERT_TRUE(waitUntil([&] { return !model.lookingAtDestinations(); }, settling));
        ASSERT_EQ(model.captureDestinationError(), std::nullopt);

        ASSERT_TRUE(QDir().rmdir(vault));
        EXPECT_TRUE(waitUntil([&] { return model.captureDestinationError() == missing; }, settling))
            << "the new vault's removal was not seen";
    }
}

// The system's folder watches used up: run again in a child process, in a user
// namespace of its own where none is left, so that nothing else loses any.
TEST(AppModelDestinationTest, WithNoWatchLeftTheFoldersAreLookedAtWhileThePanelShows)
{
    const QString missing = QStringLiteral("Choisis un dossier de notes existant.");
    if (qEnvironmentVariableIsSet("QUILLOR_TEST_NO_FOLDER_WATCH")) {
        QFileSystemWatcher probe;
        ASSERT_FALSE(probe.addPath(QDir::tempPath())) << "a watch was still given";
        Session s;
        const QString vault = s.data.folder("Vault");
        AppModel& model = s.launchWith(preferencesWith({makeDestination("Notes", "no", vault)}));
        model.setPanelShown(true);
        s.type("Idée");
        ASSERT_TRUE(waitUntil([&] { return !model.lookingAtDestinations(); }));
        ASSERT_EQ(model.captureDestinationError(), std::nullopt);
        const std::chrono::seconds look{10};
        for (const bool removed : {true, false}) {
            ASSERT_TRUE(removed ? QDir(vault).removeRecursively() : QDir().mkpath(vault));
            const std::optional<QString> notice = removed ? std::optional(missing) : std::nullopt;
            EXPECT_TRUE(waitUntil([&] { return model.captureDestinationError() == notice; }, look))
                << (removed ? "the removal" : "the new vault") << " was not seen";
        }
        EXPECT_TRUE(model.watchedFolders().isEmpty());
        return;
    }
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    const QStringList namespaced{QStringLiteral("--user"), QStringLiteral("--map-root-user")};
    if (unshare.isEmpty() || QProcess::execute(unshare, namespaced + QStringList{QStringLiteral("true")}) != 0)
        GTEST_SKIP() << "no user namespace can be made here";
    const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUILLOR_TEST_NO_FOLDER_WATCH"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(unshare, namespaced + QStringList{
        QStringLiteral("sh"), QStringLiteral("-c"),
        QStringLiteral("echo 0 > /proc/sys/user/max_inotify_watches || exit 77; exec \"$0\" \"$@\""),
        QCoreApplication::applicationFilePath(),
        QStringLiteral("--gtest_filter=%1.%2").arg(QLatin1String(test.test_suite_name()), QLatin1String(test.name()))});
    ASSERT_TRUE(child.waitForFinished(60'000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    if (child.exitCode() == 77)
        GTEST_SKIP() << "the watch limit cannot be lowered here";
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

// The stored draft names a destination that has since been deleted; the
// second destination has a vault of one note.
struct Choosing : Session {
    Destination inbox = makeDestination("Inbox", "in");
    Destination journal = makeDestination("Journal", "j", data.folder("Vault"));
    int modelChanges = 0;

    void start(const QUuid& draftDestination = QUuid::createUuid(), AppModel::Environment environment = {})
    {
        DataFolder::write(journal.vaultPath + "/Note.md", "x");
        launchWith(preferencesWith({inbox, journal}), storedDraft("Idée", draftDestination, true), environment);
        QObject::connect(model.get(), &AppModel::modelChanged, [this] { ++modelChanges; });
    }
    QByteArray draftFile() const { return data.contents("draft.json").value_or(QByteArray()); }
    std::optional<QUuid> routedTo() const
    {
        const std::optional<Route> route = model->routeResolution().route();
        return route ? std::optional(route->destination.id) : std::nullopt;
    }
};

// Handing a choice to the editor, and recording it without one, are checked
// end to end by the editor's tests.
TEST(AppModelDestinationChoiceTest, AnUnknownChoiceIsIgnoredAndAnAbsentOneLetsTheRouteDecide)
{
    Choosing s;
    s.start();
    ASSERT_EQ(s.routedTo(), std::nullopt);
    const QByteArray before = s.draftFile();
    s.model->setDestination(QUuid::createUuid());
    EXPECT_EQ(s.draftFile(), before);
    EXPECT_EQ(s.modelChanges, 0);

    s.model->setDestination(s.journal.id);
    EXPECT_EQ(s.routedTo(), s.journal.id);
    EXPECT_EQ(s.modelChanges, 1);
    EXPECT_TRUE(waitUntil([&] { return s.model->indexState() == IndexState::ready(1); }));

    s.type("@in idée");
    EXPECT_EQ(s.routedTo(), s.journal.id);
    s.model->applyDestinationSelection(DestinationSelection{});
    EXPECT_TRUE(waitUntil([&] { return !s.draftFile().contains("destinationID"); }));
    EXPECT_FALSE(s.draftFile().contains("usesExplicitDestination"));
    EXPECT_EQ(s.routedTo(), s.inbox.id);
}

TEST(AppModelDestinationChoiceTest, NothingIsChosenWhileACaptureIsBeingDelivered)
{
    Choosing s;
    QPromise<QString> delivery;   // left unfinished: the capture stays in flight
    AppModel::Environment environment = environmentWith(s.clock);
    environment.deliver = [&](const Capture&, const Destination&) {
        delivery.start();
        return delivery.future();
    };
    s.start(s.journal.id, environment);
    s.model->submit();
    ASSERT_TRUE(s.model->saving()) << s.model->error().value_or("").toStdString();
    const auto before = s.data.snapshot();

    QList<QUuid> handedOver;
    s.model->setDestination(s.inbox.id);
    s.model->onSelectDestination = [&](const QUuid& id) { handedOver.append(id); };
    s.model->setDestination(s.inbox.id);
    EXPECT_TRUE(handedOver.isEmpty());
    EXPECT_EQ(s.routedTo(), s.journal.id);
    EXPECT_EQ(s.data.snapshot(), before);
    s.model.reset();   // before the promise it waits on
}

} // namespace
} // namespace quillor
