#include "SettingsTestSupport.h"

#include "../KeyTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace quillor::test {
namespace {

Preferences withVault(const QString& vault)
{
    Preferences preferences = preferencesWith({makeDestination(QStringLiteral("Carnet"), QStringLiteral("ca"), vault)});
    preferences.automaticallyCheckUpdates = false;
    return preferences;
}

class SettingsCycleTest : public SettingsViewTest {
protected:
    void SetUp() override
    {
        SettingsViewTest::SetUp();
        open(withVault(session.data.folder(QStringLiteral("Vault"))));
    }
};

TEST_F(SettingsCycleTest, TheFooterFollowsEqualityWithTheAppliedSettings)
{
    EXPECT_FALSE(view->footer()->isVisible());
    typeInto(general()->prefixField(), QStringLiteral("#"));
    EXPECT_TRUE(view->footer()->isVisible());
    EXPECT_EQ(view->footerStatus()->text(), QStringLiteral("Modifications non enregistrées"));
    typeInto(general()->prefixField(), QStringLiteral("@"));
    EXPECT_FALSE(view->footer()->isVisible());
}

TEST_F(SettingsCycleTest, ApplyingSavesThroughTheModelAndSaysSo)
{
    typeInto(general()->prefixField(), QStringLiteral("#"));
    QTest::keyClick(general()->prefixField(), Qt::Key_Return);
    EXPECT_EQ(session.written().routePrefix, QStringLiteral("#"));
    EXPECT_EQ(model().preferences().routePrefix, QStringLiteral("#"));
    EXPECT_TRUE(view->footer()->isVisible());
    EXPECT_EQ(view->footerStatus()->text(), QStringLiteral("Modifications enregistrées"));
    EXPECT_FALSE(view->applyButton()->isEnabled());
    // The next edit is a new change; leaving the section forgets "saved".
    view->sectionButton(SettingsSection::about)->click();
    EXPECT_FALSE(view->footer()->isVisible());
}

TEST_F(SettingsCycleTest, ABadPrefixIsRevealedInsteadOfApplied)
{
    view->sectionButton(SettingsSection::about)->click();
    navigation.setSection(SettingsSection::general);
    typeInto(general()->prefixField(), QStringLiteral("a"));
    EXPECT_TRUE(general()->prefixError()->isVisible());
    view->sectionButton(SettingsSection::about)->click();
    navigation.setQuery(QStringLiteral("langue"));
    const QByteArray before = session.data.contents(QStringLiteral("preferences.json")).value_or("");

    view->applyButton()->click();
    EXPECT_EQ(navigation.section(), SettingsSection::general);
    EXPECT_EQ(navigation.query(), QString());
    turn();
    EXPECT_EQ(navigation.target(), QStringLiteral("prefix"));
    EXPECT_EQ(QApplication::focusWidget(), general()->prefixField());
    EXPECT_TRUE(static_cast<SettingsGroup*>(view->form()->row(QStringLiteral("prefix")))->highlighted());
    EXPECT_EQ(session.data.contents(QStringLiteral("preferences.json")).value_or(""), before);
}

TEST_F(SettingsCycleTest, ClosingWithChangesAsks)
{
    typeInto(general()->prefixField(), QStringLiteral("a"));
    bool answer = true;
    withMessageBox(
        [](QMessageBox& box) {
            // A blocker keeps the first button off; Escape cancels.
            EXPECT_FALSE(buttonTitled(box, QStringLiteral("Appliquer"))->isEnabled());
            QTest::keyClick(&box, Qt::Key_Escape);
        },
        [&] { answer = model().onSettingsCloseRequest(); });
    EXPECT_FALSE(answer);
    EXPECT_EQ(candidate().routePrefix, QStringLiteral("a"));

    withMessageBox([](QMessageBox& box) { buttonTitled(box, QStringLiteral("Ignorer les modifications"))->click(); },
                   [&] { answer = model().onSettingsCloseRequest(); });
    EXPECT_TRUE(answer);
    EXPECT_EQ(candidate(), model().preferences());

    // Nothing pending: no question.
    EXPECT_TRUE(model().onSettingsCloseRequest());
}

TEST_F(SettingsCycleTest, TheCloseQuestionCanApply)
{
    typeInto(general()->prefixField(), QStringLiteral("+"));
    bool answer = false;
    withMessageBox([](QMessageBox& box) { buttonTitled(box, QStringLiteral("Appliquer"))->click(); },
                   [&] { answer = model().onSettingsCloseRequest(); });
    EXPECT_TRUE(answer);
    EXPECT_EQ(session.written().routePrefix, QStringLiteral("+"));
}

TEST_F(SettingsCycleTest, AnErrorStaysWithTheSectionItWasRaisedIn)
{
    navigation.setSection(SettingsSection::about);
    const QString message = QStringLiteral("Raccourci déjà utilisé.");
    model().reportSettingsError(message);
    EXPECT_TRUE(view->form()->errorLabel()->isVisible());
    EXPECT_EQ(view->form()->errorLabel()->text(), message);
    navigation.setSection(SettingsSection::general);
    EXPECT_FALSE(view->form()->errorLabel()->isVisible());
    navigation.setSection(SettingsSection::about);
    EXPECT_TRUE(view->form()->errorLabel()->isVisible());

    // The same refusal raised again from another section is shown there.
    navigation.setSection(SettingsSection::general);
    model().reportSettingsError(message);
    EXPECT_TRUE(view->form()->errorLabel()->isVisible());
}

// The settings file could not be read at start-up: the window says so from
// its first showing, through later ones, until settings are applied.
TEST_F(SettingsViewTest, TheStartUpErrorIsShownInGeneralUntilSettingsAreApplied)
{
    session.data.put(QStringLiteral("preferences.json"), "{ not json");
    open();
    const std::optional<QString> message = model().settingsError();
    ASSERT_TRUE(message.has_value());
    ASSERT_TRUE(message->contains(QStringLiteral("Recovered")));
    EXPECT_TRUE(view->form()->errorLabel()->isVisible());
    EXPECT_EQ(view->form()->errorLabel()->text(), *message);

    window->hide();
    window->show();
    turn();
    navigation.setSection(SettingsSection::about);
    EXPECT_FALSE(view->form()->errorLabel()->isVisible());
    navigation.setSection(SettingsSection::general);
    EXPECT_TRUE(view->form()->errorLabel()->isVisible());
    EXPECT_EQ(model().settingsError(), message);

    state().setCandidate(withVault(session.data.folder(QStringLiteral("Vault"))));
    view->applyButton()->click();
    EXPECT_FALSE(model().settingsError().has_value());
    EXPECT_FALSE(view->form()->errorLabel()->isVisible());
}

TEST_F(SettingsCycleTest, SettingsChangedElsewhereAreNotUndoneByAStaleCopy)
{
    // The panel's folder repair stores new settings while the window is open.
    Preferences repaired = model().preferences();
    repaired.destinations[0].vaultPath = session.data.folder(QStringLiteral("Moved"));
    repaired.destinations[0].vaultBookmark.reset();
    ASSERT_TRUE(model().applyPreferences(repaired, false));
    EXPECT_EQ(candidate(), model().preferences());
    EXPECT_FALSE(view->footer()->isVisible());

    // An edit waiting to be applied is kept, through a later showing too.
    typeInto(general()->prefixField(), QStringLiteral("#"));
    Preferences again = model().preferences();
    again.hotkeyDisplay = QStringLiteral("⌃Espace");
    ASSERT_TRUE(model().applyPreferences(again, false));
    window->hide();
    window->show();
    EXPECT_EQ(candidate().routePrefix, QStringLiteral("#"));
}

TEST_F(SettingsCycleTest, TheLoginToggleKeepsAFailureOnScreen)
{
    QFile blocker(config.path() + QStringLiteral("/autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    general()->loginToggle()->click();
    EXPECT_FALSE(general()->loginToggle()->isChecked());
    EXPECT_TRUE(general()->loginError()->isVisible());
    EXPECT_TRUE(general()->loginError()->text().startsWith(QStringLiteral("L’ouverture à la connexion")));

    ASSERT_TRUE(blocker.remove());
    general()->loginToggle()->click();
    EXPECT_TRUE(general()->loginToggle()->isChecked());
    EXPECT_FALSE(general()->loginError()->isVisible());
    EXPECT_TRUE(QFile::exists(config.path() + QStringLiteral("/autostart/quillor.desktop")));
    general()->loginToggle()->click();
    EXPECT_FALSE(QFile::exists(config.path() + QStringLiteral("/autostart/quillor.desktop")));
    // Not part of the copy.
    EXPECT_FALSE(view->footer()->isVisible());
}

TEST_F(SettingsCycleTest, TheSystemLanguageIsStoredAsNoLanguage)
{
    QComboBox* picker = general()->languagePicker();
    EXPECT_FALSE(general()->restartRow()->isVisible());
    picker->setCurrentIndex(picker->findData(QStringLiteral("de")));
    Q_EMIT picker->activated(picker->currentIndex());
    // The restart is offered once the language is applied.
    EXPECT_FALSE(general()->restartRow()->isVisible());
    view->applyButton()->click();
    EXPECT_EQ(session.written().language, QStringLiteral("de"));
    EXPECT_TRUE(general()->restartRow()->isVisible());
    general()->restartButton()->click();
    EXPECT_EQ(restarts, 1);

    picker->setCurrentIndex(0);
    Q_EMIT picker->activated(0);
    view->applyButton()->click();
    EXPECT_FALSE(session.written().language.has_value());
    EXPECT_FALSE(session.data.contents(QStringLiteral("preferences.json"))->contains("language"));
    EXPECT_EQ(picker->currentIndex(), 0);
}

TEST_F(SettingsCycleTest, RecordingAHotKeyEditsTheCopyOnly)
{
    ShortcutRecorder::setKeysymLookup([](const QKeyEvent& event) -> quint32 { return event.key() == Qt::Key_K ? 'k' : 0; });
    model().setHotkeyLabel(QStringLiteral("⌃Espace"));
    general()->hotkeyButton()->click();
    turn();
    ASSERT_NE(general()->recorder(), nullptr);
    EXPECT_EQ(recordings, QList<bool>{true});
    QTest::keyClick(general()->recorder(), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    turn();
    ShortcutRecorder::setKeysymLookup({});
    EXPECT_EQ(general()->recorder(), nullptr);
    EXPECT_EQ(recordings, (QList<bool>{true, false}));
    EXPECT_EQ(candidate().hotkeyCode, 40u);
    EXPECT_EQ(candidate().hotkeyModifiers, 0x1800u);
    EXPECT_EQ(candidate().hotkeyDisplay, QStringLiteral("⌃⌥K"));
    EXPECT_EQ(general()->hotkeyButton()->text(), nativeKeys(Qt::CTRL | Qt::ALT | Qt::Key_K));
    EXPECT_EQ(QApplication::focusWidget(), general()->hotkeyButton());
    EXPECT_EQ(general()->activeHotkey()->text(), QStringLiteral("Actif : ⌃Espace"));
}

TEST_F(SettingsCycleTest, LeavingTheSectionEndsARecording)
{
    general()->hotkeyButton()->click();
    turn();
    ASSERT_TRUE(model().recordingShortcut());
    view->sectionButton(SettingsSection::about)->click();
    turn();
    EXPECT_FALSE(model().recordingShortcut());
    EXPECT_EQ(recordings.first(), true);
    EXPECT_EQ(recordings.last(), false);
}

TEST_F(SettingsCycleTest, SearchShowsItsResultsOnlyForARealQuery)
{
    QList<SettingsSearchResult> catalog = {
        {QStringLiteral("prefix"), QStringLiteral("Déclencheur"), SettingsSection::general},
        {QStringLiteral("index"), QStringLiteral("Suggestions"), SettingsSection::destinations},
        {QStringLiteral("language"), QStringLiteral("Langue"), SettingsSection::general},
    };
    view->setSearchCatalog([&](const QString& query) {
        return query.trimmed() == QLatin1String("zzzz") ? QList<SettingsSearchResult>() : catalog;
    });
    QTest::keyClicks(view->searchField(), QStringLiteral("   "));
    EXPECT_FALSE(view->resultsList()->isVisible());
    EXPECT_FALSE(view->clearSearchButton()->isVisible());
    EXPECT_EQ(view->searchField()->text(), QStringLiteral("   "));

    typeInto(view->searchField(), QStringLiteral("zzzz"));
    EXPECT_TRUE(view->resultsList()->isVisible());
    EXPECT_EQ(view->resultsList()->height(), 62);
    typeInto(view->searchField(), QStringLiteral("raccourci"));
    EXPECT_EQ(view->resultsList()->height(), 180);

    // A result opens its section, then its row on the next turn.
    qobject_cast<QPushButton*>(view->resultRows().at(1))->click();
    EXPECT_EQ(navigation.section(), SettingsSection::destinations);
    EXPECT_FALSE(navigation.target().has_value());
    turn();
    EXPECT_EQ(navigation.target(), QStringLiteral("index"));
    EXPECT_TRUE(static_cast<SettingsGroup*>(view->form()->row(QStringLiteral("index")))->highlighted());
    EXPECT_EQ(navigation.query(), QStringLiteral("raccourci"));

    // Escape in the field, or the selected section pressed again, ends it.
    QTest::keyClick(view->searchField(), Qt::Key_Escape);
    EXPECT_EQ(navigation.query(), QString());
    EXPECT_FALSE(navigation.target().has_value());
    typeInto(view->searchField(), QStringLiteral("langue"));
    view->sectionButton(SettingsSection::destinations)->click();
    EXPECT_EQ(view->searchField()->text(), QString());
    EXPECT_FALSE(view->resultsList()->isVisible());
}

// Gestures spell the route prefix of the copy: results shown follow a prefix
// typed but not yet applied.
TEST_F(SettingsCycleTest, SearchResultsFollowAnUnappliedRoutePrefix)
{
    const auto resultTitles = [&] {
        QStringList titles;
        for (QWidget* row : view->resultRows())
            titles.append(row->accessibleName());
        return titles;
    };
    typeInto(view->searchField(), QStringLiteral("#destination"));
    const QStringList withoutPrefix = resultTitles();
    typeInto(general()->prefixField(), QStringLiteral("#"));
    EXPECT_NE(resultTitles(), withoutPrefix);
    EXPECT_EQ(view->searchField()->text(), QStringLiteral("#destination"));
    typeInto(general()->prefixField(), QStringLiteral("@"));
    EXPECT_EQ(resultTitles(), withoutPrefix);
}


} // namespace
} // namespace quillor::test
