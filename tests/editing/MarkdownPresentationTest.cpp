#include "EditingTestSupport.h"

#include "core/Regex.h"
#include "editing/EditorSyntax.h"
#include "editing/MarkdownPresentation.h"

using namespace quillor;

namespace {

MarkdownStyle heading(TextRange r, int level) { return {.range = r, .headingLevel = level}; }
MarkdownStyle bold(TextRange r) { return {.range = r, .bold = true}; }
MarkdownStyle italic(TextRange r) { return {.range = r, .italic = true}; }
MarkdownStyle boldItalic(TextRange r) { return {.range = r, .bold = true, .italic = true}; }
MarkdownStyle tag(TextRange r) { return {.range = r, .tag = true}; }
MarkdownStyle image(TextRange r) { return {.range = r, .image = true}; }
MarkdownStyle strike(TextRange r) { return {.range = r, .strike = true}; }
MarkdownStyle highlight(TextRange r) { return {.range = r, .highlight = true}; }

// ---------------------------------------------------------------------------
// The plain definitions, matched with the regular expressions as written. The
// fast scanners must give exactly these results; these are quadratic on long
// lines, so they only ever see short texts.

bool overlapsAny(const QList<TextRange>& ranges, TextRange range)
{
    return std::any_of(ranges.begin(), ranges.end(), [&](const TextRange& r) { return r.overlaps(range); });
}

struct Rule { QString pattern; MarkdownStyle style; bool tagGroup = false; };

QList<MarkdownStyle> referenceStyles(const QString& text)
{
    static const QList<Rule> rules = {
        {"(?m)^ {0,3}(#{1,6})[\\t ]+[^\\n]+", heading({}, -1)},
        {"(?<![\\\\\\w])___(?=\\S)[^\\n]+?(?<=\\S)___(?!\\w)", boldItalic({})},
        {"(?<![\\\\*])\\*\\*\\*(?=\\S)[^\\n]+?(?<=\\S)\\*\\*\\*(?!\\*)", boldItalic({})},
        {"(?<![\\\\*])\\*\\*(?=\\S)[^\\n]+?(?<=\\S)\\*\\*(?!\\*)", bold({})},
        {"(?<![\\\\\\w])__(?=\\S)[^\\n]+?(?<=\\S)__(?!\\w)", bold({})},
        {"(?<![\\\\*])\\*(?!\\*)(?=\\S)[^\\n]+?(?<=\\S)\\*(?!\\*)", italic({})},
        {"(?<![\\\\\\w])_(?!_)(?=\\S)[^\\n]+?(?<=\\S)_(?!\\w)", italic({})},
        {"(?<![\\\\~])~~(?=\\S)[^\\n]+?(?<=\\S)~~", strike({})}, {"(?<![\\\\=])==(?=\\S)[^\\n]+?(?<=\\S)==", highlight({})},
        // The "\\n" alternative adds no character (\\s holds it) but keeps PCRE2
        // from skipping the line feed of a CRLF pair as a place to start a
        // match, which it does for patterns that name no line break: a tag at
        // the start of a CRLF line would otherwise be lost.
        {"(?:^|\\s|\\n)(#[\\p{L}\\p{N}_][\\p{L}\\p{N}_/\\-]*)", tag({}), true}, {"!\\[\\[[^\\]\\n]+\\]\\]", image({})},
    };
    static const QList<Regex> compiled = [] {
        QList<Regex> list;
        for (const Rule& rule : rules)
            list.append(Regex(rule.pattern));
        return list;
    }();
    const QList<TextRange> code = EditorSyntax::codeRanges(text);
    const QList<TextRange> links = EditorSyntax::linkRanges(text);
    QList<MarkdownStyle> result;
    for (qsizetype i = 0; i < rules.size(); ++i) {
        EXPECT_TRUE(compiled[i].isValid()) << rules[i].pattern.toStdString();
        for (const RegexMatch& m : compiled[i].matches(text)) {
            if (overlapsAny(code, m.range()))
                continue;
            MarkdownStyle style = rules[i].style;
            style.range = rules[i].tagGroup ? m.range(1) : m.range();
            if (rules[i].tagGroup && overlapsAny(links, style.range))
                continue;
            if (style.headingLevel < 0)
                style.headingLevel = int(m.range(1).length);
            result.append(style);
        }
    }
    return result;
}

// Link concealment as defined, for texts where nothing but code and links can
// be concealed, with no selection.
QList<TextRange> referenceLinkConcealment(const QString& text)
{
    static const Regex wiki("\\[\\[([^\\]\\n|]+)(?:\\|([^\\]\\n]+))?\\]\\]");
    static const Regex markdown("\\[([^\\]\\n]+)\\]\\((?:\\\\.|[^\\\\()\\n]|\\([^()\\n]*\\))*\\)");
    const auto escaped = [&](qsizetype at) {
        qsizetype count = 0;
        while (at - count > 0 && text[at - count - 1] == u'\\')
            ++count;
        return count % 2 == 1;
    };
    QList<TextRange> hidden;
    QList<TextRange> code;
    for (const CodeSyntax::Span& span : CodeSyntax::spans(text)) {
        code.append(span.range);
        if (!escaped(span.range.location))
            hidden.append(span.delimiters);
    }
    for (const Regex* pattern : {&wiki, &markdown}) {
        for (const RegexMatch& m : pattern->matches(text)) {
            const TextRange r = m.range();
            if (escaped(r.location) || overlapsAny(code, r) || (r.location > 0 && text[r.location - 1] == u'!'))
                continue;
            const TextRange visible = m.hasGroup(2) ? m.range(2) : m.range(1);
            hidden.append(TextRange::fromBounds(r.location, visible.location));
            hidden.append(TextRange::fromBounds(visible.end(), r.end()));
        }
    }
    hidden.removeIf([](const TextRange& r) { return r.isEmpty(); });
    std::stable_sort(hidden.begin(), hidden.end(), [](TextRange a, TextRange b) { return a.location < b.location; });
    return hidden;
}

const QString mathBoldA = QString::fromUcs4(U"\U0001D400");   // a letter outside the BMP
const QString loneSurrogate = QString(QChar(0xD835));
const QString decomposedE = QString::fromUcs4(U"e\u0301");    // a word character plus a mark

} // namespace

// Each case is also matched against the plain patterns, which keeps those honest.
TEST(MarkdownPresentationTest, Styles)
{
    const struct { const char* name; QString text; QList<MarkdownStyle> expected; } cases[] = {
        {"four spaces are no heading", "    # T", {}}, {"no blank after the hashes: a tag", "#Title", {tag({0, 6})}},
        // "___a___" also holds a "__" pair: "_a_" then a closing "__".
        {"underscores", "___a___ __b__ _c_", {boldItalic({0, 7}), bold({0, 7}), bold({8, 5}), italic({14, 3})}},
        {"underscore after a decomposed letter", decomposedE + "_a_", {}},
        {"tags", "#1 #/ ## a#b #x/y-z", {tag({0, 2}), tag({13, 6})}},
        {"tag at the start of a CRLF line", "a\r\n#t", {tag({3, 2})}},
        {"tag inside a Markdown link", "[a #tag](url)", {}},
        {"order of the kinds", "# **a** ~~s~~ ==h== #t ![[i]]",
         {heading({0, 29}, 1), bold({2, 5}), strike({8, 5}), highlight({14, 5}), tag({20, 2}), image({23, 6})}},
        // Code exclusion: inside, across and next to code.
        {"bold across a span", "**a `b` c**", {}}, {"a dropped match is not retried", "**a `b** c` d**", {}},
        {"tag glued to a span", "`a`#tag", {}}, {"tag after an unclosed span", "`abc\n#tag", {tag({5, 4})}},
        {"after a fence", "```\nx\n```\n# T **b**", {heading({10, 9}, 1), bold({14, 5})}},
    };
    for (const auto& c : cases) {
        const QList<MarkdownStyle> actual = MarkdownPresentation::styles(c.text);
        EXPECT_TRUE(test::same(actual, c.expected)) << c.name;
        EXPECT_TRUE(test::same(actual, referenceStyles(c.text))) << c.name << ": differs from the plain patterns";
    }
}

TEST(MarkdownPresentationTest, TagStylesAreTheTagsOfStyles)
{
    for (const QString text : {"#a **b** #c", "`#x` [#y](u) #z", "# T\n#t #u/v"}) {
        QList<MarkdownStyle> tags = MarkdownPresentation::styles(text);
        tags.removeIf([](const MarkdownStyle& s) { return !s.tag; });
        EXPECT_TRUE(test::same(MarkdownPresentation::tagStyles(text), tags)) << printable(text);
    }
}

// The scanners against the plain patterns, on short random texts built from
// the characters that matter: markers, backslashes, blanks of several kinds,
// word characters the regular expressions classify differently from QChar,
// surrogate pairs and an unpaired surrogate.
TEST(MarkdownPresentationTest, StylesAgreeWithThePlainPatterns)
{
    const QStringList emphasis = test::unitsOf("***___~~==\\  ab\n\r![[]]#`|()\u00B2\u203F\u00A0\u3000\u200D")
                               + QStringList{decomposedE, mathBoldA, loneSurrogate};
    // Line starts after every kind of break, blanks of every kind, letters and
    // numbers of several categories, and links around tags.
    const QStringList headingsAndTags = test::unitsOf("####  \t\n\r\u0085\u2028a1/-_\u00E9\u0301\u00B2\u0663\u00A0\u3000\u180E[]()`*")
                                      + QStringList{"\r\n", "\x0B", "\x0C", "http://", mathBoldA, loneSurrogate};
    for (const QStringList& alphabet : {emphasis, headingsAndTags}) {
        std::mt19937 random(20240607);
        int styled = 0;
        for (int i = 0; i < 6000; ++i) {
            const QString text = test::randomText(random, alphabet, 18);
            const QList<MarkdownStyle> actual = MarkdownPresentation::styles(text);
            ASSERT_TRUE(test::same(actual, referenceStyles(text))) << printable(text);
            styled += actual.isEmpty() ? 0 : 1;
        }
        EXPECT_GT(styled, 600);   // the texts do exercise the rules
    }
}

TEST(MarkdownPresentationTest, LinkConcealmentAgreesWithThePlainPatterns)
{
    const QStringList alphabet = test::unitsOf("[[[]]](())\\||!ab \n\r`\u2028") + QStringList{mathBoldA, loneSurrogate};
    std::mt19937 random(7);
    int concealing = 0;
    for (int i = 0; i < 7000; ++i) {
        const QString text = test::randomText(random, alphabet, 16);
        const QList<TextRange> actual = MarkdownPresentation::concealedRanges(text, {});
        ASSERT_TRUE(test::same(actual, referenceLinkConcealment(text))) << printable(text);
        concealing += actual.isEmpty() ? 0 : 1;
    }
    EXPECT_GT(concealing, 700);
}

// Longer texts where many openers share one line, as in the slow cases.
TEST(MarkdownPresentationTest, LongLinesAgreeWithThePlainPatterns)
{
    const QStringList texts = {
        QString("**a ").repeated(200) + "**b**",
        QString("_a ").repeated(200) + "_b_",
        QString("![[").repeated(200) + "x]]",
        QString("*a").repeated(300) + "\n" + QString("a*").repeated(300),
    };
    for (const QString& text : texts)
        EXPECT_TRUE(test::same(MarkdownPresentation::styles(text), referenceStyles(text))) << printable(text.left(20));
    const QStringList links = {
        QString("[").repeated(300) + "a](b)",
        QString("[[").repeated(300) + "a|b]]",
        QString("[a](\\").repeated(300) + ")",
        QString("[a](b(c)").repeated(300),
    };
    for (const QString& text : links)
        EXPECT_TRUE(test::same(MarkdownPresentation::concealedRanges(text, {}), referenceLinkConcealment(text)))
            << printable(text.left(20));
}

TEST(MarkdownPresentationTest, ConcealedRanges)
{
    const struct { const char* name; QString text; QList<TextRange> selections; QList<TextRange> expected; } cases[] = {
        {"selection ending where bold starts", "x **b**", {{0, 2}}, {{2, 2}, {5, 2}}},
        {"one of two selections touches", "**a** **b**", {{1, 0}, {20, 0}}, {{6, 2}, {9, 2}}},
        {"fenced block", "```\ncode\n```\nx", {{13, 0}}, {{0, 3}, {9, 3}}},
        {"emphasis inside code", "`**a**` x", {{9, 0}}, {{0, 1}, {6, 1}}},
        {"wiki link with label", "[[note|label]] x", {{16, 0}}, {{0, 7}, {12, 2}}}, {"escaped wiki link", "\\[[a]] x", {}, {}},
        {"bold around a link keeps its markers", "**[a](u)**", {}, {{2, 1}, {4, 4}}},
        {"quote prefix", "> quote\nx", {{9, 0}}, {{0, 2}}}, {"heading and bold", "# **b**", {}, {{0, 2}, {2, 2}, {5, 2}}},
        {"task box with the caret in its marker", "- [ ] task\nx", {{5, 0}}, {}},
        {"task box with the caret after its marker", "- [ ] task\nx", {{6, 0}}, {{2, 4}}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(test::same(MarkdownPresentation::concealedRanges(c.text, c.selections), c.expected)) << c.name;
}

// One megabyte on a single line: backtracking patterns would take hours here
// (the test time limit catches them).
TEST(MarkdownPresentationTest, PathologicalLine)
{
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pick(0, 2);
    QString line;
    line.reserve(1'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        line += QChar(u"*_#"[pick(random)]);
    // The same shapes at 400 KB: unclosed bold, link targets, wiki links, embeds.
    const QStringList texts = {line, QString("**a ").repeated(100'000), QString("[a](").repeated(100'000),
                               QString("[[").repeated(200'000), QString("![[").repeated(130'000)};
    for (const QString& text : texts) {
        for (const MarkdownStyle& s : MarkdownPresentation::styles(text))
            ASSERT_LE(s.range.end(), text.size());
        for (const TextRange& r : MarkdownPresentation::concealedRanges(text, {{0, 0}}))
            ASSERT_LE(r.end(), text.size());
    }
}
