#include "SettingsTestSupport.h"

#include "../KeyTexts.h"

#include "core/L10n.h"
#include "settings/ReferenceSettingsPage.h"
#include "settings/SettingsRow.h"

#include <QLabel>
#include <QScrollBar>

namespace quillor::test {
namespace {

class ReferenceSectionsTest : public SettingsViewTest {
protected:
    void SetUp() override
    {
        SettingsViewTest::SetUp();
        open();
    }
    ReferenceSettingsPage* reference() const { return qobject_cast<ReferenceSettingsPage*>(view->form()->page()); }
    void show(SettingsSection section)
    {
        view->sectionButton(section)->click();
        turn();
    }
    // The row identifiers under each group header, in order.
    QMap<QString, QStringList> groupsShown() const
    {
        QMap<QString, QStringList> result;
        for (SettingsGroup* group : reference()->findChildren<SettingsGroup*>()) {
            const QString header = group->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)->text();
            for (SettingsRow* row : group->findChildren<SettingsRow*>())
                result[header].append(row->identifier());
        }
        return result;
    }
};

TEST_F(ReferenceSectionsTest, ShortcutsAndGuideListTheirEntriesByGroup)
{
    show(SettingsSection::shortcuts);
    ASSERT_NE(reference(), nullptr);
    EXPECT_EQ(groupsShown(),
              (QMap<QString, QStringList>{
                  {"Capture", {"key-open", "key-save", "key-hide", "key-settings", "key-quit"}},
                  {"Édition du texte", {"key-edit", "key-indent", "key-checkbox-backspace", "key-move"}},
                  {"Suggestions et contenu", {"key-suggest", "key-link", "key-images"}}}));
    ASSERT_NE(reference()->configureButton(), nullptr);
    EXPECT_EQ(reference()->configureButton()->parentWidget(), reference()->row("key-open"));
    EXPECT_EQ(reference()->gesture("key-save")->text(), nativeKeys(Qt::CTRL | Qt::Key_Return));
    // An entry without detail has its title and gesture only.
    EXPECT_EQ(reference()->row("key-quit")->findChildren<QLabel*>().size(), 2);

    show(SettingsSection::guide);
    const QMap<QString, QStringList> guide = groupsShown();
    EXPECT_EQ(guide.keys(), QStringList({"Suggestions et contenu", "Édition du texte"}));
    EXPECT_EQ(guide["Suggestions et contenu"],
              QStringList({"guide-route", "guide-suggest", "guide-link", "guide-tag", "guide-images"}));
    EXPECT_EQ(guide["Édition du texte"].size(), 10);
    EXPECT_EQ(reference()->configureButton(), nullptr);
    EXPECT_TRUE(reference()->gesture("guide-recovery")->isHidden());
}

TEST_F(ReferenceSectionsTest, TheGuideFollowsAPrefixNotYetApplied)
{
    Preferences edited = candidate();
    edited.routePrefix = QStringLiteral("#");
    state().setCandidate(edited);
    show(SettingsSection::guide);
    EXPECT_EQ(reference()->gesture("guide-route")->text(), "#destination");
    edited.routePrefix = QStringLiteral("+");
    state().setCandidate(edited);
    EXPECT_EQ(reference()->gesture("guide-route")->text(), "+destination");
    EXPECT_EQ(model().preferences().routePrefix, "@");
}

// A page put away while another section shows comes back as a new one would:
// from the top, with the gestures of the copy edited meanwhile, and scrolled to
// a search target.
TEST_F(ReferenceSectionsTest, AGuideShownAgainFollowsWhatChangedMeanwhile)
{
    show(SettingsSection::guide);
    ReferenceSettingsPage* guide = reference();
    QScrollBar* bar = view->form()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    show(SettingsSection::shortcuts);
    Preferences edited = candidate();
    edited.routePrefix = QStringLiteral("+");
    state().setCandidate(edited);

    show(SettingsSection::guide);
    EXPECT_EQ(reference(), guide);
    EXPECT_EQ(view->form()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(guide->gesture("guide-route")->text(), "+destination");
    EXPECT_EQ(guide->row("guide-route")->accessibleName(), "Choisir une destination, +destination");
    EXPECT_TRUE(guide->gesture("guide-recovery")->isHidden());

    show(SettingsSection::shortcuts);
    QTest::keyClicks(view->searchField(), QStringLiteral("tag enfant"));
    turn();
    ASSERT_EQ(view->resultRows().size(), 1);
    qobject_cast<QPushButton*>(view->resultRows().constFirst())->click();
    turn();
    EXPECT_EQ(reference(), guide);
    EXPECT_TRUE(guide->row("guide-tag")->highlighted());
    // The scroll to the row is animated.
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->form()->verticalScrollBar()->value() > 0; }, 2000));
}

TEST_F(ReferenceSectionsTest, APageOfAnotherLanguageIsBuiltAnew)
{
    show(SettingsSection::guide);
    show(SettingsSection::shortcuts);
    L10n::configure(QStringLiteral("en"));
    show(SettingsSection::guide);
    const QStringList headers = groupsShown().keys();
    L10n::configure(QStringLiteral("fr"));
    EXPECT_EQ(headers, QStringList({"Suggestions and Content", "Text Editing"}));
}

TEST_F(ReferenceSectionsTest, ConfiguringTheShortcutJumpsToTheCaptureRowTinted)
{
    show(SettingsSection::shortcuts);
    reference()->configureButton()->click();
    turn();
    EXPECT_EQ(navigation.section(), SettingsSection::general);
    EXPECT_EQ(navigation.target(), "capture");
    ASSERT_NE(general(), nullptr);
    auto* row = qobject_cast<SettingsGroup*>(view->form()->row("capture"));
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->highlighted());
}

TEST_F(ReferenceSectionsTest, ASearchResultOpensItsRowTinted)
{
    window->resize(1000, 640);
    QTest::keyClicks(view->searchField(), QStringLiteral("lien note"));
    turn();
    const QList<QWidget*> rows = view->resultRows();
    ASSERT_FALSE(rows.isEmpty());
    QPushButton* linkRow = nullptr;
    for (QWidget* row : rows) {
        if (row->accessibleName() == "Lien vers une note" && !linkRow)
            linkRow = qobject_cast<QPushButton*>(row);
    }
    ASSERT_NE(linkRow, nullptr);
    linkRow->click();
    turn();
    EXPECT_EQ(navigation.section(), SettingsSection::shortcuts);
    EXPECT_EQ(navigation.target(), "key-link");
    ASSERT_NE(reference(), nullptr);
    EXPECT_TRUE(reference()->row("key-link")->highlighted());
    EXPECT_FALSE(reference()->row("key-open")->highlighted());
}

TEST_F(ReferenceSectionsTest, TheSearchFindsWhatTheUserReads)
{
    QTest::keyClicks(view->searchField(), QStringLiteral("ctrl v"));
    turn();
    QStringList titles;
    for (QWidget* row : view->resultRows())
        titles.append(row->accessibleName());
    EXPECT_TRUE(titles.contains("Images"));
    EXPECT_TRUE(titles.contains("Édition du texte"));
    view->searchField()->clear();
    QTest::keyClicks(view->searchField(), QStringLiteral("Effacer"));
    turn();
    ASSERT_EQ(view->resultRows().size(), 1);
    EXPECT_EQ(view->resultRows().first()->accessibleName(), "Brouillon");
}

} // namespace
} // namespace quillor::test
