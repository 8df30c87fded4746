#include "editing/ListMarkerGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quillor;
using namespace quillor::ListMarkerGeometry;

namespace {

// A monospaced font of 8 pixels per character.
qreal eightPerCharacter(const QString& text)
{
    return 8.0 * text.size();
}

void expectPoint(QPointF actual, QPointF expected, const char* name)
{
    EXPECT_NEAR(actual.x(), expected.x(), 1e-9) << name;
    EXPECT_NEAR(actual.y(), expected.y(), 1e-9) << name;
}

} // namespace

TEST(ListMarkerGeometryTest, SizesAndMarkerRect)
{
    const struct { qreal fontSize; qreal bullet; } cases[] = {{10, 5.98}, {17, 6.97}, {24, 9.84}, {30, 9.84}};
    for (const auto& c : cases)
        EXPECT_NEAR(bulletWidth(c.fontSize), c.bullet, 1e-9) << c.fontSize;

    const QRectF anchor(20, 100, 40, 30);
    EXPECT_EQ(markerRect(anchor, 30, 17, false), QRectF(26.5, 106.5, 17, 17));
    EXPECT_EQ(markerRect(anchor, 30, 30, false), QRectF(23, 103, 24, 24));
    const QRectF dash = markerRect(anchor, 30, 17, true);
    EXPECT_NEAR(dash.center().x(), 35, 1e-9);
    EXPECT_NEAR(dash.width(), 6.97, 1e-9);
}

TEST(ListMarkerGeometryTest, ColumnWidth)
{
    const struct { const char* name; QString text; qreal fontSize; qreal width; } cases[] = {
        {"bullets only, however long the marker", "- a\n    * b\n+ c", 17, 17},
        {"one-digit numbers narrower than s", "1. a\n2. b", 17, 17}, {"two-digit number widens it", "- a\n10. b", 17, 24},
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
    const ListSyntax::Item& task = items[3];
    EXPECT_FALSE(prefixKern(text, task, 17, false, eightPerCharacter)) << "a task shown as typed is not kerned";
}

TEST(ListMarkerGeometryTest, Shapes)
{
    const Stroke dash = bullet(QRectF(10, 20, 7, 10));
    EXPECT_EQ(dash.lineWidth, 1.5);
    EXPECT_EQ(dash.points, (QList<QPointF>{{10.75, 25}, {16.25, 25}})) << "round caps stay inside";

    const QRectF rect(10, 20, 40, 20);
    const QList<QPointF> points = squircle(rect);
    ASSERT_EQ(points.size(), 129);
    expectPoint(points.first(), {50, 30}, "start at the right middle");
    expectPoint(points.last(), {50, 30}, "closed");
    const qreal k = std::sqrt(std::sqrt(0.5));
    expectPoint(points[16], {30 + 20 * k, 30 + 10 * k}, "45°: fuller than an ellipse");
    expectPoint(points[32], {30, 40}, "bottom middle");
    expectPoint(points[64], {10, 30}, "left middle");

    const TaskBox box = taskBox(QRectF(0, 0, 20, 20));
    EXPECT_EQ(box.outline, squircle(QRectF(1, 1, 18, 18)));
    EXPECT_DOUBLE_EQ(box.tick.lineWidth, 2);
    ASSERT_EQ(box.tick.points.size(), 3);
    expectPoint(box.tick.points[1], {8.8, 13.6}, "tick corner");

    const QList<QPointF> dots = handleDotCentres(QRectF(0, 0, 14, 24));
    EXPECT_EQ(dots, (QList<QPointF>{{4.5, 7}, {9.5, 7}, {4.5, 12}, {9.5, 12}, {4.5, 17}, {9.5, 17}}));
    EXPECT_NEAR(dots[1].x() - dots[0].x() + handleDotDiameter, handleInkWidth, 1e-9);
}
