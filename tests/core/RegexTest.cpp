#include "core/Regex.h"

#include "TestSupport.h"

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

} // namespace

TEST(RegexTest, MatchesWhereThePlainEngineWouldDiffer)
{
    const char16_t* lines = u"x\rx\u2028x\u0085x\r\nx";   // x at 0, 2, 4, 6, 9
    const char16_t* words = u"cafe\u0301 x\u00B2y a\u203Fb a\u200Db";
    // name, pattern, options, subject, slice searched, spans found
    const std::tuple<const char*, const char16_t*, Regex::Options, const char16_t*, std::optional<TextRange>, Spans> cases[] = {
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
        {"a match may start on the LF of CRLF", u"(?:^|\\s)#a", Regex::NoOptions, u"x\r\n#a x\n#a x\r#a", {},
         {{2, 3}, {7, 3}, {12, 3}}},
        {"stray surrogate spoils nothing", u"b", Regex::NoOptions, u"a\xD800" u"b\xDC00" u"b", {}, {{2, 1}, {4, 1}}},
        {"stray surrogate is one character", u".", Regex::NoOptions, u"a\xDC00" u"b", {}, {{0, 1}, {1, 1}, {2, 1}}},
        {"empty matches step over a pair", u"x*", Regex::NoOptions, u"a\U0001F600", {}, {{0, 0}, {1, 0}, {3, 0}}},
        {"^ anchors at the slice start", u"^b", Regex::NoOptions, u"abc", TextRange{1, 2}, {{1, 1}}},
        {"$ anchors at the slice end", u"b$", Regex::NoOptions, u"abc", TextRange{0, 2}, {{1, 1}}},
        {"look-behind stops at the slice", u"(?<=a)b", Regex::NoOptions, u"abc", TextRange{1, 2}, {}},
        {"slice splitting a pair", u".", Regex::NoOptions, u"\U0001F600x", TextRange{1, 2}, {{1, 1}, {2, 1}}},
        {"slice beyond the text is clamped", u"c", Regex::NoOptions, u"abc", TextRange{1, 99}, {{2, 1}}},
    };
    for (const auto& [name, pattern, options, units, slice, expected] : cases) {
        SCOPED_TRACE(name);
        const Regex regex(text(pattern), options);
        ASSERT_TRUE(regex.isValid());
        const QString subject = text(units);
        const QList<RegexMatch> found = slice ? regex.matches(subject, *slice) : regex.matches(subject);
        EXPECT_EQ(spans(found), expected);
        const std::optional<RegexMatch> first = slice ? regex.firstMatch(subject, *slice) : regex.firstMatch(subject);
        EXPECT_EQ(first, found.isEmpty() ? std::nullopt : std::optional(found.first()));
    }
}

TEST(RegexTest, GroupsAreRangesOfTheOriginalText)
{
    const RegexMatch m = Regex("(a)|(b)(-)(y*)").firstMatch("xxb-c", TextRange{1, 4}).value_or(RegexMatch());
    EXPECT_EQ(m.groupCount(), 4);
    EXPECT_EQ(std::vector({m.range(), m.range(1), m.range(2), m.range(4)}),
              std::vector<TextRange>({{2, 2}, {-1, 0}, {2, 1}, {4, 0}}));
    EXPECT_TRUE(!m.hasGroup(1) && m.hasGroup(4) && !m.hasGroup(9));   // group 4 took part, matching nothing
    EXPECT_TRUE(m.captured(1).isNull() && m.captured(9).isNull() && !m.captured(4).isNull());
    // A stray surrogate is matched as U+FFFD but captured as it was.
    EXPECT_EQ(Regex(".$").firstMatch(text(u"a\xD800"))->captured(), QString(QChar(0xD800)));
}

TEST(RegexTest, Replace)
{
    // pattern, options, subject, replacement, result
    const std::tuple<const char16_t*, Regex::Options, const char16_t*, const char16_t*, const char16_t*> cases[] = {
        {u"(\\w+)@(\\w+)", Regex::NoOptions, u"a@b c\u0301@d", u"\\2\\1", u"ba dc\u0301"},
        {u"(a)", Regex::NoOptions, u"xa", u"$1\\\\\\0", u"x$1\\a"},
        {u"$", Regex::MultiLine, u"a\r\nb", u";", u"a;\r\nb;"},
        {u"^", Regex::MultiLine, u"a\u2028b\rc", u"> ", u"> a\u2028> b\r> c"},
        {u".", Regex::NoOptions, u"a\xD800", u"[\\0]", u"[a][\xD800]"},
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
