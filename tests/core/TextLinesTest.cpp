#include "core/TextLines.h"

#include "TestSupport.h"

#include <string>
#include <utility>
#include <vector>

using namespace quillor;

namespace {

using Span = std::pair<qsizetype, qsizetype>;

Span span(TextRange range) { return {range.location, range.length}; }

} // namespace

TEST(TextLinesTest, LineRange)
{
    // a0 b1 LF2 | c3 d4 CR5 LF6 | e7 f8 CR9 | g10 h11 LS12 | i13 j14 PS15 | k16 l17
    const QString mixed = QString::fromUtf16(u"ab\ncd\r\nef\rgh\u2028ij\u2029kl");
    // text, range, its line range, the contents range of the line at its start
    const std::tuple<QString, TextRange, Span, Span> cases[] = {
        {mixed, {0, 0}, {0, 3}, {0, 2}},   {mixed, {2, 0}, {0, 3}, {0, 2}},     {mixed, {5, 0}, {3, 4}, {3, 2}},
        {mixed, {6, 0}, {3, 4}, {3, 2}},   {mixed, {7, 0}, {7, 3}, {7, 2}},     {mixed, {10, 0}, {10, 3}, {10, 2}},
        {mixed, {13, 0}, {13, 3}, {13, 2}}, {mixed, {18, 0}, {16, 2}, {16, 2}}, {mixed, {1, 2}, {0, 3}, {0, 2}},
        {mixed, {1, 3}, {0, 7}, {0, 2}},   {mixed, {3, 3}, {3, 4}, {3, 2}},     {mixed, {6, 5}, {3, 10}, {3, 2}},
        {"a\n", {2, 0}, {2, 0}, {2, 0}},   {"a\r\n", {3, 0}, {3, 0}, {3, 0}},    {"\n\n", {1, 0}, {1, 1}, {1, 0}},
        {"", {0, 0}, {0, 0}, {0, 0}},      {"ab", {99, 0}, {0, 2}, {0, 2}},
    };
    for (const auto& [text, range, line, contents] : cases) {
        SCOPED_TRACE(text.toStdString() + " @" + std::to_string(range.location) + "+" + std::to_string(range.length));
        EXPECT_EQ(span(TextLines::lineRange(text, range)), line);
        EXPECT_EQ(span(TextLines::lineContentsRange(text, range.location)), contents);
        EXPECT_EQ(TextLines::lineContentsEnd(text, range.location), contents.first + contents.second);
    }
}

TEST(GraphemesTest, NextAndPreviousStopAtEveryBoundary)
{
    const QString text = QString::fromUtf16(
        u"a\r\ne\u0301\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA\n\U0001F468\u200D\U0001F469\u200D\U0001F467\u2028x");
    const std::vector<qsizetype> boundaries = {0, 1, 3, 5, 9, 13, 14, 22, 23, 24};
    ASSERT_EQ(text.size(), boundaries.back());
    for (qsizetype p = -1; p <= text.size() + 1; ++p) {
        SCOPED_TRACE(p);
        qsizetype expectedNext = text.size();
        qsizetype expectedPrevious = 0;
        for (qsizetype b : boundaries) {
            if (b > p && expectedNext == text.size())
                expectedNext = b;
            if (b < p)
                expectedPrevious = b;
        }
        EXPECT_EQ(Graphemes::next(text, p), qMax(qsizetype(0), expectedNext));
        EXPECT_EQ(Graphemes::previous(text, p), qMin(text.size(), expectedPrevious));
    }
}
