#include "EditingTestSupport.h"

using namespace quillor;

namespace {

using Span = CodeSyntax::Span;

Span inlineSpan(TextRange range, QList<TextRange> delimiters, TextRange content)
{
    return Span{range, range, delimiters, content, false};
}

// The inline rule read literally: each opener searches to the end of the text
// for a run of its length. Only valid for texts without fence lines.
QList<Span> literalInlineSpans(const QString& text)
{
    const auto runEnd = [&](qsizetype i) {
        while (i < text.size() && text[i] == u'`')
            ++i;
        return i;
    };
    QList<Span> spans;
    for (qsizetype i = text.indexOf(u'`'); i >= 0; i = text.indexOf(u'`', i)) {
        const qsizetype open = runEnd(i), length = open - i;
        qsizetype backslashes = 0;
        while (i - backslashes > 0 && text[i - backslashes - 1] == u'\\')
            ++backslashes;
        qsizetype close = -1;
        for (qsizetype j = text.indexOf(u'`', open); backslashes % 2 == 0 && j >= 0 && close < 0; j = text.indexOf(u'`', runEnd(j)))
            close = runEnd(j) - j == length ? j : -1;
        if (backslashes % 2 == 1) {
            i = open;
        } else if (close >= 0) {
            spans.append(inlineSpan({i, close + length - i}, {{i, length}, {close, length}}, TextRange::fromBounds(open, close)));
            i = close + length;
        } else {
            qsizetype end = open;
            while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
                ++end;
            spans.append(inlineSpan(TextRange::fromBounds(i, end), end > open ? QList<TextRange>{{i, length}} : QList<TextRange>{},
                                    TextRange::fromBounds(open, end)));
            i = end;
        }
    }
    return spans;
}

} // namespace

TEST(CodeSyntaxTest, Spans)
{
    const QString surrogate = QStringLiteral("`") + QChar(0xD800) + QStringLiteral("`");
    struct Case { QString text; QList<Span> spans; };
    const Case cases[] = {
        // Inline spans (more in the random texts of the next test); only LF and CR end them.
        {QString(), {}}, {QString::fromUtf16(u"`a\u2028b"), {inlineSpan({0, 4}, {{0, 1}}, {1, 3})}},
        {surrogate, {inlineSpan({0, 3}, {{0, 1}, {2, 1}}, {1, 1})}},
        // Fenced blocks
        {"```plain\ncode\n```\nafter", {Span{{0, 18}, {0, 17}, {{0, 8}, {14, 3}}, {9, 5}, true}}},
        {"a\n```", {Span{{2, 3}, {2, 3}, {{2, 3}}, {5, 0}, true}}}, {"    ```\nx", {inlineSpan({4, 3}, {}, {7, 0})}},
        {"```\na\n```` \nb", {Span{{0, 12}, {0, 11}, {{0, 3}, {6, 5}}, {4, 2}, true}}},
        {"````\na\n```\n````", {Span{{0, 15}, {0, 15}, {{0, 4}, {11, 4}}, {5, 6}, true}}},
        {"```\nx\n   ```\t", {Span{{0, 13}, {0, 13}, {{0, 3}, {6, 7}}, {4, 2}, true}}},
        {"``` a`b\nx", {inlineSpan({0, 7}, {{0, 3}}, {3, 4})}}, {"~~~ a`b\nx", {Span{{0, 9}, {0, 9}, {{0, 7}}, {8, 1}, true}}},
        {"```\r\nx\r\n```\r\ny", {Span{{0, 13}, {0, 11}, {{0, 3}, {8, 3}}, {5, 3}, true}}},
        {QString::fromUtf16(u"```\u2028x\u2029```"), {Span{{0, 9}, {0, 9}, {{0, 3}, {6, 3}}, {4, 2}, true}}},
        // Inline code stops at fences on both sides
        {"`a`\n```\n`b`\n```\n`c`",
         {inlineSpan({0, 3}, {{0, 1}, {2, 1}}, {1, 1}), Span{{4, 12}, {4, 11}, {{4, 3}, {12, 3}}, {8, 4}, true},
          inlineSpan({16, 3}, {{16, 1}, {18, 1}}, {17, 1})}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(test::same(CodeSyntax::spans(c.text), c.spans)) << printable(c.text);
}

// Openers index the runs by length instead of searching the text each time;
// random texts of backticks, backslashes and line breaks must give what the
// literal search gives.
TEST(CodeSyntaxTest, InlineSpansAgreeWithTheLiteralSearch)
{
    std::mt19937 random(7);
    const char16_t alphabet[] = u"``\\a \n\r";
    std::uniform_int_distribution<int> pick(0, 6);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 2000; ++round) {
        // Every line starts with "x", so no line is a fence.
        QString text = QStringLiteral("x");
        for (int i = length(random); i > 0; --i) {
            const QChar c = alphabet[pick(random)];
            text += c;
            if (c == u'\n' || c == u'\r')
                text += u'x';
        }
        SCOPED_TRACE(text.toStdString());
        ASSERT_TRUE(test::same(CodeSyntax::spans(text), literalInlineSpans(text)));
    }
}

// Each line holds a run of a length no later run has: searching the rest of
// the text for every opener would take about a billion steps here.
TEST(CodeSyntaxTest, ManyUnclosedRunsStayFast)
{
    const int lines = 1500;
    QString text;
    for (int i = 1; i <= lines; ++i)
        text += u'a' + QString(i, u'`') + QStringLiteral("x\n");
    const QList<Span> spans = CodeSyntax::spans(text);
    ASSERT_EQ(spans.size(), lines);
    const qsizetype lastLine = text.size() - (lines + 3);
    EXPECT_EQ(spans.last(), inlineSpan({lastLine + 1, lines + 1}, {{lastLine + 1, lines}}, {lastLine + 1 + lines, 1}));
}
