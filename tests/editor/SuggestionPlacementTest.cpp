#include "editor/SuggestionPlacement.h"

#include <gtest/gtest.h>

namespace quillor {
namespace {

TEST(SuggestionPlacementTest, BelowTheCaretLineElseAboveItAlwaysInsideTheScreen)
{
    const QRect screen(0, 0, 1000, 800);
    const struct {
        const char* name;
        QRect anchor;
        QRect area;
        int rows;
        QRect frame;
    } cases[] = {
        {"three rows below the line", {100, 300, 2, 20}, screen, 3, {100, 320, 340, 104}},
        {"ten rows at the highest", {100, 300, 2, 20}, screen, 10, {100, 320, 340, 200}},
        {"exactly room below", {100, 580, 2, 20}, screen, 10, {100, 600, 340, 200}},
        {"no room below: its bottom on the line's top", {100, 700, 2, 20}, screen, 3, {100, 596, 340, 104}},
        {"no room either way: at the screen's top", {100, 50, 2, 20}, QRect(0, 0, 1000, 150), 10, {100, 0, 340, 150}},
        {"near the right edge", {900, 300, 2, 20}, screen, 3, {660, 320, 340, 104}},
        {"left of the screen", {-50, 300, 2, 20}, QRect(0, 0, 1000, 800), 3, {0, 320, 340, 104}},
        {"a narrow screen", {100, 300, 2, 20}, QRect(0, 0, 300, 800), 3, {0, 320, 300, 104}},
        {"a second screen", {1200, 300, 2, 20}, QRect(1000, 100, 1000, 800), 3, {1200, 320, 340, 104}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SuggestionPlacement::frame(c.anchor, c.area, c.rows), c.frame);
    }
}

} // namespace
} // namespace quillor
