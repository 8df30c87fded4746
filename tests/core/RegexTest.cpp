#include "core/Regex.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quillor;

namespace {

using Spans = std::vector<std::pair<qsizetype, qsizetype>>;

QString text(const char16_t* units) { return QString::fromUtf16(units); }

Spans spans(const QList<RegexMatch>& found)
{
    Spans result;
    for (const RegexMatch& m : found)
        result.emplace_back(m.range().location, m.range().length);
    return result;
}

struct MatchCase {
    const char* name;
    const char16_t* pattern;
    Regex::Options options;
    const char16_t* subject;
    std::optional<TextRange> slice;
    Spans expected;
};

} // namespace

TEST(RegexTest, MatchesWhereThePlainEngineWouldDiffer)
{
    const char16_t* lines = u"x\rx\u2028x\u0085x\r\nx";   // x at 0, 2, 4, 6, 9
    const char16_t* words = u"cafe\u0301 x\u00B2y a\u203Fb a\u200Db";
    const MatchCase cases[] = {
        {"^ after every break, option", u"^x", Regex::MultiLine, lines, {}, {{0, 1}, {2, 1}, {4, 1}, {6, 1}, {9, 1}}},
        {"$ before every break", u"x$", Regex::MultiLine, lines, {}, {{0, 1}, {2, 1}, {4, 1}, {6, 1}, {9, 1}}},
        {"$ never inside CRLF", u"$", Regex::MultiLine, u"a\r\nb", {}, {{1, 0}, {4, 0}}},
        {"dot stops at every break", u".+", Regex::NoOptions, u"ab\rcd\u2028ef\u0085gh\u000Bij\u000Ckl\u2029mn",
         {}, {{0, 2}, {3, 2}, {6, 2}, {9, 2}, {12, 2}, {15, 2}, {18, 2}}},
        {"\\s knows every space", u"\\s", Regex::NoOptions, u"a\u00A0b\u3000c", {}, {{1, 1}, {3, 1}}},
        {"\\w is the Unicode word class", u"\\w+", Regex::NoOptions, words, {}, {{0, 5}, {6, 1}, {8, 1}, {10, 3}, {14, 3}}},
        {"\\W outside a class", u"\\W", Regex::NoOptions, u"e\u0301\u00B2\u200D", {}, {{2, 1}}},
        {"\\W inside a class", u"[\\W2]+", Regex::NoOptions, u"ab 2c\u00B2", {}, {{2, 2}, {5, 1}}},
        {"\\W inside a negated class", u"[^\\W\\d]+", Regex::NoOptions, u"ab1 c\u0301", {}, {{0, 2}, {4, 2}}},
        {"\\W then hyphen stays literal", u"[a\\W-z]+", Regex::NoOptions, u"ba-z.", {}, {{1, 4}}},
        {"\\b agrees with \\w", u"\\bcafe\\b", Regex::NoOptions, u"cafe\u0301 cafe", {}, {{6, 4}}},
        {"escaped backslash before w", u"\\\\w", Regex::NoOptions, u"a\\w", {}, {{1, 2}}},
        {"case-insensitive", u"\u00C9t\u00C9", Regex::CaseInsensitive, u"\u00E9T\u00E9", {}, {{0, 3}}},
        {"stray surrogate spoils nothing", u"b", Regex::NoOptions, u"a\xD800" u"b\xDC00" u"b", {}, {{2, 1}, {4, 1}}},
        {"stray surrogate is one character", u".", Regex::NoOptions, u"a\xDC00" u"b", {}, {{0, 1}, {1, 1}, {2, 1}}},
        {"empty matches step over a pair", u"x*", Regex::NoOptions, u"a\U0001F600", {}, {{0, 0}, {1, 0}, {3, 0}}},
        {"^ anchors at the slice start", u"^b", Regex::NoOptions, u"abc", TextRange{1, 2}, {{1, 1}}},
        {"$ anchors at the slice end", u"b$", Regex::NoOptions, u"abc", TextRange{0, 2}, {{1, 1}}},
        {"look-behind stops at the slice", u"(?<=a)b", Regex::NoOptions, u"abc", TextRange{1, 2}, {}},
        {"slice splitting a pair", u".", Regex::NoOptions, u"\U0001F600x", TextRange{1, 2}, {{1, 1}, {2, 1}}},
        {"slice beyond the text is clamped", u"c", Regex::NoOptions, u"abc", TextRange{1, 99}, {{2, 1}}},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Regex regex(text(c.pattern), c.options);
        ASSERT_TRUE(regex.isValid());
        const QString subject = text(c.subject);
        const QList<RegexMatch> found = c.slice ? regex.matches(subject, *c.slice) : regex.matches(subject);
        EXPECT_EQ(spans(found), c.expected);
        const std::optional<RegexMatch> first = c.slice ? regex.firstMatch(subject, *c.slice) : regex.firstMatch(subject);
        EXPECT_EQ(first, found.isEmpty() ? std::nullopt : std::optional(found.first()));
    }
}

TEST(RegexTest, GroupsAreRangesOfTheOriginalText)
{
    const std::optional<RegexMatch> m = Regex("(a)|(b)(-)(y*)").firstMatch("xxb-c", TextRange{1, 4});
    ASSERT_TRUE(m);
    EXPECT_EQ(m->groupCount(), 4);
    EXPECT_EQ(m->range(), (TextRange{2, 2}));
    EXPECT_EQ(m->range(2), (TextRange{2, 1}));
    EXPECT_FALSE(m->hasGroup(1) || m->hasGroup(9));
    EXPECT_EQ(m->range(1).location, -1);
    EXPECT_TRUE(m->captured(1).isNull() && m->captured(9).isNull());
    EXPECT_TRUE(m->hasGroup(4));   // took part, matched nothing
    EXPECT_EQ(m->captured(4), "");
    EXPECT_FALSE(m->captured(4).isNull());
    // A stray surrogate is matched as U+FFFD but captured as it was.
    EXPECT_EQ(Regex(".$").firstMatch(text(u"a\xD800"))->captured(), QString(QChar(0xD800)));
}

TEST(RegexTest, Replace)
{
    // pattern, options, subject, replacement, result
    const std::tuple<const char16_t*, Regex::Options, const char16_t*, const char16_t*, const char16_t*> cases[] = {
        {u"(\\w+)@(\\w+)", Regex::NoOptions, u"a@b c\u0301@d", u"\\2\\1", u"ba dc\u0301"},
        {u"(a)", Regex::NoOptions, u"xa", u"$1\\\\\\0", u"x$1\\a"},
        {u"(a)|(b)", Regex::NoOptions, u"ab", u"[\\2\\7]", u"[][b]"},
        {u"$", Regex::MultiLine, u"a\r\nb", u";", u"a;\r\nb;"},
        {u"^", Regex::MultiLine, u"a\u2028b\rc", u"> ", u"> a\u2028> b\r> c"},
        {u".", Regex::NoOptions, u"a\xD800", u"[\\0]", u"[a][\xD800]"},
        {u"(", Regex::NoOptions, u"a(b", u"y", u"a(b"},
    };
    for (const auto& [pattern, options, subject, replacement, expected] : cases)
        EXPECT_EQ(Regex(text(pattern), options).replace(text(subject), text(replacement)), text(expected));
}

TEST(RegexTest, InvalidPatternsMatchNothingAndEscapedTextMatchesItself)
{
    for (const Regex& regex : {Regex(), Regex("("), Regex("[a"), Regex("\\p{Nope}")}) {
        EXPECT_FALSE(regex.isValid()) << regex.pattern().toStdString();
        EXPECT_TRUE(regex.matches("a(b[a").isEmpty());
    }
    EXPECT_TRUE(Regex("").isValid());
    const QString literal = "a.b(\\w)[^$]*";
    const std::optional<RegexMatch> m = Regex(Regex::escape(literal)).firstMatch("xa.b(\\w)[^$]*y" + literal);
    EXPECT_EQ(m.value_or(RegexMatch()).range(), (TextRange{1, literal.size()}));
}

namespace quillor {
namespace {

// PCRE2 would skip the LF of a CRLF pair as a match start; a pattern that may
// start on white space must still see it.
TEST(RegexCrlfTest, MatchMayStartOnTheLineFeedOfACrlfPair)
{
    const Regex tag(QStringLiteral("(?:^|\\s)(#a)"));
    for (const QString& text : {QStringLiteral("x\r\n#a"), QStringLiteral("x\n#a"), QStringLiteral("x\r#a")}) {
        const auto match = tag.firstMatch(text);
        ASSERT_TRUE(match.has_value());
        EXPECT_EQ(match->range(1), (TextRange{text.size() - 2, 2}));
    }
}

} // namespace
} // namespace quillor
