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
    const QStringList pieces = {"*", "**", "_", "`", "```\n", "~~", "==", "# ", "> ", ">> ", "- ", "1. ", "10. ",
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
