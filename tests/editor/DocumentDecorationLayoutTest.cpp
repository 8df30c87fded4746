#include "editor/DocumentDecorationLayout.h"

#include "editing/GlyphPresentation.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace quillor;

// The lines meeting a rectangle are the same whichever paragraph the search
// starts from: the caret's, one far away, or none.
TEST(DocumentDecorationLayoutTest, TheLinesInARectangleDoNotDependOnWhereTheSearchStarts)
{
    QString text;
    for (int line = 0; line < 120; ++line)
        text += line % 7 == 0 ? QStringLiteral("\n") : QStringLiteral("une ligne de texte numéro %1 qui passe parfois à la ligne\n").arg(line);
    QTextDocument document(text);
    document.setTextWidth(220);
    const qreal height = document.documentLayout()->documentSize().height();
    const MarkdownGlyphPresentation glyphs;
    const DocumentDecorationLayout layout(document, text.size(), glyphs);
    for (qreal top = -10; top < height + 10; top += 7.5) {
        const QRectF rect(0, top, 200, 13);
        const TextRange expected = layout.charactersIn(rect, QTextBlock());
        for (const int near : {0, 3, 40, 59, 60, 61, 119, 120}) {
            ASSERT_EQ(layout.charactersIn(rect, document.findBlockByNumber(near)), expected)
                << "rectangle at " << top << ", from paragraph " << near;
        }
    }
}
