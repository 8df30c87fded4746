#include "EditingTestSupport.h"

#include "editing/EditorCommands.h"
#include "editing/ListMovement.h"

#include <algorithm>

using namespace quillor;
using EditorBehavior::Command;
using EditorBehavior::Edit;

namespace {

Edit replace(TextRange range, const QString& text, TextRange selection) { return Edit::replace(range, text, selection); }
Edit wrap(const QString& opening, const QString& closing) { return Edit::wrap(opening, closing); }

} // namespace

TEST(EditorCommandsTest, NamesRoundTrip)
{
    for (const Command command : EditorBehavior::allCommands())
        EXPECT_EQ(EditorBehavior::commandNamed(EditorBehavior::name(command)), command);
    for (const QString& other : {QString(), QStringLiteral("Bold"), QStringLiteral("bold ")})
        EXPECT_EQ(EditorBehavior::commandNamed(other), std::nullopt) << other.toStdString();
}

TEST(EditorCommandsTest, Commands)
{
    const QString block = "```\ncode\nmore\n```\nafter";   // code (4,10), closing line 14..18
    const struct { const char* name; Command command; QString text; TextRange selection; std::optional<Edit> expected; } cases[] = {
        {"bold unwraps the selected word", Command::bold, "**word**", {2, 4}, replace({0, 8}, "word", {0, 4})},
        {"nothing read before the text", Command::bold, "**", {0, 0}, wrap("**", "**")},
        {"italic takes one star of bold", Command::italic, "**word**", {2, 4}, replace({1, 6}, "word", {1, 4})},
        {"highlight unwraps an empty pair", Command::highlight, "a====", {3, 0}, replace({1, 4}, "", {1, 0})},
        {"one-line code", Command::code, "`\U0001F600`", {1, 2}, replace({0, 4}, "\U0001F600", {0, 2})},
        {"fence longer than any run inside", Command::code, "x```\ny", {0, 6}, wrap("````\n", "\n````")},
        {"mid-line selection gets its own lines", Command::code, "xab\ncdy", {1, 5}, wrap("\n```\n", "\n```\n")},
        {"selection ending with its line break", Command::code, "ab\ncd\n", {0, 6}, wrap("```\n", "```")},
        {"unwrap, code with its last break", Command::code, block, {4, 10}, replace({0, 18}, "code\nmore\n", {0, 10})},
        {"not the start of the code: wrap", Command::code, block, {5, 8}, wrap("\n```\n", "\n```")},
        {"code left after the selection: wrap", Command::code, block, {4, 6}, wrap("```\n", "\n```\n")},
        {"selection becomes the label", Command::wiki, "ab", {0, 2}, replace({0, 2}, "[[|ab]]", {2, 0})},
        {"done box reopens", Command::task, "- [X] a", {6, 0}, replace({2, 3}, "[ ]", {6, 0})},
        {"ordered item becomes a task", Command::task, "1. a", {0, 0}, replace({0, 3}, "- [ ] ", {6, 0})},
        {"caret in the text moves along", Command::task, "  text", {4, 0}, replace({2, 0}, "- [ ] ", {10, 0})},
        {"task becomes a bullet", Command::bullet, "- [ ] a", {6, 0}, replace({0, 6}, "- ", {2, 0})},
        {"code is no list", Command::bullet, "`- a`", {1, 0}, replace({0, 0}, "- ", {3, 0})},
        {"deeper heading gets another mark", Command::heading, "## Title", {0, 0}, replace({0, 0}, "# ", {2, 0})},
        {"only the first line, the end follows", Command::heading, "a\nb", {0, 3}, replace({0, 0}, "# ", {2, 3})},
        {"quote mark added after a CRLF", Command::quote, "x\r\n  a", {6, 0}, replace({5, 0}, "> ", {8, 0})},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(EditorBehavior::command(c.command, c.text, c.selection), c.expected)) << c.name;
    for (const Command command : EditorBehavior::allCommands()) {
        for (const TextRange selection : {TextRange{-1, 0}, TextRange{0, -1}, TextRange{2, 2}, TextRange{4, 0}})
            EXPECT_EQ(EditorBehavior::command(command, "abc", selection), std::nullopt);
    }
}

TEST(EditorCommandsTest, ListStyleCycle)
{
    EditorBehavior::ListStyleCycle cycle;
    Edit::Result state{"x\na", {3, 0}};
    for (const QString step : {"x\n- a", "x\n- [ ] a", "x\n- [x] a", "x\n- [ ] a", "x\n- a", "x\na", "x\n- a"}) {
        const std::optional<Edit> edit = cycle.advance(state.text, state.selection);
        ASSERT_TRUE(edit) << step.toStdString();
        state = edit->applied(state.text, state.selection);
        ASSERT_EQ(state.text, step);
        EXPECT_EQ(state.selection, (TextRange{state.text.size(), 0})) << "the caret stays after the a";
    }

    // Going down from a done task; then the caret moves: up again.
    cycle = {};
    EXPECT_EQ(cycle.advance("- [x] a", {7, 0}), replace({0, 6}, "- [ ] ", {7, 0}));
    EXPECT_TRUE(cycle.descending);
    EXPECT_EQ(cycle.advance("- [ ] a", {2, 0}), replace({0, 6}, "- [x] ", {6, 0}));

    // Inside code or with a bad selection nothing happens, and the state stays.
    cycle.descending = true;
    const EditorBehavior::ListStyleCycle before = cycle;
    EXPECT_EQ(cycle.advance("```\n- a\n```", {5, 0}), std::nullopt);
    EXPECT_EQ(cycle.advance("a", {1, 1}), std::nullopt);
    EXPECT_EQ(cycle, before);
}

namespace {

// Empty when the plan copies whole code points and changes only indentation and line breaks.
std::string planFault(const QString& text, const ListMovement::Plan& plan)
{
    for (const ListMovement::Piece& piece : plan.pieces) {
        if (piece.kind == ListMovement::Piece::Kind::source && !test::rangeFault(text, piece.range).empty())
            return "piece " + test::rangeFault(text, piece.range);
    }
    const QString moved = plan.replacement(text);
    const auto letters = [](QString s) {
        s.remove(u' ').remove(u'\t').remove(u'\n').remove(u'\r');
        std::sort(s.begin(), s.end());
        return s;
    };
    if (test::hasLoneSurrogate(moved) || letters(moved) != letters(text))
        return "other characters changed";
    if (!test::rangeFault(moved, plan.movedRange).empty())
        return "moved range " + test::rangeFault(moved, plan.movedRange);
    return test::rangeFault(moved, plan.selection);
}

} // namespace

TEST(EditorCommandsTest, RandomTextsGetSoundEdits)
{
    const QStringList tokens = {
        "- ", "* ", "1. ", "- [ ] ", "- [x] ", "> ", "# ", "  ", "    ", "\t", "**", "*", "~~", "==", "`", "```",
        "[[", "]]", "word", "e\u0301", "\U0001F600", "\n", "\n", "\n", "\r\n", "\r", "\u2028", "\v", "x",
    };
    std::mt19937 random(20240607);
    for (int round = 0; round < 1200; ++round) {
        const QString text = test::randomText(random, tokens, 39);
        qsizetype a = random() % (text.size() + 1);
        qsizetype b = random() % 3 ? qsizetype(random() % (text.size() + 1)) : a;
        a -= test::splitsPair(text, a);
        b -= test::splitsPair(text, b);
        const TextRange selection = TextRange::fromBounds(std::min(a, b), std::max(a, b));
        const std::string context = printable(text) + " selection " + test::show(selection);

        for (const Command command : EditorBehavior::allCommands()) {
            const std::string name = EditorBehavior::name(command).toStdString() + " on " + context;
            const std::optional<Edit> edit = EditorBehavior::command(command, text, selection);
            ASSERT_TRUE(edit) << name;
            ASSERT_EQ(test::editFault(text, selection, edit), "") << name;
            // Markers or a line mark added, asked again, go again.
            const bool adds = edit->kind == Edit::Kind::wrap || edit->range.isEmpty();
            if (adds && (command == Command::heading || command == Command::quote || edit->kind == Edit::Kind::wrap)
                && !(command == Command::code && edit->opening.contains(u'\n'))) {
                const Edit::Result once = edit->applied(text, selection);
                EXPECT_EQ(EditorBehavior::command(command, once.text, once.selection)->applied(once.text, once.selection),
                          (Edit::Result{text, selection}))
                    << name;
            }
        }

        EditorBehavior::ListStyleCycle cycle;
        Edit::Result state{text, selection};
        for (int step = 0; step < 3; ++step) {
            const std::optional<Edit> edit = cycle.advance(state.text, state.selection);
            if (!edit)
                break;
            ASSERT_EQ(test::editFault(state.text, state.selection, edit), "") << "cycle on " << context;
            state = edit->applied(state.text, state.selection);
            ASSERT_EQ(cycle.expectedText, state.text) << context;
            ASSERT_EQ(cycle.expectedSelection, state.selection) << context;
        }

        for (const bool down : {false, true}) {
            if (const std::optional<ListMovement::Plan> plan = ListMovement::commandPlan(text, selection, down)) {
                ASSERT_EQ(planFault(text, *plan), "") << (down ? "down on " : "up on ") << context;
            }
        }
        const QList<ListSyntax::Item> items = ListSyntax::items(text);
        if (!items.isEmpty()) {
            const qsizetype destination = random() % (text.size() + 1);
            const int steps = int(random() % 7) - 3;
            const auto plan = ListMovement::plan(text, items[random() % items.size()], destination, steps, selection);
            if (plan) {
                ASSERT_EQ(planFault(text, *plan), "") << "drag to " << destination << " by " << steps << " on " << context;
            }
        }
    }
}
