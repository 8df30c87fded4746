#include "../DesktopWithoutHandlers.h"
#include "OpenedUrls.h"
#include "SettingsTestSupport.h"

#include "core/Json.h"
#include "settings/AboutSettingsPage.h"
#include "settings/HistorySettingsPage.h"
#include "settings/HistoryView.h"
#include "settings/SettingsRow.h"
#include "settings/UpdateSettingsView.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QToolButton>

namespace quillor::test {
namespace {

class RecoveryRowsTest : public SettingsViewTest {
protected:
    void SetUp() override
    {
        SettingsViewTest::SetUp();
        Preferences preferences = preferencesWith({makeDestination("Carnet", "ca", session.data.folder("Vault"))});
        preferences.automaticallyCheckUpdates = false;
        navigation.setSection(SettingsSection::history);
        open(preferences);
    }
    HistorySettingsPage* page() const { return qobject_cast<HistorySettingsPage*>(view->form()->page()); }
};

TEST_F(RecoveryRowsTest, TheDraftRowFollowsItsStateAndTheClearButtonItsRules)
{
    EXPECT_EQ(page()->draftLabel()->text(), "Brouillon vide");
    EXPECT_EQ(page()->draftIcon()->objectName(), "document-edit");
    EXPECT_FALSE(page()->clearButton()->isEnabled());

    session.type("Quelques mots");
    EXPECT_EQ(page()->draftLabel()->text(), "Sauvegarde en cours…");
    EXPECT_TRUE(page()->clearButton()->isEnabled());
    model().persistDraft();
    EXPECT_EQ(page()->draftLabel()->text(), "Sauvegardé localement");

    // A draft that cannot be written shows the model's own message.
    ASSERT_TRUE(QFile::remove(session.data.file("draft.json")));
    ASSERT_TRUE(QDir().mkpath(session.data.file("draft.json") + "/inside"));
    session.type("Quelques mots de plus");
    model().persistDraft();
    EXPECT_EQ(page()->draftLabel()->text(), *model().draftPersistenceError());
    EXPECT_EQ(page()->draftIcon()->objectName(), "dialog-warning");
    ASSERT_TRUE(QDir(session.data.file("draft.json")).removeRecursively());

    model().submit();
    ASSERT_TRUE(model().saving());
    EXPECT_FALSE(page()->clearButton()->isEnabled());
    session.waitForDelivery();
}

TEST_F(RecoveryRowsTest, ClearingAsksThenArchivesTheDraft)
{
    session.type("À garder quelque part");
    page()->clearButton()->click();
    ASSERT_NE(page()->clearQuestion(), nullptr);
    buttonTitled(*page()->clearQuestion(), "Annuler")->click();
    turn();
    EXPECT_TRUE(model().hasContent());

    page()->clearButton()->click();
    buttonTitled(*page()->clearQuestion(), "Archiver puis effacer")->click();
    turn();
    EXPECT_FALSE(model().hasContent());
    EXPECT_EQ(session.data.recovered().size(), 1);
    // The history lists itself again on a worker thread.
    ASSERT_TRUE(waitUntil([&] { return page()->history()->entries().size() == 1; }));
    EXPECT_EQ(page()->history()->entries().first().capture.body, "À garder quelque part");
    EXPECT_FALSE(page()->clearButton()->isEnabled());
}

TEST_F(RecoveryRowsTest, TheLatestRowOpensTheNoteWhileItExists)
{
    EXPECT_TRUE(page()->noLatest()->isVisible());
    EXPECT_FALSE(page()->openLatestButton()->isVisible());

    session.type("Livrée");
    model().submit();
    session.waitForDelivery();
    ASSERT_TRUE(model().latestReceipt().has_value());
    const QString note = model().latestReceipt()->path;
    EXPECT_FALSE(page()->noLatest()->isVisible());
    EXPECT_EQ(page()->latestPath()->toolTip(), note);
    EXPECT_TRUE(page()->openLatestButton()->isEnabled());
    EXPECT_TRUE(page()->revealLatestButton()->isEnabled());
    OpenedUrls opened;
    page()->openLatestButton()->click();
    EXPECT_EQ(opened.urls, QList<QUrl>({QUrl::fromLocalFile(note)}));

    // Deleted meanwhile: seen when the window comes back.
    ASSERT_TRUE(QFile::remove(note));
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(page(), &activation);
    EXPECT_FALSE(page()->openLatestButton()->isEnabled());
    EXPECT_FALSE(page()->revealLatestButton()->isEnabled());
    EXPECT_EQ(page()->latestPath()->toolTip(), note);
}

TEST_F(RecoveryRowsTest, ASearchResultForTheDraftTintsItsRow)
{
    QTest::keyClicks(view->searchField(), QStringLiteral("brouillon effacer"));
    turn();
    ASSERT_EQ(view->resultRows().size(), 1);
    static_cast<QPushButton*>(view->resultRows().first())->click();
    turn();
    EXPECT_TRUE(page()->draftRow()->highlighted());
    EXPECT_FALSE(page()->latestRow()->highlighted());
}

class AboutSectionTest : public SettingsViewTest {
protected:
    void SetUp() override
    {
        SettingsViewTest::SetUp();
        navigation.setSection(SettingsSection::about);
        open();
    }
    AboutSettingsPage* page() const { return qobject_cast<AboutSettingsPage*>(view->form()->page()); }
};

// Nothing on the desktop opens folders: the settings window says so.
TEST_F(AboutSectionTest, ADataFolderThatNothingOpensIsReportedInTheWindow)
{
    const DesktopWithoutHandlers desktop;
    page()->localDataButton()->click();
    ASSERT_TRUE(model().settingsError());
    EXPECT_TRUE(model().settingsError()->contains(model().dataDirectory())) << model().settingsError()->toStdString();
}

TEST_F(AboutSectionTest, VersionDataFolderAndPrivacy)
{
    EXPECT_EQ(AboutSettingsPage::versionText("1.2", ""), "1.2 (—)");
    EXPECT_EQ(AboutSettingsPage::versionText("", ""), "— (—)");
    EXPECT_EQ(AboutSettingsPage::versionText("1.2", "45"), "1.2 (45)");

    OpenedUrls opened;
    page()->localDataButton()->click();
    EXPECT_EQ(opened.urls, QList<QUrl>({QUrl::fromLocalFile(model().dataDirectory())}));

    EXPECT_FALSE(page()->privacyParagraphs()->isVisible());
    page()->privacyDisclosure()->click();
    EXPECT_TRUE(page()->privacyParagraphs()->isVisible());
    EXPECT_EQ(page()->privacyParagraphs()->findChildren<QLabel*>().size(), 7);

    navigation.setTarget(QStringLiteral("privacy"));
    EXPECT_TRUE(qobject_cast<SettingsGroup*>(view->form()->row("privacy"))->highlighted());
    EXPECT_FALSE(qobject_cast<SettingsGroup*>(view->form()->row("about"))->highlighted());
}

TEST_F(AboutSectionTest, TheAutomaticCheckEditsOnlyTheCopy)
{
    QCheckBox* toggle = page()->updates()->automaticToggle();
    ASSERT_NE(toggle, nullptr);
    EXPECT_TRUE(toggle->isChecked());
    toggle->click();
    EXPECT_FALSE(candidate().automaticallyCheckUpdates);
    EXPECT_TRUE(model().preferences().automaticallyCheckUpdates);
    EXPECT_TRUE(view->footer()->isVisible());
    EXPECT_EQ(view->footerStatus()->text(), "Modifications non enregistrées");
    view->revertButton()->click();
    EXPECT_TRUE(toggle->isChecked());
}

} // namespace
} // namespace quillor::test
