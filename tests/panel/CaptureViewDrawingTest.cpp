#include "PanelTestSupport.h"

#include "editing/ListSyntax.h"

#include <QScrollBar>

namespace quillor {
namespace {

using namespace test;

// The smallest rectangle holding every pixel of the area that is not the
// background; null when the area is blank.
QRect inkIn(const QImage& image, const QRect& area, const QColor& ground)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != ground)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// The editor is painted where the panel puts it, below the drag strip: a
// drawing that places itself in window coordinates shows there, not in a
// top-level editor.
TEST(CaptureViewDrawingTest, TaskBoxesArePaintedWhereTheyAreClickedWhateverStandsAboveTheEditor)
{
    for (const int strip : {0, 6, 40}) {
        SCOPED_TRACE(strip);
        PanelSession s;
        CaptureView& view = s.open();
        s.part("dragStrip")->setFixedHeight(strip);
        for (const bool checked : {false, true}) {
            SCOPED_TRACE(checked);
            const QString text = checked ? QStringLiteral("- [x] tâche\n\nfin") : QStringLiteral("- [ ] tâche\n\nfin");
            CaptureTextView& editor = *view.editor();
            editor.setContent(EditorContent::plain(text));
            s.settle();
            ASSERT_EQ(editor.mapTo(&view, QPoint()).y(), strip);

            const QRectF box = editor.checkboxRect(ListSyntax::items(text).first());
            ASSERT_FALSE(box.isNull());
            const QPointF scroll(editor.horizontalScrollBar()->value(), editor.verticalScrollBar()->value());
            const QRectF shown = box.translated(-scroll).translated(editor.viewport()->mapTo(&view, QPoint()));
            const QImage painted = view.grab().toImage();
            const QRect viewport(editor.viewport()->mapTo(&view, QPoint()), editor.viewport()->size());
            // The panel's ground, right of the short line.
            const QColor ground = painted.pixelColor(viewport.right() - 4, int(shown.center().y()));
            // The box's columns, from well above its line to well below it.
            const QRect around = shown.toAlignedRect().adjusted(0, -strip - 12, 0, strip + 12) & viewport;
            const QRect ink = inkIn(painted, around, ground);
            ASSERT_FALSE(ink.isNull()) << "no box painted";
            EXPECT_TRUE(shown.toAlignedRect().adjusted(-1, -1, 1, 1).contains(ink))
                << "box at " << ink.y() << "–" << ink.bottom() << ", its place " << shown.top() << "–"
                << shown.bottom();
            EXPECT_GE(ink.height(), int(shown.height()) - 1);
        }
    }
}

} // namespace
} // namespace quillor
