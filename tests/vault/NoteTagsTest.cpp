#include "vault/NoteTags.h"

#include "core/Regex.h"
#include "editing/MarkdownPresentation.h"

#include "../PrintableText.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <random>

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

// The definition is tested with the editor; these pin a few of its rules here.
TEST(NoteTagsTest, Examples)
{
    const std::tuple<const char*, QString, QStringList> cases[] = {
        {"tags and non-tags", "#1 #/ ## a#b #x/y-z", {"1", "x/y-z"}},
        {"unclosed span ends at the line", "`abc #no\n#yes", {"yes"}},
        {"tilde fence closed by a longer one", "~~~\n#no\n~~~~  \n #yes", {"yes"}},
        {"fence after CRLF and U+2028", "a\r\n```\n#no\n```\u2028 #yes", {"yes"}},
        {"links", "[a #no](u) [[b #no]] `#no` https://x.org/#no #yes", {"yes"}},
        {"outside the basic plane", "#" + mathBoldA + "x", {mathBoldA + "x"}},
    };
    for (const auto& [name, text, expected] : cases) {
        EXPECT_EQ(collected(text), expected) << name;
        EXPECT_EQ(tagStyleNames(text), expected) << name << " (the definition)";
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
    // Long runs of unclosed markers, first.
    for (const QString& text : {QString("`a #t ").repeated(300), QString("[#a ").repeated(300) + "](u)",
                                QString("#a `").repeated(200) + "\n" + QString("``b #c ").repeated(200),
                                QString("http://#a #b ").repeated(200)})
        EXPECT_EQ(collected(text), tagStyleNames(text)) << printable(text.left(24));
    int tagged = 0;
    int excluded = 0;
    for (const QStringList& pieces : {tagsAndCode, tagsAndLinks, everything}) {
        std::mt19937 random(20240611);
        for (int i = 0; i < 7500; ++i) {
            const QString text = randomText(random, pieces, 24);
            const QStringList expected = tagStyleNames(text);
            ASSERT_EQ(collected(text), expected) << "text \"" << printable(text) << "\"";
            tagged += expected.isEmpty() ? 0 : 1;
            excluded += candidateNames(text).size() > expected.size() ? 1 : 0;
        }
    }
    // The texts do exercise both the tags and their exclusion.
    EXPECT_GT(tagged, 1250);
    EXPECT_GT(excluded, 1000);
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
    for (int i = 0; i < 7500; ++i) {
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
    EXPECT_GT(withTags, 500);

    // Not UTF-8: whatever the answer, no read beyond the bytes (the sanitizers watch).
    for (const QByteArray& bytes : {QByteArray("#\xC3"), QByteArray("\xE2#\xF0\x9D"), QByteArray(" #a\xFF\xFE")})
        NoteTags::mayHoldNewTags(bytes, never);
}
