#include "editor/CaptureTextView.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace quillor;

namespace {

// A shown editor of a fixed size, so that two of them lay out alike.
struct ShownView {
    CaptureTextView view;

    ShownView()
    {
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(420, 300);
        view.show();
    }
};

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// What the display shows of each paragraph: its additional formats and the
// block format the styling sets.
void expectSameLook(CaptureTextView& restyled, CaptureTextView& fresh, const std::string& step)
{
    ASSERT_EQ(restyled.document()->blockCount(), fresh.document()->blockCount()) << step;
    QTextBlock a = restyled.document()->begin();
    QTextBlock b = fresh.document()->begin();
    for (; a.isValid() && b.isValid(); a = a.next(), b = b.next()) {
        const std::string where = step + ", paragraph " + std::to_string(a.blockNumber()) + " \""
                                  + a.text().toStdString() + "\"";
        EXPECT_TRUE(a.layout()->formats() == b.layout()->formats()) << where;
        EXPECT_DOUBLE_EQ(a.blockFormat().leftMargin(), b.blockFormat().leftMargin()) << where;
        EXPECT_DOUBLE_EQ(a.blockFormat().topMargin(), b.blockFormat().topMargin()) << where;
        EXPECT_DOUBLE_EQ(a.blockFormat().lineHeight(), b.blockFormat().lineHeight()) << where;
    }
}

// The styling only revisits the paragraphs a keystroke or a caret move
// changed: after each, the editor looks exactly like a new editor given the
// same text and selection.
TEST(CaptureTextViewRestyleTest, KeystrokesAndCaretMovesRestyleAsAFreshEditor)
{
    const QString start = QStringLiteral(
        "# Titre\n\nDu **gras** et _rien_ #tag\n- [ ] tâche `code`\n  1. sous-point ==vu==\n"
        "> citation\n> > suite [[Note|lien]]\n\n```\nbloc *pas* stylé\n```\nfin ~~barré~~\n");
    const QStringList typed = {QStringLiteral("x"), QStringLiteral("*"), QStringLiteral("`"),
                               QStringLiteral("#"), QStringLiteral(" "), QStringLiteral(">"),
                               QStringLiteral("-"), QStringLiteral("\n"), QStringLiteral("~")};
    ShownView restyled;
    restyled.view.setContent(EditorContent::plain(start));
    settle();
    QRandomGenerator random(8);
    for (int step = 0; step < 60; ++step) {
        const qsizetype length = restyled.view.text().size();
        const int action = random.bounded(3);
        if (action == 0) {
            restyled.view.setSelectionRange(TextRange{random.bounded(int(length) + 1), 0});
        } else if (action == 1) {
            const QString key = typed[random.bounded(int(typed.size()))];
            if (key == u'\n')
                QTest::keyClick(&restyled.view, Qt::Key_Return);
            else
                QTest::sendKeyEvent(QTest::Click, &restyled.view, Qt::Key_unknown, key, Qt::NoModifier);
        } else {
            QTest::keyClick(&restyled.view, Qt::Key_Backspace);
        }
        settle();
        ShownView fresh;
        fresh.view.setContent(restyled.view.content());
        fresh.view.setSelectionRange(restyled.view.selectionRange());
        settle();
        expectSameLook(restyled.view, fresh.view, "step " + std::to_string(step));
        if (testing::Test::HasFailure())
            return;
    }
}

} // namespace
