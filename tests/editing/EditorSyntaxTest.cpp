#include "EditingTestSupport.h"

#include "core/Regex.h"
#include "editing/EditorSyntax.h"

#include <algorithm>
#include <random>

using namespace quillor;

namespace {

QString text16(const char16_t* text) { return QString::fromUtf16(text); }

// The link expression itself, through the regex engine, with code removed.
QList<TextRange> linkRangesByExpression(const QString& text)
{
    static const Regex links(QStringLiteral(
        "\\[\\[[^\\]\\n]+\\]\\]|\\[[^\\]\\n]*\\]\\((?:\\\\.|[^\\\\()\\n]|\\([^()\\n]*\\))*\\)|https?://[^\\s<>\\[\\]`]+"));
    const QList<TextRange> code = EditorSyntax::codeRanges(text);
    QList<TextRange> kept;
    for (const RegexMatch& match : links.matches(text)) {
        const bool inCode = std::any_of(code.begin(), code.end(), [&](const TextRange& c) { return c.overlaps(match.range()); });
        if (!inCode)
            kept.append(match.range());
    }
    return kept;
}

// The link a path and label make, checked the plain way: by splitting the path
// and searching each unsafe character in turn.
std::optional<QString> wikiLinkBySplitting(const QString& path, const std::optional<QString>& label)
{
    const auto holdsAny = [](const QString& text, const QString& unsafe) {
        return std::any_of(unsafe.begin(), unsafe.end(), [&](QChar c) { return text.contains(c); });
    };
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || holdsAny(trimmed, QString::fromUtf16(u"[]|#^\\\n\r\0", 9)) || trimmed.startsWith(u'/')
        || trimmed.split(u'/', Qt::SkipEmptyParts).contains(QStringLiteral("..")))
        return std::nullopt;
    if (!label || label->isEmpty() || *label == trimmed)
        return "[[" + trimmed + "]]";
    if (holdsAny(*label, QString::fromUtf16(u"[]|\n\r\0", 6)))
        return std::nullopt;
    return "[[" + trimmed + "|" + *label + "]]";
}

} // namespace

// The links are scanned by hand so that long lines of unclosed brackets stay
// linear; they must be the expression's matches outside code.
TEST(EditorSyntaxTest, LinkRangesAgreeWithTheExpression)
{
    struct Case { QString text; QList<TextRange> links; };
    const Case cases[] = {
        {"![[img.png]]", {{1, 11}}}, {"[a](b (c) \\) d)", {{0, 15}}}, {"[a](b(c(d)))", {}}, {"HTTP://a.b", {}},
        {"[[a]] `[[b]]` [c](d)", {{0, 5}, {14, 6}}}, {"https://a.b/`x`", {{0, 12}}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(test::same(EditorSyntax::linkRanges(c.text), c.links)) << printable(c.text);
        EXPECT_TRUE(test::same(c.links, linkRangesByExpression(c.text))) << printable(c.text);
    }
    const QStringList pieces = test::unitsOf("[]()\\\n\r a`!h<\u2028")
        + QStringList{"https://", "http://x", "[[", "]]", "](", QString(QChar(0xDC00)), text16(u"\U0001F600")};
    std::mt19937 random(11);
    for (int round = 0; round < 3500; ++round) {
        const QString text = test::randomText(random, pieces, 30);
        ASSERT_TRUE(test::same(EditorSyntax::linkRanges(text), linkRangesByExpression(text))) << printable(text);
    }
}

// A bare URL ends where the engine's \s would end it, for every character.
TEST(EditorSyntaxTest, BareUrlsEndAtEveryKindOfWhiteSpace)
{
    QString text;
    for (char32_t c = 1; c < 0x10000; ++c) {
        // (A backtick would make the rest of the text code.)
        if (!QChar::isSurrogate(c) && c != U'`')
            text += QStringLiteral("https://a") + QChar(char16_t(c)) + QStringLiteral("b ");
    }
    EXPECT_EQ(EditorSyntax::linkRanges(text), linkRangesByExpression(text));
}

TEST(EditorSyntaxTest, LongLinesOfUnclosedBracketsStayFast)
{
    const QString brackets = QString(100000, u'[') + QStringLiteral("](") + QString(100000, u'(');
    EXPECT_TRUE(EditorSyntax::linkRanges(brackets).isEmpty());
    QString targets;
    for (int i = 0; i < 20000; ++i)
        targets += QStringLiteral("[a](b [[c ");
    EXPECT_TRUE(EditorSyntax::linkRanges(targets).isEmpty());
    EXPECT_EQ(EditorSyntax::completion(targets, {targets.size(), 0}, QStringLiteral("@")),
              (CompletionContext{CompletionKind::note, {targets.size() - 4, 4}, QStringLiteral("c ")}));
}

// The completion reads the links of the caret's line only: in texts of link,
// code and tag fragments, whatever it offers at any caret stays clear of the
// whole text's code and, but for the note being typed, of its links.
TEST(EditorSyntaxTest, CompletionsStayClearOfTheWholeTextsCodeAndLinks)
{
    const QStringList pieces = {"#", "#t", "[[", "]]", "[", "](", ")", "`", "```\n", "\n", " ", "@in", "https://a.b",
                                "|", "!", "x", "é"};
    std::mt19937 random(20261209);
    int offered = 0;
    for (int round = 0; round < 60; ++round) {
        QString text;
        for (int i = 0; i < 40; ++i)
            text += pieces[random() % pieces.size()];
        const QList<TextRange> code = EditorSyntax::codeRanges(text);
        const QList<TextRange> links = EditorSyntax::linkRanges(text);
        for (qsizetype caret = 0; caret <= text.size(); ++caret) {
            const auto context = EditorSyntax::completion(text, TextRange{caret, 0}, QStringLiteral("@"));
            // The code found beforehand serves as the code found again.
            EXPECT_TRUE(test::same(EditorSyntax::completion(text, TextRange{caret, 0}, QStringLiteral("@"), &code),
                                   context))
                << text.toStdString() << " at " << caret;
            if (!context)
                continue;
            ++offered;
            const auto meets = [&](const TextRange& r) { return r.overlaps(context->range); };
            EXPECT_FALSE(std::any_of(code.begin(), code.end(), meets)) << text.toStdString() << " at " << caret;
            EXPECT_FALSE(std::any_of(links.begin(), links.end(), [&](const TextRange& r) {
                return meets(r) && !(context->kind == CompletionKind::note && r.location == context->range.location);
            })) << text.toStdString() << " at " << caret;
        }
    }
    EXPECT_GT(offered, 100);
}

TEST(EditorSyntaxTest, Completion)
{
    using Kind = CompletionKind;
    auto context = [](Kind kind, TextRange range, const char* query) {
        return std::optional<CompletionContext>(CompletionContext{kind, range, QString::fromUtf8(query)});
    };
    const std::optional<CompletionContext> none;
    const QString at = QStringLiteral("@");
    struct Case { QString text; TextRange selection; QString prefix; std::optional<CompletionContext> expected; };
    const Case cases[] = {
        // Notes
        {"[[Pro]]", {5, 0}, at, context(Kind::note, {0, 7}, "Pro")}, {"![[", {3, 0}, at, none}, {"[[a|", {4, 0}, at, none},
        {"[[x|a #t", {8, 0}, at, context(Kind::tag, {6, 2}, "t")}, {"[a [[b](c)", {6, 0}, at, none}, {"ab", {0, 1}, at, none},
        // Destinations
        {"x @in y", {5, 0}, at, context(Kind::destination, {2, 3}, "in")}, {"x@in", {4, 0}, at, none},
        {"[a](@in", {7, 0}, at, none}, {"[a](b) @in", {10, 0}, at, context(Kind::destination, {7, 3}, "in")},
        {"x +in", {5, 0}, "+", context(Kind::destination, {2, 3}, "in")}, {"@in", {3, 0}, QString(), none},
        {QString("x @i") + QChar(0xD800), {5, 0}, at, CompletionContext{Kind::destination, {2, 3}, "i" + QString(QChar(0xD800))}},
        // Tags
        {"#", {1, 0}, at, context(Kind::tag, {0, 1}, "")}, {"x #a/b-c_d", {10, 0}, at, context(Kind::tag, {2, 8}, "a/b-c_d")},
        {text16(u"#caf\u00E9"), {5, 0}, at, context(Kind::tag, {0, 5}, "caf\xC3\xA9")}, {"a#pro", {5, 0}, at, none},
        {"[a](x #pro)", {10, 0}, at, none},
        // The context ends at the caret and never holds a line break
        {"x @in\r\n", {7, 0}, at, none}, {text16(u"[[a\u2028b"), {5, 0}, at, none},
        {text16(u"[[a\u2028]]"), {3, 0}, at, context(Kind::note, {0, 3}, "a")},
        // Selections outside the text
        {"#a", {3, 0}, at, none}, {QString(), {0, 0}, at, none},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(test::same(EditorSyntax::completion(c.text, c.selection, c.prefix), c.expected))
            << printable(c.text) << " @" << c.selection.location;
}

TEST(EditorSyntaxTest, RouteEdit)
{
    const auto route = [](const QString& text, TextRange fragment) {
        return EditorSyntax::routeEdit(text, fragment, QStringLiteral("@"), QStringLiteral("journal"));
    };
    EXPECT_EQ(route("@in hello @jo", {10, 3}), (EditorSyntax::RouteEdit{{{10, 3}, {0, 4}}, "@journal ", 15}));
    EXPECT_EQ(route("@in\tx @jo", {6, 3}), (EditorSyntax::RouteEdit{{{6, 3}, {0, 3}}, "@journal ", 12}));
}

TEST(EditorSyntaxTest, ExternalLink)
{
    struct Case { QString text; qsizetype index; std::optional<QString> url; };
    const Case cases[] = {
        {"[x](<https://a.b/c d>)", 1, "https://a.b/c%20d"}, {"[x](https://a.b \"titre\")", 1, "https://a.b"},
        {"[x](https://a.b/p\\(1\\))", 0, "https://a.b/p(1)"}, {"[m](mailto:a@b.c)", 1, "mailto:a@b.c"},
        {"[o](obsidian://open?vault=v)", 1, "obsidian://open?vault=v"},
        // Only safe schemes open.
        {"[x](javascript:alert(1))", 1, std::nullopt}, {"[x](file:///etc)", 1, std::nullopt},
        {"[x](http:foo)", 1, std::nullopt}, {"[x](a.b)", 1, std::nullopt}, {"![x](https://a.b)", 2, std::nullopt},
        {"[[https://a.b]]", 3, std::nullopt}, {"see https://example.com.", 5, "https://example.com"},
        {"(https://a.b/x)", 2, "https://a.b/x"}, {"https://a.b/x_(y)", 0, "https://a.b/x_(y)"},
        {"```\n[x](https://a.b)\n```", 5, std::nullopt}, {QString(), 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<QUrl> url = EditorSyntax::externalLink(c.text, c.index);
        EXPECT_TRUE(test::same(url ? std::optional(url->toString(QUrl::FullyEncoded)) : std::nullopt, c.url))
            << printable(c.text) << " @" << c.index;
    }
}

TEST(EditorSyntaxTest, WikiLink)
{
    struct Case { QString path; std::optional<QString> label; std::optional<QString> expected; };
    const Case cases[] = {
        {" a ", std::nullopt, "[[a]]"},     {"a", "a", "[[a]]"},         {"a", QString(), "[[a]]"},
        {"a", "b", "[[a|b]]"},              {"a", " #b ", "[[a| #b ]]"}, {"a/./b..c", std::nullopt, "[[a/./b..c]]"},
        {"../a", std::nullopt, std::nullopt}, {"a//..", std::nullopt, std::nullopt}, {"a/.../b", std::nullopt, "[[a/.../b]]"},
        {"/a", std::nullopt, std::nullopt}, {"a/../b", std::nullopt, std::nullopt}, {"  ", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(test::same(EditorSyntax::wikiLink(c.path, c.label), c.expected))
            << printable(c.path) << " | " << test::show(c.label);
    // Characters that would end or break the link: the path refuses them all, the label those that end it.
    for (const QString& bad : QStringList{"[", "]", "|", "#", "^", "\\", "\n", "\r", QString(QChar(0))}) {
        EXPECT_EQ(EditorSyntax::wikiLink("a" + bad + "b", std::nullopt), std::nullopt) << printable(bad);
        const bool labelMayHoldIt = bad == "#" || bad == "^" || bad == "\\";
        EXPECT_EQ(EditorSyntax::wikiLink("x", "a" + bad + "b").has_value(), labelMayHoldIt) << printable(bad);
    }
}

// Paths of dots, slashes, spaces, link characters and characters whose code
// lies 64 or 128 away from theirs, with and without labels.
TEST(EditorSyntaxTest, WikiLinkAgreesWithSplittingThePath)
{
    const QStringList pieces = test::unitsOf("/.. a[]|#^\\\n\r<cJM@{}\x1b\u00dc\u3000")
        + QStringList{"..", "/../", QString(QChar(0)), QString(QChar(0x80))};
    std::mt19937 random(16);
    for (int round = 0; round < 5000; ++round) {
        const QString path = test::randomText(random, pieces, 8);
        const std::optional<QString> label =
            round % 3 == 0 ? std::nullopt : std::optional(round % 3 == 1 ? path : test::randomText(random, pieces, 4));
        ASSERT_TRUE(test::same(EditorSyntax::wikiLink(path, label), wikiLinkBySplitting(path, label)))
            << printable(path) << " | " << test::show(label);
    }
}
