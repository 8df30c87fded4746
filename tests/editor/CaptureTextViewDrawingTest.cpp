#include "editor/CaptureTextView.h"

#include "editor/EditorFonts.h"
#include "editor/QuillorBrand.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace quillor;

namespace {

// A shown, focused editor without scroll bars.
struct ShownEditor {
    CaptureTextView view;

    explicit ShownEditor(int width = 480)
    {
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(width, 200);
        // Away from the pointer, which the tests move by hand: a window
        // shown under it would have the mouse enter at once.
        view.move(2000, 2000);
        view.show();
        view.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setFocus();
    }
    void setText(const QString& text)
    {
        view.setContent(EditorContent::plain(text));
        view.refreshPresentation();
    }
    QImage shown() const { return view.viewport()->grab().toImage(); }
    // Whether every pixel of a rectangle of the viewport is the background.
    bool blank(const QImage& image, const QRect& area) const
    {
        const QColor ground = view.viewport()->palette().color(view.viewport()->backgroundRole());
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixelColor(x, y) != ground)
                    return false;
            }
        }
        return true;
    }
    void hover(QPointF point)
    {
        QMouseEvent move(QEvent::MouseMove, point, view.viewport()->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view.viewport(), &move);
    }
    void leave()
    {
        QEvent left(QEvent::Leave);
        QCoreApplication::sendEvent(view.viewport(), &left);
    }
};

TEST(CaptureTextViewDrawingTest, AnEmptyCaptureShowsTheMarkWithThePlaceholderWrappingBeforeIt)
{
    ShownEditor editor;
    const QRectF brand = editor.view.brandingRect();
    ASSERT_FALSE(brand.isNull());
    EXPECT_EQ(brand.height(), 16);
    EXPECT_EQ(brand.right(), editor.view.viewport()->width() - editor.view.document()->documentMargin());
    EXPECT_FALSE(editor.blank(editor.shown(), brand.toRect())) << "no mark drawn";
    EXPECT_EQ(editor.view.placeholderWidth(), brand.left() - 16);
    // The placeholder and nothing else at the top left.
    EXPECT_FALSE(editor.blank(editor.shown(), QRect(8, 8, 40, 12)));

    editor.setText(QStringLiteral("a"));
    EXPECT_TRUE(editor.view.brandingRect().isNull());
    EXPECT_TRUE(editor.blank(editor.shown(), brand.toRect())) << "the mark outlived the text";
    EXPECT_TRUE(editor.blank(editor.shown(), QRect(30, 8, 60, 12))) << "the placeholder outlived the text";
}

TEST(CaptureTextViewDrawingTest, ThePlaceholderKeepsAtLeastOnePixelInANarrowEditor)
{
    for (const int width : {120, 60, 20}) {
        SCOPED_TRACE(width);
        ShownEditor editor(width);
        EXPECT_GE(editor.view.placeholderWidth(), 1);
        editor.view.update();
        EXPECT_FALSE(editor.shown().isNull());   // lays out and paints without trouble
    }
}

TEST(CaptureTextViewDrawingTest, TheMarkIsTheBrandInTheTextColour)
{
    const QRectF square(0, 0, 256, 256);
    const QRectF bounds = QuillorBrand::mark(square).boundingRect();
    EXPECT_NEAR(bounds.top(), 45.5, 0.01);
    EXPECT_NEAR(bounds.bottom(), 210.5, 0.01);
    EXPECT_NEAR(bounds.left(), 32, 0.01);
    EXPECT_NEAR(bounds.right(), 224, 0.01);
    EXPECT_EQ(QuillorBrand::accent(true), QColor(120, 149, 255));
    EXPECT_EQ(QuillorBrand::accent(false), QColor(36, 83, 255));

    const QImage image = QuillorBrand::image(18, true, QColor(10, 20, 30), 2).toImage();
    EXPECT_EQ(image.size(), QSize(36, 36));
    EXPECT_EQ(image.pixelColor(18, 10), QColor(10, 20, 30)) << "the dot";
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0);
}

// The caret keeps the body's height, centred on its line, even in a heading;
// it shows only in a focused, editable editor without a selection.
TEST(CaptureTextViewDrawingTest, TheCaretHasTheBodyHeightCentredOnItsLineAndHidesWhenItShould)
{
    ShownEditor editor;
    editor.setText(QStringLiteral("# Titre"));
    editor.view.moveCursor(QTextCursor::End);
    const qreal body = QFontMetricsF(EditorFonts(editor.view.font()).body()).lineSpacing();
    const QRectF caret = editor.view.drawnCaretRect();
    ASSERT_FALSE(caret.isNull());
    EXPECT_DOUBLE_EQ(caret.height(), body);
    const QTextBlock block = editor.view.document()->firstBlock();
    const QTextLine line = block.layout()->lineAt(0);
    const qreal lineCentre = editor.view.document()->documentLayout()->blockBoundingRect(block).top() + line.y()
                             + line.height() / 2 - editor.view.verticalScrollBar()->value();
    EXPECT_GT(line.height(), body + 2) << "a heading's line is taller than the body's";
    EXPECT_NEAR(caret.center().y(), lineCentre, 0.5);
    // Painted in the text colour.
    const QPoint inside(int(caret.left()), int(caret.center().y()));
    EXPECT_EQ(editor.shown().pixelColor(inside), editor.view.palette().color(QPalette::Text));

    const struct {
        const char* state;
        std::function<void(CaptureTextView&)> apply;
    } hidden[] = {
        {"selection", [](CaptureTextView& view) { view.selectAll(); }},
        {"read-only", [](CaptureTextView& view) { view.setReadOnly(true); }},
        {"no focus", [](CaptureTextView& view) { view.clearFocus(); }},
    };
    for (const auto& c : hidden) {
        SCOPED_TRACE(c.state);
        ShownEditor other;
        other.setText(QStringLiteral("# Titre"));
        EXPECT_FALSE(other.view.drawnCaretRect().isNull());
        c.apply(other.view);
        EXPECT_TRUE(other.view.drawnCaretRect().isNull());
    }
}

TEST(CaptureTextViewDrawingTest, TheListRowUnderTheMouseGetsABandThatGoesWhenTheMouseLeaves)
{
    ShownEditor editor;
    editor.setText(QStringLiteral("- a\n- b\nplain"));
    editor.view.clearFocus();   // no caret among the pixels
    const QTextBlock second = editor.view.document()->firstBlock().next();
    const QRectF secondLine = editor.view.document()->documentLayout()->blockBoundingRect(second);
    // Far right of the second row, where no text stands.
    const QPoint probe(editor.view.viewport()->width() - 20, int(secondLine.center().y()));
    EXPECT_FALSE(editor.view.hoveredListItem());
    const QColor ground = editor.shown().pixelColor(probe);

    editor.hover(probe);
    const std::optional<ListSyntax::Item> hovered = editor.view.hoveredListItem();
    ASSERT_TRUE(hovered);
    EXPECT_EQ(hovered->line.location, second.position());
    const QRectF row = editor.view.listRowRect(*hovered);
    EXPECT_TRUE(row.contains(probe));
    EXPECT_LE(row.left(), editor.view.document()->documentMargin());
    EXPECT_EQ(row.right(), editor.view.viewport()->width() - 3);
    EXPECT_NE(editor.shown().pixelColor(probe), ground) << "no band";

    // Over the plain line: no item; outside the editor: none either.
    const QTextBlock plain = second.next();
    editor.hover(QPointF(probe.x(), editor.view.document()->documentLayout()->blockBoundingRect(plain).center().y()));
    EXPECT_FALSE(editor.view.hoveredListItem());
    editor.hover(probe);
    editor.leave();
    EXPECT_FALSE(editor.view.hoveredListItem());
    EXPECT_EQ(editor.shown().pixelColor(probe), ground) << "the band stayed";
}

} // namespace
