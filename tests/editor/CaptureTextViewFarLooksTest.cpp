#include "editor/CaptureTextView.h"

#include "../model/EventLoop.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <cmath>

using namespace quillor;
using test::waitUntil;

namespace {

// About 2,000 paragraphs holding every look the editor gives, most of it
// concealed syntax that a selection shows, and lines that take one more row
// once it shows.
QString longCapture()
{
    return QStringLiteral("# Titre\n\nDu **gras** et _rien_ #tag ==surligné==\n- [ ] tâche `code`\n- [x] faite\n"
                          "  1. sous-point\n- puce\n> citation\n> > suite [[Note|lien]]\n\n```\nbloc *pas* stylé\n```\n"
                          "Voir [[Projets/Une note au nom assez long pour passer à la ligne|le projet]] et **fin**\n")
        .repeated(140);
}

struct Editor {
    CaptureTextView view;

    explicit Editor(const QString& text)
    {
        view.resize(480, 320);
        view.show();
        view.setContent(EditorContent::plain(text));
        view.refreshPresentation();
        QCoreApplication::processEvents();
    }
    // Every paragraph's character and block formats equal the other's.
    bool looksLike(const Editor& other) const
    {
        QTextBlock mine = view.document()->begin();
        QTextBlock theirs = other.view.document()->begin();
        for (; mine.isValid() && theirs.isValid(); mine = mine.next(), theirs = theirs.next()) {
            // By property: the same properties set in another order make
            // formats that compare unequal.
            if (mine.layout()->formats() != theirs.layout()->formats()
                || mine.blockFormat().properties() != theirs.blockFormat().properties())
                return false;
        }
        return !mine.isValid() && !theirs.isValid();
    }
    // Styled as a whole, as after a change of width: the looks of every
    // paragraph decided and laid out at once.
    void restyleWholly()
    {
        view.resize(view.width() + 1, view.height());
        QCoreApplication::processEvents();
        view.resize(view.width() - 1, view.height());
        QCoreApplication::processEvents();
    }
    // Where the first paragraph in view stands in the viewport.
    std::pair<int, qreal> firstInView() const
    {
        const QTextBlock block = view.cursorForPosition(QPoint(0, 0)).block();
        return {block.blockNumber(), view.document()->documentLayout()->blockBoundingRect(block).top()
                                         - view.verticalScrollBar()->value()};
    }
};

} // namespace

// Selecting all of a long capture shows the syntax of every paragraph. The
// paragraphs in view get their looks at once, the others soon after, without
// the text in view moving while those above it grow.
TEST(CaptureTextViewFarLooksTest, SelectingAllShowsTheSyntaxInViewAtOnceAndEverywhereSoonWithoutMovingTheView)
{
    const QString text = longCapture();
    Editor edited(text);
    edited.view.setSelectionRange(TextRange{0, text.size()});
    QCoreApplication::processEvents();
    const auto before = edited.firstInView();
    Editor whole(text);
    whole.view.setSelectionRange(TextRange{0, text.size()});
    whole.restyleWholly();
    ASSERT_TRUE(waitUntil([&] { return edited.looksLike(whole); }));
    // To the pixel the scroll bar counts in.
    const auto after = edited.firstInView();
    EXPECT_EQ(after.first, before.first);
    EXPECT_LE(std::abs(after.second - before.second), 0.5);
}

// Keys while the far paragraphs still wait: the caret going back conceals
// the syntax again, typing moves what waits, and erasing everything leaves
// nothing waiting.
TEST(CaptureTextViewFarLooksTest, KeysWhileFarLooksWaitLeaveTheLooksOfTheirText)
{
    const QString text = longCapture();
    Editor edited(text);
    edited.view.setFocus();
    edited.view.setSelectionRange(TextRange{0, text.size()});
    QCoreApplication::processEvents();
    edited.view.setSelectionRange(TextRange{text.size() / 2, 0});
    QTest::keyClicks(&edited.view, QStringLiteral("**x"));
    QCoreApplication::processEvents();

    Editor whole(edited.view.text());
    whole.view.setSelectionRange(edited.view.selectionRange());
    whole.restyleWholly();
    ASSERT_TRUE(waitUntil([&] { return edited.looksLike(whole); }));

    edited.view.setSelectionRange(TextRange{0, edited.view.text().size()});
    QTest::keyClick(&edited.view, Qt::Key_Backspace);
    QTest::qWait(200);
    EXPECT_TRUE(edited.view.text().isEmpty());
    EXPECT_TRUE(edited.looksLike(Editor(QString())));
}
