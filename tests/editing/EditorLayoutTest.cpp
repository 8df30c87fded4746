#include "editing/EditorLayout.h"

#include <gtest/gtest.h>

#include <limits>

using namespace quillor;

namespace {

constexpr qreal notANumber = std::numeric_limits<qreal>::quiet_NaN();
constexpr qreal infinity = std::numeric_limits<qreal>::infinity();

} // namespace

// The edge cases only: the plain geometry is seen on screen at once.
TEST(EditorLayoutTest, Rectangles)
{
    EXPECT_EQ(EditorLayout::listHandleRect(QRectF(10, 0, 6, 20)), QRectF(0, -2, 14, 24)) << "handle clamped at 0";
    EXPECT_EQ(EditorLayout::caretRect(QRectF(10, 100, 2, 10), 20), QRectF(10, 95, 2, 20)) << "caret taller than line";
    for (const qreal unusable : {0.0, -4.0, notANumber})
        EXPECT_EQ(EditorLayout::caretRect(QRectF(10, 100, 2, 30), unusable), QRectF(10, 100, 2, 30)) << "caret kept";
    EXPECT_EQ(EditorLayout::listInsertionRect(10, 50, 300), QRectF(4, 46, 296, 8)) << "indicator near the edge";
    EXPECT_EQ(EditorLayout::listInsertionRect(40, 100, 0).width(), 0) << "no room for the line";
}

TEST(EditorLayoutTest, Gestures)
{
    const struct { const char* name; QPointF translation; QPointF velocity; bool horizontal; int step; } cases[] = {
        {"diagonal: 1.2 × 26 ≥ 30", {30, 26}, {}, false, 0}, {"sideways enough", {30, 20}, {}, true, 1},
        {"leftwards", {-30, 20}, {}, true, -1}, {"short of the commit distance", {20, 0}, {}, true, 0},
        {"exactly the commit distance", {24, 0}, {}, true, 1},
        {"not moved yet: the velocity decides", {0.5, 0}, {0, 300}, false, 0},
        {"moved one pixel: the translation decides", {1, 0}, {0, 300}, true, 0},
        {"infinite translation", {infinity, 0}, {100, 0}, false, 0},
        {"not finite velocity", {0, 0}, {notANumber, 0}, false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorLayout::isHorizontalSwipe(c.translation, c.velocity), c.horizontal) << c.name;
        EXPECT_EQ(EditorLayout::swipeIndentationStep(c.translation), c.step) << c.name;
    }
    const struct { qreal translation; int steps; } steps[] = {
        {-50, -2}, {23.9, 0}, {24, 1}, {10000, 32}, {-10000, -32}, {notANumber, 0}, {-infinity, 0},
    };
    for (const auto& c : steps)
        EXPECT_EQ(EditorLayout::indentationSteps(c.translation), c.steps) << c.translation;
}
