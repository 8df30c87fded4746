#include "editor/CaptureTextView.h"

#include "editing/MarkdownAnalysis.h"
#include "editor/EditorFonts.h"
#include "editor/QuillorBrand.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
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

// The row under the mouse is searched for by halves; it must be the first
// row, in the text's order, whose rectangle holds the point, wherever the
// point is: between rows, on their edges, left of a nested handle, over a
// heading, a wrapped item or blank lines, scrolled or not.
TEST(CaptureTextViewDrawingTest, TheHoveredRowIsTheFirstRowHoldingThePoint)
{
    const QString wrapped = QStringLiteral("- un élément assez long pour passer à la ligne plusieurs fois, "
                                           "encore et encore, jusqu’au bout de la largeur\n");
    const QString texts[] = {
        QStringLiteral("- a\n- b\nplain\n"),
        QStringLiteral("# Titre\n- a\n  - b\n    - [ ] c\n    - [x] d\n1. e\n2. f\n\n\n- g\n> citation\n- h"),
        QStringLiteral("- [ ] tâche\n") + wrapped + QStringLiteral("```\n- pas une liste\n```\n* i\n+ j\n") + wrapped,
        QStringLiteral("intro\n\n") + QStringLiteral("- **gras** et `code`\n\t- tab\n").repeated(30),
    };
    for (const QString& text : texts) {
        for (const int scroll : {0, 37}) {
            SCOPED_TRACE(text.left(20).toStdString() + " scrolled by " + std::to_string(scroll));
            ShownEditor editor;
            editor.setText(text);
            editor.view.clearFocus();
            editor.view.verticalScrollBar()->setValue(scroll);
            const QPointF offset(editor.view.horizontalScrollBar()->value(), editor.view.verticalScrollBar()->value());
            const QList<ListSyntax::Item> items = MarkdownAnalysis::of(text).items;
            ASSERT_FALSE(items.isEmpty());
            const int width = editor.view.viewport()->width();
            const int height = editor.view.viewport()->height();
            int hovered = 0;
            for (int y = 0; y < height; ++y) {
                for (const qreal x : {0.0, 4.0, 10.0, 30.0, 200.0, width - 3.5, width - 1.0}) {
                    const QPointF point(x, y);
                    editor.hover(point);
                    std::optional<ListSyntax::Item> expected;
                    for (const ListSyntax::Item& item : items) {
                        if (editor.view.listRowRect(item).contains(point + offset)) {
                            expected = item;
                            break;
                        }
                    }
                    ASSERT_EQ(editor.view.hoveredListItem(), expected) << "at " << x << ", " << y;
                    hovered += expected ? 1 : 0;
                }
            }
            EXPECT_GT(hovered, 0);
        }
    }
}

// What the screen shows of the editor: the window's pixels as the repaints
// since it was shown left them, never painted again for the asking.
QImage onScreen(const CaptureTextView& view)
{
    const QRect viewport(view.viewport()->mapTo(&view, QPoint()), view.viewport()->size());
    return view.screen()->grabWindow(view.winId()).toImage().copy(viewport).convertToFormat(QImage::Format_RGB32);
}

// Counts a widget's paints, and how long ago the last one was.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); m_last.start(); }

    // Turns the event loop until the repaints asked for so far have come:
    // the first one (when anything asked for one), then until none has come
    // for a while, since a deferred styling pass may ask for another. Counts
    // paints, not time, so a loaded machine only makes it slower.
    void settle(int paintsBefore)
    {
        static_cast<void>(QTest::qWaitFor([&] { return m_paints > paintsBefore; }, 500));
        static_cast<void>(QTest::qWaitFor([&] { return m_last.elapsed() >= 60; }, 3000));
    }
    int paints() const { return m_paints; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++m_paints;
            m_last.restart();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int m_paints = 0;
    QElapsedTimer m_last;
};

// A capture with every kind of look the editor draws.
QString everyLook()
{
    return QStringLiteral(
        "# Titre\n\nDu **gras** et _rien_ #tag ==surligné==\n- [ ] tâche `code`\n- [x] faite\n  1. sous-point\n"
        "- puce\n> citation\n> > suite [[Note|lien]]\n\n```\nbloc *pas* stylé\n```\nfin ~~barré~~\n");
}

// A new editor's painting of the text, selection and scroll position an
// edited one shows.
QImage freshPainting(const CaptureTextView& edited)
{
    ShownEditor fresh;
    fresh.view.setVerticalScrollBarPolicy(edited.verticalScrollBarPolicy());
    fresh.view.resize(edited.size());
    fresh.view.setContent(edited.content());
    fresh.view.setSelectionRange(edited.selectionRange());
    QTest::qWait(5);
    fresh.view.verticalScrollBar()->setValue(edited.verticalScrollBar()->value());
    return fresh.shown().convertToFormat(QImage::Format_RGB32);
}

// A key repaints only what it changed: after any edit, caret move or
// selection, what the screen shows equals a new editor's painting of the same
// text, selection and scroll position, so no stale pixel is left.
TEST(CaptureTextViewDrawingTest, WhatAnEditRepaintsLeavesTheScreenAsAFreshEditorPaintsIt)
{
    // Caret blinking off: the caret shows, steadily, in both editors.
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    const QString start = everyLook();
    const QStringList typed = {"x", "*", "`", "```", "#", "# ", "> ", "- ", "- [ ] ", "\n", "=", "[["};
    ShownEditor edited;
    edited.view.resize(480, 320);
    edited.setText(start.repeated(3));
    edited.view.setSelectionRange(TextRange{start.size() + 20, 0});
    QTest::qWait(20);
    ShownEditor fresh;
    fresh.view.resize(480, 320);
    QRandomGenerator random(28);
    PaintWatch repaints(edited.view.viewport());
    for (int step = 0; step < 60; ++step) {
        edited.view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&edited.view));
        edited.view.setFocus();
        const int length = int(edited.view.text().size());
        const int action = random.bounded(7);
        const int paintsBefore = repaints.paints();
        if (action == 0) {
            edited.view.setSelectionRange(TextRange{random.bounded(length + 1), 0});
        } else if (action == 1) {
            const int a = random.bounded(length + 1);
            const int b = std::min(length, a + random.bounded(40));
            edited.view.setSelectionRange(TextRange::fromBounds(a, b));
        } else if (action == 2) {
            QTest::keyClick(&edited.view, random.bounded(2) ? Qt::Key_Up : Qt::Key_Right);
        } else if (action == 3) {
            QTest::keyClick(&edited.view, Qt::Key_Backspace);
        } else if (action == 4) {
            QApplication::clipboard()->setText(start.section(u'\n', 2, 2 + random.bounded(8)));
            QTest::keyClick(&edited.view, Qt::Key_V, Qt::ControlModifier);
        } else {
            for (const QChar c : typed[random.bounded(int(typed.size()))]) {
                if (c == u'\n')
                    QTest::keyClick(&edited.view, Qt::Key_Return);
                else
                    QTest::sendKeyEvent(QTest::Click, &edited.view, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
        repaints.settle(paintsBefore);
        const QImage shown = onScreen(edited.view);

        fresh.view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&fresh.view));
        fresh.view.setFocus();
        fresh.view.setContent(edited.view.content());
        fresh.view.setSelectionRange(edited.view.selectionRange());
        QTest::qWait(5);
        fresh.view.verticalScrollBar()->setValue(edited.view.verticalScrollBar()->value());
        const QImage painted = fresh.shown().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), painted.size());
        if (shown != painted) {
            int firstRow = -1;
            for (int y = 0; y < shown.height() && firstRow < 0; ++y) {
                if (std::memcmp(shown.constScanLine(y), painted.constScanLine(y), size_t(shown.bytesPerLine())) != 0)
                    firstRow = y;
            }
            ADD_FAILURE() << "step " << step << " (action " << action << "): stale pixels from row " << firstRow
                          << ", text \"" << edited.view.text().toStdString() << "\"";
            break;
        }
    }
    QApplication::setCursorFlashTime(flashTime);
}

// A paste large enough to be laid out only after the styling pass shows what
// a new editor shows of the same text, caret and scroll position: quote bars,
// list controls and line heights included, whether it fills an empty editor
// or replaces a selection.
TEST(CaptureTextViewDrawingTest, ALargePasteShowsWhatAFreshEditorPaintsOfTheSameText)
{
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    const QString pasted = (everyLook() + QStringLiteral("\tx\n")).repeated(100);
    const struct {
        QString before;
        TextRange selection;
        Qt::ScrollBarPolicy scrollBar;
        const char* name;
    } cases[] = {
        {QString(), TextRange{0, 0}, Qt::ScrollBarAlwaysOff, "into an empty editor"},
        {QString(), TextRange{0, 0}, Qt::ScrollBarAsNeeded, "bringing the scroll bar"},
        {QStringLiteral("> avant\n"), TextRange{8, 0}, Qt::ScrollBarAlwaysOff, "after a quote"},
        {QStringLiteral("- a\n- b\n"), TextRange{0, 8}, Qt::ScrollBarAlwaysOff, "over a selected list"},
    };
    for (const auto& paste : cases) {
        ShownEditor edited;
        edited.view.setVerticalScrollBarPolicy(paste.scrollBar);
        edited.view.resize(480, 320);
        edited.setText(paste.before);
        edited.view.setSelectionRange(paste.selection);
        QTest::qWait(20);
        PaintWatch repaints(edited.view.viewport());
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(&edited.view, Qt::Key_V, Qt::ControlModifier);
        repaints.settle(0);
        const QImage shown = onScreen(edited.view);

        ShownEditor fresh;
        fresh.view.setVerticalScrollBarPolicy(paste.scrollBar);
        fresh.view.resize(480, 320);
        fresh.view.setContent(edited.view.content());
        fresh.view.setSelectionRange(edited.view.selectionRange());
        QTest::qWait(5);
        fresh.view.verticalScrollBar()->setValue(edited.view.verticalScrollBar()->value());
        EXPECT_EQ(edited.view.verticalScrollBar()->maximum(), fresh.view.verticalScrollBar()->maximum()) << paste.name;
        EXPECT_EQ(shown, fresh.shown().convertToFormat(QImage::Format_RGB32)) << paste.name;
    }
    QApplication::setCursorFlashTime(flashTime);
}

// Ctrl+Home brings back what a newly opened editor shows of the same text:
// the first line below the document's margin, whatever its line height, its
// code background whole; Ctrl+End scrolls to the very end, the margin below
// the last line included.
TEST(CaptureTextViewDrawingTest, CtrlHomeAndCtrlEndScrollToTheDocumentsEdgesWithItsMargin)
{
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    const QString rest = QStringLiteral("suite `code` du texte\n").repeated(40);
    for (const QString first : {"`code` au début", "- [ ] tâche `code`", "# Titre `code`", "> citation `code`",
                                "- puce", "1. premier"}) {
        SCOPED_TRACE(first.toStdString());
        ShownEditor edited;
        edited.setText(first + u'\n' + rest + first);
        QScrollBar* bar = edited.view.verticalScrollBar();
        ASSERT_GT(bar->maximum(), 0);
        QTest::keyClick(&edited.view, Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(bar->value(), bar->maximum()) << "Ctrl+End";
        QTest::keyClick(&edited.view, Qt::Key_Home, Qt::ControlModifier);
        EXPECT_EQ(bar->value(), 0) << "Ctrl+Home";
        QTest::qWait(20);
        const QImage shown = onScreen(edited.view);

        ShownEditor fresh;
        fresh.setText(edited.view.text());
        fresh.view.setSelectionRange(TextRange{0, 0});
        fresh.view.verticalScrollBar()->setValue(0);
        QTest::qWait(5);
        EXPECT_TRUE(shown == fresh.shown().convertToFormat(QImage::Format_RGB32)) << "not as a new editor shows it";
    }
    QApplication::setCursorFlashTime(flashTime);
}

// A fence typed above visible text turns everything below it into one code
// block: the repaint of the rows the keys changed gets the box's top and
// sides, which must be the pixels a full painting of the whole box gives.
TEST(CaptureTextViewDrawingTest, AFenceTypedAboveVisibleTextRepaintsItsBoxAsAFreshEditorPaintsIt)
{
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    const QString start = everyLook().repeated(4);
    for (const int line : {1, 9}) {
        for (const int scroll : {0, 37}) {
            SCOPED_TRACE("line " + std::to_string(line) + " scrolled by " + std::to_string(scroll));
            ShownEditor edited;
            edited.view.resize(480, 320);
            edited.setText(start);
            qsizetype position = 0;
            for (int i = 0; i < line; ++i)
                position = start.indexOf(u'\n', position) + 1;
            edited.view.setSelectionRange(TextRange{position, 0});
            edited.view.verticalScrollBar()->setValue(scroll);
            QTest::qWait(20);
            PaintWatch repaints(edited.view.viewport());
            // Compared once all are typed: the comparison's new editor takes
            // the focus, and taking it back repaints everything.
            for (int typed = 0; typed < 3; ++typed) {
                const int paintsBefore = repaints.paints();
                QTest::sendKeyEvent(QTest::Click, &edited.view, Qt::Key_unknown, QStringLiteral("`"), Qt::NoModifier);
                repaints.settle(paintsBefore);
            }
            const QImage shown = onScreen(edited.view);
            EXPECT_TRUE(shown == freshPainting(edited.view)) << "stale pixels";
        }
    }
    QApplication::setCursorFlashTime(flashTime);
}

} // namespace
