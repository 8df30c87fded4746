#include "editor/CaptureTextView.h"

#include "../KeyTexts.h"

#include "editing/EditorLayout.h"
#include "editing/ListSyntax.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace quillor;

namespace {

// A shown, focused editor; the mouse acts on its viewport, in viewport
// coordinates (the document's, while nothing scrolls).
struct ListEditor {
    CaptureTextView view;

    explicit ListEditor(const QString& text, std::optional<TextRange> selection = std::nullopt)
    {
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(480, 300);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setFocus();
        view.setContent(EditorContent::plain(text));
        if (selection)
            view.setSelectionRange(*selection);
        view.refreshPresentation();
    }

    ListSyntax::Item item(int index) const { return ListSyntax::items(view.text()).at(index); }
    QPointF handle(int index) const
    {
        return EditorLayout::listHandleRect(view.markerRect(TextRange{item(index).marker.location, 1})).center();
    }
    QPointF box(int index) const { return view.checkboxRect(item(index)).center(); }
    // The middle of a line of the text, at the horizontal position x.
    QPointF line(int index, qreal x) const { return QPointF(x, view.markerRect(TextRange{item(index).line.location, 1}).center().y()); }

    void press(QPointF at) { QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at.toPoint()); }
    void move(QPointF to) { QTest::mouseMove(view.viewport(), to.toPoint()); }
    void release(QPointF at) { QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at.toPoint()); }
    void click(QPointF at)
    {
        press(at);
        release(at);
    }
    // Pressed at `from`, moved there through a point past the threshold.
    void drag(QPointF from, QPointF to)
    {
        press(from);
        move(from + QPointF(0, 6));
        move(to);
        release(to);
    }
    int steps() const { return view.undoStack()->count(); }
};

TEST(CaptureTextViewListMouseTest, AClickOnADrawnTaskBoxTicksItInOneStepWithTheCaretLeftAlone)
{
    const struct {
        const char* text;
        const char* after;
        qreal dx;   // from the box's centre
    } cases[] = {
        {"- [ ] t", "- [x] t", 0},
        {"- [x] t", "- [ ] t", 0},
        {"- [X] t", "- [ ] t", 0},
        {"- [ ] t", "- [x] t", 0},   // and 2 pixels left of the box below
    };
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.text);
        ListEditor editor(QString::fromUtf8(c.text));
        QPointF at = editor.box(0);
        if (i == 3)
            at.setX(editor.view.checkboxRect(editor.item(0)).left() - 1.5);
        editor.click(at);
        EXPECT_EQ(editor.view.text(), QString::fromUtf8(c.after));
        EXPECT_EQ(editor.view.selectionRange(), (TextRange{7, 0}));
        EXPECT_EQ(editor.steps(), 1);
        EXPECT_EQ(editor.view.undoStack()->undoText(), QStringLiteral("Cocher la tâche"));
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
}

TEST(CaptureTextViewListMouseTest, PressesThatDoNotTickOrMove)
{
    const struct {
        const char* name;
        QString text;
        TextRange caret;
        bool onHandle;   // else on the task box
        bool readOnly;
    } cases[] = {
        {"a click on the handle", QStringLiteral("- [ ] t"), {7, 0}, true, false},
        {"a click on a box shown as text", QStringLiteral("- [ ] t"), {3, 0}, false, false},
        {"an ordered item's handle", QStringLiteral("1. t"), {4, 0}, true, false},
        {"a read-only box", QStringLiteral("- [ ] t"), {7, 0}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ListEditor editor(c.text, c.caret);
        editor.view.setReadOnly(c.readOnly);
        const QPointF at = c.onHandle ? editor.handle(0) : editor.view.checkboxRect(editor.item(0)).center();
        editor.click(at);
        EXPECT_EQ(editor.view.text(), c.text);
        EXPECT_EQ(editor.steps(), 0);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    // A click on a handle puts the caret where the press was.
    ListEditor editor(QStringLiteral("- a\n- b"), TextRange{7, 0});
    editor.click(editor.handle(0));
    EXPECT_EQ(editor.view.selectionRange(), (TextRange{0, 0}));
}

TEST(CaptureTextViewListMouseTest, DraggingAHandleMovesTheBlockOrReindentsItInOneStep)
{
    const struct {
        const char* name;
        QString text;
        int dragged;
        int target;       // the item whose line the drag ends on
        qreal dy;         // from that line's middle
        qreal dx;         // from the press
        QString after;
    } cases[] = {
        {"30 pixels right on its own line", QStringLiteral("- a\n- b"), 1, 1, 0, 30, QStringLiteral("- a\n    - b")},
        {"below the middle of an item: after its children", QStringLiteral("- a\n- b\n    - c\n- d"), 0, 1, 4, 0,
         QStringLiteral("- b\n    - c\n- a\n- d")},
        {"above the middle of an item: before it", QStringLiteral("- a\n- b\n- c"), 2, 0, -4, 0,
         QStringLiteral("- c\n- a\n- b")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ListEditor editor(c.text);
        const QPointF from = editor.handle(c.dragged);
        const QPointF to = c.dragged == c.target ? from + QPointF(c.dx, 0)
                                                 : editor.line(c.target, from.x() + c.dx) + QPointF(0, c.dy);
        editor.press(from);
        editor.move(from + QPointF(6, 0));
        editor.move(to);
        EXPECT_TRUE(editor.view.listDropY()) << "no drop indicator";
        EXPECT_EQ(QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape() : Qt::ArrowCursor,
                  Qt::ClosedHandCursor);
        editor.release(to);
        EXPECT_EQ(editor.view.text(), c.after);
        EXPECT_EQ(editor.steps(), 1);
        EXPECT_EQ(editor.view.undoStack()->undoText(), QStringLiteral("Déplacer la ligne"));
        EXPECT_FALSE(editor.view.listDropY());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    // Nothing moves while the capture is delivered.
    ListEditor editor(QStringLiteral("- a\n- b"));
    editor.view.setReadOnly(true);
    editor.drag(editor.handle(1), editor.handle(1) + QPointF(30, 0));
    EXPECT_EQ(editor.view.text(), QStringLiteral("- a\n- b"));
    EXPECT_EQ(editor.steps(), 0);
}

TEST(CaptureTextViewListMouseTest, ADragEndedWithoutItsReleaseLeavesTheTextAndTheCursor)
{
    const struct {
        const char* name;
        std::function<void(ListEditor&)> end;
    } cases[] = {
        {"Escape", [](ListEditor& editor) { QTest::keyClick(&editor.view, Qt::Key_Escape); }},
        {"focus loss", [](ListEditor& editor) { editor.view.clearFocus(); }},
        {"a new content", [](ListEditor& editor) { editor.view.setContent(EditorContent::plain(QStringLiteral("- a\n- b"))); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ListEditor editor(QStringLiteral("- a\n- b"));
        const QPointF from = editor.handle(0);
        const QPointF to = editor.line(1, from.x()) + QPointF(0, 4);
        editor.press(from);
        editor.move(from + QPointF(0, 6));
        editor.move(to);
        ASSERT_TRUE(editor.view.listDropY());
        c.end(editor);
        EXPECT_FALSE(editor.view.listDropY());
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        // The release that follows is no click either.
        const TextRange caret = editor.view.selectionRange();
        editor.release(to);
        EXPECT_EQ(editor.view.text(), QStringLiteral("- a\n- b"));
        EXPECT_EQ(editor.view.selectionRange(), caret);
        EXPECT_EQ(editor.steps(), 0);
    }
    // Keys typed while dragging change nothing.
    ListEditor editor(QStringLiteral("- a\n- b"));
    editor.press(editor.handle(0));
    QTest::keyClick(&editor.view, Qt::Key_X);
    editor.release(editor.handle(0));
    EXPECT_EQ(editor.view.text(), QStringLiteral("- a\n- b"));
}

// Qt reports no moves while the pointer rests below the editor: the drag
// scrolls on by itself.
TEST(CaptureTextViewListMouseTest, APointerHeldBelowTheEditorScrollsTheDrag)
{
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines.append(QStringLiteral("- item %1").arg(i));
    ListEditor editor(lines.join(u'\n'), TextRange{0, 0});
    editor.view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor.view.resize(480, 150);
    QCoreApplication::processEvents();
    ASSERT_GT(editor.view.verticalScrollBar()->maximum(), 0);
    const QPointF from = editor.handle(0);
    editor.press(from);
    editor.move(from + QPointF(0, 6));
    editor.move(QPointF(from.x(), editor.view.viewport()->height() + 40));
    QTest::qWait(200);
    EXPECT_GT(editor.view.verticalScrollBar()->value(), 0);
    QTest::keyClick(&editor.view, Qt::Key_Escape);
    const int scrolled = editor.view.verticalScrollBar()->value();
    QTest::qWait(100);
    EXPECT_EQ(editor.view.verticalScrollBar()->value(), scrolled) << "still scrolling after the drag";
    EXPECT_EQ(editor.view.text(), lines.join(u'\n'));
}

TEST(CaptureTextViewListMouseTest, EveryItemHasAHandleStrongerUnderTheMouse)
{
    ListEditor editor(QStringLiteral("- a\n1. b\n- [ ] c"));
    editor.view.clearFocus();
    const auto ink = [&](int index) {
        const QImage shown = editor.view.viewport()->grab().toImage();
        const QRect handle =
            EditorLayout::listHandleRect(editor.view.markerRect(TextRange{editor.item(index).marker.location, 1}))
                .toAlignedRect();
        const QColor ground = shown.pixelColor(handle.topLeft());
        int darkest = 255;
        for (int y = handle.top(); y <= handle.bottom(); ++y)
            for (int x = handle.left(); x <= handle.right(); ++x)
                darkest = std::min(darkest, qGray(shown.pixel(x, y)));
        return qGray(ground.rgb()) - darkest;
    };
    const int faint = ink(1);
    EXPECT_GT(faint, 0) << "no handle on the ordered item";
    EXPECT_TRUE(editor.view.checkboxRect(editor.item(1)).isNull()) << "a marker drawn for the ordered item";
    EXPECT_GT(ink(0), 0);
    EXPECT_GT(ink(2), 0);
    QMouseEvent hover(QEvent::MouseMove, editor.line(1, 200), editor.view.viewport()->mapToGlobal(editor.line(1, 200)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor.view.viewport(), &hover);
    EXPECT_GT(ink(1), faint);
}

// The item under a resting pointer follows the text: typed below the pointer,
// it is the same row; a line added above brings the row before under it.
TEST(CaptureTextViewListMouseTest, TheHoveredItemFollowsWhatIsTypedBelowAndAbove)
{
    ListEditor editor(QStringLiteral("- a\n- b\n- c\nfin"));
    const QPointF pointer = editor.line(1, 200);
    QMouseEvent hover(QEvent::MouseMove, pointer, editor.view.viewport()->mapToGlobal(pointer), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor.view.viewport(), &hover);
    const auto hovered = [&editor] {
        editor.view.refreshPresentation();
        return editor.view.hoveredListItem();
    };
    EXPECT_EQ(hovered(), editor.item(1));

    editor.view.setSelectionRange(TextRange{editor.view.text().size(), 0});
    QTest::keyClicks(&editor.view, QStringLiteral("xyz"));
    EXPECT_EQ(hovered(), editor.item(1));

    editor.view.setSelectionRange(TextRange{0, 0});
    QTest::keyClicks(&editor.view, QStringLiteral("z"));
    QTest::keyClick(&editor.view, Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_TRUE(editor.view.text().startsWith(QStringLiteral("z\n- a")));
    EXPECT_EQ(hovered(), editor.item(0));
}

// The handle's tip names its keys as every other shortcut does: in the
// desktop's notation and the language of Qt's own texts, here French.
TEST(CaptureTextViewListMouseTest, TheHandlesTipNamesItsKeysInTheDesktopsNotation)
{
    const ScopedQtTexts french(QStringLiteral("fr"));
    if (!french.loaded())
        GTEST_SKIP() << "Qt's French texts are not installed";
    ListEditor editor(QStringLiteral("- a\n- b"));
    const QPoint point = editor.handle(1).toPoint();
    QHelpEvent help(QEvent::ToolTip, point, editor.view.viewport()->mapToGlobal(point));
    QCoreApplication::sendEvent(editor.view.viewport(), &help);
    const QString tip = QToolTip::text();
    QToolTip::hideText();
    EXPECT_TRUE(tip.endsWith(nativeKeys(Qt::ALT | Qt::Key_Up) + QStringLiteral(" / ")
                             + nativeKeys(Qt::ALT | Qt::Key_Down))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("Alt+Haut"))) << tip.toStdString();
}

} // namespace
