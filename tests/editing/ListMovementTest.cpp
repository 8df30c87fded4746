#include "EditingTestSupport.h"

#include "editing/ListMovement.h"

#include <algorithm>
#include <climits>

using namespace quillor;
using ListMovement::Piece;
using ListMovement::Plan;

namespace {

ListSyntax::Item itemAt(const QString& text, qsizetype lineStart)
{
    for (const ListSyntax::Item& item : ListSyntax::items(text)) {
        if (item.line.location == lineStart)
            return item;
    }
    ADD_FAILURE() << "no item at " << lineStart << " in " << text.toStdString();
    return {};
}

// What a plan does, as the editor sees it.
struct Outcome {
    QString text;
    TextRange selection, movedRange;
    qsizetype indentation = 0, destination = 0;
    bool operator==(const Outcome&) const = default;
};

std::optional<Outcome> outcome(const QString& text, const std::optional<Plan>& plan)
{
    if (!plan)
        return std::nullopt;
    return Outcome{plan->replacement(text), plan->selection, plan->movedRange, plan->indentation, plan->destination};
}

std::string describe(const std::optional<Outcome>& o)
{
    return o ? test::fields(o->text, o->selection, o->movedRange, o->indentation, o->destination) : "absent";
}

// Whether the item's marker opens a line as the moves count lines: ended by LF, CR or CRLF only.
bool opensLine(const QString& text, const ListSyntax::Item& item)
{
    qsizetype markerStart = item.line.location;
    if (markerStart > 0 && text[markerStart - 1] != u'\n' && text[markerStart - 1] != u'\r')
        return false;
    while (text[markerStart] == u' ' || text[markerStart] == u'\t')
        ++markerStart;
    return item.marker.location == markerStart;
}

// Random lines of list items, plain text, code and blanks with mixed line breaks.
QString randomLines(std::mt19937& random, const QStringList& bodies, int maxLines)
{
    static const QStringList indents = {"", "", "  ", "    ", "\t", "      ", "\t  "};
    static const QStringList endings = {"\n", "\n", "\r\n", "\r"};
    QString text;
    for (int n = int(random() % maxLines); n > 0; --n)
        text += indents[random() % indents.size()] + bodies[random() % bodies.size()] + endings[random() % endings.size()];
    if (random() % 2)
        text.chop(1);
    return text;
}

} // namespace

TEST(ListMovementTest, BlockRanges)
{
    const struct { const char* name; QString text; QMap<qsizetype, TextRange> expected; } cases[] = {
        {"nested child", "- a\n  - b\n- c", {{0, {0, 10}}, {4, {4, 6}}, {10, {10, 3}}}},
        {"blank lines inside, none after", "- a\n\n  b\n\n- c", {{0, {0, 9}}, {10, {10, 3}}}},
        {"tab is four columns", "- a\n\t- b\n  c\n- d", {{0, {0, 13}}, {4, {4, 5}}, {13, {13, 3}}}},
        {"CR and CRLF", "- a\r  - b\r\n- c", {{0, {0, 11}}, {4, {4, 7}}, {11, {11, 3}}}},
        {"no items in code", "```\n- a\n```\n- b", {{12, {12, 3}}}},
        {"an item after a line separator opens no line", "a\u2028- b", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListMovement::blockRanges(c.text), c.expected) << c.name;
    const QString separated = "a\u2028- b";
    EXPECT_EQ(ListMovement::blockRange(separated, itemAt(separated, 2)), (TextRange{2, 3})) << "its own line";
}

TEST(ListMovementTest, Plan)
{
    // The item by its line start.
    const struct {
        const char* name; QString text; qsizetype item, destination; int steps; TextRange selection; std::optional<Outcome> expected;
    } cases[] = {
        {"parent with its child below the next item", "- a\n  - b\n- c", 0, 13, 0, {1, 0},
         Outcome{"- c\n- a\n  - b", {5, 0}, {4, 9}, 0, 13}},
        {"child to the end, one level out", "- a\n  - b", 4, 9, -1, {6, 0}, Outcome{"- a\n- b", {4, 0}, {4, 3}, 0, 9}},
        {"first item indented in place", "- a\n- b", 0, 0, 1, {0, 0}, std::nullopt},
        {"tabs become spaces when the level changes", "- a\n- b\n\t- c", 4, 4, 1, {8, 2},
         Outcome{"- a\n    - b\n        - c", {12, 9}, {4, 19}, 4, 4}},
        {"huge step count", "- a\n- b", 4, 4, INT_MAX, {7, 0}, Outcome{"- a\n    - b", {11, 0}, {4, 7}, 4, 4}},
        {"outdent in place lands after the parent's block", "- a\n  - b\n  - c\n- d", 4, 4, -1, {4, 0},
         Outcome{"- a\n  - c\n- b\n- d", {10, 0}, {10, 4}, 0, 16}},
        {"a sibling's block is not split", "- a\n  - b\n- c", 10, 4, 0, {0, 0}, std::nullopt},
        {"a deeper level may go between parent and child", "- a\n  - b\n- c", 10, 4, 1, {0, 0},
         Outcome{"- a\n    - c\n  - b", {0, 0}, {4, 8}, 4, 4}},
        {"mixed endings: the default is the first one", "- a\r\n- b\n- c", 0, 12, 0, {0, 0},
         Outcome{"- b\n- c\r\n- a", {9, 0}, {9, 3}, 0, 12}},
        {"a selected line keeps its whole line break selected", "- a\r\n- b\n- c", 5, 0, 0, {5, 4},
         Outcome{"- b\n- a\r\n- c", {0, 4}, {0, 4}, 0, 0}},
        // The text after the rewritten lines keeps its characters selected, shifted.
        {"selection after an outdented line", "- a\n    - b\nend", 4, 4, -1, {12, 3}, Outcome{"- a\n- b\nend", {8, 3}, {4, 4}, 0, 12}},
        {"destination past the text", "- a\n- b", 0, 8, 0, {0, 0}, std::nullopt},
        {"selection past the text", "- a\n- b", 4, 0, 0, {0, 8}, std::nullopt},
        {"an item that opens no line", "a\u2028- b", 2, 0, 0, {0, 0}, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<Outcome> got
            = outcome(c.text, ListMovement::plan(c.text, itemAt(c.text, c.item), c.destination, c.steps, c.selection));
        EXPECT_TRUE(got == c.expected) << c.name << ": got " << describe(got) << ", expected " << describe(c.expected);
    }
    ListSyntax::Item stranger = itemAt("- a\n- b", 4);
    stranger.indentation = 4;
    EXPECT_EQ(ListMovement::plan("- a\n- b", stranger, 0, 0, {0, 0}), std::nullopt) << "not an item of the text";
}

TEST(ListMovementTest, PlanPiecesCopyTheOldTextAndWriteOnlyWhatChanged)
{
    // "\t- b" goes first, re-indented to the left margin, with the default
    // ending; "- a" keeps its own and becomes the last line, which takes the old
    // last line's (none).
    const std::optional<Plan> plan = ListMovement::plan("- a\r\n\t- b", itemAt("- a\r\n\t- b", 5), 0, 0, {0, 0});
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->pieces, (QList<Piece>{Piece::source({6, 3}), Piece::text("\r\n"), Piece::source({0, 3})}));
    // The lines that stay in place make one copy.
    const std::optional<Plan> down = ListMovement::commandPlan("x\ny\n- a\n- b", {6, 0}, true);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->pieces, (QList<Piece>{Piece::source({0, 4}), Piece::source({8, 3}), Piece::text("\n"), Piece::source({4, 3})}));
}

TEST(ListMovementTest, CommandPlan)
{
    const struct { const char* name; const char* before; bool down; const char* after; } cases[] = {
        {"parent down past the next item", "|- a\n  - b\n- c", true, "- c\n|- a\n  - b"},
        {"child down past its sibling", "- a\n  |- b\n  - c\n- d", true, "- a\n  - c\n  |- b\n- d"},
        {"last child down past a shallower item", "- a\n  |- b\n- c", true, "- a\n- c\n  |- b"},
        {"first item up", "|- a\n- b", false, "absent"}, {"empty text", "|", true, "absent"},
        {"caret at the end of the last item", "- a\n- b|", false, "- b|\n- a"},
        {"last line up", "a\nb|", false, "b|\na"}, {"down into the empty last line", "a\n|b\n", true, "a\n\n|b"},
        {"first line up", "|a\nb", false, "absent"}, {"each place keeps its ending", "a\r\n|b\nc", false, "|b\r\na\nc"},
        {"selection over the whole line and its ending", "⟨ab\n⟩cd\r\nef", true, "cd\n⟨ab\r\n⟩ef"},
        {"selection ending in the line after, which stays", "⟨a\nbb\nc⟩", true, "bb\n⟨a\nc⟩"},
        {"a line separator does not end a line", "x\u2028-| a\nb", true, "b\nx\u2028-| a"},
        {"surrogate pairs move whole", "\U0001F600\n\U0001F601|x", false, "\U0001F601|x\n\U0001F600"},
    };
    for (const auto& c : cases) {
        const test::Marked before = test::parse(c.before);
        const std::optional<Plan> plan = ListMovement::commandPlan(before.text, before.selection, c.down);
        EXPECT_EQ(plan ? test::render(plan->replacement(before.text), plan->selection) : "absent", c.after) << c.name;
    }
    EXPECT_FALSE(ListMovement::commandPlan("a\nb", {0, 4}, true)) << "selection past the text";
    // A plain line's plan: its columns, the other line's old start, the line at its new place.
    EXPECT_TRUE(outcome("  a\nb", ListMovement::commandPlan("  a\nb", {0, 0}, true)) == (Outcome{"b\n  a", {2, 0}, {2, 3}, 2, 4}));
}

namespace {

// Where a block goes, by the rules read literally over every item of the
// text: what the plan finds by looking only around the destination.
qsizetype literalDestination(const QString& text, const ListSyntax::Item& item, qsizetype destination, int steps)
{
    const QMap<qsizetype, TextRange> blocks = ListMovement::blockRanges(text);
    QList<ListSyntax::Item> items = ListSyntax::items(text);
    items.removeIf([&](const ListSyntax::Item& i) { return !opensLine(text, i); });
    const auto blockOf = [&](const ListSyntax::Item& i) { return blocks.value(i.line.location, i.line); };
    const TextRange block = blockOf(item);
    if (destination > block.location && destination < block.end())
        destination = block.location;
    steps = std::clamp(steps, -32, 32);
    const qsizetype target = std::max<qsizetype>(item.indentation + steps * 4, 0);
    if (steps < 0 && (destination == block.location || destination == block.end())) {
        const ListSyntax::Item* outermost = nullptr;
        for (const ListSyntax::Item& other : items) {
            if (other.line.location < block.location && blockOf(other).contains(block.location) && other.indentation >= target
                && other.indentation < item.indentation && (!outermost || other.indentation < outermost->indentation))
                outermost = &other;
        }
        if (outermost)
            destination = blockOf(*outermost).end();
    }
    for (const ListSyntax::Item& other : items) {
        if (other.line.location < destination && !block.contains(other.line.location) && other.indentation >= target)
            destination = std::max(destination, blockOf(other).end());
    }
    return destination;
}

} // namespace

// On random lists: each block goes where the rules read literally say; and
// as the moves read only the lines around the item, the caret and the
// destination, paragraphs above them shift every position and change nothing else.
TEST(ListMovementTest, RandomListsMoveByTheRulesAndOnlyShiftUnderText)
{
    std::mt19937 random(7107);
    const auto selectionIn = [&](qsizetype from, qsizetype to) {
        const qsizetype a = from + qsizetype(random() % (to - from + 1));
        const qsizetype b = random() % 2 ? a : from + qsizetype(random() % (to - from + 1));
        return TextRange::fromBounds(std::min(a, b), std::max(a, b));
    };
    for (int round = 0; round < 500; ++round) {
        const QString text = randomLines(
            random, {"- a", "* b", "1. c", "- [ ] d", "text", "", "  ", "```", "- `e", "x\u2028- y", "\U0001F600"}, 14);
        // The first line ends after its LF, CR or CRLF, which the paragraphs take.
        qsizetype firstLineEnd = 0;
        while (firstLineEnd < text.size() && text[firstLineEnd] != u'\n' && text[firstLineEnd] != u'\r')
            ++firstLineEnd;
        const QString ending = firstLineEnd == text.size() ? "\n" : text.mid(firstLineEnd, text.mid(firstLineEnd, 2) == "\r\n" ? 2 : 1);
        firstLineEnd += ending.size();
        const QString above = "Intro" + ending + "suite" + ending + ending;
        const QString padded = above + text;
        const qsizetype n = above.size();
        const auto shifted = [&](std::optional<Outcome> o) {
            if (o) {
                o->text.prepend(above);
                o->selection.location += n;
                o->movedRange.location += n;
                o->destination += n;
            }
            return o;
        };
        const std::string context = "round " + std::to_string(round);

        const QMap<qsizetype, TextRange> blocks = ListMovement::blockRanges(text);
        for (const ListSyntax::Item& item : ListSyntax::items(text)) {
            ASSERT_EQ(ListMovement::blockRange(text, item), blocks.value(item.line.location, item.line)) << context;
            ASSERT_EQ(blocks.contains(item.line.location), opensLine(text, item)) << context;
            // In place half the time: the in-place outdent has rules of its own.
            const qsizetype destination = random() % 2 ? item.line.location : qsizetype(random() % (text.size() + 1));
            const int steps = int(random() % 5) - 2;
            const TextRange selection = selectionIn(0, text.size());
            const ListSyntax::Item moved = itemAt(padded, item.line.location + n);
            const std::optional<Outcome> alone = outcome(text, ListMovement::plan(text, item, destination, steps, selection));
            if (alone) {
                ASSERT_EQ(alone->destination, literalDestination(text, item, destination, steps))
                    << context << " item at " << item.line.location << " to " << destination << " by " << steps;
            }
            const std::optional<Outcome> below = outcome(
                padded, ListMovement::plan(padded, moved, destination + n, steps, {selection.location + n, selection.length}));
            ASSERT_TRUE(below == shifted(alone)) << context << " item at " << item.line.location << " to " << destination
                                                 << " by " << steps << ": got " << describe(below);
            // A selection in the text above stays where it was.
            const TextRange untouched = selectionIn(0, n - 1);
            if (const std::optional<Plan> plan = ListMovement::plan(padded, moved, destination + n, steps, untouched)) {
                ASSERT_EQ(plan->selection, untouched) << context;
            }
        }
        for (int k = 0; k < 4; ++k) {
            const TextRange selection = selectionIn(0, text.size());
            const bool down = random() % 2;
            // Up from the first line meets the paragraphs: not the same move.
            if (selection.location < firstLineEnd && !down)
                continue;
            const std::optional<Outcome> alone = outcome(text, ListMovement::commandPlan(text, selection, down));
            const std::optional<Outcome> below
                = outcome(padded, ListMovement::commandPlan(padded, {selection.location + n, selection.length}, down));
            ASSERT_TRUE(below == shifted(alone)) << context << " caret " << test::show(selection) << (down ? " down" : " up")
                                                 << ": got " << describe(below) << ", expected " << describe(shifted(alone));
        }
    }
}
