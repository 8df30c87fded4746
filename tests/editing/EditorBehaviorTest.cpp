#include "editing/EditorBehavior.h"

#include "core/TextLines.h"
#include "editing/QuoteSyntax.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

using namespace quillor;
using EditorBehavior::Change;
using EditorBehavior::Edit;
using EditorBehavior::IndentationPlan;

namespace {

// Cases are written with the selection drawn in the text: "|" is the caret,
// "⟨" and "⟩" bound a non-empty selection.
const QChar caretMark = u'|';
const QChar selectionStart(0x27E8);
const QChar selectionEnd(0x27E9);

struct Marked {
    QString text;
    TextRange selection;
};

Marked parse(const char* marked)
{
    const QString source = QString::fromUtf8(marked);
    Marked result;
    qsizetype start = -1;
    qsizetype end = -1;
    for (const QChar c : source) {
        if (c == caretMark)
            start = end = result.text.size();
        else if (c == selectionStart)
            start = result.text.size();
        else if (c == selectionEnd)
            end = result.text.size();
        else
            result.text += c;
    }
    EXPECT_TRUE(start >= 0 && end >= start) << "no selection in " << marked;
    result.selection = TextRange::fromBounds(start, end);
    return result;
}

std::string render(const QString& text, TextRange selection)
{
    QString out = text;
    if (selection.isEmpty()) {
        out.insert(selection.location, caretMark);
    } else {
        out.insert(selection.end(), selectionEnd);
        out.insert(selection.location, selectionStart);
    }
    return out.toStdString();
}

std::string describe(TextRange r) { return "(" + std::to_string(r.location) + "," + std::to_string(r.length) + ")"; }

// The text as the editor shows it after the edit, or "absent".
std::string outcome(const Marked& before, const std::optional<Edit>& edit)
{
    if (!edit)
        return "absent";
    const Edit::Result after = edit->applied(before.text, before.selection);
    return render(after.text, after.selection);
}

QString applied(const QString& text, const QList<Change>& changes)
{
    QString out = text;
    for (auto change = changes.crbegin(); change != changes.crend(); ++change)
        out.replace(change->range.location, change->range.length, change->replacement);
    return out;
}

std::string outcome(const Marked& before, const std::optional<IndentationPlan>& plan)
{
    return plan ? render(applied(before.text, plan->changes), plan->selection) : "absent";
}

std::string outcome(const Marked& before, const std::optional<TextRange>& deleted)
{
    if (!deleted)
        return "absent";
    QString text = before.text;
    text.remove(deleted->location, deleted->length);
    return render(text, TextRange{deleted->location, 0});
}

} // namespace

TEST(EditorBehaviorTest, EditsCompareByKindAndPayload)
{
    EXPECT_EQ(Edit::wrap("(", ")"), Edit::wrap("(", ")"));
    EXPECT_NE(Edit::wrap("(", ")"), Edit::wrap("[", "]"));
    EXPECT_NE(Edit::select({2, 0}), Edit::replace({0, 0}, QString(), {2, 0}));
    EXPECT_EQ(Edit::replace(CodeSyntax::Replacement{{3, 0}, "\n\n```", {4, 0}}),
              Edit::replace({3, 0}, "\n\n```", {4, 0}));

    // A wrap keeps the selected text selected between the delimiters.
    EXPECT_EQ(Edit::wrap("**", "**").applied("a word", {2, 4}), (Edit::Result{"a **word**", {4, 4}}));
    EXPECT_EQ(Edit::wrap("(", ")").applied("ab", {1, 0}), (Edit::Result{"a()b", {2, 0}}));
    EXPECT_EQ(Edit::select({2, 0}).applied("()", {1, 0}), (Edit::Result{"()", {2, 0}}));
}

TEST(EditorBehaviorTest, Return)
{
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"fence opens with its closing line", "```|", "```\n|\n```"},
        {"indented tilde fence", "  ~~~~|", "  ~~~~\n  |\n  ~~~~"},
        {"fence already closed below", "```|\na\n```", "absent"},
        {"list continues", "- a|", "- a\n- |"},
        {"text after the caret moves to the new item", "1. a|b", "1. a\n2. |b"},
        {"task continues with a fresh box", "- [x] a|", "- [x] a\n- [ ] |"},
        {"selection replaced by the continuation", "- a⟨bc⟩", "- a\n- |"},
        {"empty item ends the list", "a\n  - |", "a\n|"},
        {"quote continues as written", ">> a|", ">> a\n>> |"},
        {"empty quote line ends the quote", "> a\n> |", "> a\n|"},
        {"list inside a fence", "```\n- a|\n```", "absent"},
        {"quote inside inline code", "`> a|`", "absent"},
        {"plain text", "a|", "absent"},
        {"caret inside the marker", "-| a", "absent"},
        {"units, not characters", "- 😀|", "- 😀\n- |"},
        {"CRLF list", "- a\r\n- b|\r\n", "- a\r\n- b\n- |\r\n"},
    };
    for (const Case& c : cases) {
        const Marked before = parse(c.before);
        EXPECT_EQ(outcome(before, EditorBehavior::newlinePlan(before.text, before.selection)), c.after) << c.name;
    }
    EXPECT_EQ(EditorBehavior::newlineEdit("- a", {3, 0}), (ListSyntax::Edit{{3, 0}, "\n- "}));
    EXPECT_EQ(EditorBehavior::newlineEdit("```", {3, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::newlinePlan("- a", {4, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::newlinePlan("- a", {-1, 0}), std::nullopt);
}

TEST(EditorBehaviorTest, Backspace)
{
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        // Empty pairs.
        {"parentheses", "(|)", "|"},
        {"parentheses between letters", "a(|)b", "a|b"},
        {"brackets", "[|]", "|"},
        {"double quotes", "\"|\"", "|"},
        {"apostrophes", "'|'", "|"},
        {"stars", "**|**", "*|*"},
        {"backticks inside code", "a `|` b", "a | b"},
        {"other pair inside code", "`(|)`", "absent"},
        {"pair inside a fence", "```\n[|]\n```", "absent"},
        {"escaped opener", "\\(|)", "absent"},
        {"escaped backslash", "\\\\(|)", "\\\\|"},
        {"mismatched pair", "(|]", "absent"},
        {"caret at the end", "(|", "absent"},
        {"selection", "⟨()⟩", "absent"},
        // Quote levels.
        {"second quote level", "> > |", "> |"},
        {"only quote level", "> |a", "|a"},
        // Indentation.
        {"eight spaces", "        |", "    |"},
        {"tab then spaces", "  \t    |", "  \t|"},
        {"after CRLF", "a\r\n    |", "a\r\n|"},
        {"three spaces", "   |", "absent"},
        {"not pure indentation", "a    |", "absent"},
        // List prefixes.
        {"task box", "- [ ] |", "- |"},
        {"box ending the text", "- [x]|", "- |"},
        {"bullet", "- |", "|"},
        {"indented bullet", "    * |a", "    |a"},
        {"ordered", "12) |", "|"},
        {"caret in the item's text", "- a|", "absent"},
        {"item inside code", "```\n- |\n```", "absent"},
        {"after a surrogate pair", "😀|", "absent"},
    };
    for (const Case& c : cases) {
        const Marked before = parse(c.before);
        EXPECT_EQ(outcome(before, EditorBehavior::backspaceRange(before.text, before.selection)), c.after) << c.name;
    }
    EXPECT_EQ(EditorBehavior::backspaceRange("()", {3, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::backspaceRange("()", {-1, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::emptyPairRange("> ()", {3, 0}), TextRange(2, 2));
}

TEST(EditorBehaviorTest, Indentation)
{
    struct Case {
        const char* name;
        const char* before;
        bool outdent;
        const char* after;
    };
    const Case cases[] = {
        {"indent a caret line", "a|b", false, "    a|b"},
        {"caret at the line start moves with it", "|a", false, "    |a"},
        {"indent every selected line", "⟨a\nb⟩\nc", false, "    ⟨a\n    b⟩\nc"},
        {"a selection ending after a break leaves the next line", "⟨a\n⟩b", false, "    ⟨a\n⟩b"},
        {"selection starting inside a line", "a⟨b\nc⟩", false, "    a⟨b\n    c⟩"},
        {"empty last line", "a\n|", false, "a\n    |"},
        {"empty text", "|", false, "    |"},
        {"CRLF lines", "⟨a\r\nb⟩", false, "    ⟨a\r\n    b⟩"},
        {"line separator", "⟨a\u2028b⟩", false, "    ⟨a\u2028    b⟩"},
        {"outdent two spaces", "  x|", true, "x|"},
        {"outdent one of two tabs", "\t\tx|", true, "\tx|"},
        {"outdent at most four spaces", "      x|", true, "  x|"},
        {"spaces then a tab", " \tx|", true, "\tx|"},
        {"caret inside the removed spaces", "  |  x", true, "|x"},
        {"lines without indentation are left", "⟨  a\nb\n\tc⟩", true, "⟨a\nb\nc⟩"},
        {"nothing to outdent", "x|", true, "absent"},
        {"empty line", "|", true, "absent"},
        {"selection across removed indentation", "  ⟨  a\n    b⟩", true, "⟨a\nb⟩"},
    };
    for (const Case& c : cases) {
        const Marked before = parse(c.before);
        EXPECT_EQ(outcome(before, EditorBehavior::indentationPlan(before.text, before.selection, c.outdent)), c.after)
            << c.name;
    }
    EXPECT_EQ(EditorBehavior::indentationPlan("ab", {1, 2}, false), std::nullopt);
    EXPECT_EQ(EditorBehavior::indentationPlan("ab", {1, -1}, false), std::nullopt);
    EXPECT_EQ(EditorBehavior::indentationPlan("ab", {-1, 1}, false), std::nullopt);
}

TEST(EditorBehaviorTest, PairedInput)
{
    struct Case {
        const char* name;
        const char* before;
        const char* input;
        const char* after;
        std::optional<Edit::Kind> kind;
    };
    using K = Edit::Kind;
    const Case cases[] = {
        // Escapes.
        {"after one backslash", "\\|", "(", "absent", {}},
        {"after two backslashes", "\\\\|", "(", "\\\\(|)", K::wrap},
        // Backticks and code.
        {"grow an empty code pair", "`|`", "`", "``|``", K::replace},
        {"step over a closing backtick", "`a|`", "`", "`a`|", K::select},
        {"backtick inside a fence", "```\n`|`\n```", "`", "absent", {}},
        {"no pair inside inline code", "`a|b`", "(", "absent", {}},
        {"no pair after an unclosed backtick", "`a|", "(", "absent", {}},
        {"no pair inside a fence", "```\n|\n```", "[", "absent", {}},
        {"no pair in a fence open to the end", "```\n|", "[", "absent", {}},
        {"backtick outside code pairs", "a |", "`", "a `|`", K::wrap},
        // A "*" at the line start becomes a bullet.
        {"star pair to bullet", "*|*", " ", "* |", K::replace},
        {"indented star pair", "  *|*", " ", "  * |", K::replace},
        {"star pair inside a line", "a *|*", " ", "absent", {}},
        // Closers over-typed by balance.
        {"step over a closing parenthesis", "(|)", ")", "()|", K::select},
        {"nested", "[[a|]]", "]", "[[a]|]", K::select},
        {"unopened closer", "|)", ")", "absent", {}},
        {"balanced before the caret", "()|)", ")", "absent", {}},
        // Wrapping a selection.
        {"emphasis", "a ⟨word⟩ b", "*", "a *⟨word⟩* b", K::wrap},
        {"brackets around words", "⟨a b⟩", "[", "[⟨a b⟩]", K::wrap},
        {"a closer wraps nothing", "⟨a⟩", ")", "absent", {}},
        {"not a delimiter", "⟨a⟩", "<", "absent", {}},
        // Quotes and emphasis stepped over.
        {"closing double quote", "\"a|\"", "\"", "\"a\"|", K::select},
        {"closing apostrophe", "x '|'", "'", "x ''|", K::select},
        {"closing italic star", "*a|*", "*", "*a*|", K::select},
        {"closing bold star", "**a|**", "*", "**a*|*", K::select},
        {"star outside emphasis after a word", "a|*", "*", "absent", {}},
        // Symmetric pairs after a word character.
        {"apostrophe after a letter", "l|", "'", "absent", {}},
        {"after a combining sequence", "e\u0301|", "\"", "absent", {}},
        {"after a letter outside the BMP", "𝐀|", "_", "absent", {}},
        {"after a digit", "2|", "*", "absent", {}},
        {"after an emoji", "😀|", "\"", "😀\"|\"", K::wrap},
        {"asymmetric after a letter", "f|", "(", "f(|)", K::wrap},
        // What may follow the caret.
        {"before a letter", "|a", "(", "absent", {}},
        {"before a combining sequence", "|e\u0301", "(", "absent", {}},
        {"before a blank", "| a", "(", "(|) a", K::wrap},
        {"before a line break", "|\r\n", "{", "{|}\r\n", K::wrap},
        {"before a closer", "(|)", "[", "([|])", K::wrap},
        {"before a quote mark", "|>", "[", "[|]>", K::wrap},
        {"at the end", "a |", "\"", "a \"|\"", K::wrap},
        {"empty text", "|", "(", "(|)", K::wrap},
        {"between double quotes", "\"|\"", "\"", "\"\"|", K::select},
        // Only single characters.
        {"two characters", "|", "((", "absent", {}},
        {"a surrogate pair", "|", "😀", "absent", {}},
        {"a combining sequence", "|", "(\u0301", "absent", {}},
        {"nothing", "|", "", "absent", {}},
        {"a letter", "|", "a", "absent", {}},
    };
    for (const Case& c : cases) {
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
    struct Case {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"bare bullet", "- |", "- [ ] |"},
        {"indented with tabs and spaces", " \t- |", " \t- [ ] |"},
        {"second CRLF line", "a\r\n- |\r\nb", "a\r\n- [ ] |\r\nb"},
        {"code elsewhere", "`x`\n- |", "`x`\n- [ ] |"},
        {"text before the bullet", "a - |", "absent"},
        {"text after the marker", "- a|", "absent"},
        {"other bullet", "* |", "absent"},
        {"no blank", "-|", "absent"},
        {"selection", "⟨- ⟩", "absent"},
        {"inside a fence", "```\n- |\n```", "absent"},
    };
    for (const Case& c : cases) {
        const Marked before = parse(c.before);
        EXPECT_EQ(outcome(before, EditorBehavior::taskShorthand(before.text, before.selection)), c.after) << c.name;
    }
}

TEST(EditorBehaviorTest, CompletionIndex)
{
    struct Case {
        int index, moving, count, expected;
    };
    const Case cases[] = {
        {4, 1, 5, 0},  {0, -1, 5, 4}, {9, 0, 3, 2},   {2, 1, 0, 0},  {2, 1, -3, 0},
        {-4, 0, 5, 0}, {1, 1, 5, 2},  {4, -7, 5, 2},  {0, 12, 5, 2}, {0, 0, 1, 0},
        {INT_MAX - 1, 1, INT_MAX, 0}, {0, INT_MIN, INT_MAX, INT_MAX - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditorBehavior::completionIndex(c.index, c.moving, c.count), c.expected)
            << c.index << " " << c.moving << " " << c.count;
    }
}

namespace {

// Pieces that exercise every rule: markers, delimiters, code, blanks, line
// breaks of several kinds and characters of more than one unit.
const char* const fragments[] = {
    "- ", "- [ ] ", "- [x] ", "1. ", "> ", "> > ", "```\n", "~~~\n", "`", "``", "(", ")", "[", "]", "{", "}",
    "\"", "'", "*", "**", "_", "\\", "    ", "\t", " ", "\n", "\r\n", "\r", "\u2028", "\v", "\u0085", "a", "word",
    "e\u0301", "😀", "𝐀", "==", "~~", "#", "[[", "]]",
};

QString randomMarkdown(std::mt19937& random)
{
    std::uniform_int_distribution<int> length(0, 30);
    std::uniform_int_distribution<size_t> pick(0, std::size(fragments) - 1);
    QString text;
    for (int n = length(random); n > 0; --n)
        text += QString::fromUtf8(fragments[pick(random)]);
    return text;
}

// Selections as the editor makes them: on character boundaries.
TextRange randomSelection(const QString& text, std::mt19937& random)
{
    QList<qsizetype> boundaries{0};
    for (const Graphemes::Grapheme& g : Graphemes::split(text))
        boundaries.append(g.range.end());
    std::uniform_int_distribution<qsizetype> pick(0, boundaries.size() - 1);
    qsizetype a = boundaries[pick(random)];
    qsizetype b = std::bernoulli_distribution(0.6)(random) ? a : boundaries[pick(random)];
    return TextRange::fromBounds(std::min(a, b), std::max(a, b));
}

bool splitsPair(const QString& text, qsizetype position)
{
    return position > 0 && position < text.size() && text[position - 1].isHighSurrogate()
        && text[position].isLowSurrogate();
}

bool wellFormed(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && !(i + 1 < text.size() && text[i + 1].isLowSurrogate()))
            return false;
        if (text[i].isLowSurrogate() && !(i > 0 && text[i - 1].isHighSurrogate()))
            return false;
    }
    return true;
}

::testing::AssertionResult inside(const QString& text, TextRange range)
{
    if (range.location < 0 || range.length < 0 || range.end() > text.size())
        return ::testing::AssertionFailure() << describe(range) << " outside a text of " << text.size();
    if (splitsPair(text, range.location) || splitsPair(text, range.end()))
        return ::testing::AssertionFailure() << describe(range) << " splits a surrogate pair";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult sound(const QString& text, TextRange selection, const std::optional<Edit>& edit)
{
    if (!edit)
        return ::testing::AssertionSuccess();
    if (edit->kind == Edit::Kind::replace) {
        if (auto result = inside(text, edit->range); !result)
            return result << " (replaced range)";
    }
    const Edit::Result after = edit->applied(text, selection);
    if (!wellFormed(after.text))
        return ::testing::AssertionFailure() << "broken surrogate pair in " << render(after.text, after.selection);
    if (auto result = inside(after.text, after.selection); !result)
        return result << " (new selection)";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult sound(const QString& text, const std::optional<IndentationPlan>& plan)
{
    if (!plan)
        return ::testing::AssertionSuccess();
    qsizetype previousEnd = 0;
    for (const Change& change : plan->changes) {
        if (auto result = inside(text, change.range); !result)
            return result << " (change)";
        if (change.range.location < previousEnd)
            return ::testing::AssertionFailure() << "changes overlap or are out of order";
        previousEnd = change.range.end();
    }
    return inside(applied(text, plan->changes), plan->selection) << " (new selection)";
}

} // namespace

TEST(EditorBehaviorTest, EveryEditFitsItsText)
{
    std::mt19937 random(20240607);
    const QString inputs[] = {"(", ")", "[", "]", "{", "}", "\"", "'", "*", "_", "`", " ", "a", "😀", "e\u0301"};
    for (int round = 0; round < 3000; ++round) {
        const QString text = randomMarkdown(random);
        const TextRange selection = randomSelection(text, random);
        const std::string where = render(text, selection);

        EXPECT_TRUE(sound(text, selection, EditorBehavior::newlinePlan(text, selection))) << where;
        EXPECT_TRUE(sound(text, selection, EditorBehavior::taskShorthand(text, selection))) << where;
        for (const QString& input : inputs)
            EXPECT_TRUE(sound(text, selection, EditorBehavior::pairedInput(text, selection, input)))
                << where << " typing " << input.toStdString();
        // The shortcuts that spare the whole-text searches never change an answer.
        std::optional<ListSyntax::Edit> full = ListSyntax::newlineEdit(text, selection);
        if (!full)
            full = QuoteSyntax::newlineEdit(text, selection);
        EXPECT_EQ(EditorBehavior::newlineEdit(text, selection), full) << where;
        const std::optional<TextRange> quoteLevel = QuoteSyntax::backspaceRange(text, selection);
        if (quoteLevel && !EditorBehavior::emptyPairRange(text, selection)) {
            EXPECT_EQ(EditorBehavior::backspaceRange(text, selection), quoteLevel) << where;
        }
        const QList<ListSyntax::Item> items = ListSyntax::items(text);
        if (selection.isEmpty() && std::any_of(items.cbegin(), items.cend(), [&](const ListSyntax::Item& item) {
                return item.contentStart == selection.location;
            })) {
            EXPECT_TRUE(EditorBehavior::backspaceRange(text, selection)) << where;
        }

        if (const std::optional<TextRange> deleted = EditorBehavior::backspaceRange(text, selection)) {
            EXPECT_TRUE(inside(text, *deleted)) << where;
            EXPECT_FALSE(deleted->isEmpty()) << where;
            EXPECT_TRUE(deleted->touches(selection.location)) << where;
        }
        EXPECT_TRUE(sound(text, EditorBehavior::indentationPlan(text, selection, false))) << where;
        EXPECT_TRUE(sound(text, EditorBehavior::indentationPlan(text, selection, true))) << where;

        const int count = int(random() % 8);
        const int index = EditorBehavior::completionIndex(int(random() % 20) - 10, int(random() % 40) - 20, count);
        EXPECT_TRUE(count == 0 ? index == 0 : index >= 0 && index < count);
    }
}
