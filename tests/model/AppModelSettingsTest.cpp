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
    const struct { const char* name; Preferences settings; QString message; } cases[] = {
        {"folder gone", candidate([&](Preferences& p) { p.destinations[1].vaultPath = vault + "/gone"; }),
         "Choisis un dossier de notes existant."},
        {"unreadable bookmark comes before every other problem", candidate([](Preferences& p) {
             p.destinations[1].vaultBookmark = QByteArray("garbage");
             p.destinations[0].alias = "bad alias!";
             p.routePrefix.clear();
         }),
         VaultAccess::accessError().localizedDescription()},
        {"empty prefix", candidate([](Preferences& p) { p.routePrefix.clear(); }), prefixMessage},
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

// Without a shell the model writes accepted settings itself.
TEST_F(AppModelSettingsTest, AcceptedSettingsAreWrittenAndTakeEffect)
{
    start();
    // A destination left without a folder for now passes only when allowed.
    const Preferences settings = preferencesWith({journal, makeDestination("Later", "l")}, journal.id);
    ASSERT_FALSE(model->applyPreferences(settings, false));
    ASSERT_TRUE(model->applyPreferences(settings, true)) << model->settingsError()->toStdString();
    EXPECT_EQ(model->preferences(), settings);
    EXPECT_EQ(*data.contents(settingsFile), settings.encode());
}

TEST_F(AppModelSettingsTest, AnInstalledShellSavesTheSettingsAndMayRefuseThem)
{
    const struct { const char* name; std::function<void()> shell; std::optional<QString> error; } cases[] = {
        {"accepted", [] {}, std::nullopt},
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

} // namespace
} // namespace quillor
