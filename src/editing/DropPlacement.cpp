#include "editing/DropPlacement.h"

#include "core/Routing.h"
#include "core/TextRange.h"
#include "editing/CodeSyntax.h"
#include "editing/EditorSyntax.h"

#include <QList>

namespace quillor::DropPlacement {

namespace {

// A fence line with the line break after it: text put right after the fence
// would become its language.
TextRange withLineBreak(const QString& text, TextRange line)
{
    return line.end() < text.size() && text[line.end()] == u'\n' ? TextRange{line.location, line.length + 1} : line;
}

QList<TextRange> constructs(const QString& text, bool images)
{
    QList<TextRange> found;
    for (const CodeSyntax::Span& span : CodeSyntax::spans(text)) {
        if (images) {
            found.append(span.range);
            continue;
        }
        for (const TextRange& delimiter : span.delimiters)
            found.append(span.fenced ? withLineBreak(text, delimiter) : delimiter);
    }
    for (const TextRange& link : EditorSyntax::linkRanges(text)) {
        if (!QStringView(text).mid(link.location).startsWith(QLatin1String("[[")))
            continue;
        const bool embed = link.location > 0 && text[link.location - 1] == u'!';
        found.append(embed ? TextRange{link.location - 1, link.length + 1} : link);
    }
    return found;
}

} // namespace

qsizetype insertionIndex(const QString& text, qsizetype index, bool images)
{
    const QList<TextRange> closed = constructs(text, images);
    // Leaving one construct may land inside another that ends later.
    for (bool moved = true; moved;) {
        moved = false;
        for (const TextRange& construct : closed) {
            if (construct.location < index && index < construct.end()) {
                index = construct.end();
                moved = true;
            }
        }
    }
    return index;
}

Insertion insertion(const QString& text, qsizetype index, bool images, const QString& routePrefix)
{
    const qsizetype wordEnd = Routing::prefixWordEnd(text, routePrefix);
    if (wordEnd == 0 || index > wordEnd)
        return Insertion{insertionIndex(text, index, images), false};
    if (wordEnd == text.size())
        return Insertion{wordEnd, true};
    return Insertion{insertionIndex(text, wordEnd + 1, images), false};
}

} // namespace quillor::DropPlacement
