#include "editing/EditorSyntax.h"

#include "core/Regex.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace quillor;

namespace {

std::string describe(const QList<TextRange>& ranges)
{
    std::string out;
    for (const TextRange& r : ranges)
        out += "(" + std::to_string(r.location) + "," + std::to_string(r.length) + ")";
    return out;
}

std::string describe(const std::optional<CompletionContext>& context)
{
    if (!context)
        return "none";
    return std::to_string(int(context->kind)) + " (" + std::to_string(context->range.location) + ","
        + std::to_string(context->range.length) + ") " + context->query.toStdString();
}

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

} // namespace

TEST(EditorSyntaxTest, LinkRanges)
{
    struct Case {
        QString text;
        QList<TextRange> links;
    };
    const Case cases[] = {
        {QString(), {}},
        {QStringLiteral("[[note]]"), {{0, 8}}},
        {QStringLiteral("![[img.png]]"), {{1, 11}}},
        {QStringLiteral("[[]]"), {}},
        {QStringLiteral("[[a\nb]]"), {}},
        {QStringLiteral("[a](b)"), {{0, 6}}},
        {QStringLiteral("[a](b (c) \\) d)"), {{0, 15}}},
        {QStringLiteral("[a](b(c(d)))"), {}},
        {QStringLiteral("[[a](b)"), {{0, 7}}},
        {QStringLiteral("[x](<https://a.b>)"), {{0, 18}}},
        {QStringLiteral("see https://a.b/c d"), {{4, 13}}},
        {QStringLiteral("https://a.b<x>"), {{0, 11}}},
        {QStringLiteral("http://"), {}},
        {QStringLiteral("HTTP://a.b"), {}},
        {QStringLiteral("[a](https://x.y) https://z.w"), {{0, 16}, {17, 11}}},
        // Code and links
        {QStringLiteral("[[a]] `[[b]]` [c](d)"), {{0, 5}, {14, 6}}},
        {QStringLiteral("`[[a`]]"), {}},
        {QStringLiteral("`a`[[b]]"), {{3, 5}}},
        {QStringLiteral("```\n[[a]]\n```\nhttps://x.y"), {{14, 11}}},
        {QStringLiteral("https://a.b/`x`"), {{0, 12}}},
        {QStringLiteral("[a](`b`)"), {}},
        {QStringLiteral("`https://a.b"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QList<TextRange> found = EditorSyntax::linkRanges(c.text);
        EXPECT_EQ(found, c.links) << describe(found);
        EXPECT_EQ(found, linkRangesByExpression(c.text));
    }
}

// The links are scanned by hand so that long lines of unclosed brackets stay
// linear; on random Markdown-ish texts they must be the expression's matches.
TEST(EditorSyntaxTest, LinkRangesAgreeWithTheExpression)
{
    const QStringList pieces = {
        QStringLiteral("["), QStringLiteral("]"), QStringLiteral("("), QStringLiteral(")"), QStringLiteral("\\"),
        QStringLiteral("\n"), QStringLiteral("\r"), QStringLiteral(" "), QStringLiteral("a"), QStringLiteral("`"),
        QStringLiteral("!"), QStringLiteral("h"), QStringLiteral("https://"), QStringLiteral("http://x"),
        QStringLiteral("[["), QStringLiteral("]]"), QStringLiteral("]("), text16(u"\u2028"), QString(QChar(0xDC00)),
        text16(u"\U0001F600"), QStringLiteral("<"),
    };
    std::mt19937 random(11);
    std::uniform_int_distribution<qsizetype> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 30);
    for (int round = 0; round < 6000; ++round) {
        QString text;
        for (int i = length(random); i > 0; --i)
            text += pieces[pick(random)];
        SCOPED_TRACE(text.toStdString());
        ASSERT_EQ(EditorSyntax::linkRanges(text), linkRangesByExpression(text));
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

TEST(EditorSyntaxTest, Completion)
{
    using Kind = CompletionKind;
    auto context = [](Kind kind, TextRange range, const char* query) {
        return std::optional<CompletionContext>(CompletionContext{kind, range, QString::fromUtf8(query)});
    };
    const std::optional<CompletionContext> none;
    const QString at = QStringLiteral("@");
    struct Case {
        QString text;
        TextRange selection;
        QString prefix;
        std::optional<CompletionContext> expected;
    };
    const Case cases[] = {
        // Notes
        {QStringLiteral("[["), {2, 0}, at, context(Kind::note, {0, 2}, "")},
        {QStringLiteral("[[Pro"), {5, 0}, at, context(Kind::note, {0, 5}, "Pro")},
        {QStringLiteral("[[Pro]]"), {5, 0}, at, context(Kind::note, {0, 7}, "Pro")},
        {QStringLiteral("a [[b]] [[c"), {11, 0}, at, context(Kind::note, {8, 3}, "c")},
        {QStringLiteral("[[["), {3, 0}, at, context(Kind::note, {1, 2}, "")},
        {QStringLiteral("![["), {3, 0}, at, none},
        {QStringLiteral("[[a|"), {4, 0}, at, none},
        {QStringLiteral("[[a#"), {4, 0}, at, none},
        {QStringLiteral("[[a]"), {4, 0}, at, none},
        {QStringLiteral("[[x #t"), {6, 0}, at, context(Kind::tag, {4, 2}, "t")},
        {QStringLiteral("[[x|a #t"), {8, 0}, at, context(Kind::tag, {6, 2}, "t")},
        {QStringLiteral("`[[a`"), {4, 0}, at, none},
        {QStringLiteral("[[a `b"), {6, 0}, at, none},
        {QStringLiteral("[a [[b](c)"), {6, 0}, at, none},            // inside another link
        {QStringLiteral("ab"), {0, 1}, at, none},
        // Destinations
        {QStringLiteral("@in"), {3, 0}, at, context(Kind::destination, {0, 3}, "in")},
        {QStringLiteral("x @in"), {5, 0}, at, context(Kind::destination, {2, 3}, "in")},
        {QStringLiteral("x @in y"), {5, 0}, at, context(Kind::destination, {2, 3}, "in")},
        {QStringLiteral("x@in"), {4, 0}, at, none},
        {QStringLiteral("x @a@b"), {6, 0}, at, none},
        {QStringLiteral("[voir @in"), {9, 0}, at, none},
        {QStringLiteral("[a](@in"), {7, 0}, at, none},
        {QStringLiteral("[a](b) @in"), {10, 0}, at, context(Kind::destination, {7, 3}, "in")},
        {QStringLiteral("`x @in"), {6, 0}, at, none},
        {QStringLiteral("x +in"), {5, 0}, QStringLiteral("+"), context(Kind::destination, {2, 3}, "in")},
        {QStringLiteral("x a.b"), {5, 0}, QStringLiteral("."), none},
        {QStringLiteral("@in"), {3, 0}, QString(), none},
        {QString(QStringLiteral("x @i") + QChar(0xD800)), {5, 0}, at,
         CompletionContext{Kind::destination, {2, 3}, QStringLiteral("i") + QChar(0xD800)}},
        // Tags
        {QStringLiteral("#pro"), {4, 0}, at, context(Kind::tag, {0, 4}, "pro")},
        {QStringLiteral("#"), {1, 0}, at, context(Kind::tag, {0, 1}, "")},
        {QStringLiteral("x #a/b-c_d"), {10, 0}, at, context(Kind::tag, {2, 8}, "a/b-c_d")},
        {text16(u"#caf\u00E9"), {5, 0}, at, context(Kind::tag, {0, 5}, "caf\xC3\xA9")},
        {QStringLiteral("a#pro"), {5, 0}, at, none},
        {QStringLiteral("#pro."), {5, 0}, at, none},
        {QStringLiteral("`a #pro`"), {7, 0}, at, none},
        {QStringLiteral("`a` #pro"), {8, 0}, at, context(Kind::tag, {4, 4}, "pro")},
        {QStringLiteral("[a](#pro"), {8, 0}, at, none},
        {QStringLiteral("[a](x #pro)"), {10, 0}, at, none},                // inside a link
        // The context ends at the caret and never holds a line break
        {QStringLiteral("x @in\n"), {6, 0}, at, none},
        {QStringLiteral("x @in\r\n"), {7, 0}, at, none},
        {text16(u"x @in\u2028"), {6, 0}, at, none},
        {QStringLiteral("#pro\n"), {5, 0}, at, none},
        {text16(u"#pro\u2029"), {5, 0}, at, none},
        {QStringLiteral("#pro\n#a"), {7, 0}, at, context(Kind::tag, {5, 2}, "a")},
        {QStringLiteral("x\n@in"), {5, 0}, at, context(Kind::destination, {2, 3}, "in")},
        {QStringLiteral("[[a\nb"), {5, 0}, at, none},
        {text16(u"[[a\u2028b"), {5, 0}, at, none},
        {text16(u"[[a\u2028]]"), {3, 0}, at, context(Kind::note, {0, 3}, "a")},
        // Selections outside the text
        {QStringLiteral("#a"), {3, 0}, at, none},
        {QString(), {0, 0}, at, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " @" + std::to_string(c.selection.location));
        const auto found = EditorSyntax::completion(c.text, c.selection, c.prefix);
        EXPECT_EQ(found, c.expected) << describe(found);
    }
}

TEST(EditorSyntaxTest, RouteEdit)
{
    struct Case {
        QString text;
        TextRange fragment;
        EditorSyntax::RouteEdit expected;
    };
    const Case cases[] = {
        {QStringLiteral("@in hello @jo"), {10, 3}, {{{10, 3}, {0, 4}}, QStringLiteral("@journal "), 15}},
        {QStringLiteral("@in\tx @jo"), {6, 3}, {{{6, 3}, {0, 3}}, QStringLiteral("@journal "), 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(EditorSyntax::routeEdit(c.text, c.fragment, QStringLiteral("@"), QStringLiteral("journal")), c.expected);
    }
}

TEST(EditorSyntaxTest, ExternalLink)
{
    struct Case {
        QString text;
        qsizetype index;
        std::optional<QString> url;
    };
    const Case cases[] = {
        {QStringLiteral("[x](<https://a.b>)"), 1, QStringLiteral("https://a.b")},
        {QStringLiteral("[x](<https://a.b/c d>)"), 1, QStringLiteral("https://a.b/c%20d")},
        {QStringLiteral("[x](https://a.b \"titre\")"), 1, QStringLiteral("https://a.b")},
        {QStringLiteral("[x](https://a.b/p\\(1\\))"), 0, QStringLiteral("https://a.b/p(1)")},
        {QStringLiteral("[m](mailto:a@b.c)"), 1, QStringLiteral("mailto:a@b.c")},
        {QStringLiteral("[o](obsidian://open?vault=v)"), 1, QStringLiteral("obsidian://open?vault=v")},
        {QStringLiteral("[x](javascript:alert(1))"), 1, std::nullopt},
        {QStringLiteral("[x](file:///etc)"), 1, std::nullopt},
        {QStringLiteral("[x](http:foo)"), 1, std::nullopt},
        {QStringLiteral("[x](a.b)"), 1, std::nullopt},
        {QStringLiteral("![x](https://a.b)"), 2, std::nullopt},
        {QStringLiteral("[[https://a.b]]"), 3, std::nullopt},
        {QStringLiteral("see https://example.com."), 5, QStringLiteral("https://example.com")},
        {QStringLiteral("see https://example.com."), 23, std::nullopt},
        {QStringLiteral("(https://a.b/x)"), 2, QStringLiteral("https://a.b/x")},
        {QStringLiteral("https://a.b/x_(y)"), 0, QStringLiteral("https://a.b/x_(y)")},
        {QStringLiteral("https://a.b/?q=1!"), 1, QStringLiteral("https://a.b/?q=1")},
        {QStringLiteral("http://..."), 1, std::nullopt},
        {QStringLiteral("`https://a.b`"), 2, std::nullopt},
        {QStringLiteral("```\n[x](https://a.b)\n```"), 5, std::nullopt},
        {QStringLiteral("x"), 1, std::nullopt},
        {QString(), 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " @" + std::to_string(c.index));
        const std::optional<QUrl> url = EditorSyntax::externalLink(c.text, c.index);
        ASSERT_EQ(url.has_value(), c.url.has_value()) << (url ? url->toString().toStdString() : "");
        if (url) {
            EXPECT_EQ(url->toString(QUrl::FullyEncoded), *c.url);
        }
    }
}

TEST(EditorSyntaxTest, WikiLink)
{
    const QString nul(QChar(0));
    struct Case {
        QString path;
        std::optional<QString> label;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {QStringLiteral(" a "), std::nullopt, QStringLiteral("[[a]]")},
        {QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("[[a]]")},
        {QStringLiteral("a"), QString(), QStringLiteral("[[a]]")},
        {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("[[a|b]]")},
        {QStringLiteral("a"), QStringLiteral(" #b "), QStringLiteral("[[a| #b ]]")},
        {QStringLiteral("a/./b..c"), std::nullopt, QStringLiteral("[[a/./b..c]]")},
        {QStringLiteral("/a"), std::nullopt, std::nullopt},
        {QStringLiteral("a/../b"), std::nullopt, std::nullopt},
        {QStringLiteral("  "), std::nullopt, std::nullopt},
        {QStringLiteral("a[b"), std::nullopt, std::nullopt},
        {QStringLiteral("a|b"), std::nullopt, std::nullopt},
        {QStringLiteral("a#b"), std::nullopt, std::nullopt},
        {QStringLiteral("a\\b"), std::nullopt, std::nullopt},
        {QStringLiteral("a\nb"), std::nullopt, std::nullopt},
        {QStringLiteral("a") + nul, std::nullopt, std::nullopt},
        {QStringLiteral("a"), QStringLiteral("[x]"), std::nullopt},
        {QStringLiteral("a"), QStringLiteral("x|y"), std::nullopt},
        {QStringLiteral("a"), QStringLiteral("x") + nul, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString() + " | " + (c.label ? c.label->toStdString() : "-"));
        EXPECT_EQ(EditorSyntax::wikiLink(c.path, c.label), c.expected);
    }
}
