#include "core/TextLines.h"

#include "TestSupport.h"
#include "core/Regex.h"
#include "core/TextFolding.h"

#include <algorithm>
#include <vector>

using namespace quillor;

namespace {

using Span = std::pair<qsizetype, qsizetype>;

using Spans = std::vector<Span>;
Span span(TextRange range) { return {range.location, range.length}; }

QString text(const char16_t* units) { return QString::fromUtf16(units); }

Spans spans(const QList<RegexMatch>& found)
{
    Spans result;
    for (const RegexMatch& m : found)
        result.emplace_back(m.range().location, m.range().length);
    return result;
}

} // namespace

TEST(TextLinesTest, LineRange)
{
    // a0 b1 LF2 | c3 d4 CR5 LF6 | e7 f8 CR9 | g10 h11 LS12 | i13 j14 PS15 | k16 l17
    const QString mixed = QString::fromUtf16(u"ab\ncd\r\nef\rgh\u2028ij\u2029kl");
    // text, range, its line range, the contents range of the line at its start
    const std::tuple<QString, TextRange, Span, Span> cases[] = {
        {mixed, {2, 0}, {0, 3}, {0, 2}},   {mixed, {6, 0}, {3, 4}, {3, 2}},     {mixed, {7, 0}, {7, 3}, {7, 2}},
        {mixed, {10, 0}, {10, 3}, {10, 2}}, {mixed, {13, 0}, {13, 3}, {13, 2}}, {mixed, {18, 0}, {16, 2}, {16, 2}},
        {mixed, {6, 5}, {3, 10}, {3, 2}},  {"a\r\n", {3, 0}, {3, 0}, {3, 0}},    {"ab", {99, 0}, {0, 2}, {0, 2}},
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
    for (size_t i = 0; i + 1 < boundaries.size(); ++i) {
        for (qsizetype p = boundaries[i]; p < boundaries[i + 1]; ++p) {
            EXPECT_EQ(Graphemes::next(text, p), boundaries[i + 1]) << p;
            EXPECT_EQ(Graphemes::previous(text, p + 1), boundaries[i]) << p + 1;
        }
    }
    // Positions outside the text are clamped to it.
    EXPECT_EQ(std::pair(Graphemes::next(text, -1), Graphemes::next(text, text.size() + 1)), std::pair(qsizetype(0), text.size()));
    EXPECT_EQ(std::pair(Graphemes::previous(text, -1), Graphemes::previous(text, text.size() + 1)),
              std::pair(qsizetype(0), text.size()));
}

TEST(TextFoldingTest, FoldsAndComparesLikeThePlatform)
{
    // Diacritics and widths fold, case does not; ligatures and letters of their own stay.
    EXPECT_EQ(TextFolding::foldDiacriticsAndWidth("Boîte ÉTÉ Cafe\u0301 ＡＢｃ１ ｶﾞ ガ ﬁ Å ø 日本"), "Boite ETE Cafe ABc1 カ カ ﬁ A ø 日本");
    EXPECT_FALSE(TextFolding::equalsIgnoringCase(u"Inbox", u"Inbóx"));
    EXPECT_TRUE(TextFolding::equalsIgnoringCaseAndDiacritics("Cafe\u0301", "CAFÉ"));

    QStringList titles{"Note 10", "note 2", "Zèbre", "Abricot", "Note 1", "éclair"};
    std::stable_sort(titles.begin(), titles.end(),
                     [](const QString& a, const QString& b) { return TextFolding::localizedStandardCompare(a, b) < 0; });
    EXPECT_EQ(titles, (QStringList{"Abricot", "éclair", "Note 1", "note 2", "Note 10", "Zèbre"}));
}

TEST(TextFoldingTest, SortKeysOrderLikeTheComparison)
{
    const QStringList texts{"Note 10", "note 2", "Note 02", "Zèbre", "zebre",   "éclair", "a.b",    "a b",
                            "_x",      "日本",   "ｶﾞ",      "ガ",    "😀 joie", "Straße", "STRASSE", "x1.5"};
    for (const QString& a : texts) {
        for (const QString& b : texts) {
            const int keyOrder = TextFolding::localizedSortKey(a).compare(TextFolding::localizedSortKey(b));
            const int sign = keyOrder < 0 ? -1 : (keyOrder > 0 ? 1 : 0);
            EXPECT_EQ(sign, TextFolding::localizedStandardCompare(a, b)) << a.toStdString() << " / " << b.toStdString();
        }
    }
}

TEST(RegexTest, MatchesWhereThePlainEngineWouldDiffer)
{
    const char16_t* lines = u"x\rx\u2028x\u0085x\r\nx";   // x at 0, 2, 4, 6, 9
    const char16_t* words = u"cafe\u0301 x\u00B2y a\u203Fb a\u200Db";
    // name, pattern, options, subject, slice searched, spans found
    const std::tuple<const char*, const char16_t*, Regex::Options, const char16_t*, std::optional<TextRange>, Spans> cases[] = {
        {"^ after every break, option", u"^x", Regex::MultiLine, lines, {}, {{0, 1}, {2, 1}, {4, 1}, {6, 1}, {9, 1}}},
        {"$ never inside CRLF", u"$", Regex::MultiLine, u"a\r\nb", {}, {{1, 0}, {4, 0}}},
        {"dot stops at every break", u".+", Regex::NoOptions, u"ab\rcd\u2028ef\u0085gh\u000Bij\u000Ckl\u2029mn",
         {}, {{0, 2}, {3, 2}, {6, 2}, {9, 2}, {12, 2}, {15, 2}, {18, 2}}},
        {"\\w is the Unicode word class", u"\\w+", Regex::NoOptions, words, {}, {{0, 5}, {6, 1}, {8, 1}, {10, 3}, {14, 3}}},
        {"\\W inside a class", u"[\\W2]+", Regex::NoOptions, u"ab 2c\u00B2", {}, {{2, 2}, {5, 1}}},
        {"\\b agrees with \\w", u"\\bcafe\\b", Regex::NoOptions, u"cafe\u0301 cafe", {}, {{6, 4}}},
        {"case-insensitive", u"\u00C9t\u00C9", Regex::CaseInsensitive, u"\u00E9T\u00E9", {}, {{0, 3}}},
        {"a match may start on the LF of CRLF", u"(?:^|\\s)#a", Regex::NoOptions, u"x\r\n#a x\n#a x\r#a", {},
         {{2, 3}, {7, 3}, {12, 3}}},
        {"stray surrogate spoils nothing", u"b", Regex::NoOptions, u"a\xD800" u"b\xDC00" u"b", {}, {{2, 1}, {4, 1}}},
        {"empty matches step over a pair", u"x*", Regex::NoOptions, u"a\U0001F600", {}, {{0, 0}, {1, 0}, {3, 0}}},
        {"^ anchors at the slice start", u"^b", Regex::NoOptions, u"abc", TextRange{1, 2}, {{1, 1}}},
        {"look-behind stops at the slice", u"(?<=a)b", Regex::NoOptions, u"abc", TextRange{1, 2}, {}},
        {"slice splitting a pair", u".", Regex::NoOptions, u"\U0001F600x", TextRange{1, 2}, {{1, 1}, {2, 1}}},
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
        {u"$", Regex::MultiLine, u"a\r\nb", u";", u"a;\r\nb;"},
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
