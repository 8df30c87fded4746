#include "editing/GlyphPresentation.h"

#include "editing/MarkdownAnalysis.h"
#include "editing/MarkdownDecorations.h"

#include "RandomMarkdownEdits.h"

#include <gtest/gtest.h>

using namespace quillor;
using Metrics = MarkdownGlyphPresentation::LineFragmentMetrics;

TEST(GlyphPresentationTest, HiddenAndControlSets)
{
    const struct {
        const char* name; QString text; QList<TextRange> selections; bool composing; QList<qsizetype> hidden, control;
    } cases[] = {
        {"active quote prefix shown", "> a\nx", {{1, 0}}, false, {}, {}},
        {"fence lines are control glyphs", "```\na\n```\nx", {{10, 0}}, false, {0, 1, 2, 6, 7, 8}, {0, 1, 2, 6, 7, 8}},
        {"control and null in one text", "> **a**", {}, false, {0, 1, 2, 3, 5, 6}, {0, 1}},
        {"composing shows everything", "> **a**", {}, true, {}, {}},
    };
    for (const auto& c : cases) {
        MarkdownGlyphPresentation presentation;
        presentation.update(nullptr, c.text, c.selections, c.composing);
        EXPECT_EQ(presentation.hiddenCharacters().indexes(), c.hidden) << c.name;
        EXPECT_EQ(presentation.hiddenControlCharacters().indexes(), c.control) << c.name;
        for (qsizetype i = 0; i < c.text.size(); ++i)
            EXPECT_EQ(presentation.isNullGlyph(i), c.hidden.contains(i) && !c.control.contains(i)) << c.name << i;
    }
}

// A missed change leaves stale glyphs on screen; a needless one costs a relayout.
TEST(GlyphPresentationTest, StaleOnlyWhenASetChanges)
{
    MarkdownGlyphPresentation presentation;
    EXPECT_FALSE(presentation.update(nullptr, "plain", {}, false)) << "nothing hidden before or after";
    EXPECT_TRUE(presentation.update(nullptr, "**a** x", {{7, 0}}, false));
    EXPECT_FALSE(presentation.update(nullptr, "**a** xy", {{8, 0}}, false)) << "typing after the emphasis";
    EXPECT_TRUE(presentation.update(nullptr, "**a** xy", {{1, 0}}, false)) << "caret into the emphasis";
    EXPECT_TRUE(presentation.update(nullptr, "**a** xy", {{8, 0}}, false));
    EXPECT_TRUE(presentation.update(nullptr, "**a** xy", {{8, 0}}, true)) << "composition starts";
    // The same hidden positions with another role still need new glyphs.
    EXPECT_TRUE(presentation.update(nullptr, "*a* x", {{5, 0}}, false));
    EXPECT_TRUE(presentation.update(nullptr, "`a` x", {{5, 0}}, false));
    EXPECT_EQ(presentation.glyphAction(0), MarkdownGlyphPresentation::GlyphAction::control);
}

TEST(GlyphPresentationTest, ForwardsToTheLayoutManagerAndMarksListLines)
{
    MarkdownLayoutManager manager;
    MarkdownGlyphPresentation presentation;
    presentation.update(&manager, "> a\n==b==", {{0, 0}}, false);
    EXPECT_TRUE(manager.quotes().isEmpty()) << "the caret is on the quote line";
    EXPECT_EQ(manager.highlights(), (QList<TextRange>{{6, 1}}));

    const QString text = "- a long item\ntext\n1. b";
    presentation.update(nullptr, text, {}, false);
    EXPECT_EQ(presentation.listLines(), (QList<TextRange>{{0, 14}, {19, 4}}));
    // A wrapped item's later lines start inside the item too.
    QList<qsizetype> listed;
    for (qsizetype location = 0; location <= text.size(); ++location) {
        if (presentation.isListFragment(location))
            listed.append(location);
    }
    EXPECT_EQ(IndexSet({{0, 14}, {19, 4}}).indexes(), listed);
}

TEST(GlyphPresentationTest, LineFragmentHeight)
{
    MarkdownGlyphPresentation presentation;
    presentation.update(nullptr, "plain\n- item", {}, false);
    const TextRange plain{0, 6}, wrapped{9, 3};
    const struct { const char* name; Metrics before; TextRange characters; qreal largestLineHeight; bool changed; Metrics after; } cases[] = {
        {"second fragment of a wrapped list line", {17, 17, 13}, wrapped, 17, true, {28.5, 28.5, 18.75}},
        {"growth of exactly 0.01", {18.99, 18.99, 13}, plain, 17, false, {18.99, 18.99, 13}},
        {"already taller (an image)", {200, 200, 180}, plain, 17, false, {200, 200, 180}},
        {"no font on the line", {17, 17, 13}, plain, 0, false, {17, 17, 13}},
    };
    for (const auto& c : cases) {
        Metrics metrics = c.before;
        EXPECT_EQ(presentation.shouldSetLineFragmentRect(metrics, c.characters, c.largestLineHeight), c.changed) << c.name;
        EXPECT_NEAR(metrics.height, c.after.height, 1e-9) << c.name;
        EXPECT_NEAR(metrics.usedHeight, c.after.usedHeight, 1e-9) << c.name;
        EXPECT_NEAR(metrics.baselineOffset, c.after.baselineOffset, 1e-9) << c.name;
    }
    // The same rule for a whole paragraph: a fixed height, or a minimum one
    // when an image is taller than the target (or within 0.01 of it).
    using Height = MarkdownGlyphPresentation::ParagraphLineHeight;
    const struct { qreal lineHeight; qreal object; bool listLine; Height expected; } paragraphs[] = {
        {17, 0, false, {19, false}},
        {17, 0, true, {28.5, false}},
        {17, 200, false, {19, true}},
        {17, 18.99, false, {19, true}},
        {0, 17, false, {}},
    };
    for (const auto& p : paragraphs) {
        EXPECT_EQ(MarkdownGlyphPresentation::paragraphLineHeight(p.lineHeight, p.object, p.listLine), p.expected)
            << p.lineHeight << " " << p.object << " " << p.listLine;
    }
}

// Random typing, deleting and selecting in a text of Markdown fragments, fences
// far from the caret included: the sets decided again only around each change
// equal those of a presentation deciding them over the whole text.
TEST(GlyphPresentationTest, SetsDecidedAroundEachChangeEqualThoseOfTheWholeText)
{
    const QStringList pieces = {"*", "**", "_", "`", "```\n", "~~", "==", "# ", "> ", ">> ", "- ", "1. ", "- [ ] ",
                                "[x] ", "[[", "]]", "[", "](", ")", "|", "\\", "\n", " ", "mot", "é", "~~~\n", "#tag "};
    test::RandomMarkdownEdits edits(pieces, 20261208);
    const QString& text = edits.text;
    MarkdownGlyphPresentation presentation;
    presentation.update(nullptr, text, edits.analysis, {TextRange{0, 0}}, false);
    for (int step = 0; step < 1500; ++step) {
        const TextChange change = edits.edit();
        const QList<TextRange> selections = edits.selectionsAfter(change);
        const bool composing = edits.oneIn(40);
        presentation.update(nullptr, text, edits.analysis, selections, composing, change);
        MarkdownGlyphPresentation whole;
        whole.update(nullptr, text, MarkdownAnalysis::of(text), selections, composing);
        ASSERT_EQ(presentation.hiddenCharacters(), whole.hiddenCharacters()) << "step " << step << ": "
                                                                             << text.toStdString();
        ASSERT_EQ(presentation.hiddenControlCharacters(), whole.hiddenControlCharacters()) << "step " << step;
        ASSERT_EQ(presentation.listLines(), whole.listLines()) << "step " << step;
    }
}

// Typed at the end of a fence left open, the code grows with every key: the
// sets decided around each key equal those of the whole text, the caret at
// the end, as the key after it moves on.
TEST(GlyphPresentationTest, TypingAtTheEndOfAnOpenFenceDecidesAsTheWholeText)
{
    QString text = QStringLiteral("**gras** et #tag\n```cpp\n");
    MarkdownAnalysis analysis = MarkdownAnalysis::of(text);
    MarkdownGlyphPresentation presentation;
    presentation.update(nullptr, text, analysis, {TextRange{text.size(), 0}}, false);
    for (const QChar key : QStringLiteral("int *a* = `b`;\n# pas un titre\n``\n```\n**gras**")) {
        const TextChange change{text.size(), 0, 1};
        text += key;
        analysis = MarkdownAnalysis::afterEdit(std::move(analysis), text, change.position, 0, 1);
        const QList<TextRange> caret{TextRange{text.size(), 0}};
        presentation.update(nullptr, text, analysis, caret, false, change);
        MarkdownGlyphPresentation whole;
        whole.update(nullptr, text, MarkdownAnalysis::of(text), caret, false);
        ASSERT_EQ(presentation.hiddenCharacters(), whole.hiddenCharacters()) << text.toStdString();
        ASSERT_EQ(presentation.listLines(), whole.listLines()) << text.toStdString();
    }
}
