#include "../DesktopWithoutHandlers.h"
#include "ShellTestSupport.h"

#include "../KeyTexts.h"

#include "editor/CaptureTextView.h"
#include "editor/ImageIntake.h"
#include "panel/CaptureView.h"
#include "shell/SingleInstance.h"
#include "settings/SettingsNavigation.h"
#include "shell/StatusMenu.h"

#include <QAction>
#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QMimeData>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <functional>

using namespace quillor;
using namespace quillor::test;

namespace {

const QString draftFile = QStringLiteral("draft.json");
const QString positionFile = QStringLiteral("capture-position.json");

class AppDelegateTest : public DelegateTest {
protected:
    void SetUp() override { launch(); }

    CaptureTextView& editor() const { return *panel().captureView()->editor(); }
    bool panelActive() const { return waitUntil([&] { return panel().isActiveWindow(); }); }
    // The offscreen platform only activates a window again after another one
    // had the keyboard.
    static bool activate(QWidget& other)
    {
        other.show();
        other.activateWindow();
        return waitUntil([&] { return other.isActiveWindow(); });
    }
    void expectEveryDraftWrittenByQuittingHoldsTheImage(const std::function<void()>& quit);
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
    model().onSettingsCloseRequest = [&] { return ++asked, answer; };
    model().updateContent(EditorContent::plain(QStringLiteral("gardé")));
    EXPECT_FALSE(delegate->requestQuit());
    EXPECT_EQ(asked, 1);
    answer = true;
    EXPECT_TRUE(delegate->requestQuit());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(savedDraft(), QStringLiteral("gardé"));
}

// Quits while a pasted image is still being read, through `quit`, then lets
// the read end: every draft written from the quit on must hold the image.
void AppDelegateTest::expectEveryDraftWrittenByQuittingHoldsTheImage(const std::function<void()>& quit)
{
    auto gate = std::make_shared<QSemaphore>();
    const auto unblock = qScopeGuard([gate] { gate->release(1000); });
    editor().setImageReader([gate](const ImageIntakeQueue::Request& request) {
        gate->acquire();
        return ImageIntakeQueue::read(request);
    });
    QMimeData pasted;
    pasted.setData(QStringLiteral("image/png"), imageBytes(qRgb(1, 2, 3)));
    ASSERT_TRUE(editor().insertImages(pasted));
    QList<qsizetype> imagesWritten;
    QObject::connect(&model(), &AppModel::draftWritten, [&] {
        imagesWritten.append(decodedDraft(data.contents(draftFile).value_or("")).attachments.size());
    });
    quit();
    gate->release();
    ASSERT_TRUE(waitUntil([&] { return !model().readingImages(); }));
    ASSERT_FALSE(imagesWritten.isEmpty());
    EXPECT_EQ(imagesWritten, QList<qsizetype>(imagesWritten.size(), 1));
}

TEST_F(AppDelegateTest, QuittingWhileAnImageIsReadSavesTheDraftWithItFirst)
{
    expectEveryDraftWrittenByQuittingHoldsTheImage([&] { EXPECT_TRUE(delegate->requestQuit()); });
}

TEST_F(AppDelegateTest, ASignalToQuitWhileAnImageIsReadSavesTheDraftWithItFirst)
{
    expectEveryDraftWrittenByQuittingHoldsTheImage([&] { delegate->quitOnSignal(); });
}

TEST_F(AppDelegateTest, ReopeningShowsThePanelOnlyWhenNothingIsVisible)
{
    delegate->reopen();
    EXPECT_TRUE(panel().isVisible());
    delegate->reopen(); // a visible window: nothing changes
    EXPECT_TRUE(panel().isVisible());
    delegate->showSettings();
    QWidget* settings = delegate->settingsWindow();
    EXPECT_FALSE(panel().isVisible());
    delegate->reopen();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_TRUE(settings->isVisible());

    // Minimised settings come back instead of the panel.
    settings->showMinimized();
    ASSERT_TRUE(waitUntil([&] { return settings->isMinimized(); }));
    delegate->reopen();
    EXPECT_FALSE(settings->isMinimized());
    EXPECT_FALSE(panel().isVisible());

    settings->close(); // both hidden: the panel
    delegate->reopen();
    EXPECT_TRUE(panel().isVisible());
}

TEST_F(AppDelegateTest, TheSettingsWindowIsMadeOnceAndClosingOnlyHidesIt)
{
    EXPECT_EQ(delegate->settingsWindow(), nullptr);
    delegate->showSettings();
    QPointer<QWidget> settings = delegate->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->windowTitle(), QStringLiteral("Réglages"));
    EXPECT_EQ(settings->minimumSize(), QSize(880, 640));
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

    delegate->settingsNavigation().setQuery(QStringLiteral("langue"));
    delegate->showHistory();
    EXPECT_EQ(delegate->settingsWindow(), settings.data());
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(delegate->settingsNavigation().section(), SettingsSection::history);
    EXPECT_EQ(delegate->settingsNavigation().query(), QString());

    delegate->settingsNavigation().setTarget(QStringLiteral("language"));
    delegate->showDestinationSettings();
    EXPECT_EQ(delegate->settingsNavigation().section(), SettingsSection::destinations);
    EXPECT_FALSE(delegate->settingsNavigation().target().has_value());
}

TEST_F(AppDelegateTest, TheTrayKeepsTheLatestCaptureLineAfterItsNoteIsDeleted)
{
    StatusMenu& menu = *delegate->statusMenu();
    EXPECT_EQ(menu.item(StatusMenu::latestTag)->text(), QStringLiteral("Aucune capture livrée"));
    model().updateContent(EditorContent::plain(QStringLiteral("livrée")));
    model().submit();
    ASSERT_TRUE(waitUntil([&] { return !model().saving() && model().latestReceipt(); }));
    const QString line = menu.item(StatusMenu::latestTag)->text();
    EXPECT_TRUE(line.startsWith(QStringLiteral("Dernière capture : "))) << line.toStdString();
    EXPECT_TRUE(menu.item(StatusMenu::revealTag)->isEnabled());

    ASSERT_TRUE(QFile::remove(model().latestReceipt()->path));
    Q_EMIT menu.aboutToShow();
    EXPECT_EQ(menu.item(StatusMenu::latestTag)->text(), line);
    EXPECT_FALSE(menu.item(StatusMenu::revealTag)->isEnabled());
    EXPECT_FALSE(menu.item(StatusMenu::openTag)->isEnabled());
}

// A desktop without any handler: no file manager on the session bus, and
// nothing on the PATH that opens files or web addresses. Each action says so
// where it was asked: the tray's in a window, the panel's under the text.
TEST_F(AppDelegateTest, ActionsThatOpenNothingSaySoWhereTheyWereAsked)
{
    const DesktopWithoutHandlers desktop;
    model().updateContent(EditorContent::plain(QStringLiteral("livrée")));
    model().submit();
    ASSERT_TRUE(waitUntil([&] { return !model().saving() && model().latestReceipt(); }));
    const QString note = model().latestReceipt()->path;
    StatusMenu& menu = *delegate->statusMenu();

    const auto failureShown = [] {
        QStringList texts;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                texts << box->text();
                box->close();
            }
        }
        return texts;
    };
    struct Case {
        const char* action;
        std::function<void()> run;
        QString named;
    };
    const Case cases[] = {
        {"Afficher les données locales", [&] { delegate->showData(); }, model().dataDirectory()},
        {"Ouvrir la dernière note", [&] { menu.item(StatusMenu::openTag)->trigger(); }, note},
        {"Afficher la dernière capture", [&] { menu.item(StatusMenu::revealTag)->trigger(); }, note},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.action);
        test.run();
        QStringList shown;
        EXPECT_TRUE(waitUntil([&] { return !(shown = failureShown()).isEmpty(); }));
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown.first().contains(test.named)) << shown.first().toStdString();
    }

    editor().openLink(QUrl(QStringLiteral("https://example.org/page")));
    ASSERT_TRUE(model().error());
    EXPECT_TRUE(model().error()->contains(QStringLiteral("https://example.org/page")))
        << model().error()->toStdString();
}

// Offscreen there is no X server to grab the hot key from.
TEST_F(AppDelegateTest, AHotKeyThatCannotBeRegisteredIsReportedAndTheMenuStillCaptures)
{
    const QString unavailable =
        QStringLiteral("Ce raccourci est indisponible (-9870). Ouvre les réglages depuis le menu Quillor.");
    EXPECT_EQ(model().hotkeyLabel(), QStringLiteral("Indisponible"));
    EXPECT_EQ(model().shortcutError(),
              "Raccourci mémorisé : " + nativeKeys(Qt::CTRL | Qt::Key_Space) + ". " + unavailable
                  + " Utilise le menu Quillor pour capturer.");
    QAction* capture = delegate->statusMenu()->item(StatusMenu::captureTag);
    EXPECT_TRUE(capture->shortcut().isEmpty());
    EXPECT_EQ(capture->toolTip(),
              QStringLiteral("Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu."));
    capture->trigger();
    EXPECT_TRUE(panel().isVisible());

    // Applied settings that cannot take their hot key are not written.
    const QByteArray before = settingsFile();
    Preferences changed = model().preferences();
    changed.routePrefix = QStringLiteral("+");
    EXPECT_FALSE(model().applyPreferences(changed, false));
    EXPECT_EQ(settingsFile(), before);
    EXPECT_EQ(model().settingsError(), unavailable);
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
    EXPECT_TRUE(model().settingsError().value_or("").startsWith(QStringLiteral("Quillor n’a pas pu redémarrer (")));
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

// Only a drag remembers a place: a hide keeps where the last drag left the
// panel, whatever moved it since or whatever the window system reports.
TEST_F(AppDelegateTest, HidingKeepsTheDraftAndThePlaceAndTheNextShowUsesIt)
{
    delegate->showCapture();
    ASSERT_TRUE(panelActive());
    EXPECT_TRUE(editor().hasFocus());
    QTest::keyClicks(&editor(), QStringLiteral("abc"));
    panel().setFrame(QRectF(100, 150, 480, panel().frame().height()));
    panel().didFinishUserMove();
    const std::optional<QByteArray> dragged = data.contents(positionFile);
    EXPECT_EQ(QJsonDocument::fromJson(dragged.value_or("")).object(), QJsonObject({{"x", 100}, {"top", 150}}));
    panel().setFrame(QRectF(300, 350, 480, panel().frame().height()));
    panel().windowHandle()->setPosition(0, 0);
    ASSERT_TRUE(waitUntil([&] { return panel().pos() == QPoint(0, 0); }));
    delegate->hideCapture(true);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_TRUE(waitUntil([&] { return data.contents(draftFile) && savedDraft() == QStringLiteral("abc"); }));
    EXPECT_EQ(data.contents(positionFile), dragged);

    // Hidden, the draft is written all the same.
    QFile::remove(data.file(draftFile));
    data.put(positionFile, R"({"x":100,"top":200})");
    model().updateContent(EditorContent::plain(QStringLiteral("abcd")));
    delegate->hideCapture(false);
    EXPECT_TRUE(waitUntil([&] { return data.contents(draftFile).has_value(); }));
    delegate->showCapture();
    EXPECT_EQ(panel().frame().topLeft(), QPointF(100, 200));

    // A broken file: the default frame, and the file is left as it was.
    delegate->hideCapture(false);
    data.put(positionFile, R"({"x":100})");
    delegate->showCapture();
    EXPECT_NE(panel().frame().topLeft(), QPointF(100, 200));
    EXPECT_EQ(panel().frame().width(), 480);
    EXPECT_EQ(data.contents(positionFile), QByteArray(R"({"x":100})"));
}

TEST_F(AppDelegateTest, TheHotKeyTogglesUnlessACaptureIsBeingSent)
{
    delegate->toggleCapture();
    ASSERT_TRUE(panelActive());
    delegate->toggleCapture();
    EXPECT_FALSE(panel().isVisible());

    // Shown but another of our windows has the keyboard: the panel comes
    // forward instead of going away.
    QWidget other;
    ASSERT_TRUE(activate(other));
    delegate->showCapture();
    ASSERT_TRUE(panelActive());
    ASSERT_TRUE(activate(other));
    delegate->toggleCapture();
    EXPECT_TRUE(panel().isVisible());
    ASSERT_TRUE(panelActive());

    // While the capture is on its way the panel stays, untouched.
    QTest::keyClicks(&editor(), QStringLiteral("note"));
    model().submit();
    ASSERT_TRUE(model().saving());
    QFile::remove(data.file(draftFile));
    delegate->toggleCapture();
    EXPECT_TRUE(panel().isVisible());
    EXPECT_FALSE(data.contents(draftFile).has_value());
    ASSERT_TRUE(waitUntil([&] { return !model().saving(); }));
}

} // namespace
