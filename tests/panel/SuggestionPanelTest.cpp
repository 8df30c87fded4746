#include "PanelTestSupport.h"

#include "panel/CompletionList.h"
#include "panel/CompletionPage.h"
#include "panel/SuggestionPanel.h"

#include <QScrollBar>

namespace quillor {
namespace {

using namespace test;

// A capture view in an active window whose settings hold `count`
// destinations with the aliases "a0" to "a<count − 1>", all offered after "@"
// or "@a", in the order of their aliases as text.
struct SuggestionSession : PanelSession {
    explicit SuggestionSession(int count)
    {
        QList<Destination> destinations;
        for (int i = 0; i < count; ++i)
            destinations.append(makeDestination(QStringLiteral("D%1").arg(i), QStringLiteral("a%1").arg(i), vault));
        data.put(QStringLiteral("preferences.json"), preferencesWith(destinations).encode());
        open();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    CaptureTextView* editor() const { return view->editor(); }
    SuggestionPanel* panel() const { return qobject_cast<SuggestionPanel*>(editor()->suggestionsPanel()); }
    CompletionList* list() const { return panel() ? panel()->list() : nullptr; }
    bool panelShown() const { return panel() && panel()->isVisible(); }
    void key(Qt::Key key)
    {
        QTest::keyClick(editor(), key);
        settle();
    }
};

TEST(SuggestionPanelTest, PagesGrowWithScrollingAndTheSelectionAndNeverShrinkUntilANewList)
{
    const struct {
        const char* name;
        int limit;
        bool revealing;   // else a row came into view
        int row;
        int count;
        int after;
    } cases[] = {
        {"selection in the second page", 20, true, 25, 45, 40},
        {"selection on the last row", 40, true, 44, 45, 45},
        {"selection on an earlier page", 60, true, 3, 45, 60},
        {"selection outside the list", 20, true, -1, 45, 20},
        {"the last rendered row in view", 20, false, 19, 45, 40},
        {"the last row of the list in view", 40, false, 39, 45, 45},
        {"a row before the last in view", 20, false, 18, 45, 20},
        {"a short list in view", 20, false, 4, 5, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CompletionPage page{c.limit};
        if (c.revealing)
            page.reveal(c.row, c.count);
        else
            page.rowAppeared(c.row, c.count);
        EXPECT_EQ(page.limit, c.after);
    }
}

TEST(SuggestionPanelTest, TheListRendersPagesAndKeepsTheSelectedRowInView)
{
    SuggestionSession session(45);
    session.typeInEditor(QStringLiteral("@"));
    ASSERT_TRUE(session.panelShown());
    CompletionList* list = session.list();
    EXPECT_EQ(list->model()->rowCount(), 20);

    for (const auto& [index, rows] : {std::pair{25, 40}, {44, 45}, {3, 45}}) {
        SCOPED_TRACE(index);
        session.model->selectCompletion(index);
        session.settle();
        EXPECT_EQ(list->model()->rowCount(), rows);
        EXPECT_EQ(list->selectionModel()->selectedRows(), QModelIndexList{list->model()->index(index, 0)});
        EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(list->model()->index(index, 0))));
    }

    // A new list starts again at the first page.
    session.typeInEditor(QStringLiteral("a"));
    ASSERT_EQ(session.model->completions().size(), 45);
    EXPECT_EQ(list->model()->rowCount(), 20);
    EXPECT_EQ(list->page().limit, 20);
    // Scrolled to its end, the list renders one page more.
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    session.settle();
    EXPECT_EQ(list->model()->rowCount(), 40);
}

TEST(SuggestionPanelTest, RowsCarryTheirAccessibleTextsAndAClickAcceptsTheRow)
{
    SuggestionSession session(7);
    session.typeInEditor(QStringLiteral("@"));
    ASSERT_TRUE(session.panelShown());
    CompletionList* list = session.list();
    EXPECT_EQ(list->accessibleName(), QStringLiteral("Suggestions : 7"));
    session.model->selectCompletion(2);
    const QModelIndex third = list->model()->index(2, 0);
    EXPECT_EQ(third.data(Qt::AccessibleTextRole).toString(),
              session.model->completions().at(2).label + QStringLiteral(", Nouvelle note"));
    EXPECT_EQ(third.data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("Sélectionné, 3 sur 7"));
    EXPECT_EQ(list->model()->index(1, 0).data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("2 sur 7"));

    // A click on the fourth row while the third is selected: refused while
    // the capture is being delivered, accepted otherwise.
    const std::optional<QUuid> chosen = session.model->completions().at(3).destinationID;
    const QRect fourth = list->visualRect(list->model()->index(3, 0));
    session.editor()->setReadOnly(true);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, fourth.center());
    session.settle();
    EXPECT_EQ(session.editor()->text(), QStringLiteral("@"));
    EXPECT_EQ(session.model->completionIndex(), 2);
    session.editor()->setReadOnly(false);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, fourth.center());
    session.settle();
    EXPECT_EQ(session.editor()->text(), QString());
    EXPECT_EQ(session.model->draft().destinationID, chosen);
    EXPECT_TRUE(session.model->completions().isEmpty());
    EXPECT_FALSE(session.panelShown());
    EXPECT_EQ(QApplication::focusWidget(), session.editor());
    EXPECT_TRUE(session.view->isActiveWindow());
}

TEST(SuggestionPanelTest, ThePanelStandsUnderTheCaretAndTheEditorKeepsTheKeyboard)
{
    SuggestionSession session(3);
    session.typeInEditor(QStringLiteral("@"));
    ASSERT_TRUE(session.panelShown());
    CaptureTextView* editor = session.editor();
    const QRect caret = editor->cursorRect();
    const QPoint below = editor->viewport()->mapToGlobal(QPoint(caret.left(), caret.y() + caret.height()));
    EXPECT_EQ(session.panel()->geometry(), QRect(below, QSize(340, 3 * 32 + 8)));
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_TRUE(session.view->isActiveWindow());
    EXPECT_TRUE(session.panel()->testAttribute(Qt::WA_ShowWithoutActivating));

    // Escape closes the list; the next character that opens one shows it.
    session.key(Qt::Key_Escape);
    EXPECT_FALSE(session.panelShown());
    session.typeInEditor(QStringLiteral("a"));
    EXPECT_TRUE(session.panelShown());
}

// The list's own minimum (a scroll area's) must not make a short list's
// window taller than its rows.
TEST(SuggestionPanelTest, ThePanelIsAsTallAsItsRowsEvenForOneOrTwo)
{
    for (const int rows : {1, 2}) {
        SCOPED_TRACE(rows);
        SuggestionSession session(rows);
        session.typeInEditor(QStringLiteral("@"));
        ASSERT_TRUE(session.panelShown());
        EXPECT_EQ(session.panel()->height(), rows * 32 + 8);
        EXPECT_EQ(session.panel()->frameGeometry().height(), rows * 32 + 8);
        const QRect firstRow = session.list()->visualRect(session.list()->model()->index(0, 0));
        EXPECT_EQ(firstRow.height(), 32);
        EXPECT_TRUE(session.list()->viewport()->rect().contains(firstRow)) << "the row is cut";
    }
}

TEST(SuggestionPanelTest, TheSelectedRowIsAnnouncedOnShowingAndOnEachMove)
{
    SuggestionSession session(5);
    QStringList announcements;
    session.editor()->announce = [&](const QString& text) { announcements.append(text); };
    session.typeInEditor(QStringLiteral("@"));
    const QString first = session.model->completions().at(0).label;
    const QString second = session.model->completions().at(1).label;
    session.key(Qt::Key_Down);
    // A character that keeps the list open moves the panel, silently.
    session.typeInEditor(QStringLiteral("a"));
    session.key(Qt::Key_Escape);
    session.typeInEditor(QStringLiteral("1"));
    EXPECT_EQ(announcements, (QStringList{first + QStringLiteral(", Nouvelle note, 1 sur 5"),
                                          second + QStringLiteral(", Nouvelle note, 2 sur 5"),
                                          QStringLiteral("Inbox · a1, Nouvelle note, 1 sur 1")}));
}

TEST(SuggestionPanelTest, ThePanelHidesWhileTheCapturePanelIsInactiveAndWhenDismissed)
{
    SuggestionSession session(3);
    session.typeInEditor(QStringLiteral("@"));
    ASSERT_TRUE(session.panelShown());

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    // The capture panel's activation change runs the update.
    session.editor()->updateSuggestionsPanel();
    EXPECT_FALSE(session.panelShown());
    EXPECT_EQ(session.model->completions().size(), 3);

    session.view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(session.view.get()));
    session.editor()->updateSuggestionsPanel();
    EXPECT_TRUE(session.panelShown());

    session.editor()->dismissAuxiliaryWindows();
    EXPECT_FALSE(session.panelShown());
    EXPECT_TRUE(session.model->completions().isEmpty());
}

} // namespace
} // namespace quillor
