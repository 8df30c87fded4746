#include "editing/ListMarkerGeometry.h"

#include <gtest/gtest.h>

using namespace quillor;
using namespace quillor::ListMarkerGeometry;

namespace {

// A monospaced font of 8 pixels per character.
qreal eightPerCharacter(const QString& text) { return 8.0 * text.size(); }

} // namespace

TEST(ListMarkerGeometryTest, ColumnWidth)
{
    const struct { const char* name; QString text; qreal fontSize; qreal width; } cases[] = {
        {"bullets only, however long the marker", "- a\n    * b\n+ c", 17, 17},
        {"widest ordered marker wins", "9) a\n100. b", 17, 32},
        {"ordered item inside code does not count", "```\n100. x\n```", 17, 17}, {"small font: s is 14", "1. a", 10, 16},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(columnWidth(c.text, c.fontSize, eightPerCharacter), c.width) << c.name;
}

TEST(ListMarkerGeometryTest, PrefixKernLinesUpEveryItem)
{
    const QString text = "- a\n10. b\n1. c\n- [ ] d\n  *   e";
    const QList<ListSyntax::Item> items = ListSyntax::items(text);
    ASSERT_EQ(items.size(), 5);
    const qreal column = columnWidth(text, 17, eightPerCharacter);
    for (const ListSyntax::Item& item : items) {
        const std::optional<PrefixKern> kern = prefixKern(text, item, 17, true, eightPerCharacter);
        ASSERT_TRUE(kern) << item.line.location;
        // The rendered box of a task lines up, not the task's text.
        const qsizetype anchor = item.checkbox ? item.checkbox->location : item.contentStart;
        EXPECT_EQ(kern->range, (TextRange{anchor - 1, 1}));
        const qreal prefix = eightPerCharacter(text.mid(item.marker.location, anchor - item.marker.location));
        EXPECT_DOUBLE_EQ(prefix + kern->kern, column + itemGap) << item.line.location;
    }
    EXPECT_FALSE(prefixKern(text, items[3], 17, false, eightPerCharacter)) << "a task shown as typed is not kerned";
}
