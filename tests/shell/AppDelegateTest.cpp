#include "shell/AppDelegate.h"

#include "../model/AppModelTestSupport.h"

#include "shell/CapturePanel.h"
#include "shell/SingleInstance.h"
#include "shell/StatusMenu.h"

#include <QAction>
#include <QProcessEnvironment>
#include <QWidget>

#include <gtest/gtest.h>

using namespace quillor;
using namespace quillor::test;

namespace {

const QString draftFile = QStringLiteral("draft.json");

// The real delegate, launched on a data directory whose destination is a
// folder of the test's own, so that a capture can really be sent.
class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Preferences preferences =
            preferencesWith({makeDestination(QStringLiteral("Carnet"), QStringLiteral("ca"), vault)});
        preferences.automaticallyCheckUpdates = false;
        data.put(QStringLiteral("preferences.json"), preferences.encode());
        delegate = std::make_unique<AppDelegate>(data.path());
        delegate->launch();
    }

    AppModel& model() const { return delegate->model(); }
    QString savedDraft() const { return decodedDraft(data.contents(draftFile).value_or(QByteArray())).body; }

    DataFolder data;
    QString vault = data.folder(QStringLiteral("Vault"));
    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(AppDelegateTest, QuittingWaitsForADeliveryAndForTheSettingsAnswer)
{
    model().updateContent(EditorContent::plain(QStringLiteral("en cours")));
    model().submit();
    ASSERT_TRUE(model().saving());
    EXPECT_FALSE(delegate->requestQuit());
    ASSERT_TRUE(waitUntil([&] { return !model().saving(); }));

    int asked = 0;
    bool answer = false;
    model().onSettingsCloseRequest = [&] {
        ++asked;
        return answer;
    };
    model().updateContent(EditorContent::plain(QStringLiteral("gardé")));
    EXPECT_FALSE(delegate->requestQuit());
    EXPECT_EQ(asked, 1);

    answer = true;
    EXPECT_TRUE(delegate->requestQuit());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(savedDraft(), QStringLiteral("gardé"));
}

TEST_F(AppDelegateTest, ReopeningShowsThePanelOnlyWhenNothingIsVisible)
{
    CapturePanel& panel = *delegate->panel();
    delegate->reopen();
    EXPECT_TRUE(panel.isVisible());

    // A visible window: nothing changes.
    delegate->reopen();
    EXPECT_TRUE(panel.isVisible());
    delegate->showSettings();
    QWidget* settings = delegate->settingsWindow();
    EXPECT_FALSE(panel.isVisible());
    delegate->reopen();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_TRUE(settings->isVisible());

    // Minimised settings come back instead of the panel.
    settings->showMinimized();
    ASSERT_TRUE(waitUntil([&] { return settings->isMinimized(); }));
    delegate->reopen();
    EXPECT_FALSE(settings->isMinimized());
    EXPECT_FALSE(panel.isVisible());

    // Both hidden: the panel.
    settings->close();
    delegate->reopen();
    EXPECT_TRUE(panel.isVisible());
}

TEST_F(AppDelegateTest, TheSettingsWindowIsMadeOnceAndClosingOnlyHidesIt)
{
    EXPECT_EQ(delegate->settingsWindow(), nullptr);
    delegate->showSettings();
    QPointer<QWidget> settings = delegate->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->windowTitle(), QStringLiteral("Réglages"));
    EXPECT_EQ(settings->minimumSize(), QSize(880, 630));
    EXPECT_EQ(settings->size(), QSize(1000, 700));

    // Kept open while the settings say so; closing ends a recording.
    model().setRecordingShortcut(true);
    bool mayClose = false;
    model().onSettingsCloseRequest = [&] { return mayClose; };
    EXPECT_FALSE(settings->close());
    EXPECT_TRUE(settings->isVisible());
    EXPECT_TRUE(model().recordingShortcut());
    mayClose = true;
    EXPECT_TRUE(settings->close());
    EXPECT_FALSE(settings->isVisible());
    EXPECT_FALSE(model().recordingShortcut());

    delegate->showHistory();
    EXPECT_EQ(delegate->settingsWindow(), settings.data());
    EXPECT_TRUE(settings->isVisible());
}

// Offscreen there is no X server to grab the hot key from.
TEST_F(AppDelegateTest, AHotKeyThatCannotBeRegisteredIsReportedAndTheMenuStillCaptures)
{
    EXPECT_EQ(model().hotkeyLabel(), QStringLiteral("Indisponible"));
    EXPECT_EQ(model().shortcutError(),
              QStringLiteral("Raccourci mémorisé : ⌃Espace. Ce raccourci est indisponible (-9870). Ouvre les réglages "
                             "depuis le menu Quillor. Utilise le menu Quillor pour capturer."));
    QAction* capture = delegate->statusMenu()->item(StatusMenu::captureTag);
    EXPECT_TRUE(capture->shortcut().isEmpty());
    EXPECT_EQ(capture->toolTip(),
              QStringLiteral("Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu."));
    capture->trigger();
    EXPECT_TRUE(delegate->panel()->isVisible());

    // Applied settings that cannot take their hot key are not written.
    const QByteArray before = data.contents(QStringLiteral("preferences.json")).value();
    Preferences changed = model().preferences();
    changed.routePrefix = QStringLiteral("+");
    EXPECT_FALSE(model().applyPreferences(changed, false));
    EXPECT_EQ(data.contents(QStringLiteral("preferences.json")), before);
    EXPECT_EQ(model().settingsError(), QStringLiteral("Ce raccourci est indisponible (-9870). Ouvre les réglages "
                                                      "depuis le menu Quillor."));
}

TEST_F(AppDelegateTest, ARestartStartsTheProgramAgainWithTheSessionAndTheDataFolder)
{
    SingleInstance instance(data.path());
    ASSERT_EQ(instance.acquire(), SingleInstance::Outcome::primary);
    delegate->setSingleInstance(&instance);
    const QByteArray appImage = qgetenv("APPIMAGE");

    // A program that cannot start leaves this one running as it was.
    qputenv("APPIMAGE", data.file(QStringLiteral("missing")).toUtf8());
    model().updateContent(EditorContent::plain(QStringLiteral("avant")));
    delegate->restartApplication();
    EXPECT_TRUE(model().settingsError().value_or(QString()).startsWith(QStringLiteral("Quillor n’a pas pu redémarrer (")));
    EXPECT_TRUE(instance.holdsLock());
    EXPECT_FALSE(delegate->shortcut().recording());
    EXPECT_EQ(savedDraft(), QStringLiteral("avant"));

    // The new process sees the session's variables as well as the folder,
    // and finds the folder free.
    const QString script = data.file(QStringLiteral("relaunch.sh"));
    const QString seen = data.file(QStringLiteral("environment.txt"));
    data.put(QStringLiteral("relaunch.sh"), "#!/bin/sh\nenv > \"$0.tmp\" && mv \"$0.tmp\" " + seen.toUtf8() + "\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("APPIMAGE", script.toUtf8());
    delegate->restartApplication();
    ASSERT_TRUE(waitUntil([&] { return data.contents(QStringLiteral("environment.txt")).has_value(); }));
    const QString environment = QString::fromUtf8(data.contents(QStringLiteral("environment.txt")).value());
    EXPECT_TRUE(environment.contains("\nQUILLOR_DATA_DIR=" + data.path() + "\n")) << environment.toStdString();
    EXPECT_TRUE(environment.contains("\nHOME=" + qEnvironmentVariable("HOME") + "\n"));
    EXPECT_FALSE(instance.holdsLock());
    EXPECT_TRUE(delegate->shortcut().recording());

    if (appImage.isEmpty())
        qunsetenv("APPIMAGE");
    else
        qputenv("APPIMAGE", appImage);
}

} // namespace
