#include "AppModelTestSupport.h"

#include <functional>
#include <stdexcept>

namespace quillor {
namespace {

using namespace test;

const QString settingsFile = QStringLiteral("preferences.json");
const QString prefixMessage = QStringLiteral("Choisis un seul caractère de ponctuation comme préfixe.");

class AppModelSettingsTest : public ::testing::Test, protected Session {
protected:
    void SetUp() override
    {
        DataFolder::write(vault + "/Inbox/first.md", "# first\n#projet");
        data.put(settingsFile, preferencesWith({inbox}).encode());
    }
    AppModel& start()
    {
        launch().onIndexChanged = [this] { ++indexChanges; };
        return *model;
    }

    const QString vault = data.folder("Vault");
    const Destination inbox = makeDestination("Inbox", "in", vault);
    const Destination journal = makeDestination("Journal", "j", vault);
    int indexChanges = 0;
};

TEST_F(AppModelSettingsTest, RefusedSettingsChangeNothingButTheMessage)
{
    const auto candidate = [&](auto&& change) {
        Preferences settings = preferencesWith({inbox, journal});
        change(settings);
        return settings;
    };
    const auto prefix = [&](const QString& text) { return candidate([&](Preferences& p) { p.routePrefix = text; }); };
    const QString missingFolder = QStringLiteral("Choisis un dossier de notes existant.");
    const struct {
        const char* name;
        Preferences settings;
        QString message;
    } cases[] = {
        {"no destination", candidate([](Preferences& p) { p.destinations.clear(); }), "Ajoute une destination."},
        {"folder gone", candidate([&](Preferences& p) { p.destinations[1].vaultPath = vault + "/gone"; }),
         missingFolder},
        {"no folder yet", candidate([](Preferences& p) { p.destinations[0].vaultPath.clear(); }), missingFolder},
        {"unreadable bookmark comes before every other problem", candidate([](Preferences& p) {
             p.destinations[1].vaultBookmark = QByteArray("garbage");
             p.destinations[0].alias = "bad alias!";
             p.routePrefix.clear();
         }),
         VaultAccess::accessError().localizedDescription()},
        {"a folder problem comes before the prefix", candidate([&](Preferences& p) {
             p.destinations[0].vaultPath = vault + "/gone";
             p.routePrefix = "ab";
         }),
         missingFolder},
        {"empty prefix", prefix(""), prefixMessage},
        {"letter with a combining accent", prefix(QStringLiteral("e\u0301")), prefixMessage},
        {"attachment subfolder given as a path", candidate([](Preferences& p) {
             p.destinations[1].attachmentPolicy = AttachmentPolicy{AttachmentPolicy::Location::subfolder, "a/b"};
             p.destinations[1].useObsidianAttachments = false;
         }),
         "Saisis un nom de sous-dossier, sans chemin ni barre oblique."},
    };
    start();
    const Preferences running = model->preferences();
    const QByteArray file = *data.contents(settingsFile);
    int shellCalls = 0;
    for (const bool withShell : {false, true}) {
        if (withShell)
            model->onApplyPreferences = [&](const Preferences&) { ++shellCalls; };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            indexChanges = 0;
            EXPECT_FALSE(model->applyPreferences(c.settings, false));
            EXPECT_EQ(model->settingsError(), c.message);
            EXPECT_EQ(model->preferences(), running);
            EXPECT_EQ(*data.contents(settingsFile), file);
            EXPECT_EQ(indexChanges, 0);
        }
    }
    EXPECT_EQ(shellCalls, 0);

    // Without a shell the model writes the file itself; a folder where it
    // should go makes that fail, even for root.
    model->onApplyPreferences = nullptr;
    ASSERT_TRUE(QFile::remove(data.file(settingsFile)) && QDir().mkpath(data.file(settingsFile) + "/inside"));
    const auto previous = model->settingsError();
    EXPECT_FALSE(model->applyPreferences(preferencesWith({inbox, journal}), false));
    EXPECT_TRUE(model->settingsError() && model->settingsError() != previous);
    EXPECT_EQ(model->preferences(), running);
}

TEST_F(AppModelSettingsTest, AcceptedSettingsAreWrittenAndTakeEffect)
{
    start();
    ASSERT_TRUE(waitUntil([&] { return model->indexState() == IndexState::ready(1); }));
    const QString otherVault = data.folder("Other");
    DataFolder::write(otherVault + "/a.md", "a");
    DataFolder::write(otherVault + "/b.md", "b");
    Destination elsewhere = inbox;
    elsewhere.vaultPath = otherVault;

    const struct {
        const char* name;
        QList<Destination> destinations;
        std::optional<QUuid> defaultID;
        QString prefix;
        bool allowUnconfiguredVaults;
        QUuid appliedDefault;
        int notes;   // in the vault the draft's destination now names
    } cases[] = {
        {"number sign, default naming nothing", {journal, inbox}, QUuid::createUuid(), "#", false, journal.id, 1},
        {"symbol outside the basic plane", {inbox}, inbox.id, QStringLiteral("👍"), false, inbox.id, 1},
        {"folder moved elsewhere", {elsewhere}, std::nullopt, "@", false, inbox.id, 2},
        {"folder left unconfigured when allowed", {inbox, makeDestination("Later", "l")}, inbox.id, "@", true,
         inbox.id, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(model->applyPreferences(preferencesWith({}), false));
        ASSERT_TRUE(model->settingsError());
        indexChanges = 0;
        Preferences settings;
        settings.destinations = c.destinations;
        settings.defaultDestinationID = c.defaultID;
        settings.routePrefix = c.prefix;

        ASSERT_TRUE(model->applyPreferences(settings, c.allowUnconfiguredVaults)) << model->settingsError()->toStdString();

        EXPECT_EQ(model->settingsError(), std::nullopt);
        settings.defaultDestinationID = c.appliedDefault;
        EXPECT_EQ(model->preferences(), settings);
        EXPECT_EQ(*data.contents(settingsFile), settings.encode());
        EXPECT_GE(indexChanges, 1);
        EXPECT_TRUE(waitUntil([&] { return model->indexState() == IndexState::ready(c.notes); }));
    }
}

TEST_F(AppModelSettingsTest, AnInstalledShellSavesTheSettingsAndMayRefuseThem)
{
    const struct {
        const char* name;
        std::function<void()> shell;
        std::optional<QString> error;
    } cases[] = {
        {"accepted", [] {}, std::nullopt},
        {"shortcut taken", [] { throw PlatformError("Quillor.Shortcut", 1, "X"); }, "X"},
        {"library failure", [] { throw std::runtime_error("Y"); }, "Y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        const Preferences running = model->preferences();
        const QByteArray file = *data.contents(settingsFile);
        QList<Preferences> handed;
        model->onApplyPreferences = [&](const Preferences& settings) {
            handed.append(settings);
            c.shell();
        };
        Preferences settings = preferencesWith({journal, inbox}, QUuid::createUuid());
        settings.routePrefix = "#";
        indexChanges = 0;

        EXPECT_EQ(model->applyPreferences(settings, false), !c.error);

        settings.defaultDestinationID = journal.id;
        EXPECT_EQ(handed, QList<Preferences>{settings});
        EXPECT_EQ(model->settingsError(), c.error);
        EXPECT_EQ(model->preferences(), c.error ? running : settings);
        EXPECT_EQ(indexChanges > 0, !c.error);
        // The shell writes the file as part of its own step.
        EXPECT_EQ(*data.contents(settingsFile), file);
    }
}

TEST_F(AppModelSettingsTest, RemovingTheDraftsDestinationBlocksItUntilOneIsChosen)
{
    data.put(settingsFile, preferencesWith({inbox, journal}).encode());
    data.put("draft.json", bytesOf(storedDraft("note", journal.id, true)));
    start();
    ASSERT_TRUE(model->routeResolution().route());

    ASSERT_TRUE(model->applyPreferences(preferencesWith({inbox}), false));
    EXPECT_EQ(model->routeResolution().error(),
              QStringLiteral("La destination d’origine n’existe plus. Choisis une destination."));
    EXPECT_EQ(model->destinationLabel(), "Destination non résolue");

    ASSERT_TRUE(model->applyPreferences(preferencesWith({inbox, journal}), false));
    ASSERT_TRUE(model->routeResolution().route());
    EXPECT_EQ(model->routeResolution().route()->destination.id, journal.id);
}

} // namespace
} // namespace quillor
