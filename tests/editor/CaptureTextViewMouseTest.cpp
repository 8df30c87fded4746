#include "CaptureEditorBench.h"

#include <QCursor>
#include <QMouseEvent>

namespace quillor {
namespace {

using namespace test;

struct MouseBench : CaptureEditorBench {
    QList<QUrl> opened;
    QStringList previewed;
    int moves = 0;

    MouseBench()
    {
        view->openLink = [this](const QUrl& url) { opened.append(url); };
        view->openNotePreview = [this](const QString& target) { previewed.append(target); };
        view->movePanel = [this](const QMouseEvent&) { ++moves; };
    }

    // The middle of the character's glyph, in viewport coordinates.
    QPoint at(qsizetype position) const
    {
        view->refreshPresentation();
        QTextCursor cursor(view->document());
        cursor.setPosition(int(position));
        const QRect before = view->cursorRect(cursor);
        cursor.setPosition(int(position + 1));
        const QRect after = view->cursorRect(cursor);
        return QPoint((before.center().x() + after.center().x()) / 2, before.center().y());
    }
    QPoint at(const QString& part) const { return at(text().indexOf(part) + 1); }

    void click(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, point);
        QCoreApplication::processEvents();
    }
    void move(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QCursor::setPos(view->viewport()->mapToGlobal(point));
        QMouseEvent event(QEvent::MouseMove, point, view->viewport()->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                          modifiers);
        QCoreApplication::sendEvent(view->viewport(), &event);
    }
    Qt::CursorShape shown() const { return view->viewport()->cursor().shape(); }
};

TEST(CaptureTextViewMouseTest, TheMarginsAndTheEmptyCapturesBrandCornerMoveThePanel)
{
    MouseBench bench;
    const QRectF brand = bench.view->brandingRect();
    ASSERT_FALSE(brand.isNull());
    const int y = int(brand.center().y());
    const struct {
        QPoint point;
        bool moves;
    } cases[] = {
        {{3, 30}, true},
        {{30, 3}, true},
        {{int(brand.left()) - 12, y}, false},
        {{int(brand.left()) - 7, y}, true},
        {{bench.view->viewport()->width() - 3, 60}, true},
        {{100, 60}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x() << ',' << c.point.y());
        const int before = bench.moves;
        bench.click(c.point);
        EXPECT_EQ(bench.moves - before, c.moves ? 1 : 0);
        EXPECT_EQ(bench.view->hoverCursor(c.point, Qt::NoModifier), c.moves ? Qt::OpenHandCursor : Qt::IBeamCursor);
    }

    // Typed text takes the brand corner away; the margins stay.
    bench.type(QStringLiteral("a"));
    bench.view->setSelectionRange(TextRange{0, 0});
    const int before = bench.moves;
    bench.click({int(brand.left()) - 7, y});
    bench.click({3, 30});
    EXPECT_EQ(bench.moves - before, 1);
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{1, 0}));
}

TEST(CaptureTextViewMouseTest, CtrlShowsAndFollowsLinksUnderTheirGlyphsOnly)
{
    MouseBench bench;
    bench.set(QStringLiteral("voir [[Projet]] et https://exemple.org\nfin"), TextRange{42, 0});
    const QPoint wiki = bench.at(QStringLiteral("rojet"));
    const QPoint url = bench.at(QStringLiteral("exemple"));
    // Right of the first line's last glyph, still inside the text area.
    const QPoint lineEnd(bench.view->viewport()->width() - 30, url.y());

    EXPECT_EQ(bench.view->hoverCursor(url, Qt::NoModifier), Qt::IBeamCursor);
    EXPECT_EQ(bench.view->hoverCursor(url, Qt::ControlModifier), Qt::PointingHandCursor);
    EXPECT_EQ(bench.view->hoverCursor(lineEnd, Qt::ControlModifier), Qt::IBeamCursor);
    bench.move(wiki, Qt::ControlModifier);
    EXPECT_EQ(bench.shown(), Qt::PointingHandCursor);
    QTest::keyRelease(bench.view, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(bench.shown(), Qt::IBeamCursor);
    QTest::keyPress(bench.view, Qt::Key_Control);
    EXPECT_EQ(bench.shown(), Qt::PointingHandCursor);
    QTest::keyRelease(bench.view, Qt::Key_Control, Qt::ControlModifier);

    bench.click(url, Qt::ControlModifier);
    EXPECT_EQ(bench.opened, QList<QUrl>{QUrl(QStringLiteral("https://exemple.org"))});
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{42, 0}));
    bench.click(url);
    EXPECT_EQ(bench.opened.size(), 1);
    EXPECT_GT(bench.view->selectionRange().location, bench.text().indexOf(QStringLiteral("https")));

    bench.click(lineEnd, Qt::ControlModifier);
    EXPECT_EQ(bench.view->selectionRange(), (TextRange{bench.text().indexOf(u'\n'), 0}));
    EXPECT_EQ(bench.opened.size(), 1);
    EXPECT_TRUE(bench.previewed.isEmpty());

    for (int i = 0; i < 2; ++i)
        bench.click(wiki, Qt::ControlModifier);
    EXPECT_EQ(bench.previewed, (QStringList{QStringLiteral("Projet"), QStringLiteral("Projet")}));
    EXPECT_EQ(bench.text(), QStringLiteral("voir [[Projet]] et https://exemple.org\nfin"));
    EXPECT_EQ(bench.moves, 0);
}

} // namespace
} // namespace quillor
