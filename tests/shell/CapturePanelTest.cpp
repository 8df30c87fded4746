#include "ShellTestSupport.h"

#include "editor/CaptureTextView.h"
#include "panel/CaptureView.h"
#include "shell/CaptureTypography.h"

#include <QApplication>
#include <QClipboard>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

using namespace quillor;
using namespace std::chrono_literals;

namespace {

// Nothing takes room on this screen: the panel grows to at most
// min(900 − 32, 0.72 × 900, 560) = 560.
const QRectF screen(0, 0, 1440, 900);

class CapturePanelTest : public ::testing::Test {
protected:
    CapturePanelTest() : panel(test::configured(session)) {}

    CaptureTextView& editor() const { return *panel.captureView()->editor(); }
    QRectF at(double x, double y, double height = CaptureTypography::lineHeight() + 69) const
    {
        return QRectF(x, y, 480, height);
    }
    void showAt(const QRectF& frame)
    {
        panel.captureScreen = screen;
        panel.setFrame(frame);
        panel.show();
        panel.requestContentFit();
        test::spin(60ms);
    }
    void edit(const std::function<void()>& keys)
    {
        keys();
        test::spin(60ms); // the queued fits and layouts
    }
    void typeLines(int count)
    {
        edit([&] {
            for (int i = 0; i < count; ++i) {
                QTest::keyClicks(&editor(), QStringLiteral("ligne %1").arg(i));
                QTest::keyClick(&editor(), Qt::Key_Return);
            }
        });
    }
    bool barShown() const { return editor().verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn; }
    bool caretVisible() const { return editor().viewport()->rect().contains(editor().cursorRect()); }

    test::Session session;
    CapturePanel panel;
};

TEST_F(CapturePanelTest, FollowsTheTextBetweenOneLineAndTheScreenMaximum)
{
    // An odd frame: the width comes back, the empty editor takes one line,
    // the top edge stays.
    showAt(QRectF(300, 200, 400, 300));
    EXPECT_EQ(panel.frame(), at(300, 200));
    EXPECT_FALSE(barShown());

    typeLines(60);
    EXPECT_EQ(panel.frame(), at(300, 200, 560));
    EXPECT_TRUE(barShown());
    EXPECT_TRUE(caretVisible());

    // Typing at the top of the long text brings the caret back into view.
    editor().moveCursor(QTextCursor::Start);
    edit([&] { QTest::keyClicks(&editor(), QStringLiteral("x")); });
    EXPECT_TRUE(caretVisible());

    // Down to three lines: the bar goes and the text is back at the top.
    QTextCursor cursor = editor().textCursor();
    cursor.movePosition(QTextCursor::Down, QTextCursor::MoveAnchor, 3);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    editor().setTextCursor(cursor);
    edit([&] { QTest::keyClick(&editor(), Qt::Key_Delete); });
    EXPECT_GT(panel.frame().height(), at(0, 0).height());
    EXPECT_LT(panel.frame().height(), 560);
    EXPECT_FALSE(barShown());
    EXPECT_EQ(editor().verticalScrollBar()->value(), 0);

    edit([&] {
        QTest::keyClick(&editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&editor(), Qt::Key_Delete);
    });
    EXPECT_EQ(panel.frame(), at(300, 200));
}

// Counts the editor's width changes made once it holds a long text, each of
// which lays the whole text out again.
struct LongTextRewraps : QObject {
    explicit LongTextRewraps(CaptureTextView& editor) : editor(editor) { editor.viewport()->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && editor.document()->blockCount() > 100) {
            const auto* resize = static_cast<QResizeEvent*>(event);
            // The first size a widget takes is its first layout, not a new one.
            rewraps += resize->oldSize().isValid() && resize->size().width() != resize->oldSize().width();
        }
        return false;
    }
    CaptureTextView& editor;
    int rewraps = 0;
};

// A paste taller than the screen is laid out once, at the width the scroll
// bar leaves, not first at the whole width.
TEST_F(CapturePanelTest, APasteTallerThanTheScreenIsLaidOutOnceBesideTheScrollBar)
{
    showAt(at(300, 200));
    LongTextRewraps watch(editor());
    QString lines;
    for (int i = 0; i < 2000; ++i)
        lines += QStringLiteral("ligne %1\n").arg(i);
    QApplication::clipboard()->setText(lines);
    edit([&] { QTest::keyClick(&editor(), Qt::Key_V, Qt::ControlModifier); });
    EXPECT_EQ(editor().document()->blockCount(), 2001);
    EXPECT_TRUE(barShown());
    EXPECT_EQ(watch.rewraps, 0);
}

// A long draft read at launch goes into the hidden panel, which is then
// prepared and shown: laid out once, at the width the panel shows it at.
TEST_F(CapturePanelTest, ADraftTallerThanTheScreenSetWhileHiddenIsLaidOutOnceBesideTheScrollBar)
{
    LongTextRewraps watch(editor());
    editor().setContent(EditorContent::plain(QString(5000, u'\n')));
    panel.prepareFirstShowing();
    showAt(at(300, 200));
    EXPECT_TRUE(barShown());
    EXPECT_TRUE(caretVisible());
    EXPECT_EQ(watch.rewraps, 0);
}

TEST_F(CapturePanelTest, NothingIsFittedWhileHiddenOrWithoutAScreen)
{
    const QRectF odd(300, 200, 400, 300);
    panel.captureScreen = screen;
    panel.setFrame(odd);
    typeLines(5);
    panel.requestContentFit();
    panel.fitContent();
    test::spin(60ms);
    EXPECT_EQ(panel.frame(), odd);

    panel.captureScreen.reset();
    panel.show();
    panel.fitContent();
    EXPECT_EQ(panel.frame(), odd);
}

TEST_F(CapturePanelTest, ScreenChangesAndMovesFitThePanelIntoItsScreen)
{
    const ScreenArea left{screen, QRectF(0, 30, 1440, 870), true};
    const ScreenArea right{QRectF(1440, 0, 1280, 800), QRectF(1440, 0, 1280, 800), false};
    showAt(at(0, 0));
    panel.setFrame(at(2000, 760));
    const double h = panel.frame().height();
    // Its screen still there: pulled up onto it. Gone: onto the remaining one.
    panel.screensChanged({left, right});
    EXPECT_EQ(panel.captureScreen, right.available);
    EXPECT_EQ(panel.frame(), at(2000, 800 - h));
    panel.screensChanged({left});
    EXPECT_EQ(panel.captureScreen, left.available);
    EXPECT_EQ(panel.frame(), at(960, 800 - h));

    // A drag that left the panel half off the real screen.
    const QRectF available = ScreenSpace::current().value(0).available;
    panel.setFrame(at(available.right() - 100, available.y() + 10));
    QList<QRectF> reported;
    panel.onUserMoved = [&](const QRectF& frame) { reported.append(frame); };
    panel.didFinishUserMove();
    EXPECT_EQ(reported, QList<QRectF>{at(available.x() + available.width() - 480, available.y() + 10)});
    EXPECT_EQ(panel.frame(), reported.value(0));
    EXPECT_EQ(panel.captureScreen, available);
}

// Taking a window on, a window manager (Openbox) puts it into a frame of its
// own made at the screen's corner and moves that frame into place afterwards:
// in between, the window system reports the corner as the window's position,
// at times after the window is exposed. What places the panel next does not
// take that report for the panel's place.
TEST_F(CapturePanelTest, APositionReportedBeforeTheWindowManagerPlacedThePanelIsNotItsPlace)
{
    const QRectF place = at(720, 390);
    const struct {
        const char* step;
        std::function<void()> run;
    } cases[] = {
        {"a fit", [&] { typeLines(2); }},
        {"a change of screens", [&] { panel.screensChanged({ScreenArea{screen, screen, true}}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        showAt(place);
        panel.windowHandle()->setPosition(0, 0);
        ASSERT_TRUE(test::waitUntil([&] { return panel.pos() == QPoint(0, 0); }));
        c.run();
        EXPECT_EQ(panel.frame().topLeft(), place.topLeft());
        EXPECT_EQ(panel.pos(), place.topLeft().toPoint());
    }
}

// The suggestions window is a window of its own: the panel takes it along
// when it moves, and puts it away while another window is active.
TEST_F(CapturePanelTest, TheSuggestionsFollowThePanelAndHideWhileItIsInactive)
{
    showAt(at(100, 100));
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    edit([&] { QTest::keyClicks(&editor(), QStringLiteral("@")); });
    QWidget* suggestions = editor().suggestionsPanel();
    ASSERT_TRUE(suggestions && suggestions->isVisible());
    const QPoint before = suggestions->pos();

    panel.move(panel.pos() + QPoint(40, 30));
    EXPECT_EQ(suggestions->pos(), before + QPoint(40, 30));

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(suggestions->isVisible());
    EXPECT_FALSE(session.model->completions().isEmpty());
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    EXPECT_TRUE(suggestions->isVisible());
}

} // namespace

// Preparing the first showing paints nothing on screen and changes nothing of
// what the showing then does.
TEST_F(CapturePanelTest, PreparingTheFirstShowingLeavesThePanelAsItWas)
{
    panel.prepareFirstShowing();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(panel.testAttribute(Qt::WA_WState_Created)) << "no window made for the panel yet";
    showAt(QRectF(300, 200, 400, 300));
    EXPECT_EQ(panel.frame(), at(300, 200));
    EXPECT_FALSE(barShown());
}
