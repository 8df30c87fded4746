#include "editor/PresentationFormats.h"

#include "editing/GlyphPresentation.h"
#include "editing/MarkdownAnalysis.h"

#include <QFont>

#include <gtest/gtest.h>

#include <random>

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
    std::mt19937 random(20261211);
    const auto pick = [&](qsizetype bound) { return qsizetype(random() % quint32(bound)); };
    QString text;
    for (int i = 0; i < 120; ++i)
        text += pieces[pick(pieces.size())];
    MarkdownAnalysis analysis = MarkdownAnalysis::of(text);
    QList<TextRange> selections{TextRange{0, 0}};
    MarkdownGlyphPresentation glyphs;
    glyphs.update(nullptr, text, analysis, selections, false);
    PresentationFormats formats;
    formats.update(text, analysis, selections, glyphs, fonts);
    for (int step = 0; step < 600; ++step) {
        TextChange change;
        if (random() % 3 != 0) {
            const QString added = random() % 4 == 0 ? QString() : pieces[pick(pieces.size())];
            change.position = pick(text.size() + 1);
            change.removed = random() % 3 == 0 ? pick(std::min<qsizetype>(text.size() - change.position, 8) + 1) : 0;
            change.added = added.size();
            text.replace(change.position, change.removed, added);
            analysis = MarkdownAnalysis::afterEdit(std::move(analysis), text, change.position, change.removed,
                                                   change.added);
        }
        const qsizetype a = random() % 2 ? change.position + change.added : pick(text.size() + 1);
        const qsizetype b = random() % 4 == 0 ? pick(text.size() + 1) : a;
        selections = {TextRange::fromBounds(std::min(a, b), std::max(a, b))};
        glyphs.update(nullptr, text, analysis, selections, false, change);
        formats.update(text, analysis, selections, glyphs, fonts, change);

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
