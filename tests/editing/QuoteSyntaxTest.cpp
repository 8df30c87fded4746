#include "EditingTestSupport.h"

#include "core/Regex.h"
#include "core/TextLines.h"
#include "editing/EditorSyntax.h"

using namespace quillor;
using QuoteSyntax::Line;

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
    const QStringList pieces = test::unitsOf(" \t>a`\n\r\v\f\u0085\u2028\u2029") + QStringList{"  ", "    ", "> ", ">\t", "```", "~~~", "\r\n"};
    std::mt19937 random(3);
    for (int round = 0; round < 3000; ++round) {
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

TEST(QuoteSyntaxTest, ActiveLineAndDepth)
{
    const QString separated = QString::fromUtf16(u"> a\u2028> b");
    // `line` indexes lines(text).
    const struct { const char* name; QString text; int line; QList<TextRange> selections; bool active; } cases[] = {
        {"no selection", "a\n> > b", 0, {}, false}, {"caret at the end of the text", "a\n> > b", 0, {{7, 0}}, true},
        {"selection reaching into the line", "a\n> > b", 0, {{1, 2}}, true},
        {"caret on the empty last line", "> b\n", 0, {{4, 0}}, false},
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
