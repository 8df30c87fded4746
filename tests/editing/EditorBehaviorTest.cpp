#include "EditingTestSupport.h"

#include "core/TextLines.h"

#include <climits>

using namespace quillor;
using EditorBehavior::Change;
using EditorBehavior::Edit;
using EditorBehavior::IndentationPlan;
using test::Marked;
using test::parse;
using test::render;

namespace {

QString applied(QString text, const QList<Change>& changes)
{
    for (auto change = changes.crbegin(); change != changes.crend(); ++change)
        text.replace(change->range.location, change->range.length, change->replacement);
    return text;
}

// The text as the editor shows it after the edit, or "absent".
std::string outcome(const Marked& before, const std::optional<Edit>& edit)
{
    if (!edit)
        return "absent";
    const Edit::Result after = edit->applied(before.text, before.selection);
    return render(after.text, after.selection);
}

std::string outcome(const Marked& before, const std::optional<IndentationPlan>& plan)
{
    return plan ? render(applied(before.text, plan->changes), plan->selection) : "absent";
}

std::string outcome(const Marked& before, const std::optional<TextRange>& deleted)
{
    return deleted ? render(QString(before.text).remove(deleted->location, deleted->length), {deleted->location, 0})
                   : "absent";
}

struct Case { const char* name; const char* before; const char* after; };

template <typename Rule, size_t N>
void expectOutcomes(const Case (&cases)[N], Rule rule)
{
    for (const Case& c : cases) {
        const Marked before = parse(c.before);
        EXPECT_EQ(outcome(before, rule(before.text, before.selection)), c.after) << c.name;
    }
}

} // namespace

// Return continues fences, lists and quotes, as the editor applies the edit.
TEST(EditorBehaviorTest, Return)
{
    const Case cases[] = {
        {"fence opens with its closing line", "```|", "```\n|\n```"}, {"fence already closed below", "```|\na\n```", "absent"},
        {"tilde fence with a backtick in its info", "~~~ a`b|", "~~~ a`b\n|\n~~~"}, {"CRLF fence", "```|\r\n", "```\n|\n```\r\n"},
        {"inside a fence line the rest moves down", "```|```", "```\n|\n```"}, {"four spaces", "    ```|", "absent"},
        {"a new fence after a closed block", "```\na\n```\n```js|", "```\na\n```\n```js\n|\n```"},
        {"on a code line", "~~~\n```|", "absent"}, {"inside CRLF", "```\r|\nx", "absent"}, {"selection", "```pla⟨in⟩", "absent"},
        {"text after the caret moves to the new item", "1. a|b", "1. a\n2. |b"}, {"empty item ends the list", "a\n  - |", "a\n|"},
        {"quote continues as written", ">> a|", ">> a\n>> |"}, {"quote inside inline code", "`> a|`", "absent"},
        {"units, not characters", "- 😀|", "- 😀\n- |"}, {"CRLF list", "- a\r\n- b|\r\n", "- a\r\n- b\n- |\r\n"},
        {"next number", "9. x|", "9. x\n10. |"}, {"fresh box after a done task", "- [x] a|", "- [x] a\n- [ ] |"},
        {"selection replaced", "- ⟨abc⟩", "- \n- |"}, {"blanks only", "- \t |", "|"}, {"caret in the marker", "-| a", "absent"},
        {"selection over two lines", "- ⟨a\n- ⟩b", "absent"}, {"item after a line separator", "a\u2028- b|", "a\u2028- b\n- |"},
        {"quote indentation kept", "  > a|", "  > a\n  > |"}, {"empty CRLF quote line", ">|\r\nx", "|\r\nx"},
        {"caret inside the quote prefix", ">| a", "absent"},
    };
    expectOutcomes(cases, EditorBehavior::newlinePlan);
    EXPECT_EQ(EditorBehavior::newlinePlan("- a", {4, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::newlinePlan("- a", {-1, 0}), std::nullopt);
}

TEST(EditorBehaviorTest, Backspace)
{
    const Case cases[] = {
        // Empty pairs, quote levels, indentation and list prefixes.
        {"parentheses between letters", "a(|)b", "a|b"}, {"backticks inside code", "a `|` b", "a | b"},
        {"other pair inside code", "`(|)`", "absent"}, {"pair inside a fence", "```\n[|]\n```", "absent"},
        {"escaped opener", "\\(|)", "absent"}, {"escaped backslash", "\\\\(|)", "\\\\|"},
        {"selection", "⟨()⟩", "absent"}, {"second quote level", "> > |", "> |"}, {"only quote level", "> |a", "|a"},
        {"tab then spaces", "  \t    |", "  \t|"}, {"after CRLF", "a\r\n    |", "a\r\n|"}, {"three spaces", "   |", "absent"},
        {"task box", "- [ ] |", "- |"}, {"bullet", "- |", "|"}, {"after a surrogate pair", "😀|", "absent"},
        {"glued quote levels", ">>|", ">|"}, {"inside the quote prefix", "> |> ", "absent"},
        {"indented quote on a later line", "a\n  > |b", "a\n  |b"},
    };
    expectOutcomes(cases, EditorBehavior::backspaceRange);
    EXPECT_EQ(EditorBehavior::backspaceRange("()", {3, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::backspaceRange("()", {-1, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::emptyPairRange("> ()", {3, 0}), TextRange(2, 2));
}

TEST(EditorBehaviorTest, Indentation)
{
    const Case indents[] = {
        {"caret at the line start moves with it", "|a", "    |a"}, {"empty text", "|", "    |"},
        {"a selection ending after a break leaves the next line", "⟨a\n⟩b", "    ⟨a\n⟩b"},
        {"selection starting inside a line", "a⟨b\r\nc⟩", "    a⟨b\r\n    c⟩"}, {"empty last line", "a\n|", "a\n    |"},
        {"line separator", "⟨a\u2028b⟩", "    ⟨a\u2028    b⟩"},
    };
    expectOutcomes(indents, [](const QString& t, TextRange s) { return EditorBehavior::indentationPlan(t, s, false); });
    const Case outdents[] = {
        {"one of two tabs", "\t\tx|", "\tx|"}, {"at most four spaces", "      x|", "  x|"}, {"spaces then a tab", " \tx|", "\tx|"},
        {"caret inside the removed spaces", "  |  x", "|x"}, {"nothing to outdent", "x|", "absent"},
        {"lines without indentation are left", "⟨  a\nb\n\tc⟩", "⟨a\nb\nc⟩"},
        {"selection across removed indentation", "  ⟨  a\n    b⟩", "⟨a\nb⟩"},
    };
    expectOutcomes(outdents, [](const QString& t, TextRange s) { return EditorBehavior::indentationPlan(t, s, true); });
    for (const TextRange bad : {TextRange{1, 2}, TextRange{1, -1}, TextRange{-1, 1}})
        EXPECT_EQ(EditorBehavior::indentationPlan("ab", bad, false), std::nullopt);
}

TEST(EditorBehaviorTest, PairedInput)
{
    using K = Edit::Kind;
    const struct { const char *name, *before, *input, *after; std::optional<K> kind; } cases[] = {
        {"after one backslash", "\\|", "(", "absent", {}}, {"after two backslashes", "\\\\|", "(", "\\\\(|)", K::wrap},
        // Backticks and code.
        {"grow an empty code pair", "`|`", "`", "``|``", K::replace}, {"step over a backtick", "`a|`", "`", "`a`|", K::select},
        {"in a fence open to the end", "```\n`|", "`", "absent", {}}, {"inside inline code", "`a|b`", "(", "absent", {}},
        {"backtick outside code", "a |", "`", "a `|`", K::wrap},
        // A "*" pair at the line start becomes a bullet.
        {"indented star pair", "  *|*", " ", "  * |", K::replace}, {"star pair inside a line", "a *|*", " ", "absent", {}},
        // Closers over-typed by balance.
        {"step over a nested closer", "[[a|]]", "]", "[[a]|]", K::select}, {"unopened closer", "|)", ")", "absent", {}},
        {"balanced before the caret", "()|)", ")", "absent", {}},
        // Wrapping a selection.
        {"emphasis", "a ⟨word⟩ b", "*", "a *⟨word⟩* b", K::wrap}, {"a closer wraps nothing", "⟨a⟩", ")", "absent", {}},
        // Typing "**a**" star by star ends after the bold, with no pair left over.
        {"closing bold star", "**a|**", "*", "**a*|*", K::select}, {"second one", "**a*|*", "*", "**a**|", K::select},
        {"second opening star still pairs", "x *|*", "*", "x **|**", K::wrap}, {"star after a word", "a|*", "*", "absent", {}},
        // Symmetric pairs after a word character; what may follow the caret.
        {"apostrophe after a letter", "l|", "'", "absent", {}}, {"after a letter outside the BMP", "𝐀|", "_", "absent", {}},
        {"after an emoji", "😀|", "\"", "😀\"|\"", K::wrap}, {"asymmetric after a letter", "f|", "(", "f(|)", K::wrap},
        {"before a letter", "|a", "(", "absent", {}}, {"before a combining sequence", "|e\u0301", "(", "absent", {}},
        {"before a line break", "|\r\n", "{", "{|}\r\n", K::wrap},
        // Only single characters.
        {"a surrogate pair", "|", "😀", "absent", {}}, {"a combining sequence", "|", "(\u0301", "absent", {}},
        {"nothing", "|", "", "absent", {}},
    };
    for (const auto& c : cases) {
        const Marked before = parse(c.before);
        const std::optional<Edit> edit =
            EditorBehavior::pairedInput(before.text, before.selection, QString::fromUtf8(c.input));
        EXPECT_EQ(outcome(before, edit), c.after) << c.name;
        EXPECT_EQ(edit ? std::optional(edit->kind) : std::nullopt, c.kind) << c.name;
    }
    EXPECT_EQ(EditorBehavior::pairedInput("ab", {1, 2}, "("), std::nullopt);
}

TEST(EditorBehaviorTest, TaskShorthand)
{
    const Case cases[] = {
        {"indented with tabs and spaces", " \t- |", " \t- [ ] |"}, {"second CRLF line", "a\r\n- |\r\nb", "a\r\n- [ ] |\r\nb"},
        {"text before the bullet", "a - |", "absent"}, {"text after the marker", "- a|", "absent"},
        {"other bullet", "* |", "absent"}, {"selection", "⟨- ⟩", "absent"}, {"inside a fence", "```\n- |\n```", "absent"},
    };
    expectOutcomes(cases, EditorBehavior::taskShorthand);
}

TEST(EditorBehaviorTest, CompletionIndex)
{
    const struct { int index, moving, count, expected; } cases[] = {
        {4, 1, 5, 0}, {0, -1, 5, 4}, {9, 0, 3, 2}, {2, 1, 0, 0}, {2, 1, -3, 0}, {-4, 0, 5, 0}, {4, -7, 5, 2},
        {INT_MAX - 1, 1, INT_MAX, 0}, {0, INT_MIN, INT_MAX, INT_MAX - 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorBehavior::completionIndex(c.index, c.moving, c.count), c.expected)
            << c.index << " " << c.moving << " " << c.count;
}

// Every rule on random texts made of markers, delimiters, code, blanks, line
// breaks of several kinds and characters of more than one unit, with
// selections on character boundaries as the editor makes them.
TEST(EditorBehaviorTest, EveryEditFitsItsText)
{
    const QStringList fragments = {
        "- ", "- [ ] ", "- [x] ", "1. ", "> ", "> > ", "```\n", "~~~\n", "`", "``", "(", ")", "[", "]", "{", "}",
        "\"", "'", "*", "**", "_", "\\", "    ", "\t", " ", "\n", "\r\n", "\r", "\u2028", "\v", "\u0085", "a", "word",
        "e\u0301", "😀", "𝐀", "==", "~~", "#", "[[", "]]",
    };
    const QString inputs[] = {"(", ")", "[", "]", "{", "}", "\"", "'", "*", "_", "`", " ", "a", "😀", "e\u0301"};
    std::mt19937 random(20240607);
    for (int round = 0; round < 2000; ++round) {
        const QString text = test::randomText(random, fragments, 30);
        QList<qsizetype> boundaries{0};
        for (const Graphemes::Grapheme& g : Graphemes::split(text))
            boundaries.append(g.range.end());
        std::uniform_int_distribution<qsizetype> pick(0, boundaries.size() - 1);
        const qsizetype a = boundaries[pick(random)];
        const qsizetype b = std::bernoulli_distribution(0.6)(random) ? a : boundaries[pick(random)];
        const TextRange selection = TextRange::fromBounds(std::min(a, b), std::max(a, b));
        const std::string where = render(text, selection);

        EXPECT_EQ(test::editFault(text, selection, EditorBehavior::newlinePlan(text, selection)), "") << where;
        EXPECT_EQ(test::editFault(text, selection, EditorBehavior::taskShorthand(text, selection)), "") << where;
        for (const QString& input : inputs)
            EXPECT_EQ(test::editFault(text, selection, EditorBehavior::pairedInput(text, selection, input)), "")
                << where << " typing " << input.toStdString();
        // The shortcuts that spare the whole-text searches never change an answer.
        std::optional<ListSyntax::Edit> full = ListSyntax::newlineEdit(text, selection);
        if (!full)
            full = QuoteSyntax::newlineEdit(text, selection);
        EXPECT_TRUE(test::same(EditorBehavior::newlineEdit(text, selection), full)) << where;
        const std::optional<TextRange> quoteLevel = QuoteSyntax::backspaceRange(text, selection);
        if (quoteLevel && !EditorBehavior::emptyPairRange(text, selection)) {
            EXPECT_TRUE(test::same(EditorBehavior::backspaceRange(text, selection), quoteLevel)) << where;
        }
        const QList<ListSyntax::Item> items = ListSyntax::items(text);
        if (selection.isEmpty() && std::any_of(items.cbegin(), items.cend(), [&](const ListSyntax::Item& item) {
                return item.contentStart == selection.location;
            })) {
            EXPECT_TRUE(EditorBehavior::backspaceRange(text, selection)) << where;
        }

        if (const std::optional<TextRange> deleted = EditorBehavior::backspaceRange(text, selection)) {
            EXPECT_EQ(test::rangeFault(text, *deleted), "") << where;
            EXPECT_FALSE(deleted->isEmpty()) << where;
            EXPECT_TRUE(deleted->touches(selection.location)) << where;
        }
        for (const bool outdent : {false, true}) {
            const std::optional<IndentationPlan> plan = EditorBehavior::indentationPlan(text, selection, outdent);
            if (!plan)
                continue;
            qsizetype previousEnd = 0;
            for (const Change& change : plan->changes) {
                EXPECT_EQ(test::rangeFault(text, change.range), "") << where;
                EXPECT_GE(change.range.location, previousEnd) << "changes overlap or are out of order in " << where;
                previousEnd = change.range.end();
            }
            EXPECT_EQ(test::rangeFault(applied(text, plan->changes), plan->selection), "") << where;
        }

        const int count = int(random() % 8);
        const int index = EditorBehavior::completionIndex(int(random() % 20) - 10, int(random() % 40) - 20, count);
        EXPECT_TRUE(count == 0 ? index == 0 : index >= 0 && index < count);
    }
}
