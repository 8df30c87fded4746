#include "editing/EditorLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quillor;

namespace {

constexpr qreal notANumber = std::numeric_limits<qreal>::quiet_NaN();
constexpr qreal infinity = std::numeric_limits<qreal>::infinity();

void expectRect(const QRectF& actual, const QRectF& expected, const char* name)
{
    EXPECT_NEAR(actual.x(), expected.x(), 1e-9) << name;
    EXPECT_NEAR(actual.y(), expected.y(), 1e-9) << name;
    EXPECT_NEAR(actual.width(), expected.width(), 1e-9) << name;
    EXPECT_NEAR(actual.height(), expected.height(), 1e-9) << name;
}

} // namespace

TEST(EditorLayoutTest, LineHeights)
{
    EXPECT_DOUBLE_EQ(EditorLayout::lineHeight(17, false), 19);
    EXPECT_DOUBLE_EQ(EditorLayout::lineHeight(17, true), 28.5);
    EXPECT_DOUBLE_EQ(EditorLayout::lineSpacing(17, true), 11.5);
}

TEST(EditorLayoutTest, Rectangles)
{
    const QRectF marker(30, 100, 17, 17);
    const QRectF handle = EditorLayout::listHandleRect(marker);
    expectRect(handle, QRectF(30 - 16.7, 108.5 - 12, 14, 24), "handle left of the marker");
    expectRect(EditorLayout::listHandleRect(QRectF(10, 0, 6, 20)), QRectF(0, -2, 14, 24), "handle clamped at 0");
    expectRect(EditorLayout::markerDragRect(handle, marker), QRectF(13.3, 96.5, 50 - 13.3, 24), "drag area");

    expectRect(EditorLayout::caretRect(QRectF(10, 100, 2, 30), 20), QRectF(10, 105, 2, 20), "caret centred");
    expectRect(EditorLayout::caretRect(QRectF(10, 100, 2, 10), 20), QRectF(10, 95, 2, 20), "caret taller than line");
    for (const qreal unusable : {0.0, -4.0, notANumber})
        expectRect(EditorLayout::caretRect(QRectF(10, 100, 2, 30), unusable), QRectF(10, 100, 2, 30), "caret kept");

    // The dot's middle is the handle's middle.
    expectRect(EditorLayout::listInsertionRect(40, 100, 300), QRectF(27.3, 96, 272.7, 8), "drop indicator");
    expectRect(EditorLayout::listInsertionRect(10, 50, 300), QRectF(4, 46, 296, 8), "indicator near the edge");
    expectRect(EditorLayout::listInsertionRect(40, 100, 0), QRectF(27.3, 96, 0, 8), "no room for the line");
    const EditorLayout::InsertionMark mark = EditorLayout::insertionMark(QRectF(4, 46, 296, 8));
    expectRect(mark.dot, QRectF(4, 47, 6, 6), "dot");
    EXPECT_EQ(mark.lineStart, QPointF(7, 50));
    EXPECT_EQ(mark.lineEnd, QPointF(300, 50));
}

TEST(EditorLayoutTest, Gestures)
{
    const struct { const char* name; QPointF translation; QPointF velocity; bool horizontal; int step; } cases[] = {
        {"diagonal: 1.2 × 26 ≥ 30", {30, 26}, {}, false, 0}, {"sideways enough", {30, 20}, {}, true, 1},
        {"leftwards", {-30, 20}, {}, true, -1}, {"short of the commit distance", {20, 0}, {}, true, 0},
        {"exactly the commit distance", {24, 0}, {}, true, 1},
        {"not moved yet: the velocity decides", {0.5, 0}, {0, 300}, false, 0},
        {"not moved yet, sideways velocity", {0.5, 0.9}, {300, 10}, true, 0},
        {"moved one pixel: the translation decides", {1, 0}, {0, 300}, true, 0},
        {"infinite translation", {infinity, 0}, {100, 0}, false, 0}, {"not finite y", {30, notANumber}, {}, false, 0},
        {"not finite velocity", {0, 0}, {notANumber, 0}, false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorLayout::isHorizontalSwipe(c.translation, c.velocity), c.horizontal) << c.name;
        EXPECT_EQ(EditorLayout::swipeIndentationStep(c.translation), c.step) << c.name;
    }
}

TEST(EditorLayoutTest, IndentationSteps)
{
    const struct { qreal translation; int steps; } cases[] = {
        {-50, -2}, {23.9, 0}, {24, 1}, {-23.9, 0}, {71.9, 2}, {10000, 32}, {-10000, -32}, {notANumber, 0}, {-infinity, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorLayout::indentationSteps(c.translation), c.steps) << c.translation;
}
