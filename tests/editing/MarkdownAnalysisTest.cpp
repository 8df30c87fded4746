#include "editing/MarkdownAnalysis.h"

#include "editing/EditorSyntax.h"

#include <gtest/gtest.h>

#include <random>

using namespace quillor;

namespace {

// Texts where a construct depends on its neighbours: code that spans lines,
// a tag right after a closing fence, escapes, links beside emphasis, nested
// quotes and lists.
const QStringList texts = {
    QString(),
    QStringLiteral("# Titre\n\nDu **gras**, de l’_italique_, ~~barré~~ et ==surligné== avec #tag.\n"),
    QStringLiteral("```\ncode **pas gras**\n```\n#juste-après\n- [ ] tâche `code` [[Note|lien]]\n"),
    QStringLiteral("`du code\nsur deux lignes` puis *fin*\n> > citation #idée\n>\n1. un\n10) dix\n"),
    QStringLiteral("\\`pas du code` et [texte](https://a.b/(c)) https://x.y ![[image.png]]\n~~~\nouvert"),
    QStringLiteral("* [x] fait\n    + imbriqué **a**b** __c__\n***tout*** ___tout___\r\nfin\u2028ligne"),
};

TEST(MarkdownAnalysisTest, EqualsTheSeparateAnalyses)
{
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const MarkdownAnalysis analysis = MarkdownAnalysis::of(text);
        EXPECT_EQ(analysis.code, CodeSyntax::spans(text));
        EXPECT_EQ(analysis.codeRanges, EditorSyntax::codeRanges(text));
        EXPECT_EQ(analysis.styles(), MarkdownPresentation::styles(text));
        EXPECT_EQ(analysis.quotes, QuoteSyntax::lines(text));
        EXPECT_EQ(analysis.items, ListSyntax::items(text));
        EXPECT_EQ(analysis.links, EditorSyntax::linkRanges(text));
    }
}

struct Edit { const char* before; qsizetype position; qsizetype removed; const char* added; };

TEST(MarkdownAnalysisTest, AnEditReadsAgainOnlyWhatItChanged)
{
    const Edit edits[] = {
        {"a **b** c\nd _e_\n", 3, 0, "x"},               // inside a style
        {"a b\n#tag\n", 3, 0, "\n```\nx\n```"},          // a fence before a tag
        {"```\nx\n```\n#tag\n", 9, 1, ""},               // the closing fence's line feed
        {"```\nx\n```\n#tag\n", 12, 0, "a"},             // a tag the fence's line feed touches
        {"`a\nb` c *d*\n", 4, 0, "`"},                   // a backtick run
        {"- [ ] a\n- b\n> c\n", 8, 0, "1. "},            // a new list item
        {"x\\\n*a*\n", 1, 1, ""},                        // an escape goes
        {"~~~\na\nb", 7, 0, "c"},                        // typed at the end of an open fence
        {"~~~\na\nb", 7, 0, "\n"},                       // a line begun there
        {"~~~\na\nb", 7, 0, "\n~~~"},                    // the fence closed there
        {"#t\n```\n", 7, 0, "*a* `b` #c [[d]]"},         // syntax typed in it, left unread
        {"```\ncode", 7, 2, ""},                        // erased at its end
        {"`a\n*b*\nc\n", 8, 0, "`"},                    // an opener lines above closed
        {"x `a\n*b*` c\n", 8, 1, ""},                   // a span over lines unclosed
        {"```\nx\n```\n`a` *b* `c`\n```\ny\n```\n", 10, 0, "`"}, // pairs between blocks
        {"```\n`a`\n```\n*b*\n", 4, 0, "`"},             // a backtick in a block
    };
    for (const Edit& edit : edits) {
        const QString before = QString::fromUtf8(edit.before);
        QString after = before;
        after.replace(edit.position, edit.removed, QString::fromUtf8(edit.added));
        SCOPED_TRACE(after.toStdString());
        EXPECT_EQ(MarkdownAnalysis::afterEdit(MarkdownAnalysis::of(before), after, edit.position, edit.removed,
                                              QString::fromUtf8(edit.added).size()),
                  MarkdownAnalysis::of(after));
    }
}

// Random typing and deleting in a text of Markdown fragments: every
// analysis made from the previous one equals the analysis of the text.
TEST(MarkdownAnalysisTest, RandomEditsKeepTheAnalysisExact)
{
    const QStringList pieces = {"*", "**", "_", "`", "```", "~~", "==", "#", "# ", "> ", "- ", "1. ", "[ ] ", "[[",
                                "]]", "[", "](", ")", "|", "\\", "!", "https://a.b", "\n", " ", "mot", "é", "    ", "~~~"};
    std::mt19937 random(20261207);
    const auto pick = [&](qsizetype bound) { return qsizetype(random() % quint32(bound)); };
    QString text;
    for (int i = 0; i < 60; ++i)
        text += pieces[pick(pieces.size())];
    MarkdownAnalysis analysis = MarkdownAnalysis::of(text);
    for (int step = 0; step < 1000; ++step) {
        const qsizetype position = pick(text.size() + 1);
        const qsizetype removed = random() % 3 == 0 ? pick(std::min<qsizetype>(text.size() - position, 6) + 1) : 0;
        const QString added = random() % 4 == 0 ? QString() : pieces[pick(pieces.size())];
        text.replace(position, removed, added);
        analysis = MarkdownAnalysis::afterEdit(std::move(analysis), text, position, removed, added.size());
        const MarkdownAnalysis expected = MarkdownAnalysis::of(text);
        ASSERT_EQ(analysis, expected) << "step " << step << ": " << text.toStdString();
    }
}

} // namespace
