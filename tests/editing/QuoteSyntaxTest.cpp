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

// The prefixes are scanned by hand; they must be exactly what the quote
// expression finds outside code, whatever line breaks the text holds. A few
// cases show the shape of the result.
TEST(QuoteSyntaxTest, LinesAgreeWithTheExpression)
{
    const struct { QString text; QList<Line> expected; } cases[] = {
        {"", {}}, {"> > a", {{{0, 5}, {0, 4}, 2}}}, {"   > a", {{{0, 6}, {0, 5}, 1}}}, {"    > a", {}},
        {"> a\r\n>b", {{{0, 5}, {0, 2}, 1}, {{5, 2}, {5, 1}, 1}}}, {"```\n> a\n```\n> b", {{{12, 3}, {12, 2}, 1}}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(QuoteSyntax::lines(c.text), c.expected)) << printable(c.text);

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
            if (std::none_of(code.cbegin(), code.cend(), [&](const TextRange& c) { return c.overlaps(prefix); }))
                expected.append(Line{TextLines::lineRange(text, prefix.location), prefix, int(match.captured().count(u'>'))});
        }
        ASSERT_TRUE(test::same(QuoteSyntax::lines(text), expected)) << printable(text);
    }
}

TEST(QuoteSyntaxTest, NewlineEdit)
{
    const struct { const char* name; QString text; TextRange selection; std::optional<Edit> expected; } cases[] = {
        {"continue", "> a", {3, 0}, Edit{{3, 0}, "\n> "}}, {"prefix kept as written", ">> x", {4, 0}, Edit{{4, 0}, "\n>> "}},
        {"leading spaces kept", "  > a", {5, 0}, Edit{{5, 0}, "\n  > "}},
        {"selection replaced", "> abc", {2, 2}, Edit{{2, 2}, "\n> "}},
        {"empty quote line ends the quote", "> ", {2, 0}, Edit{{0, 2}, ""}},
        {"empty CRLF quote line", ">\r\nx", {1, 0}, Edit{{0, 1}, ""}},
        {"CRLF line", "> a\r\n", {3, 0}, Edit{{3, 0}, "\n> "}},
        {"after a line separator", QString("a") + lineSeparator + "> b", {5, 0}, Edit{{5, 0}, "\n> "}},
        {"caret inside the prefix", "> a", {1, 0}, std::nullopt},
        {"selection past the line", "> a\nb", {2, 3}, std::nullopt}, {"plain line", "a", {1, 0}, std::nullopt},
        {"inside a fence", "```\n> a\n```", {7, 0}, std::nullopt}, {"negative location", "> a", {-1, 0}, std::nullopt},
        {"negative length", "> a", {3, -1}, std::nullopt}, {"end beyond the text", "> a", {3, 1}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(QuoteSyntax::newlineEdit(c.text, c.selection), c.expected)) << c.name;
}

TEST(QuoteSyntaxTest, BackspaceRange)
{
    const struct { const char* name; QString text; TextRange selection; std::optional<TextRange> expected; } cases[] = {
        {"second level", "> > ", {4, 0}, TextRange{2, 2}}, {"only level", "> ", {2, 0}, TextRange{0, 2}},
        {"glued levels", ">>", {2, 0}, TextRange{1, 1}}, {"indented on a later line", "a\n  > b", {6, 0}, TextRange{4, 2}},
        {"in the quoted text", "> ab", {3, 0}, std::nullopt}, {"inside the prefix", "> > ", {2, 0}, std::nullopt},
        {"non-empty selection", "> > ", {3, 1}, std::nullopt}, {"inside a fence", "```\n> \n```", {6, 0}, std::nullopt},
        {"empty text", "", {0, 0}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(QuoteSyntax::backspaceRange(c.text, c.selection), c.expected)) << c.name;
}

TEST(QuoteSyntaxTest, ActiveLineAndDepth)
{
    const QString separated = QString("> a") + lineSeparator + "> b";
    // `line` indexes lines(text).
    const struct { const char* name; QString text; int line; QList<TextRange> selections; bool active; } cases[] = {
        {"no selection", "a\n> > b", 0, {}, false}, {"caret at the line start", "a\n> > b", 0, {{2, 0}}, true},
        {"caret on the line before", "a\n> > b", 0, {{1, 0}}, false},
        {"caret at the end of the text", "a\n> > b", 0, {{7, 0}}, true},
        {"selection ending before the line", "a\n> > b", 0, {{0, 2}}, false},
        {"selection reaching into the line", "a\n> > b", 0, {{1, 2}}, true},
        {"one of two selections", "a\n> > b", 0, {{0, 0}, {4, 0}}, true},
        {"caret on the empty last line", "> b\n", 0, {{4, 0}}, false},
        {"caret before the line feed", "> b\n", 0, {{3, 0}}, true},
        {"caret between CR and LF", "> b\r\n", 0, {{4, 0}}, true},
        {"caret at the next line's start", separated, 0, {{4, 0}}, false},
        {"same caret, next line", separated, 1, {{4, 0}}, true},
        {"end of text, earlier line", separated, 0, {{7, 0}}, false},
    };
    for (const auto& c : cases) {
        const QList<Line> lines = QuoteSyntax::lines(c.text);
        ASSERT_LT(c.line, lines.size()) << c.name;
        EXPECT_EQ(QuoteSyntax::isActive(lines[c.line], c.text, c.selections), c.active) << c.name;
        EXPECT_EQ(QuoteSyntax::presentationDepth(lines[c.line], c.text, c.selections), c.active ? 0 : lines[c.line].depth)
            << c.name;
    }
}
