#include "core/Routing.h"

#include "core/CaptureError.h"
#include "core/TextFolding.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace quillor {

namespace {

// Position of the first white space (any Unicode White_Space, line breaks
// included) from `from` on, or the end of the text.
qsizetype firstSpace(const QString& text, qsizetype from)
{
    qsizetype position = from;
    while (position < text.size()) {
        const QChar unit = text.at(position);
        qsizetype width = 1;
        char32_t codePoint = unit.unicode();
        if (unit.isHighSurrogate() && position + 1 < text.size() && text.at(position + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(unit, text.at(position + 1));
            width = 2;
        }
        if (QChar::isSpace(codePoint))
            return position;
        position += width;
    }
    return position;
}

bool hasToken(const Destination& destination, const QString& word)
{
    const QStringList tokens = destination.routingTokens();
    return std::any_of(tokens.begin(), tokens.end(),
                       [&](const QString& token) { return TextFolding::equalsIgnoringCase(token, word); });
}

QString withoutLeadingBlanks(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && (text.at(start) == QLatin1Char(' ') || text.at(start) == QLatin1Char('\t')))
        ++start;
    return text.mid(start);
}

} // namespace

namespace Routing {

qsizetype prefixWordEnd(const QString& text, const QString& prefix)
{
    if (prefix.isEmpty() || !text.startsWith(prefix))
        return 0;
    return firstSpace(text, prefix.size());
}

Route resolve(const QString& text, const QString& prefix, const QList<Destination>& destinations,
              const Destination& fallback)
{
    const qsizetype wordEnd = prefixWordEnd(text, prefix);
    if (wordEnd == 0)
        return Route{fallback, text};

    const QString word = text.mid(prefix.size(), wordEnd - prefix.size());

    // An ambiguous word is as unknown as a missing one: no tie-break.
    QList<Destination> matches;
    for (const Destination& destination : destinations) {
        if (hasToken(destination, word))
            matches.append(destination);
    }
    if (matches.size() != 1)
        throw CaptureError::unknownDestination(word);
    return Route{matches.first(), withoutLeadingBlanks(text.mid(wordEnd))};
}

bool isUsablePrefix(const QString& prefix)
{
    if (prefix.isEmpty())
        return false;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, prefix);
    if (graphemes.toNextBoundary() != prefix.size())
        return false;
    const char32_t first = prefix.toUcs4().constFirst();
    return !QChar::isLetter(first) && !QChar::isNumber(first) && !QChar::isSpace(first);
}

} // namespace Routing

RouteResolution RouteResolution::evaluate(const QString& text, const QString& prefix,
                                          const QList<Destination>& destinations, const Destination& fallback)
{
    try {
        return resolved(Routing::resolve(text, prefix, destinations, fallback));
    } catch (const Error& error) {
        return unresolved(error.localizedDescription());
    }
}

} // namespace quillor
