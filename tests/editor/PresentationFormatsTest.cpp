#include "editor/PresentationFormats.h"

#include "editing/GlyphPresentation.h"
#include "editing/MarkdownAnalysis.h"

#include "../editing/RandomMarkdownEdits.h"

#include <QFont>

#include <gtest/gtest.h>

using namespace quillor;

namespace {

// The looks of every character and the indent of every line.
void expectSameLooks(const PresentationFormats& decided, const PresentationFormats& whole, const QString& text,
                     int step)
{
    ASSERT_EQ(decided.columnWidth(), whole.columnWidth()) << "step " << step << ": " << text.toStdString();
    for (qsizetype i = 0; i < text.size(); ++i)
        ASSERT_EQ(decided.look(i), whole.look(i)) << "step " << step << " at " << i << ": " << text.toStdString();
    for (qsizetype start = 0;;) {
        ASSERT_EQ(decided.leftMargin(start), whole.leftMargin(start)) << "step " << step << " line at " << start;
        const qsizetype feed = text.indexOf(u'\n', start);
        if (feed < 0)
            break;
        start = feed + 1;
    }
}

} // namespace

// Random typing, deleting and selecting in a text of Markdown fragments:
// looks decided again only around each change, with the concealment decided
// the same way, equal those of formats decided over the whole text.
TEST(PresentationFormatsTest, LooksDecidedAroundEachChangeEqualThoseOfTheWholeText)
{
    const QStringList pieces = {"*", "**", "_", "`", "```\n", "~~", "==", "# ", "> ", ">> ", "- ", "1. ", "10. ", "100. ",
                                "- [ ] ", "[x] ", "[[", "]]", "[", "](", ")", "\\", "\n", " ", "mot", "#tag ",
                                "~~~\n", "https://a.b ", "\t"};
    const EditorFonts fonts(QFont(QStringLiteral("Sans"), 13));
    test::RandomMarkdownEdits edits(pieces, 20261211);
    const QString& text = edits.text;
    QList<TextRange> selections{TextRange{0, 0}};
    MarkdownGlyphPresentation glyphs;
    glyphs.update(nullptr, text, edits.analysis, selections, false);
    PresentationFormats formats;
    formats.update(text, edits.analysis, selections, glyphs, fonts);
    for (int step = 0; step < 600; ++step) {
        const TextChange change = edits.edit();
        selections = edits.selectionsAfter(change);
        glyphs.update(nullptr, text, edits.analysis, selections, false, change);
        formats.update(text, edits.analysis, selections, glyphs, fonts, change);

        const MarkdownAnalysis fresh = MarkdownAnalysis::of(text);
        MarkdownGlyphPresentation wholeGlyphs;
        wholeGlyphs.update(nullptr, text, fresh, selections, false);
        PresentationFormats whole;
        whole.update(text, fresh, selections, wholeGlyphs, fonts);
        expectSameLooks(formats, whole, text, step);
        if (HasFatalFailure())
            return;
    }
}

// The list column is as wide as the widest ordered marker: it follows markers
// typed, moved by edits above them, and deleted, decided around each change.
TEST(PresentationFormatsTest, TheListColumnFollowsTheWidestOrderedMarker)
{
    const EditorFonts fonts(QFont(QStringLiteral("Sans"), 13));
    QString text = QStringLiteral("1. un\n- deux\n100. trois\nfin\n");
    MarkdownAnalysis analysis = MarkdownAnalysis::of(text);
    const QList<TextRange> caret{TextRange{0, 0}};
    MarkdownGlyphPresentation glyphs;
    glyphs.update(nullptr, text, analysis, caret, false);
    PresentationFormats formats;
    formats.update(text, analysis, caret, glyphs, fonts);
    const qreal widest = formats.columnWidth();
    int step = 0;
    const auto replace = [&](const QString& old, const QString& added) {
        const TextChange change{text.indexOf(old), old.size(), added.size()};
        text.replace(change.position, change.removed, added);
        analysis = MarkdownAnalysis::afterEdit(std::move(analysis), text, change.position, change.removed,
                                               change.added);
        glyphs.update(nullptr, text, analysis, caret, false, change);
        formats.update(text, analysis, caret, glyphs, fonts, change);
        MarkdownGlyphPresentation wholeGlyphs;
        wholeGlyphs.update(nullptr, text, analysis, caret, false);
        PresentationFormats whole;
        whole.update(text, analysis, caret, wholeGlyphs, fonts);
        expectSameLooks(formats, whole, text, ++step);
    };
    replace(QStringLiteral("1. un\n"), QStringLiteral("10. zéro\n1. un\n"));
    replace(QStringLiteral("100. trois\n"), QString());
    EXPECT_LT(formats.columnWidth(), widest);
    replace(QStringLiteral("fin"), QStringLiteral("100. fin"));
    EXPECT_EQ(formats.columnWidth(), widest);
    replace(QStringLiteral("10. zéro\n1. un\n- deux\n"), QString());
    replace(QStringLiteral("100. fin"), QStringLiteral("- fin"));
    EXPECT_LT(formats.columnWidth(), widest);
}
