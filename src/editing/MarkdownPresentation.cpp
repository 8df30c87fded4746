#include "editing/MarkdownPresentation.h"

#include "core/Regex.h"
#include "editing/CodeSyntax.h"
#include "editing/EditorSyntax.h"
#include "editing/ListSyntax.h"
#include "editing/MarkdownAnalysis.h"
#include "editing/QuoteSyntax.h"
#include "editing/WholeLines.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <bitset>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

namespace quillor {

namespace {

// ---------------------------------------------------------------------------
// Characters as the regular-expression wrapper classifies them.
//
// The hand-written scanners below must agree with the wrapper exactly (its
// Unicode white space and its word class differ from QChar's notions), so the
// tables are filled by the wrapper itself, one Unicode plane at a time, the
// first time a character of that plane is asked about.

struct CharacterPlane {
    std::bitset<0x10000> word;           // \w
    std::bitset<0x10000> space;          // \s
    std::bitset<0x10000> tagCharacter;   // [\p{L}\p{N}_]
};

std::unique_ptr<CharacterPlane> buildPlane(int index)
{
    const char32_t base = char32_t(index) << 16;
    const int width = index == 0 ? 1 : 2;
    QString units;
    units.reserve(0x10000 * width);
    for (char32_t offset = 0; offset < 0x10000; ++offset) {
        const char32_t cp = base + offset;
        if (index > 0) {
            units += QChar(QChar::highSurrogate(cp));
            units += QChar(QChar::lowSurrogate(cp));
        } else {
            // Surrogate code points never reach a lookup: an unpaired one is read as U+FFFD.
            units += QChar::isSurrogate(cp) ? QChar(QChar::ReplacementCharacter) : QChar(char16_t(cp));
        }
    }
    auto plane = std::make_unique<CharacterPlane>();
    const auto mark = [&](const QString& pattern, std::bitset<0x10000>& bits) {
        for (const RegexMatch& found : Regex(pattern).matches(units)) {
            const TextRange range = found.range();
            for (qsizetype unit = range.location; unit < range.end(); unit += width)
                bits.set(size_t(unit / width));
        }
    };
    mark(QStringLiteral("\\w+"), plane->word);
    mark(QStringLiteral("\\s+"), plane->space);
    mark(QStringLiteral("[\\p{L}\\p{N}_]+"), plane->tagCharacter);
    return plane;
}

const CharacterPlane& planeOf(char32_t cp)
{
    if (cp < 0x10000) {
        static const std::unique_ptr<CharacterPlane> basic = buildPlane(0);
        return *basic;
    }
    static std::array<std::once_flag, 17> built;
    static std::array<std::unique_ptr<CharacterPlane>, 17> planes;
    const size_t index = std::min<size_t>(cp >> 16, 16);
    std::call_once(built[index], [index] { planes[index] = buildPlane(int(index)); });
    return *planes[index];
}

bool isWord(char32_t cp) { return planeOf(cp).word.test(cp & 0xFFFF); }
bool isSpace(char32_t cp) { return planeOf(cp).space.test(cp & 0xFFFF); }
// A letter, a number or "_": what a tag starts with.
bool isTagStart(char32_t cp) { return planeOf(cp).tagCharacter.test(cp & 0xFFFF); }
bool isTagBody(char32_t cp) { return cp == u'/' || cp == u'-' || isTagStart(cp); }

// The code point starting at `i` (i < size); an unpaired surrogate reads as U+FFFD.
char32_t codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (!c.isSurrogate())
        return c.unicode();
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i + 1]);
    return QChar::ReplacementCharacter;
}

// The code point ending just before `i` (i > 0).
char32_t codePointBefore(QStringView text, qsizetype i)
{
    const QChar c = text[i - 1];
    if (!c.isSurrogate())
        return c.unicode();
    if (c.isLowSurrogate() && i >= 2 && text[i - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[i - 2], c);
    return QChar::ReplacementCharacter;
}

qsizetype codePointLength(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

// The line breaks of the wrapper's patterns: they end ".", and "^" matches
// after them in multi-line mode.
bool isPatternLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x0B || c == 0x0C || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// The number of units from `from` that satisfy `belongs`, no further than `limit`.
qsizetype runLength(QStringView text, qsizetype from, qsizetype limit, auto belongs)
{
    qsizetype end = from;
    while (end < limit && belongs(text[end]))
        ++end;
    return end - from;
}

// The text before `position` ends with an odd number of backslashes.
bool isEscaped(QStringView text, qsizetype position)
{
    qsizetype count = 0;
    for (qsizetype i = position - 1; i >= 0 && text[i] == u'\\'; --i)
        ++count;
    return count % 2 == 1;
}

// ---------------------------------------------------------------------------
// Overlap tests against a list of ranges, in logarithmic time.

class RangeSet {
public:
    explicit RangeSet(const QList<TextRange>& ranges)
    {
        for (const TextRange& range : ranges) {
            if (!range.isEmpty())
                m_ranges.push_back(range);
        }
        std::stable_sort(m_ranges.begin(), m_ranges.end(),
                         [](const TextRange& a, const TextRange& b) { return a.location < b.location; });
        qsizetype furthest = 0;
        for (const TextRange& range : m_ranges) {
            furthest = std::max(furthest, range.end());
            m_furthestEnd.push_back(furthest);
        }
    }

    // At least one unit in common with one of the ranges.
    bool overlaps(TextRange range) const
    {
        if (range.isEmpty())
            return false;
        // Ranges starting before `range` ends are the only candidates.
        const auto after = std::lower_bound(m_ranges.begin(), m_ranges.end(), range.end(),
                                            [](const TextRange& r, qsizetype end) { return r.location < end; });
        const auto count = after - m_ranges.begin();
        return count > 0 && m_furthestEnd[size_t(count - 1)] > range.location;
    }

private:
    std::vector<TextRange> m_ranges;
    std::vector<qsizetype> m_furthestEnd;
};

// Link ranges cost a pass over the text, and most tags stand on lines without
// any link: they are computed only when a link could reach the range.
class LazyLinks {
public:
    // The code ranges must outlive the value.
    LazyLinks(const QString& text, const QList<TextRange>& code) : m_text(text), m_code(code) {}

    bool overlaps(TextRange range)
    {
        if (!m_links)
            m_links.emplace(EditorSyntax::linkRanges(m_text, m_code));
        return m_links->overlaps(range);
    }

    // The same for ranges given in text order. A link holds no line feed and
    // starts with "[" or "http", so with neither on the line before the
    // range's end no link can overlap it.
    bool overlapsInOrder(TextRange range)
    {
        const QChar* units = m_text.constData();
        const qsizetype n = m_text.size();
        for (; m_scanned < range.end(); ++m_scanned) {
            const char16_t c = units[m_scanned].unicode();
            if (c == u'\n') {
                m_lineStart = m_scanned + 1;
            } else if (c == u'[' || (c == u'h' && m_scanned + 3 < n && units[m_scanned + 1] == u't'
                                     && units[m_scanned + 2] == u't' && units[m_scanned + 3] == u'p')) {
                m_lastLinkStart = m_scanned;
            }
        }
        return m_lastLinkStart >= m_lineStart && overlaps(range);
    }

private:
    const QString& m_text;
    const QList<TextRange>& m_code;
    std::optional<RangeSet> m_links;
    qsizetype m_scanned = 0;
    qsizetype m_lineStart = 0;
    qsizetype m_lastLinkStart = -1;
};

// ---------------------------------------------------------------------------
// Delimited styles: an opening run, at least one character on the same line
// (no line feed), the shortest stretch whose last character is not blank,
// then the closing run. Backtracking regular expressions retry the whole rest
// of the line for every opening run, which is quadratic on a long line full of
// unclosed openers. Whether a closing run may end a match does not depend on
// where the match started, so one forward scan finds, for each opener, the
// first closer after it with two pointers that only move forward: linear.

enum class Neighbour {
    Any,          // no condition
    NotMarker,    // not the marker character itself
    NotWord,      // not a word character
};

struct DelimiterRule {
    char16_t marker;
    qsizetype count;
    Neighbour before;     // before the opener; a backslash is never allowed there
    Neighbour after;      // after the closer
    bool loneOpener;      // the opener is not followed by one more marker
};

class DelimiterScanner {
public:
    DelimiterScanner(QStringView text, const DelimiterRule& rule) : m_text(text), m_rule(rule) {}

    QList<TextRange> matches()
    {
        QList<TextRange> found;
        const qsizetype n = m_text.size();
        const qsizetype k = m_rule.count;
        qsizetype p = m_text.indexOf(QChar(m_rule.marker));
        while (p >= 0 && p + k < n) {
            const std::optional<qsizetype> end = opensAt(p) ? matchEnd(p + k) : std::nullopt;
            if (end) {
                found.append(TextRange::fromBounds(p, *end));
                p = m_text.indexOf(QChar(m_rule.marker), *end);
            } else {
                p = m_text.indexOf(QChar(m_rule.marker), p + 1);
            }
        }
        return found;
    }

private:
    bool isRun(qsizetype at) const
    {
        if (at + m_rule.count > m_text.size())
            return false;
        for (qsizetype i = 0; i < m_rule.count; ++i) {
            if (m_text[at + i] != m_rule.marker)
                return false;
        }
        return true;
    }

    bool allows(Neighbour condition, char32_t cp) const
    {
        switch (condition) {
        case Neighbour::Any: return true;
        case Neighbour::NotMarker: return cp != m_rule.marker;
        case Neighbour::NotWord: return !isWord(cp);
        }
        return true;
    }

    // The opening run at p, with the first content character at p + count < size.
    bool opensAt(qsizetype p) const
    {
        const qsizetype contentStart = p + m_rule.count;
        if (!isRun(p))
            return false;
        if (p > 0) {
            const char32_t before = codePointBefore(m_text, p);
            if (before == u'\\' || !allows(m_rule.before, before))
                return false;
        }
        if (m_rule.loneOpener && m_text[contentStart] == m_rule.marker)
            return false;
        return !isSpace(codePointAt(m_text, contentStart));
    }

    // A closing run at q (q > 0) after a non-blank character.
    bool closesAt(qsizetype q) const
    {
        if (m_text[q] != m_rule.marker || !isRun(q) || isSpace(codePointBefore(m_text, q)))
            return false;
        const qsizetype after = q + m_rule.count;
        return after == m_text.size() || allows(m_rule.after, codePointAt(m_text, after));
    }

    // The end of the match whose content starts at contentStart, if any.
    std::optional<qsizetype> matchEnd(qsizetype contentStart)
    {
        const qsizetype n = m_text.size();
        if (m_lineFeed < contentStart) {
            m_lineFeed = m_text.indexOf(u'\n', contentStart);
            if (m_lineFeed < 0)
                m_lineFeed = n;
        }
        // The first closer that leaves at least one content character.
        if (m_closer < contentStart + 1) {
            m_closer = m_text.indexOf(QChar(m_rule.marker), contentStart + 1);
            while (m_closer >= 0 && !closesAt(m_closer))
                m_closer = m_text.indexOf(QChar(m_rule.marker), m_closer + 1);
            if (m_closer < 0)
                m_closer = n;
        }
        if (m_closer >= n || m_closer > m_lineFeed)
            return std::nullopt;
        return m_closer + m_rule.count;
    }

    QStringView m_text;
    DelimiterRule m_rule;
    qsizetype m_lineFeed = -1;   // first line feed at or after the last content start
    qsizetype m_closer = -1;     // first closer at or after the last earliest closer position
};

struct EmphasisRow {
    DelimiterRule rule;
    bool bold;
    bool italic;
};

// Bold-italic, bold, then italic; underscores must stand apart from words,
// asterisks from further asterisks.
constexpr std::array<EmphasisRow, 6> emphasisRows{{
    {{u'_', 3, Neighbour::NotWord, Neighbour::NotWord, false}, true, true},
    {{u'*', 3, Neighbour::NotMarker, Neighbour::NotMarker, false}, true, true},
    {{u'*', 2, Neighbour::NotMarker, Neighbour::NotMarker, false}, true, false},
    {{u'_', 2, Neighbour::NotWord, Neighbour::NotWord, false}, true, false},
    {{u'*', 1, Neighbour::NotMarker, Neighbour::NotMarker, true}, false, true},
    {{u'_', 1, Neighbour::NotWord, Neighbour::NotWord, true}, false, true},
}};

constexpr DelimiterRule strikeRule{u'~', 2, Neighbour::NotMarker, Neighbour::Any, false};
constexpr DelimiterRule highlightRule{u'=', 2, Neighbour::NotMarker, Neighbour::Any, false};

// ---------------------------------------------------------------------------
// Bracketed constructs, scanned by hand for the same reason: an unclosed
// opener must not cost the rest of the line each time.

// The first position at or after `from` holding one of `stops`, or the text's
// size. Queries must come with non-decreasing `from`.
class ForwardSearch {
public:
    ForwardSearch(QStringView text, std::u16string_view stops) : m_text(text), m_stops(stops) {}

    qsizetype from(qsizetype start)
    {
        if (m_found >= start)
            return m_found;
        m_found = start;
        while (m_found < m_text.size() && m_stops.find(m_text[m_found].unicode()) == std::u16string_view::npos)
            ++m_found;
        return m_found;
    }

private:
    QStringView m_text;
    std::u16string_view m_stops;
    qsizetype m_found = -1;
};

bool holds(QStringView text, qsizetype at, QStringView literal)
{
    return at >= 0 && at + literal.size() <= text.size() && text.mid(at, literal.size()) == literal;
}

// "![[" target "]]": the target is at least one character, with no "]" and no
// line feed.
QList<TextRange> imageEmbeds(QStringView text)
{
    QList<TextRange> found;
    ForwardSearch close(text, u"]\n");
    qsizetype p = text.indexOf(u'!');
    while (p >= 0) {
        const qsizetype targetEnd = holds(text, p, u"![[") ? close.from(p + 3) : p;
        if (targetEnd > p + 3 && holds(text, targetEnd, u"]]")) {
            found.append(TextRange::fromBounds(p, targetEnd + 2));
            p = text.indexOf(u'!', targetEnd + 2);
        } else {
            p = text.indexOf(u'!', p + 1);
        }
    }
    return found;
}

// A link with the range of its syntax and of the text it shows.
struct LinkMatch {
    TextRange range;
    TextRange visible;
};

// "[[" target ("|" label)? "]]"; the label is shown when there is one, else the target.
QList<LinkMatch> wikiLinks(QStringView text)
{
    QList<LinkMatch> found;
    ForwardSearch targetStop(text, u"]\n|");
    ForwardSearch labelStop(text, u"]\n");
    qsizetype p = text.indexOf(u"[[");
    while (p >= 0) {
        std::optional<LinkMatch> link;
        const qsizetype targetEnd = targetStop.from(p + 2);
        if (targetEnd > p + 2 && targetEnd < text.size()) {
            if (text[targetEnd] == u'|') {
                const qsizetype labelEnd = labelStop.from(targetEnd + 1);
                if (labelEnd > targetEnd + 1 && holds(text, labelEnd, u"]]"))
                    link = LinkMatch{TextRange::fromBounds(p, labelEnd + 2), TextRange::fromBounds(targetEnd + 1, labelEnd)};
            } else if (holds(text, targetEnd, u"]]")) {
                link = LinkMatch{TextRange::fromBounds(p, targetEnd + 2), TextRange::fromBounds(p + 2, targetEnd)};
            }
        }
        if (link) {
            found.append(*link);
            p = text.indexOf(u"[[", link->range.end());
        } else {
            p = text.indexOf(u"[[", p + 1);
        }
    }
    return found;
}

// The target of a Markdown link: after "(", any run of escaped characters
// (a backslash and anything but a line break), characters other than "\",
// "(", ")" and line feed, and parenthesised groups without nesting, then ")".
// Every choice is decided by the next character, so the walk from a position
// always ends the same way; it is remembered for every position it passed,
// which keeps all the walks together linear.
class LinkTargets {
public:
    explicit LinkTargets(QStringView text) : m_text(text) {}

    // The position of the closing ")" of a target starting at `start`.
    std::optional<qsizetype> closingParenthesis(qsizetype start)
    {
        if (m_memo.empty())
            m_memo.assign(size_t(m_text.size()) + 1, unknown);
        m_visited.clear();
        qsizetype result = failed;
        qsizetype x = start;
        while (true) {
            if (m_memo[size_t(x)] != unknown) {
                result = m_memo[size_t(x)];
                break;
            }
            m_visited.push_back(x);
            const std::optional<qsizetype> next = step(x);
            if (!next) {
                result = x < m_text.size() && m_text[x] == u')' ? x : failed;
                break;
            }
            x = *next;
        }
        for (const qsizetype position : m_visited)
            m_memo[size_t(position)] = result;
        if (result == failed)
            return std::nullopt;
        return result;
    }

private:
    static constexpr qsizetype unknown = -2;
    static constexpr qsizetype failed = -1;

    // The position after the target item starting at x, if one starts there.
    std::optional<qsizetype> step(qsizetype x) const
    {
        const qsizetype n = m_text.size();
        if (x >= n)
            return std::nullopt;
        const QChar c = m_text[x];
        if (c == u')' || c == u'\n')
            return std::nullopt;
        if (c == u'\\') {
            if (x + 1 < n && !isPatternLineBreak(m_text[x + 1].unicode()))
                return x + 1 + codePointLength(m_text, x + 1);
            return std::nullopt;
        }
        if (c == u'(') {
            qsizetype y = x + 1;
            while (y < n && m_text[y] != u'(' && m_text[y] != u')' && m_text[y] != u'\n')
                ++y;
            if (y < n && m_text[y] == u')')
                return y + 1;
            return std::nullopt;
        }
        return x + codePointLength(m_text, x);
    }

    QStringView m_text;
    std::vector<qsizetype> m_memo;
    std::vector<qsizetype> m_visited;
};

// "[" text "]" "(" target ")"; the text is shown.
QList<LinkMatch> markdownLinks(QStringView text)
{
    QList<LinkMatch> found;
    ForwardSearch textStop(text, u"]\n");
    LinkTargets targets(text);
    qsizetype p = text.indexOf(u'[');
    while (p >= 0) {
        std::optional<LinkMatch> link;
        const qsizetype textEnd = textStop.from(p + 1);
        if (textEnd > p + 1 && holds(text, textEnd, u"](")) {
            if (const std::optional<qsizetype> close = targets.closingParenthesis(textEnd + 2))
                link = LinkMatch{TextRange::fromBounds(p, *close + 1), TextRange::fromBounds(p + 1, textEnd)};
        }
        if (link) {
            found.append(*link);
            p = text.indexOf(u'[', link->range.end());
        } else {
            p = text.indexOf(u'[', p + 1);
        }
    }
    return found;
}

// ---------------------------------------------------------------------------
// Styles.

// "(?m)^ {0,3}(#{1,6})[\t ]+[^\n]+" at every line start (after any of the
// pattern line breaks, a CRLF pair counting as one): the range to the next
// line feed and the number of "#".
struct Heading {
    TextRange range;
    int level = 0;
};

std::optional<Heading> headingAt(QStringView text, qsizetype lineStart)
{
    const qsizetype n = text.size();
    const auto runOf = [&](qsizetype from, auto belongs) { return runLength(text, from, n, belongs); };
    const qsizetype spaces = runOf(lineStart, [](QChar c) { return c == u' '; });
    if (spaces > 3)
        return std::nullopt;
    const qsizetype hashes = lineStart + spaces;
    const qsizetype level = runOf(hashes, [](QChar c) { return c == u'#'; });
    if (level < 1 || level > 6)
        return std::nullopt;
    const qsizetype blanks = hashes + level;
    const qsizetype blankCount = runOf(blanks, [](QChar c) { return c == u' ' || c == u'\t'; });
    const qsizetype rest = blanks + blankCount;
    // At least one character must follow the first blank, which may be a blank.
    if (blankCount == 0 || (blankCount == 1 && (rest == n || text[rest] == u'\n')))
        return std::nullopt;
    qsizetype end = text.indexOf(u'\n', rest);
    if (end < 0)
        end = n;
    return Heading{TextRange::fromBounds(lineStart, end), int(level)};
}

// A heading starts with "#" after at most three spaces at a line start, so
// only the "#" characters need a look.
QList<Heading> headings(QStringView text)
{
    QList<Heading> found;
    qsizetype covered = 0;   // a line start inside an earlier match starts nothing
    qsizetype hash = text.indexOf(u'#');
    while (hash >= 0) {
        qsizetype lineStart = hash;
        while (lineStart > 0 && hash - lineStart < 4 && text[lineStart - 1] == u' ')
            --lineStart;
        const bool atLineStart = lineStart == 0 || isPatternLineBreak(text[lineStart - 1].unicode());
        std::optional<Heading> heading;
        if (atLineStart && lineStart >= covered && (hash == 0 || text[hash - 1] != u'#'))
            heading = headingAt(text, lineStart);
        if (heading) {
            found.append(*heading);
            covered = heading->range.end();
            hash = text.indexOf(u'#', covered);
        } else {
            hash = text.indexOf(u'#', hash + 1);
        }
    }
    return found;
}

// "(?:^|\s)(#[\p{L}\p{N}_][\p{L}\p{N}_/\-]*)": the whole match (with the blank
// before the "#") and the tag.
struct TagMatch {
    TextRange range;
    TextRange tag;
};

QList<TagMatch> tags(QStringView text)
{
    QList<TagMatch> found;
    const qsizetype n = text.size();
    qsizetype p = text.indexOf(u'#');
    while (p >= 0 && p + 1 < n) {
        if ((p == 0 || isSpace(codePointBefore(text, p))) && isTagStart(codePointAt(text, p + 1))) {
            qsizetype end = p + 1 + codePointLength(text, p + 1);
            while (end < n && isTagBody(codePointAt(text, end)))
                end += codePointLength(text, end);
            // White space is never outside the basic plane: one unit.
            found.append({TextRange::fromBounds(p == 0 ? 0 : p - 1, end), TextRange::fromBounds(p, end)});
            p = text.indexOf(u'#', end);
        } else {
            p = text.indexOf(u'#', p + 1);
        }
    }
    return found;
}

void appendTags(QList<MarkdownStyle>& styles, const QString& text, const RangeSet& code, LazyLinks& links)
{
    for (const TagMatch& found : tags(text)) {
        if (!code.overlaps(found.range) && !links.overlapsInOrder(found.tag))
            styles.append(MarkdownStyle{.range = found.tag, .tag = true});
    }
}

// One list per rule, in the order styles() lists them.
QList<QList<MarkdownStyle>> collectStyles(const QString& text, const RangeSet& code, LazyLinks& links)
{
    QList<QList<MarkdownStyle>> rules;
    rules.reserve(MarkdownPresentation::styleRuleCount);
    const auto rule = [&] { return &rules.emplace_back(); };
    const auto add = [&](QList<MarkdownStyle>* styles, TextRange range, MarkdownStyle style) {
        if (code.overlaps(range))
            return;
        style.range = range;
        styles->append(style);
    };
    QList<MarkdownStyle>* styles = rule();
    for (const Heading& heading : headings(text))
        add(styles, heading.range, MarkdownStyle{.headingLevel = heading.level});
    for (const EmphasisRow& row : emphasisRows) {
        styles = rule();
        for (const TextRange& range : DelimiterScanner(text, row.rule).matches())
            add(styles, range, MarkdownStyle{.bold = row.bold, .italic = row.italic});
    }
    styles = rule();
    for (const TextRange& range : DelimiterScanner(text, strikeRule).matches())
        add(styles, range, MarkdownStyle{.strike = true});
    styles = rule();
    for (const TextRange& range : DelimiterScanner(text, highlightRule).matches())
        add(styles, range, MarkdownStyle{.highlight = true});
    appendTags(*rule(), text, code, links);
    styles = rule();
    for (const TextRange& range : imageEmbeds(text))
        add(styles, range, MarkdownStyle{.image = true});
    Q_ASSERT(rules.size() == MarkdownPresentation::styleRuleCount);
    return rules;
}

// ---------------------------------------------------------------------------
// Concealment.

using MarkdownPresentation::ConcealableSyntax;

void appendStyleSyntax(QList<ConcealableSyntax>& found, const QString& text, const MarkdownStyle& style,
                       const RangeSet& links)
{
    const TextRange range = style.range;
    if (style.headingLevel > 0) {
        const auto isMarker = [](QChar c) { return c == u' ' || c == u'\t' || c == u'#'; };
        found.append({range, {range.location, runLength(text, range.location, range.end(), isMarker)}});
        return;
    }
    if (!(style.bold || style.italic || style.strike || style.highlight) || range.isEmpty() || links.overlaps(range))
        return;
    const QChar first = text[range.location];
    const qsizetype run = runLength(text, range.location, range.end(), [first](QChar c) { return c == first; });
    found.append({range, {range.location, run}});
    found.append({range, {range.end() - run, run}});
}

void appendLinkSyntax(QList<ConcealableSyntax>& found, const QString& text, const QList<LinkMatch>& links,
                      const RangeSet& code)
{
    for (const LinkMatch& link : links) {
        const TextRange range = link.range;
        if (isEscaped(text, range.location) || code.overlaps(range))
            continue;
        // An image embed keeps its syntax.
        if (range.location > 0 && text[range.location - 1] == u'!')
            continue;
        found.append({range, TextRange::fromBounds(range.location, link.visible.location)});
        found.append({range, TextRange::fromBounds(link.visible.end(), range.end())});
    }
}

} // namespace

namespace MarkdownPresentation {

QList<MarkdownStyle> styles(const QString& text)
{
    return styles(text, EditorSyntax::codeRanges(text));
}

QList<MarkdownStyle> styles(const QString& text, const QList<TextRange>& codeRanges)
{
    return joined(stylesByRule(text, codeRanges));
}

QList<QList<MarkdownStyle>> stylesByRule(const QString& text, const QList<TextRange>& codeRanges)
{
    const RangeSet code(codeRanges);
    LazyLinks links(text, codeRanges);
    return collectStyles(text, code, links);
}

QList<MarkdownStyle> tagStyles(const QString& text)
{
    QList<MarkdownStyle> styles;
    if (!text.contains(u'#'))
        return styles;
    const QList<TextRange> codeRanges = EditorSyntax::codeRanges(text);
    const RangeSet code(codeRanges);
    LazyLinks links(text, codeRanges);
    appendTags(styles, text, code, links);
    return styles;
}

QList<QList<ConcealableSyntax>> concealableSyntax(const QString& text, const QList<TextRange>& codeRanges,
                                                  const QList<QList<MarkdownStyle>>& stylesByRule,
                                                  const QList<TextRange>& links)
{
    QList<QList<ConcealableSyntax>> groups;
    groups.reserve(stylesByRule.size() + 2);
    const RangeSet linkSet(links);
    for (const QList<MarkdownStyle>& rule : stylesByRule) {
        QList<ConcealableSyntax>& found = groups.emplace_back();
        for (const MarkdownStyle& style : rule) {
            if (!isEscaped(text, style.range.location))
                appendStyleSyntax(found, text, style, linkSet);
        }
    }
    const RangeSet code(codeRanges);
    appendLinkSyntax(groups.emplace_back(), text, wikiLinks(text), code);
    appendLinkSyntax(groups.emplace_back(), text, markdownLinks(text), code);
    return groups;
}

QList<TextRange> concealedRanges(const QString& text, const QList<TextRange>& selections)
{
    return concealedRanges(text, MarkdownAnalysis::of(text), selections);
}

namespace {

// The ranges come in a few runs already in order (each kind of syntax, in
// text order): merging the runs gives what a stable sort gives, at a fraction
// of its cost on every keystroke.
void sortByLocation(QList<TextRange>& ranges)
{
    const auto byLocation = [](const TextRange& a, const TextRange& b) { return a.location < b.location; };
    QList<qsizetype> runStarts{0};
    for (qsizetype i = 1; i < ranges.size(); ++i) {
        if (byLocation(ranges[i], ranges[i - 1]))
            runStarts.append(i);
    }
    runStarts.append(ranges.size());
    const auto at = [&ranges](qsizetype i) { return ranges.begin() + i; };
    // Neighbouring runs merge pairwise, the earlier run's ranges first on
    // equal locations, until one run is left.
    while (runStarts.size() > 2) {
        QList<qsizetype> merged;
        for (qsizetype r = 0; r + 1 < runStarts.size(); r += 2) {
            merged.append(runStarts[r]);
            if (r + 2 < runStarts.size())
                std::inplace_merge(at(runStarts[r]), at(runStarts[r + 1]), at(runStarts[r + 2]), byLocation);
        }
        merged.append(ranges.size());
        runStarts = std::move(merged);
    }
}

} // namespace

QList<TextRange> concealedRanges(const QString& text, const MarkdownAnalysis& analysis,
                                 const QList<TextRange>& selections)
{
    return concealedRangesWithin(text, analysis, selections, TextRange{0, text.size()});
}

QList<TextRange> concealedRangesWithin(const QString& text, const MarkdownAnalysis& analysis,
                                       const QList<TextRange>& selections, TextRange window)
{
    QList<TextRange> hidden;
    // Code delimiters are read from the code itself: kept as a list of their
    // own, every edit before a span would move its delimiters there too.
    for (const CodeSyntax::Span& span :
         standingIn(analysis.code, window, [](const CodeSyntax::Span& s) { return s.range.location; })) {
        if (!isEscaped(text, span.range.location) && !isActive(span.activationRange, selections))
            hidden.append(span.delimiters);
    }
    for (const QList<ConcealableSyntax>& group : analysis.concealableGroups) {
        for (const ConcealableSyntax& syntax :
             standingIn(group, window, [](const ConcealableSyntax& s) { return s.construct.location; })) {
            if (!isActive(syntax.construct, selections))
                hidden.append(syntax.hidden);
        }
    }
    for (const QuoteSyntax::Line& line :
         standingIn(analysis.quotes, window, [](const QuoteSyntax::Line& l) { return l.range.location; })) {
        if (!QuoteSyntax::isActive(line, text, selections))
            hidden.append(line.prefix);
    }
    for (const ListSyntax::Item& item :
         standingIn(analysis.items, window, [](const ListSyntax::Item& i) { return i.line.location; })) {
        if (item.checkbox && ListSyntax::showsRenderedCheckbox(item, text, selections))
            hidden.append(TextRange::fromBounds(item.checkbox->location, item.contentStart));
    }

    hidden.removeIf([](const TextRange& range) { return range.isEmpty(); });
    sortByLocation(hidden);
    return hidden;
}

bool isPatternWhiteSpace(char32_t c)
{
    return isSpace(c);
}

bool isTagNameStart(char32_t c)
{
    return isTagStart(c);
}

bool isActive(TextRange range, const QList<TextRange>& selections)
{
    return std::any_of(selections.begin(), selections.end(), [&](const TextRange& selection) {
        return selection.isEmpty() ? range.touches(selection.location) : selection.overlaps(range);
    });
}

} // namespace MarkdownPresentation
} // namespace quillor
