#include "vault/NoteTags.h"

#include "core/Regex.h"
#include "editing/MarkdownPresentation.h"

#include "../PrintableText.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cstdio>
#include <random>
#include <string>

using namespace quillor;

namespace {

QStringList collected(const QString& text)
{
    QList<QStringView> views;
    NoteTags::collect(text, views);
    QStringList names;
    for (const QStringView view : views)
        names.append(view.toString());
    return names;
}

// The definition: the editor's tag styles.
QStringList tagStyleNames(const QString& text)
{
    QStringList names;
    for (const MarkdownStyle& style : MarkdownPresentation::tagStyles(text))
        names.append(text.mid(style.range.location + 1, style.range.length - 1));
    return names;
}

// The names of every "#name" the tag pattern matches, before code and links
// exclude any.
QStringList candidateNames(const QString& text)
{
    static const Regex pattern(QStringLiteral("(?:^|\\s|\\n)(#[\\p{L}\\p{N}_][\\p{L}\\p{N}_/\\-]*)"));
    QStringList names;
    for (const RegexMatch& match : pattern.matches(text))
        names.append(text.mid(match.range(1).location + 1, match.range(1).length - 1));
    return names;
}

TagNameSet knownAmong(const QStringList& names)
{
    TagNameSet known;
    for (const QString& name : names)
        known.insert(name);
    return known;
}

QString randomText(std::mt19937& random, const QStringList& pieces, int maxPieces)
{
    std::uniform_int_distribution<int> length(0, maxPieces);
    std::uniform_int_distribution<qsizetype> piece(0, pieces.size() - 1);
    QString text;
    for (int i = length(random); i > 0; --i)
        text += pieces[piece(random)];
    return text;
}

const QString mathBoldA = QString::fromUcs4(U"\U0001D400");
const QString loneHigh = QString(QChar(0xD835));
const QString loneLow = QString(QChar(0xDC00));

} // namespace

TEST(NoteTagsTest, Examples)
{
    const struct {
        const char* name;
        QString text;
        QStringList expected;
    } cases[] = {
        {"empty", "", {}},
        {"tags and non-tags", "#1 #/ ## a#b #x/y-z", {"1", "x/y-z"}},
        {"a heading is no tag", "# Titre\n#tag", {"tag"}},
        {"inline code", "`#code` #ok", {"ok"}},
        {"glued to a span", "`a`#tag", {}},
        {"unclosed span ends at the line", "`abc #no\n#yes", {"yes"}},
        {"span across lines", "``a\n#no``", {}},
        {"fenced", "```\n#no\n```\nx #yes", {"yes"}},
        {"the break closing a block is code", "```\n```\n#no", {}},
        {"fence with a backtick in its info is inline", "``` a`b\n#yes", {"yes"}},
        {"tilde fence closed by a longer one", "~~~\n#no\n~~~~  \n #yes", {"yes"}},
        {"fence not closed by the other marker", "~~~\n```\n#no", {}},
        {"indented four spaces is no fence", "    ```\n#yes", {"yes"}},
        {"fence after CRLF and U+2028", "a\r\n```\n#no\n```\u2028 #yes", {"yes"}},
        {"escaped backtick", "\\` #yes` x", {"yes"}},
        {"two backslashes do not escape", "\\\\` #no`", {}},
        {"the CRLF closing a block is code", "```\r\n```\r\n#no", {}},
        {"an escaped line break ends a link target", "[a #yes](\\\r)", {"yes"}},
        {"an escaped parenthesis does not", "[a #no](\\))", {}},
        {"wiki link", "[[a #no]] #yes", {"yes"}},
        {"Markdown link", "[a #no](u) [b](#no) #yes", {"yes"}},
        {"bare URL", "https://x.org/#no #yes", {"yes"}},
        {"link broken by code is no link", "[a #yes `x`](u)", {"yes"}},
        {"link on an earlier line", "[a\n#yes](u)", {"yes"}},
        {"after a no-break space", "a\u00A0#t", {"t"}},
        {"outside the basic plane", "#" + mathBoldA + "x", {mathBoldA + "x"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(collected(c.text), c.expected) << c.name;
        EXPECT_EQ(tagStyleNames(c.text), c.expected) << c.name << " (the definition)";
    }
}

// The fast path against the definition on random texts made of what each
// rule reacts to: tag characters of several classes, blanks, every line
// break, fences, backtick runs, escapes, link syntax and surrogates.
TEST(NoteTagsTest, AgreesWithTheTagStyles)
{
    const QStringList tagsAndCode = {"#",   "#",   "#",   " ",     " ",     "a",          "_",          "/",
                                     "-",   "1",   "\n",  "\r",    "\r\n",  "\u2028",     "\u2029",     "\u0085",
                                     "`",   "`",   "``",  "```",   "```\n", "\n```\n",    "~~~",        "\n~~~~ \n",
                                     "   ", "\t",  "\\",  "é",     "\u00A0", "\u3000",    "\u0663",     "\u00B2",
                                     "e\u0301", mathBoldA, loneHigh, loneLow, "\\\\`", "```\r\n"};
    const QStringList tagsAndLinks = {"#",   "#",     "#",  " ",  "a",      "b",       "\n",       "\r",
                                      "[",   "[",     "[[", "]",  "]",      "]]",      "(",        ")",
                                      "](", "|",     "!",  "\\", "http://", "https://", "http://x", "<",
                                      ">",   "`",     "``", "\u2028", "\u0085", "\u00A0", mathBoldA, loneHigh,
                                      "\\\r", "\\)", "[a](", "[["};
    const QStringList everything =
        tagsAndCode + tagsAndLinks + QStringList{"#tag ", " #a/b", "```c\n", "[[n]]", "[l](u)"};
    int tagged = 0;
    int excluded = 0;
    for (const QStringList& pieces : {tagsAndCode, tagsAndLinks, everything}) {
        std::mt19937 random(20240611);
        for (int i = 0; i < 15000; ++i) {
            const QString text = randomText(random, pieces, 24);
            const QStringList expected = tagStyleNames(text);
            ASSERT_EQ(collected(text), expected) << "text \"" << printable(text) << "\"";
            tagged += expected.isEmpty() ? 0 : 1;
            excluded += candidateNames(text).size() > expected.size() ? 1 : 0;
        }
    }
    // The texts do exercise both the tags and their exclusion.
    EXPECT_GT(tagged, 2500);
    EXPECT_GT(excluded, 2000);
}

TEST(NoteTagsTest, LongTextsAgreeWithTheTagStyles)
{
    const QStringList texts = {
        QString("`a #t ").repeated(300),
        QString("```\n#t\n").repeated(200),
        QString("[#a ").repeated(300) + "](u)",
        QString("[[#a ").repeated(300) + "]]",
        QString("#a `").repeated(200) + "\n" + QString("``b #c ").repeated(200),
        QString("[a](#t ").repeated(300) + ")",
        QString("http://#a #b ").repeated(200),
    };
    for (const QString& text : texts)
        EXPECT_EQ(collected(text), tagStyleNames(text)) << printable(text.left(24));
}

TEST(NoteTagsTest, SkippedNamesAreLeftOut)
{
    const QString text = "#a #b `#c` #a #d";
    QList<QStringView> names;
    const TagNameSet known = knownAmong({"a", "c"});
    NoteTags::collect(text, names, &known);
    EXPECT_EQ(names, (QList<QStringView>{u"b", u"d"}));
}

// The look at the bytes never misses a new tag: for every tag of the text,
// knowing all the others still says it may hold one. And it is exact about
// candidates, so that it does spare the notes whose tags are all known.
TEST(NoteTagsTest, BytesMayHoldNewTagsWheneverTheTextDoes)
{
    const QStringList pieces = {"#",   "#",  "#",     " ",      "a",      "_",         "/",        "-",
                                "1",   "\n", "\r\n", "\u2028", "\u00A0", "\u3000",    "é",        "e\u0301",
                                "\u00B2", "\u0663", "`",   "[",      "](",     "http://",   mathBoldA, "\uFEFF",
                                "\uFFFD"};
    std::mt19937 random(99);
    std::bernoulli_distribution byteOrderMark(0.1);
    const TagNameSet never;
    int withTags = 0;
    for (int i = 0; i < 15000; ++i) {
        const QString text = randomText(random, pieces, 20);
        const QByteArray bytes = (byteOrderMark(random) ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
        const QStringList tags = tagStyleNames(text);
        const QStringList candidates = candidateNames(text);
        for (const QString& tag : tags) {
            QStringList others = tags;
            others.removeAll(tag);
            ASSERT_TRUE(NoteTags::mayHoldNewTags(bytes, knownAmong(others))) << printable(text);
        }
        ASSERT_EQ(NoteTags::mayHoldNewTags(bytes, never), !candidates.isEmpty()) << printable(text);
        ASSERT_FALSE(NoteTags::mayHoldNewTags(bytes, knownAmong(candidates))) << printable(text);
        withTags += tags.isEmpty() ? 0 : 1;
    }
    EXPECT_GT(withTags, 1000);

    // Not UTF-8: whatever the answer, no read beyond the bytes (the sanitizers watch).
    for (const QByteArray& bytes : {QByteArray("#\xC3"), QByteArray("\xE2#\xF0\x9D"), QByteArray(" #a\xFF\xFE")})
        NoteTags::mayHoldNewTags(bytes, never);
}
