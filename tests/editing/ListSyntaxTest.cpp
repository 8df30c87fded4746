#include "EditingTestSupport.h"

#include "core/Regex.h"
#include "core/TextLines.h"
#include "editing/EditorSyntax.h"

using namespace quillor;
using ListSyntax::Item;

namespace {

Item bullet(TextRange line, qsizetype markerStart, qsizetype contentStart, const QString& continuation, qsizetype indentation = 0)
{
    return Item{line, TextRange::fromBounds(markerStart, contentStart), std::nullopt, continuation, contentStart, std::nullopt, indentation};
}
Item ordered(TextRange line, qsizetype markerStart, qsizetype contentStart, int number, const QString& continuation)
{
    return Item{line, TextRange::fromBounds(markerStart, contentStart), std::nullopt, continuation, contentStart, number, 0};
}
Item task(TextRange line, qsizetype markerStart, qsizetype contentStart, const QString& continuation)
{
    return Item{line, TextRange::fromBounds(markerStart, contentStart), TextRange{markerStart + 2, 3}, continuation, contentStart, std::nullopt, 0};
}

} // namespace

TEST(ListSyntaxTest, Items)
{
    const struct { const char* name; QString text; QList<Item> expected; } cases[] = {
        {"number capped", "999999999. x", {ordered({0, 12}, 0, 11, 999999999, "999999999. ")}},
        {"ten digits", "1234567890. x", {}}, {"leading zeros", "007. x", {ordered({0, 6}, 0, 5, 7, "8. ")}},
        {"zero with parenthesis", "0) x", {ordered({0, 4}, 0, 3, 0, "1) ")}},
        {"capital mark, two blanks", "* [X]  done", {task({0, 11}, 0, 7, "* [ ] ")}},
        {"box glued to text", "- [x]done", {bullet({0, 9}, 0, 2, "- ")}},
        {"tab after marker", "+\tx", {bullet({0, 3}, 0, 2, "+ ")}},
        {"tab past a stop", "     \t- a", {bullet({0, 9}, 6, 8, "     \t- ", 8)}},
        {"indented ordered task", "  12. [ ] x", {Item{{0, 11}, {2, 8}, TextRange{6, 3}, "  13. [ ] ", 10, 12, 2}}},
        {"CRLF lines", "- a\r\n+ b", {bullet({0, 5}, 0, 2, "- "), bullet({5, 3}, 5, 7, "+ ")}},
        {"line separator", QString("1. a") + QChar(0x2028) + "* b", {ordered({0, 5}, 0, 3, 1, "2. "), bullet({5, 3}, 5, 7, "* ")}},
        // Code: the whole prefix must stay clear of every code range (more in the random texts below).
        {"after a fence", "```\n- a\n```\n- b", {bullet({12, 3}, 12, 14, "- ")}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(ListSyntax::items(c.text), c.expected)) << c.name;
}

TEST(ListSyntaxTest, RenderedMarkerAndCheckbox)
{
    const Item taskItem = ListSyntax::items("- [ ] task").value(0);   // marker (0,6)
    const Item plainItem = ListSyntax::items("- a").value(0);          // marker (0,2)
    ASSERT_TRUE(taskItem.checkbox);
    // `marker` is also whether the task shows its rendered checkbox.
    const struct { const char* name; QList<TextRange> selections; bool marker; } cases[] = {
        {"no selection", {}, true}, {"caret at the line start", {{0, 0}}, false}, {"caret inside the box", {{3, 0}}, false},
        {"selection of the text", {{6, 4}}, true}, {"one of two selections touches", {{9, 0}, {1, 0}}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListSyntax::showsRenderedMarker(taskItem, c.selections), c.marker) << c.name;
        EXPECT_EQ(ListSyntax::showsRenderedCheckbox(taskItem, "- [ ] task", c.selections), c.marker) << c.name;
        EXPECT_FALSE(ListSyntax::showsRenderedCheckbox(plainItem, "- a", c.selections)) << c.name;
    }
    EXPECT_TRUE(ListSyntax::showsRenderedMarker(plainItem, {{2, 0}}));
    EXPECT_FALSE(ListSyntax::showsRenderedMarker(plainItem, {{1, 0}}));
}

// The items are scanned by hand; they must be exactly what the item
// expression finds outside code, whatever line breaks and near-misses the
// text holds.
TEST(ListSyntaxTest, ItemsAgreeWithTheExpression)
{
    const Regex expression(QStringLiteral("(?m)^([\\t ]*)([-+*]|[0-9]{1,9}[.)])[\\t ]+(?:\\[([ xX])\\](?:[\\t ]+|$))?"));
    ASSERT_TRUE(expression.isValid());
    const QStringList pieces = test::unitsOf(" \t-+*1.)[]a`\n\r\v\f\u0085\u2028\u2029")
        + QStringList{"12", "0)", "999999999.", "1234567890.", "[ ]", "[x]", "[X]", "[o]", "```", "~~~", "\r\n"};
    std::mt19937 random(4);
    for (int round = 0; round < 3000; ++round) {
        const QString text = test::randomText(random, pieces, 23);
        const QList<TextRange> code = EditorSyntax::codeRanges(text);
        QList<Item> expected;
        for (const RegexMatch& match : expression.matches(text)) {
            const TextRange whole = match.range();
            if (std::any_of(code.cbegin(), code.cend(), [&](const TextRange& c) { return c.overlaps(whole); }))
                continue;
            Item item;
            item.line = TextLines::lineRange(text, whole.location);
            item.marker = TextRange::fromBounds(match.range(2).location, whole.end());
            item.contentStart = whole.end();
            if (match.hasGroup(3))
                item.checkbox = TextRange{match.range(3).location - 1, 3};
            expected.append(item);
        }
        QList<Item> actual = ListSyntax::items(text);
        for (Item& item : actual) {   // the fields derived from the match are checked elsewhere
            item.continuation.clear();
            item.number.reset();
            item.indentation = 0;
        }
        ASSERT_TRUE(test::same(actual, expected)) << printable(text);
    }
}
