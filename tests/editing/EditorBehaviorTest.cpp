#include "EditingTestSupport.h"

#include "core/TextLines.h"

#include <climits>

using namespace quillor;
using EditorBehavior::Change;
using EditorBehavior::Edit;
using EditorBehavior::IndentationPlan;

namespace {

// Cases are written with the selection drawn in the text: "|" is the caret,
// "⟨" and "⟩" bound a non-empty selection.
const QChar caretMark = u'|', selectionStart(0x27E8), selectionEnd(0x27E9);

struct Marked { QString text; TextRange selection; };

Marked parse(const char* marked)
{
    Marked result;
    qsizetype start = -1, end = -1;
    for (const QChar c : QString::fromUtf8(marked)) {
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

std::string render(QString text, TextRange selection)
{
    if (selection.isEmpty())
        return text.insert(selection.location, caretMark).toStdString();
    return text.insert(selection.end(), selectionEnd).insert(selection.location, selectionStart).toStdString();
}

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

TEST(EditorBehaviorTest, EditsApplyAsTheEditorDoes)
{
    EXPECT_EQ(Edit::replace(CodeSyntax::Replacement{{3, 0}, "\n\n```", {4, 0}}), Edit::replace({3, 0}, "\n\n```", {4, 0}));
    // A wrap keeps the selected text selected between the delimiters.
    EXPECT_EQ(Edit::wrap("**", "**").applied("a word", {2, 4}), (Edit::Result{"a **word**", {4, 4}}));
    EXPECT_EQ(Edit::wrap("(", ")").applied("ab", {1, 0}), (Edit::Result{"a()b", {2, 0}}));
    EXPECT_EQ(Edit::select({2, 0}).applied("()", {1, 0}), (Edit::Result{"()", {2, 0}}));
}

// List and quote continuations have their own tests; here what Return adds:
// fences, code and the edit as the editor applies it.
TEST(EditorBehaviorTest, Return)
{
    const Case cases[] = {
        {"fence opens with its closing line", "```|", "```\n|\n```"},
        {"indented tilde fence", "  ~~~~|", "  ~~~~\n  |\n  ~~~~"}, {"fence already closed below", "```|\na\n```", "absent"},
        {"text after the caret moves to the new item", "1. a|b", "1. a\n2. |b"},
        {"empty item ends the list", "a\n  - |", "a\n|"}, {"quote continues as written", ">> a|", ">> a\n>> |"},
        {"quote inside inline code", "`> a|`", "absent"}, {"units, not characters", "- 😀|", "- 😀\n- |"},
        {"CRLF list", "- a\r\n- b|\r\n", "- a\r\n- b\n- |\r\n"},
    };
    expectOutcomes(cases, EditorBehavior::newlinePlan);
    EXPECT_EQ(EditorBehavior::newlinePlan("- a", {4, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::newlinePlan("- a", {-1, 0}), std::nullopt);
}

TEST(EditorBehaviorTest, Backspace)
{
    const Case cases[] = {
        // Empty pairs.
        {"parentheses between letters", "a(|)b", "a|b"}, {"stars", "**|**", "*|*"},
        {"backticks inside code", "a `|` b", "a | b"}, {"other pair inside code", "`(|)`", "absent"},
        {"pair inside a fence", "```\n[|]\n```", "absent"}, {"escaped opener", "\\(|)", "absent"},
        {"escaped backslash", "\\\\(|)", "\\\\|"}, {"mismatched pair", "(|]", "absent"},
        {"caret at the end", "(|", "absent"}, {"selection", "⟨()⟩", "absent"},
        // Quote levels.
        {"second quote level", "> > |", "> |"}, {"only quote level", "> |a", "|a"},
        // Indentation.
        {"eight spaces", "        |", "    |"}, {"tab then spaces", "  \t    |", "  \t|"},
        {"after CRLF", "a\r\n    |", "a\r\n|"}, {"three spaces", "   |", "absent"},
        {"not pure indentation", "a    |", "absent"},
        // List prefixes.
        {"task box", "- [ ] |", "- |"}, {"box ending the text", "- [x]|", "- |"}, {"bullet", "- |", "|"},
        {"indented bullet", "    * |a", "    |a"}, {"caret in the item's text", "- a|", "absent"},
        {"item inside code", "```\n- |\n```", "absent"}, {"after a surrogate pair", "😀|", "absent"},
    };
    expectOutcomes(cases, EditorBehavior::backspaceRange);
    EXPECT_EQ(EditorBehavior::backspaceRange("()", {3, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::backspaceRange("()", {-1, 0}), std::nullopt);
    EXPECT_EQ(EditorBehavior::emptyPairRange("> ()", {3, 0}), TextRange(2, 2));
}

TEST(EditorBehaviorTest, Indentation)
{
    const Case indents[] = {
        {"indent a caret line", "a|b", "    a|b"}, {"caret at the line start moves with it", "|a", "    |a"},
        {"indent every selected line", "⟨a\nb⟩\nc", "    ⟨a\n    b⟩\nc"},
        {"a selection ending after a break leaves the next line", "⟨a\n⟩b", "    ⟨a\n⟩b"},
        {"selection starting inside a line", "a⟨b\nc⟩", "    a⟨b\n    c⟩"}, {"empty last line", "a\n|", "a\n    |"},
        {"empty text", "|", "    |"}, {"CRLF lines", "⟨a\r\nb⟩", "    ⟨a\r\n    b⟩"},
        {"line separator", "⟨a\u2028b⟩", "    ⟨a\u2028    b⟩"},
    };
    expectOutcomes(indents, [](const QString& t, TextRange s) { return EditorBehavior::indentationPlan(t, s, false); });
    const Case outdents[] = {
        {"two spaces", "  x|", "x|"}, {"one of two tabs", "\t\tx|", "\tx|"}, {"at most four spaces", "      x|", "  x|"},
        {"spaces then a tab", " \tx|", "\tx|"}, {"caret inside the removed spaces", "  |  x", "|x"},
        {"lines without indentation are left", "⟨  a\nb\n\tc⟩", "⟨a\nb\nc⟩"}, {"nothing to outdent", "x|", "absent"},
        {"empty line", "|", "absent"}, {"selection across removed indentation", "  ⟨  a\n    b⟩", "⟨a\nb⟩"},
    };
    expectOutcomes(outdents, [](const QString& t, TextRange s) { return EditorBehavior::indentationPlan(t, s, true); });
    for (const TextRange bad : {TextRange{1, 2}, TextRange{1, -1}, TextRange{-1, 1}})
        EXPECT_EQ(EditorBehavior::indentationPlan("ab", bad, false), std::nullopt);
}

TEST(EditorBehaviorTest, PairedInput)
{
    using K = Edit::Kind;
    const struct { const char *name, *before, *input, *after; std::optional<K> kind; } cases[] = {
        // Escapes.
        {"after one backslash", "\\|", "(", "absent", {}}, {"after two backslashes", "\\\\|", "(", "\\\\(|)", K::wrap},
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
        {"star pair to bullet", "*|*", " ", "* |", K::replace}, {"indented star pair", "  *|*", " ", "  * |", K::replace},
        {"star pair inside a line", "a *|*", " ", "absent", {}},
        // Closers over-typed by balance.
        {"step over a closing parenthesis", "(|)", ")", "()|", K::select}, {"nested", "[[a|]]", "]", "[[a]|]", K::select},
        {"unopened closer", "|)", ")", "absent", {}}, {"balanced before the caret", "()|)", ")", "absent", {}},
        // Wrapping a selection.
        {"emphasis", "a ⟨word⟩ b", "*", "a *⟨word⟩* b", K::wrap},
        {"brackets around words", "⟨a b⟩", "[", "[⟨a b⟩]", K::wrap}, {"a closer wraps nothing", "⟨a⟩", ")", "absent", {}},
        {"not a delimiter", "⟨a⟩", "<", "absent", {}},
        // Quotes and emphasis stepped over.
        {"closing double quote", "\"a|\"", "\"", "\"a\"|", K::select},
        {"closing italic star", "*a|*", "*", "*a*|", K::select}, {"closing bold star", "**a|**", "*", "**a*|*", K::select},
        // Typing "**a**" star by star ends after the bold, with no pair left over.
        {"second closing bold star", "**a*|*", "*", "**a**|", K::select},
        {"second opening star still pairs", "x *|*", "*", "x **|**", K::wrap},
        {"second closing underscore", "__a_|_", "_", "__a__|", K::select},
        {"star outside emphasis after a word", "a|*", "*", "absent", {}},
        // Symmetric pairs after a word character.
        {"apostrophe after a letter", "l|", "'", "absent", {}},
        {"after a combining sequence", "e\u0301|", "\"", "absent", {}}, {"after a digit", "2|", "*", "absent", {}},
        {"after a letter outside the BMP", "𝐀|", "_", "absent", {}}, {"before a quote mark", "|>", "[", "[|]>", K::wrap},
        {"after an emoji", "😀|", "\"", "😀\"|\"", K::wrap}, {"asymmetric after a letter", "f|", "(", "f(|)", K::wrap},
        // What may follow the caret.
        {"before a letter", "|a", "(", "absent", {}}, {"before a combining sequence", "|e\u0301", "(", "absent", {}},
        {"before a blank", "| a", "(", "(|) a", K::wrap}, {"before a line break", "|\r\n", "{", "{|}\r\n", K::wrap},
        {"before a closer", "(|)", "[", "([|])", K::wrap}, {"at the end", "a |", "\"", "a \"|\"", K::wrap},
        {"empty text", "|", "(", "(|)", K::wrap}, {"between double quotes", "\"|\"", "\"", "\"\"|", K::select},
        // Only single characters.
        {"two characters", "|", "((", "absent", {}}, {"a surrogate pair", "|", "😀", "absent", {}},
        {"a combining sequence", "|", "(\u0301", "absent", {}}, {"nothing", "|", "", "absent", {}},
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
        {"bare bullet", "- |", "- [ ] |"}, {"indented with tabs and spaces", " \t- |", " \t- [ ] |"},
        {"second CRLF line", "a\r\n- |\r\nb", "a\r\n- [ ] |\r\nb"}, {"code elsewhere", "`x`\n- |", "`x`\n- [ ] |"},
        {"text before the bullet", "a - |", "absent"}, {"text after the marker", "- a|", "absent"},
        {"other bullet", "* |", "absent"}, {"no blank", "-|", "absent"}, {"selection", "⟨- ⟩", "absent"},
        {"inside a fence", "```\n- |\n```", "absent"},
    };
    expectOutcomes(cases, EditorBehavior::taskShorthand);
}

TEST(EditorBehaviorTest, CompletionIndex)
{
    const struct { int index, moving, count, expected; } cases[] = {
        {4, 1, 5, 0},  {0, -1, 5, 4}, {9, 0, 3, 2},   {2, 1, 0, 0},  {2, 1, -3, 0},
        {-4, 0, 5, 0}, {1, 1, 5, 2},  {4, -7, 5, 2},  {0, 12, 5, 2}, {0, 0, 1, 0},
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
    for (int round = 0; round < 3000; ++round) {
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
