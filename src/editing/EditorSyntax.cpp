#include "editing/EditorSyntax.h"

#include "core/Regex.h"
#include "core/TextLines.h"
#include "editing/CodeSyntax.h"
#include "editing/WholeLines.h"

#include <algorithm>
#include <string_view>

using namespace std::string_view_literals;

namespace quillor {
namespace EditorSyntax {

namespace {

// ---------------------------------------------------------------------------
// Link ranges
//
// The links are the matches, in text order, of
//   \[\[[^\]\n]+\]\]|\[[^\]\n]*\]\((?:\\.|[^\\()\n]|\([^()\n]*\))*\)|https?://[^\s<>\[\]`]+
// scanned by hand: the expression restarts at every "[" and runs to the next
// "]" each time, which is quadratic on a long line of unclosed brackets. Each
// alternative has a single way to match, so a left-to-right scan that tries
// them in order at each position gives the same matches.

// White space as the regex engine's \s knows it with Unicode properties.
bool isRegexSpace(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 || c == 0x180E
        || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// What "." refuses under the any-newline convention.
bool isRegexNewline(char16_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool endsBareUrl(char16_t c)
{
    return isRegexSpace(c) || c == u'<' || c == u'>' || c == u'[' || c == u']' || c == u'`';
}

class LinkScanner {
public:
    explicit LinkScanner(QStringView text) : m_text(text) {}

    QList<TextRange> links()
    {
        QList<TextRange> found;
        const qsizetype n = m_text.size();
        qsizetype i = 0;
        const QChar* data = m_text.data();
        while (i < n) {
            if (data[i] != u'[' && data[i] != u'h') {   // nothing else starts a link
                ++i;
                continue;
            }
            const std::optional<qsizetype> end = matchAt(i);
            if (end) {
                found.append(TextRange::fromBounds(i, *end));
                i = *end;
            } else {
                ++i;
            }
        }
        return found;
    }

private:
    std::optional<qsizetype> matchAt(qsizetype i)
    {
        const QChar c = m_text[i];
        if (c == u'[') {
            // [^\]\n]* from i + 1; a second "[" is not a stop, so the wiki
            // alternative's run from i + 2 ends at the same place.
            const qsizetype stop = bracketStop(i + 1);
            if (const auto wiki = wikiEnd(i, stop))
                return wiki;
            return markdownEnd(stop);
        }
        if (c == u'h')
            return bareUrlEnd(i);
        return std::nullopt;
    }

    QChar at(qsizetype i) const { return i < m_text.size() ? m_text[i] : QChar(); }

    // The first "]" or line feed at or after `from` (or the end). Queries never
    // go backwards past a cached stop, so the text is scanned once.
    qsizetype bracketStop(qsizetype from)
    {
        if (from >= m_stopFrom && from <= m_stop)
            return m_stop;
        qsizetype i = from;
        while (i < m_text.size() && m_text[i] != u']' && m_text[i] != u'\n')
            ++i;
        m_stopFrom = from;
        m_stop = i;
        return i;
    }

    std::optional<qsizetype> wikiEnd(qsizetype i, qsizetype stop) const
    {
        if (at(i + 1) == u'[' && stop > i + 2 && at(stop) == u']' && at(stop + 1) == u']')
            return stop + 2;
        return std::nullopt;
    }

    std::optional<qsizetype> markdownEnd(qsizetype closingBracket)
    {
        if (at(closingBracket) != u']' || at(closingBracket + 1) != u'(')
            return std::nullopt;
        // Brackets that share this "](" share its target: scan it once.
        if (closingBracket != m_targetBracket) {
            m_targetBracket = closingBracket;
            m_targetEnd = targetEnd(closingBracket + 2);
        }
        return m_targetEnd;
    }

    // (?:\\.|[^\\()\n]|\([^()\n]*\))*\) from `from`: the alternatives start
    // with different characters, so there is nothing to backtrack into.
    std::optional<qsizetype> targetEnd(qsizetype from) const
    {
        const qsizetype n = m_text.size();
        qsizetype i = from;
        while (i < n) {
            const QChar c = m_text[i];
            if (c == u')')
                return i + 1;
            if (c == u'\n')
                return std::nullopt;
            if (c == u'\\') {
                if (i + 1 == n || isRegexNewline(m_text[i + 1].unicode()))
                    return std::nullopt;
                i += 2;
            } else if (c == u'(') {
                qsizetype j = i + 1;
                while (j < n && m_text[j] != u'(' && m_text[j] != u')' && m_text[j] != u'\n')
                    ++j;
                if (at(j) != u')')
                    return std::nullopt;
                i = j + 1;
            } else {
                ++i;
            }
        }
        return std::nullopt;
    }

    std::optional<qsizetype> bareUrlEnd(qsizetype i) const
    {
        const QStringView rest = m_text.mid(i);
        qsizetype start;
        if (rest.startsWith(QLatin1String("https://")))
            start = i + 8;
        else if (rest.startsWith(QLatin1String("http://")))
            start = i + 7;
        else
            return std::nullopt;
        qsizetype end = start;
        while (end < m_text.size() && !endsBareUrl(m_text[end].unicode()))
            ++end;
        if (end == start)
            return std::nullopt;
        return end;
    }

    QStringView m_text;
    qsizetype m_stopFrom = -1;
    qsizetype m_stop = -1;
    qsizetype m_targetBracket = -1;
    std::optional<qsizetype> m_targetEnd;
};

// Both lists are sorted and code ranges do not overlap one another.
QList<TextRange> outside(const QList<TextRange>& ranges, const QList<TextRange>& code)
{
    QList<TextRange> kept;
    qsizetype c = 0;
    for (const TextRange& range : ranges) {
        while (c < code.size() && code[c].end() <= range.location)
            ++c;
        bool hit = false;
        for (qsizetype k = c; k < code.size() && code[k].location < range.end(); ++k) {
            if (code[k].overlaps(range)) {
                hit = true;
                break;
            }
        }
        if (!hit)
            kept.append(range);
    }
    return kept;
}

bool intersectsAny(const QList<TextRange>& ranges, TextRange range)
{
    return std::any_of(ranges.begin(), ranges.end(), [&](const TextRange& r) { return r.overlaps(range); });
}

// ---------------------------------------------------------------------------
// Completion

// Code and links, computed only once a candidate context needs them. Every
// context lies on the caret's line, and no link crosses a line feed: the links
// are read from the caret's line alone, as the editor reads an edited line's,
// from the line feed before it, so that a key costs its line, not the text.
class Exclusions {
public:
    Exclusions(const QString& text, qsizetype caret, const QList<TextRange>* knownCode)
        : m_text(text), m_caret(caret), m_knownCode(knownCode)
    {
    }

    const QList<TextRange>& code()
    {
        if (m_knownCode)
            return *m_knownCode;
        if (!m_code)
            m_code = codeRanges(m_text);
        return *m_code;
    }

    const QList<TextRange>& links()
    {
        if (!m_links) {
            const TextRange line = wholeLines(m_text, TextRange{m_caret, 0});
            const qsizetype from = std::max<qsizetype>(line.location - 1, 0);
            QList<TextRange> lineCode;
            for (const TextRange& range : code()) {
                const qsizetype start = std::max(range.location, from);
                const qsizetype end = std::min(range.end(), line.end());
                if (start < end)
                    lineCode.append(TextRange::fromBounds(start - from, end - from));
            }
            m_links = outside(LinkScanner(QStringView(m_text).mid(from, line.end() - from)).links(), lineCode);
            for (TextRange& link : *m_links)
                link.location += from;
        }
        return *m_links;
    }

    bool intersect(TextRange range) { return intersectsAny(code(), range) || intersectsAny(links(), range); }

private:
    const QString& m_text;
    qsizetype m_caret;
    const QList<TextRange>* m_knownCode;
    std::optional<QList<TextRange>> m_code;
    std::optional<QList<TextRange>> m_links;
};

// A context never reaches across a line break: the caret's line is all the
// patterns below need to see.
qsizetype lineStart(QStringView text, qsizetype caret)
{
    qsizetype start = caret;
    while (start > 0 && !TextLines::isLineBreak(text[start - 1]))
        --start;
    return start;
}

bool endsNoteQuery(QChar c) { return c == u'[' || c == u']' || c == u'|' || c == u'#' || TextLines::isLineBreak(c); }

// ^[^\[\]\n\r]*\]\] from `from`: the end of the "]]" that already closes the
// link after the caret.
std::optional<qsizetype> closingBrackets(QStringView text, qsizetype from)
{
    qsizetype i = from;
    while (i < text.size() && text[i] != u'[' && text[i] != u']' && !TextLines::isLineBreak(text[i]))
        ++i;
    if (i + 1 < text.size() && text[i] == u']' && text[i + 1] == u']')
        return i + 2;
    return std::nullopt;
}

enum class NoteOutcome { notApplicable, refused, found };

NoteOutcome noteContext(const QString& text, qsizetype caret, qsizetype start, Exclusions& exclusions,
                        CompletionContext& context)
{
    const QStringView line = QStringView(text).mid(start, caret - start);
    const qsizetype found = line.lastIndexOf(QLatin1String("[["));
    if (found < 0)
        return NoteOutcome::notApplicable;
    const qsizetype open = start + found;
    const QStringView query = QStringView(text).mid(open + 2, caret - open - 2);
    if (std::any_of(query.begin(), query.end(), endsNoteQuery))
        return NoteOutcome::notApplicable;

    const std::optional<qsizetype> closed = closingBrackets(text, open + 2);
    const TextRange range = TextRange::fromBounds(open, closed ? *closed : caret);
    if (intersectsAny(exclusions.code(), range))
        return NoteOutcome::refused;
    for (const TextRange& link : exclusions.links()) {
        if (link.location != open && link.overlaps(range))
            return NoteOutcome::refused;
    }
    if (open > 0 && text[open - 1] == u'!')
        return NoteOutcome::refused;
    context = {CompletionKind::note, range, query.toString()};
    return NoteOutcome::found;
}

// (?:^|\s)<prefix>[^\s@\[\]`]*, ending at the caret. "\z" rather than "$": "$"
// also matches before a final line break, which would offer a word of the
// previous line.
const Regex& destinationPattern(const QString& prefix)
{
    thread_local QString cachedPrefix;
    thread_local Regex cached;
    if (!cached.isValid() || cachedPrefix != prefix) {
        cachedPrefix = prefix;
        cached = Regex(QStringLiteral("(?:^|\\s)(") + Regex::escape(prefix) + QStringLiteral("[^\\s@\\[\\]`]*)\\z"));
    }
    return cached;
}

bool insideUnclosed(QStringView head, QStringView opening, QChar closing)
{
    const qsizetype open = head.lastIndexOf(opening);
    return open >= 0 && !head.mid(open + opening.size()).contains(closing);
}

std::optional<CompletionContext> destinationContext(const QString& text, TextRange line, const QString& prefix,
                                                    Exclusions& exclusions)
{
    if (prefix.isEmpty())
        return std::nullopt;
    const std::optional<RegexMatch> match = destinationPattern(prefix).firstMatch(text, line);
    if (!match)
        return std::nullopt;
    const TextRange token = match->range(1);
    const QStringView head = QStringView(text).left(token.location);
    if (insideUnclosed(head, u"[", u']') || insideUnclosed(head, u"](", u')'))
        return std::nullopt;
    if (exclusions.intersect(token))
        return std::nullopt;
    return CompletionContext{CompletionKind::destination, token, match->captured(1).mid(prefix.size())};
}

std::optional<CompletionContext> tagContext(const QString& text, TextRange line, Exclusions& exclusions)
{
    static const Regex pattern(QStringLiteral("(?:^|\\s)(#[\\p{L}\\p{N}_/\\-]*)\\z"));
    const std::optional<RegexMatch> match = pattern.firstMatch(text, line);
    if (!match)
        return std::nullopt;
    const TextRange range = match->range(1);
    if (exclusions.intersect(range))
        return std::nullopt;
    return CompletionContext{CompletionKind::tag, range, match->captured(1).mid(1)};
}

// ---------------------------------------------------------------------------
// External links

QStringView trimmedBlanks(QStringView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && (text[from] == u' ' || text[from] == u'\t'))
        ++from;
    while (to > from && (text[to - 1] == u' ' || text[to - 1] == u'\t'))
        --to;
    return text.mid(from, to - from);
}

const QStringList allowedSchemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto"),
                                    QStringLiteral("obsidian")};

QString markdownTarget(const QString& token)
{
    const qsizetype open = token.indexOf(QLatin1String("]("));
    QString target = trimmedBlanks(QStringView(token).mid(open + 2).chopped(1)).toString();
    const qsizetype close = target.indexOf(u'>');
    if (target.startsWith(u'<') && close > 0)
        return target.mid(1, close - 1);
    const auto space = std::find_if(target.cbegin(), target.cend(), [](QChar c) { return c.isSpace(); });
    target.truncate(space - target.cbegin());
    static const Regex escape(QStringLiteral("\\\\([\\\\()])"));
    return escape.replace(target, QStringLiteral("\\1"));
}

// Trailing punctuation and an unbalanced closing parenthesis end a sentence,
// not the address.
qsizetype detectedUrlLength(QStringView token)
{
    static const QString trailing = QStringLiteral(".,:;!?'\"");
    qsizetype length = token.size();
    while (length > 0) {
        const QChar last = token[length - 1];
        const QStringView kept = token.left(length);
        if (trailing.contains(last) || (last == u')' && kept.count(u'(') < kept.count(u')')))
            --length;
        else
            break;
    }
    return length;
}

std::optional<QUrl> acceptedUrl(const QString& target)
{
    const QUrl url(target, QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (!allowedSchemes.contains(scheme))
        return std::nullopt;
    if ((scheme == u"http" || scheme == u"https") && url.host().isEmpty())
        return std::nullopt;
    return url;
}

// The unsafe characters are all ASCII: one bit each, so that a completion
// list of a whole vault's links tests each character once.
bool hasUnsafeCharacter(const QString& text, std::u16string_view unsafe)
{
    quint64 low = 0;
    quint64 high = 0;
    for (const char16_t c : unsafe) {
        Q_ASSERT(c < 128);
        (c < 64 ? low : high) |= quint64(1) << (c % 64);
    }
    return std::any_of(text.cbegin(), text.cend(), [&](QChar c) {
        const char16_t u = c.unicode();
        return u < 128 && ((u < 64 ? low : high) >> (u % 64) & 1);
    });
}

// Whether a "/"-separated part of the path is "..", which leaves the vault.
bool climbsOut(QStringView path)
{
    qsizetype start = 0;
    for (qsizetype end = 0; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != u'/')
            continue;
        if (end - start == 2 && path[start] == u'.' && path[start + 1] == u'.')
            return true;
        start = end + 1;
    }
    return false;
}

// "[[" parts "]]", made in one allocation.
QString bracketed(std::initializer_list<QStringView> parts)
{
    qsizetype size = 4;
    for (const QStringView part : parts)
        size += part.size();
    QString link(size, Qt::Uninitialized);
    char16_t* out = std::copy_n(u"[[", 2, reinterpret_cast<char16_t*>(link.data()));
    for (const QStringView part : parts)
        out = std::copy_n(part.utf16(), part.size(), out);
    std::copy_n(u"]]", 2, out);
    return link;
}

} // namespace

// ---------------------------------------------------------------------------

QList<TextRange> codeRanges(const QString& text)
{
    QList<TextRange> ranges;
    for (const CodeSyntax::Span& span : CodeSyntax::spans(text))
        ranges.append(span.range);
    return ranges;
}

QList<TextRange> linkRanges(const QString& text)
{
    return linkRanges(text, codeRanges(text));
}

QList<TextRange> linkRanges(const QString& text, const QList<TextRange>& codeRanges)
{
    return outside(LinkScanner(text).links(), codeRanges);
}

std::optional<CompletionContext> completion(const QString& text, TextRange selection, const QString& prefix,
                                            const QList<TextRange>* code)
{
    const qsizetype caret = selection.location;
    if (!selection.isEmpty() || caret < 0 || caret > text.size())
        return std::nullopt;
    Exclusions exclusions(text, caret, code);
    const TextRange line = TextRange::fromBounds(lineStart(text, caret), caret);

    CompletionContext note;
    switch (noteContext(text, caret, line.location, exclusions, note)) {
    case NoteOutcome::found: return note;
    case NoteOutcome::refused: return std::nullopt;
    case NoteOutcome::notApplicable: break;
    }
    if (const auto destination = destinationContext(text, line, prefix, exclusions))
        return destination;
    return tagContext(text, line, exclusions);
}

RouteEdit routeEdit(const QString& text, TextRange fragment, const QString& prefix, const QString& alias)
{
    RouteEdit edit;
    edit.removed.append(fragment);
    if (text.startsWith(prefix) && fragment.location != 0) {
        const auto space = std::find_if(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
        qsizetype length = space - text.cbegin();
        if (length < text.size() && text[length] == u' ')
            ++length;
        edit.removed.append({0, length});
    }
    edit.insertion = prefix + alias + u' ';
    qsizetype removedBefore = 0;
    for (const TextRange& range : edit.removed) {
        if (range.location <= fragment.location)
            removedBefore += range.length;
    }
    edit.cursor = fragment.end() - removedBefore + edit.insertion.size();
    std::stable_sort(edit.removed.begin(), edit.removed.end(),
                     [](const TextRange& a, const TextRange& b) { return a.location > b.location; });
    return edit;
}

std::optional<QUrl> externalLink(const QString& text, qsizetype index)
{
    const QList<TextRange> links = linkRanges(text);
    const auto link = std::find_if(links.begin(), links.end(), [&](const TextRange& r) { return r.contains(index); });
    if (link == links.end())
        return std::nullopt;
    const QString token = text.mid(link->location, link->length);
    if (token.startsWith(QLatin1String("[[")) || (link->location > 0 && text[link->location - 1] == u'!'))
        return std::nullopt;
    if (token.startsWith(u'[') && token.contains(QLatin1String("](")))
        return acceptedUrl(markdownTarget(token));
    const qsizetype detected = detectedUrlLength(token);
    if (index - link->location >= detected)
        return std::nullopt;
    return acceptedUrl(token.left(detected));
}

std::optional<QString> wikiLink(const QString& path, const std::optional<QString>& label)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || hasUnsafeCharacter(trimmed, u"[]|#^\\\n\r\0"sv) || trimmed.startsWith(u'/'))
        return std::nullopt;
    if (climbsOut(trimmed))
        return std::nullopt;
    if (label && !label->isEmpty() && *label != trimmed) {
        if (hasUnsafeCharacter(*label, u"[]|\n\r\0"sv))
            return std::nullopt;
        return bracketed({trimmed, u"|", *label});
    }
    return bracketed({trimmed});
}

} // namespace EditorSyntax
} // namespace quillor
