#include "EditingTestSupport.h"

#include "core/Regex.h"
#include "core/TextLines.h"
#include "editing/EditorSyntax.h"

using namespace quillor;
using ListSyntax::Edit;
using QuoteSyntax::Line;

namespace {

const QChar lineSeparator(0x2028);

} // namespace

TEST(QuoteSyntaxTest, Lines)
{
    const struct { const char* name; QString text; QList<Line> expected; } cases[] = {
        {"empty text", "", {}},
        {"two levels with blanks", "> > a", {{{0, 5}, {0, 4}, 2}}},
        {"two levels glued", ">>a", {{{0, 3}, {0, 2}, 2}}},
        {"tab between levels", ">\t>x", {{{0, 4}, {0, 3}, 2}}},
        {"one blank belongs to the prefix", ">  a", {{{0, 4}, {0, 2}, 1}}},
        {"three leading spaces", "   > a", {{{0, 6}, {0, 5}, 1}}},
        {"four leading spaces", "    > a", {}},
        {"not at line start", "a > b", {}},
        {"second line", "a\n> b", {{{2, 3}, {2, 2}, 1}}},
        {"CRLF lines", "> a\r\n>b", {{{0, 5}, {0, 2}, 1}, {{5, 2}, {5, 1}, 1}}},
        {"line separator", QString("> a") + lineSeparator + "> b", {{{0, 4}, {0, 2}, 1}, {{4, 3}, {4, 2}, 1}}},
        {"inside a fence", "```\n> a\n```", {}},
        {"after a fence", "```\n> a\n```\n> b", {{{12, 3}, {12, 2}, 1}}},
        {"inside a span across lines", "a `b\n> c`", {}},
        {"after an unclosed span", "a `b\n> c", {{{5, 3}, {5, 2}, 1}}},
        {"span after the prefix", "> `code`", {{{0, 8}, {0, 2}, 1}}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(QuoteSyntax::lines(c.text), c.expected)) << c.name;
}

TEST(QuoteSyntaxTest, NewlineEdit)
{
    const struct { const char* name; QString text; TextRange selection; std::optional<Edit> expected; } cases[] = {
        {"continue", "> a", {3, 0}, Edit{{3, 0}, "\n> "}},
        {"prefix kept as written", ">> x", {4, 0}, Edit{{4, 0}, "\n>> "}},
        {"spaced levels", "> > x", {5, 0}, Edit{{5, 0}, "\n> > "}},
        {"leading spaces kept", "  > a", {5, 0}, Edit{{5, 0}, "\n  > "}},
        {"selection replaced", "> abc", {2, 2}, Edit{{2, 2}, "\n> "}},
        {"empty quote line ends the quote", "> ", {2, 0}, Edit{{0, 2}, ""}},
        {"empty CRLF quote line", ">\r\nx", {1, 0}, Edit{{0, 1}, ""}},
        {"CRLF line", "> a\r\n", {3, 0}, Edit{{3, 0}, "\n> "}},
        {"after a line separator", QString("a") + lineSeparator + "> b", {5, 0}, Edit{{5, 0}, "\n> "}},
        {"caret inside the prefix", "> a", {1, 0}, std::nullopt},
        {"selection past the line", "> a\nb", {2, 3}, std::nullopt},
        {"plain line", "a", {1, 0}, std::nullopt},
        {"inside a fence", "```\n> a\n```", {7, 0}, std::nullopt},
        {"negative location", "> a", {-1, 0}, std::nullopt},
        {"negative length", "> a", {3, -1}, std::nullopt},
        {"end beyond the text", "> a", {3, 1}, std::nullopt},
        {"empty text", "", {0, 0}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(QuoteSyntax::newlineEdit(c.text, c.selection), c.expected)) << c.name;
}

TEST(QuoteSyntaxTest, BackspaceRange)
{
    const struct { const char* name; QString text; TextRange selection; std::optional<TextRange> expected; } cases[] = {
        {"second level", "> > ", {4, 0}, TextRange{2, 2}},
        {"only level", "> ", {2, 0}, TextRange{0, 2}},
        {"glued levels", ">>", {2, 0}, TextRange{1, 1}},
        {"indented on a later line", "a\n  > b", {6, 0}, TextRange{4, 2}},
        {"in the quoted text", "> ab", {3, 0}, std::nullopt},
        {"inside the prefix", "> > ", {2, 0}, std::nullopt},
        {"non-empty selection", "> > ", {3, 1}, std::nullopt},
        {"inside a fence", "```\n> \n```", {6, 0}, std::nullopt},
        {"empty text", "", {0, 0}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(QuoteSyntax::backspaceRange(c.text, c.selection), c.expected)) << c.name;
}

TEST(QuoteSyntaxTest, ActiveLineAndDepth)
{
    const struct {
        const char* name;
        QString text;
        int line;   // index in lines(text)
        QList<TextRange> selections;
        bool active;
    } cases[] = {
        {"no selection", "a\n> > b", 0, {}, false},
        {"caret at the line start", "a\n> > b", 0, {{2, 0}}, true},
        {"caret on the line before", "a\n> > b", 0, {{1, 0}}, false},
        {"caret at the end of the text", "a\n> > b", 0, {{7, 0}}, true},
        {"selection ending before the line", "a\n> > b", 0, {{0, 2}}, false},
        {"selection reaching into the line", "a\n> > b", 0, {{1, 2}}, true},
        {"one of two selections", "a\n> > b", 0, {{0, 0}, {4, 0}}, true},
        {"caret on the empty last line", "> b\n", 0, {{4, 0}}, false},
        {"caret before the line feed", "> b\n", 0, {{3, 0}}, true},
        {"caret between CR and LF", "> b\r\n", 0, {{4, 0}}, true},
        {"caret at the next line's start", QString("> a") + lineSeparator + "> b", 0, {{4, 0}}, false},
        {"same caret, next line", QString("> a") + lineSeparator + "> b", 1, {{4, 0}}, true},
        {"end of text, earlier line", QString("> a") + lineSeparator + "> b", 0, {{7, 0}}, false},
    };
    for (const auto& c : cases) {
        const QList<Line> lines = QuoteSyntax::lines(c.text);
        ASSERT_LT(c.line, lines.size()) << c.name;
        const Line& line = lines[c.line];
        EXPECT_EQ(QuoteSyntax::isActive(line, c.text, c.selections), c.active) << c.name;
        EXPECT_EQ(QuoteSyntax::presentationDepth(line, c.text, c.selections), c.active ? 0 : line.depth) << c.name;
    }
    EXPECT_EQ(QuoteSyntax::presentationDepth(QuoteSyntax::lines("> > b").value(0), "> > b", {}), 2);
}

// The prefixes are scanned by hand; they must be exactly what the quote
// expression finds outside code, whatever line breaks the text holds.
TEST(QuoteSyntaxTest, LinesAgreeWithTheExpression)
{
    const Regex expression(QStringLiteral("(?m)^ {0,3}(?:>[\\t ]?)+"));
    ASSERT_TRUE(expression.isValid());
    const QStringList pieces = {" ", "  ", "    ", "\t", ">", "> ", ">\t", "a", "`", "```", "~~~", "\n", "\r", "\r\n", "\v", "\f",
                                QString(QChar(0x85)), lineSeparator, QString(QChar(0x2029))};
    std::mt19937 random(3);
    for (int round = 0; round < 5000; ++round) {
        const QString text = test::randomText(random, pieces, 23);
        const QList<TextRange> code = EditorSyntax::codeRanges(text);
        QList<Line> expected;
        for (const RegexMatch& match : expression.matches(text)) {
            const TextRange prefix = match.range();
            if (std::any_of(code.cbegin(), code.cend(), [&](const TextRange& c) { return c.overlaps(prefix); }))
                continue;
            expected.append(Line{TextLines::lineRange(text, prefix.location), prefix, int(match.captured().count(u'>'))});
        }
        const QList<Line> actual = QuoteSyntax::lines(text);
        ASSERT_TRUE(test::same(actual, expected)) << printable(text);
    }
}
