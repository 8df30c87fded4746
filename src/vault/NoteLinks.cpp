#include "vault/NoteLinks.h"

#include "core/TextFolding.h"
#include "editing/EditorSyntax.h"
#include "vault/CodePointOrder.h"

#include <algorithm>

namespace quillor {
namespace NoteLinks {

namespace {

// The first non-empty piece between separators ("|label" gives "label"), or
// the empty text.
QString firstPiece(const QString& text, QChar separator)
{
    const QStringList pieces = text.split(separator, Qt::SkipEmptyParts);
    return pieces.isEmpty() ? QString() : pieces.first();
}

std::optional<TextRange> linkRangeAt(const QString& text, qsizetype index)
{
    const QList<TextRange> ranges = EditorSyntax::linkRanges(text);
    const auto found = std::find_if(ranges.cbegin(), ranges.cend(),
                                    [index](const TextRange& range) { return range.contains(index); });
    if (found == ranges.cend())
        return std::nullopt;
    return *found;
}

std::optional<EditorLink> wikiLinkIn(QStringView link)
{
    const QString inner = link.mid(2, link.size() - 4).toString();
    const QString target = firstPiece(firstPiece(inner, QLatin1Char('|')), QLatin1Char('#'));
    if (!EditorSyntax::wikiLink(target, std::nullopt))
        return std::nullopt;
    return EditorLink::wiki(target);
}

QString withoutMarkdownExtension(const QString& target)
{
    return target.endsWith(QLatin1String(".md"), Qt::CaseInsensitive) ? target.chopped(3) : target;
}

QString lastComponent(const QString& path)
{
    // A trailing "/" does not make the last component empty ("a/b/" gives "b").
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == QLatin1Char('/'))
        --end;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    if (slash < 0 || end == 1)
        return path.left(end);
    return path.mid(slash + 1, end - slash - 1);
}

template <typename Key>
QStringList sortedMatches(const QString& key, const QStringList& paths, Key keyOf)
{
    QStringList found;
    for (const QString& path : paths) {
        if (TextFolding::equalsIgnoringCaseAndDiacritics(keyOf(path), key))
            found.append(path);
    }
    std::sort(found.begin(), found.end(), CodePointOrder::less);
    return found;
}

} // namespace

std::optional<EditorLink> link(const QString& text, qsizetype index)
{
    if (index < 0 || index >= text.size())
        return std::nullopt;
    const std::optional<TextRange> range = linkRangeAt(text, index);
    if (!range)
        return std::nullopt;
    // An image embed shows the image; it is not a link to follow.
    if (range->location > 0 && text[range->location - 1] == QLatin1Char('!'))
        return std::nullopt;
    const QStringView linkText = QStringView(text).mid(range->location, range->length);
    if (linkText.startsWith(QLatin1String("[[")))
        return wikiLinkIn(linkText);
    if (const std::optional<QUrl> url = EditorSyntax::externalLink(text, index))
        return EditorLink::external(*url);
    return std::nullopt;
}

QStringList matches(const QString& target, const QStringList& paths)
{
    const QString key = withoutMarkdownExtension(target);
    const QStringList whole = sortedMatches(key, paths, [](const QString& path) { return path; });
    if (!whole.isEmpty())
        return whole;
    return sortedMatches(key, paths, lastComponent);
}

} // namespace NoteLinks
} // namespace quillor
