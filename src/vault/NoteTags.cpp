#include "vault/NoteTags.h"

#include "editing/MarkdownPresentation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillor {
namespace NoteTags {

namespace {

// A half-open range of units.
struct Span {
    qsizetype start = 0;
    qsizetype end = 0;
};

struct Candidate {
    qsizetype matchStart = 0;   // the white space before the "#", if any
    qsizetype hash = 0;
    qsizetype end = 0;
};

struct Run {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype end() const { return start + length; }
};

// A line whose first character after at most three spaces starts a run of
// three or more backticks or tildes: the only lines that can open or close a
// fenced block.
struct FenceLine {
    qsizetype lineStart = 0;
    Run run;
    char16_t marker = 0;
};

struct Workspace {
    std::vector<Candidate> candidates;
    std::vector<Run> backtickRuns;
    std::vector<FenceLine> fenceLines;
    std::vector<Span> blocks;
    std::vector<qsizetype> nextOfLength;
    std::vector<qsizetype> lastOfLength = std::vector<qsizetype>(64, -1);   // -1 between uses
    std::vector<Span> code;                // sorted, disjoint
    std::vector<Span> links;               // in text order, code not yet excluded
    std::u16string name;                   // a name read from UTF-8
};

Workspace& workspace()
{
    thread_local Workspace space;
    return space;
}

// ---------------------------------------------------------------------------
// Characters

// The tables of the pattern engine, copied for ASCII, where nearly every
// character lies.
struct Classes {
    std::array<bool, 128> space{};
    std::array<bool, 128> tagStart{};

    bool isSpace(char32_t c) const { return c < 128 ? space[c] : MarkdownPresentation::isPatternWhiteSpace(c); }
    bool isTagStart(char32_t c) const { return c < 128 ? tagStart[c] : MarkdownPresentation::isTagNameStart(c); }
    bool isTagBody(char32_t c) const { return c == u'/' || c == u'-' || isTagStart(c); }
};

const Classes& classes()
{
    static const Classes table = [] {
        Classes t;
        for (char32_t c = 0; c < 128; ++c) {
            t.space[c] = MarkdownPresentation::isPatternWhiteSpace(c);
            t.tagStart[c] = MarkdownPresentation::isTagNameStart(c);
        }
        return t;
    }();
    return table;
}

#if defined(__SSE2__)
// Two bits per unit of s[from, from + 16) that is a, b or c.
Q_ALWAYS_INLINE unsigned hitsIn16(const char16_t* s, qsizetype from, __m128i a, __m128i b, __m128i c)
{
    const auto hits = [&](const char16_t* at) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return unsigned(_mm_movemask_epi8(_mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi16(units, a), _mm_cmpeq_epi16(units, b)), _mm_cmpeq_epi16(units, c))));
    };
    return hits(s + from) | (hits(s + from + 8) << 16);
}
#endif

// Calls next = visit(p) for each position p in [from, to) holding a, b or c,
// in order, skipping those before the `next` each call returns (> p). The
// text is looked at sixteen units at a time, every hit of a block taken from
// one mask; returns where the last visit let the walk go on (at least `to`).
template <typename Visit>
Q_ALWAYS_INLINE qsizetype forEachOf(const char16_t* s, qsizetype from, qsizetype to, char16_t a, char16_t b,
                                    char16_t c, Visit visit)
{
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(short(a));
    const __m128i second = _mm_set1_epi16(short(b));
    const __m128i third = _mm_set1_epi16(short(c));
    while (to - i >= 16) {
        unsigned mask = hitsIn16(s, i, first, second, third);
        qsizetype next = i + 16;
        while (mask != 0) {
            next = visit(i + (__builtin_ctz(mask) >> 1));
            if (next >= i + 16)
                break;
            mask &= ~0u << ((next - i) * 2);
            next = i + 16;
        }
        i = next;
    }
#endif
    while (i < to) {
        if (s[i] == a || s[i] == b || s[i] == c)
            i = visit(i);
        else
            ++i;
    }
    return i;
}

// The first position in [from, to) holding a, b or c, or `to`.
Q_ALWAYS_INLINE qsizetype findAny(const char16_t* s, qsizetype from, qsizetype to, char16_t a, char16_t b, char16_t c)
{
    qsizetype found = to;
    forEachOf(s, from, to, a, b, c, [&](qsizetype p) {
        found = p;
        return to;
    });
    return found;
}

Q_ALWAYS_INLINE qsizetype find(const char16_t* s, qsizetype from, qsizetype to, char16_t c)
{
    return findAny(s, from, to, c, c, c);
}

// The last position in [from, before) holding a, b or c, or -1.
Q_ALWAYS_INLINE qsizetype findLastAny(const char16_t* s, qsizetype from, qsizetype before, char16_t a, char16_t b,
                                      char16_t c)
{
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(short(a));
    const __m128i second = _mm_set1_epi16(short(b));
    const __m128i third = _mm_set1_epi16(short(c));
    for (; before - from >= 8; before -= 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + before - 8));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, first), _mm_cmpeq_epi16(units, second)),
                                          _mm_cmpeq_epi16(units, third));
        if (const int mask = _mm_movemask_epi8(hits))
            return before - 8 + ((31 - __builtin_clz(unsigned(mask))) >> 1);
    }
#endif
    while (before > from && s[before - 1] != a && s[before - 1] != b && s[before - 1] != c)
        --before;
    return before > from ? before - 1 : -1;
}

// The code point at i (< n) and its length; an unpaired surrogate reads as U+FFFD.
char32_t codePointAt(const char16_t* s, qsizetype n, qsizetype i, qsizetype& length)
{
    const char16_t c = s[i];
    length = 1;
    if (!QChar::isSurrogate(c))
        return c;
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
        length = 2;
        return QChar::surrogateToUcs4(c, s[i + 1]);
    }
    return QChar::ReplacementCharacter;
}

// The code point ending before i (> 0).
char32_t codePointBefore(const char16_t* s, qsizetype i)
{
    const char16_t c = s[i - 1];
    if (!QChar::isSurrogate(c))
        return c;
    if (QChar::isLowSurrogate(c) && i >= 2 && QChar::isHighSurrogate(s[i - 2]))
        return QChar::surrogateToUcs4(s[i - 2], c);
    return QChar::ReplacementCharacter;
}

// ---------------------------------------------------------------------------
// Candidates: "(?:^|\s)(#[\p{L}\p{N}_][\p{L}\p{N}_/\-]*)", with the range of
// the whole match, which code must not touch.

// The candidate whose "#" is at p (< n - 1), if there is one.
std::optional<Candidate> candidateAt(const char16_t* s, qsizetype n, qsizetype p, const Classes& classes)
{
    qsizetype length = 0;
    if ((p > 0 && !classes.isSpace(codePointBefore(s, p))) || !classes.isTagStart(codePointAt(s, n, p + 1, length)))
        return std::nullopt;
    qsizetype end = p + 1 + length;
    while (end < n && classes.isTagBody(codePointAt(s, n, end, length)))
        end += length;
    // White space is never outside the basic plane: one unit.
    return Candidate{p == 0 ? 0 : p - 1, p, end};
}

// ---------------------------------------------------------------------------
// Code: fenced blocks and inline spans, with the rules of CodeSyntax, found
// from the backtick and tilde runs rather than line by line.

bool isLineBreak(char16_t c)
{
    return c <= u'\r' ? (c == u'\n' || c == u'\r') : (c == 0x2028 || c == 0x2029);
}

qsizetype contentEnd(const char16_t* s, qsizetype n, qsizetype from)
{
    while (from < n && !isLineBreak(s[from]))
        ++from;
    return from;
}

qsizetype lineEnd(const char16_t* s, qsizetype n, qsizetype contentEnd)
{
    if (contentEnd == n)
        return n;
    return contentEnd + (s[contentEnd] == u'\r' && contentEnd + 1 < n && s[contentEnd + 1] == u'\n' ? 2 : 1);
}

// The start of the line when the run is its first character after at most
// three spaces.
std::optional<qsizetype> fenceLineStart(const char16_t* s, const Run& run)
{
    if (run.length < 3)
        return std::nullopt;
    qsizetype start = run.start;
    while (start > 0 && run.start - start < 4 && s[start - 1] == u' ')
        --start;
    if (run.start - start > 3 || (start > 0 && !isLineBreak(s[start - 1])))
        return std::nullopt;
    return start;
}

// One pass for what the rest starts from: the tag candidates, the backtick
// runs and the lines that may be fences. A tag name holds no code marker, so
// skipping it skips nothing.
void findCandidatesAndRuns(QStringView text, Workspace& space)
{
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    const Classes& table = classes();
    space.candidates.clear();
    space.backtickRuns.clear();
    space.fenceLines.clear();
    forEachOf(s, 0, n, u'#', u'`', u'~', [&](qsizetype i) {
        const char16_t marker = s[i];
        if (marker == u'#') {
            const std::optional<Candidate> candidate = i + 1 < n ? candidateAt(s, n, i, table) : std::nullopt;
            if (!candidate)
                return i + 1;
            space.candidates.push_back(*candidate);
            return candidate->end;
        }
        const Run run{i, qsizetype(std::find_if(s + i, s + n, [marker](char16_t c) { return c != marker; }) - s) - i};
        if (marker == u'`')
            space.backtickRuns.push_back(run);
        if (const std::optional<qsizetype> start = fenceLineStart(s, run))
            space.fenceLines.push_back({*start, run, marker});
        return run.end();
    });
}

bool holdsBacktick(const char16_t* s, qsizetype from, qsizetype to)
{
    return find(s, from, to, u'`') < to;
}

bool onlyBlanks(const char16_t* s, qsizetype from, qsizetype to)
{
    return std::all_of(s + from, s + to, [](char16_t c) { return c == u' ' || c == u'\t'; });
}

// An opening line, then the first later line that closes it (or the end).
void findBlocks(QStringView text, Workspace& space)
{
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    space.blocks.clear();
    bool isOpen = false;
    FenceLine open;
    for (const FenceLine& line : space.fenceLines) {
        const qsizetype rest = line.run.end();
        const qsizetype end = contentEnd(s, n, rest);
        if (!isOpen) {
            // A backtick fence whose info text holds a backtick is inline code.
            isOpen = line.marker == u'~' || !holdsBacktick(s, rest, end);
            open = line;
        } else if (line.marker == open.marker && line.run.length >= open.run.length && onlyBlanks(s, rest, end)) {
            space.blocks.push_back({open.lineStart, lineEnd(s, n, end)});
            isOpen = false;
        }
    }
    if (isOpen)
        space.blocks.push_back({open.lineStart, n});
}

// Links every run of the stretch to the next one of the same length in it.
void linkEqualLengths(Workspace& space, qsizetype first, qsizetype last)
{
    auto& latest = space.lastOfLength;   // by length, for the usual short runs
    std::unordered_map<qsizetype, qsizetype> latestLong;
    for (qsizetype r = last - 1; r >= first; --r) {
        const qsizetype length = space.backtickRuns[size_t(r)].length;
        qsizetype& slot = length < qsizetype(latest.size()) ? latest[size_t(length)]
                                                            : latestLong.try_emplace(length, -1).first->second;
        space.nextOfLength[size_t(r)] = slot;
        slot = r;
    }
    for (qsizetype r = first; r < last; ++r) {
        const qsizetype length = space.backtickRuns[size_t(r)].length;
        if (length < qsizetype(latest.size()))
            latest[size_t(length)] = -1;
    }
}

bool isEscaped(const char16_t* s, qsizetype position, qsizetype limit)
{
    qsizetype backslashes = 0;
    while (position - backslashes > limit && s[position - backslashes - 1] == u'\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

// The inline spans of the stretch, whose runs are [first, last): an opener is
// closed by the next run of its length, else the code runs to the line's end.
void appendInlineSpans(const char16_t* s, Span stretch, qsizetype first, qsizetype last, Workspace& space)
{
    linkEqualLengths(space, first, last);
    qsizetype position = stretch.start;
    for (qsizetype r = first; r < last; ++r) {
        const Run& opening = space.backtickRuns[size_t(r)];
        if (opening.start < position)
            continue;
        if (isEscaped(s, opening.start, stretch.start)) {
            position = opening.end();
            continue;
        }
        const qsizetype closing = space.nextOfLength[size_t(r)];
        qsizetype end = opening.end();
        if (closing >= 0) {
            end = space.backtickRuns[size_t(closing)].end();
        } else {
            while (end < stretch.end && s[end] != u'\n' && s[end] != u'\r')
                ++end;
        }
        space.code.push_back({opening.start, end});
        position = end;
    }
}

// The code ranges, from the runs findCandidatesAndRuns found.
void findCode(QStringView text, Workspace& space)
{
    const char16_t* s = text.utf16();
    findBlocks(text, space);
    space.code.clear();
    space.nextOfLength.resize(space.backtickRuns.size());
    const auto& runs = space.backtickRuns;
    qsizetype r = 0;
    qsizetype stretchStart = 0;
    for (size_t b = 0; b <= space.blocks.size(); ++b) {
        const Span stretch{stretchStart, b < space.blocks.size() ? space.blocks[b].start : text.size()};
        while (r < qsizetype(runs.size()) && runs[size_t(r)].start < stretch.start)   // inside the block before
            ++r;
        qsizetype last = r;
        while (last < qsizetype(runs.size()) && runs[size_t(last)].start < stretch.end)
            ++last;
        appendInlineSpans(s, stretch, r, last, space);
        r = last;
        if (b < space.blocks.size()) {
            space.code.push_back(space.blocks[b]);
            stretchStart = space.blocks[b].end;
        }
    }
}

// Whether a range of the sorted, disjoint list overlaps [start, end).
bool overlapsAny(const std::vector<Span>& ranges, qsizetype start, qsizetype end)
{
    const auto after = std::upper_bound(ranges.begin(), ranges.end(), start,
                                        [](qsizetype position, const Span& r) { return position < r.end; });
    return after != ranges.end() && after->start < end;
}

// ---------------------------------------------------------------------------
// Links, with the rules of EditorSyntax::linkRanges. A link holds no line
// feed, so a scan from a line's start finds the links the whole text's scan
// finds on that line.

bool isRegexSpace(char16_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 || c == 0x180E
        || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

bool isRegexNewline(char16_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// The scan of EditorSyntax::linkRanges, resumable: scan(from, to) finds the
// links the whole text's scan finds starting in [from, to), provided `from`
// is where that scan would pass: the position a previous call returned, or any
// later line start (a link holds no line feed, so the scan comes to every line
// start afresh), or any later position up to which nothing can start a link.
class LinkScanner {
public:
    explicit LinkScanner(QStringView text) : m_s(text.utf16()), m_n(text.size()) {}

    // Returns where the scan would go on: `to`, or the end of a link that
    // started before `to`.
    qsizetype scan(qsizetype from, qsizetype to, std::vector<Span>& found)
    {
        // Nothing but "[" and "h" starts a link.
        return forEachOf(m_s, from, to, u'[', u'h', u'[', [&](qsizetype i) {
            const qsizetype end = m_s[i] == u'[' ? bracketEnd(i) : bareUrlEnd(i);
            if (end < 0)
                return i + 1;
            found.push_back({i, end});
            return end;
        });
    }

private:
    char16_t at(qsizetype i) const { return i < m_n ? m_s[i] : 0; }

    // The first "]" or line feed at or after `from`; queries never go back
    // past a remembered stop, so a line of brackets is scanned once.
    qsizetype bracketStop(qsizetype from)
    {
        if (from >= m_stopFrom && from <= m_stop)
            return m_stop;
        qsizetype i = from;
        while (i < m_n && m_s[i] != u']' && m_s[i] != u'\n')
            ++i;
        m_stopFrom = from;
        m_stop = i;
        return i;
    }

    qsizetype bracketEnd(qsizetype i)
    {
        const qsizetype stop = bracketStop(i + 1);
        if (at(i + 1) == u'[' && stop > i + 2 && at(stop) == u']' && at(stop + 1) == u']')
            return stop + 2;
        if (at(stop) != u']' || at(stop + 1) != u'(')
            return -1;
        if (stop != m_targetBracket) {
            m_targetBracket = stop;
            m_targetEnd = targetEnd(stop + 2);
        }
        return m_targetEnd;
    }

    // (?:\\.|[^\\()\n]|\([^()\n]*\))*\) from `i`.
    qsizetype targetEnd(qsizetype i) const
    {
        while (i < m_n) {
            const char16_t c = m_s[i];
            if (c == u')')
                return i + 1;
            if (c == u'\n')
                return -1;
            if (c == u'\\') {
                if (i + 1 == m_n || isRegexNewline(m_s[i + 1]))
                    return -1;
                i += 2;
            } else if (c == u'(') {
                qsizetype j = i + 1;
                while (j < m_n && m_s[j] != u'(' && m_s[j] != u')' && m_s[j] != u'\n')
                    ++j;
                if (at(j) != u')')
                    return -1;
                i = j + 1;
            } else {
                ++i;
            }
        }
        return -1;
    }

    bool holds(qsizetype i, QLatin1String literal) const
    {
        return QStringView(m_s + i, m_n - i).startsWith(literal);
    }

    qsizetype bareUrlEnd(qsizetype i) const
    {
        qsizetype start;
        if (holds(i, QLatin1String("https://")))
            start = i + 8;
        else if (holds(i, QLatin1String("http://")))
            start = i + 7;
        else
            return -1;
        qsizetype end = start;
        while (end < m_n) {
            const char16_t c = m_s[end];
            if (isRegexSpace(c) || c == u'<' || c == u'>' || c == u'[' || c == u']' || c == u'`')
                break;
            ++end;
        }
        return end == start ? -1 : end;
    }

    const char16_t* m_s;
    qsizetype m_n;
    qsizetype m_stopFrom = -1;
    qsizetype m_stop = -1;
    qsizetype m_targetBracket = -1;
    qsizetype m_targetEnd = -1;
};

// ---------------------------------------------------------------------------
// The candidates of UTF-8 bytes, read without decoding the text: the steps of
// candidateAt, on code points read in place.

// The code point at b[i] (i < n) and its length in bytes; anything for a
// malformed sequence (such bytes give no tags whatever is answered), but
// never a read outside the bytes.
char32_t utf8Sequence(const uchar* b, qsizetype n, qsizetype i, qsizetype& length)
{
    const uchar lead = b[i];
    length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (n - i < length) {
        length = 1;
        return lead;
    }
    char32_t c = lead & (0x7F >> length);
    for (qsizetype k = 1; k < length; ++k)
        c = (c << 6) | (b[i + k] & 0x3F);
    return c;
}

Q_ALWAYS_INLINE char32_t utf8At(const uchar* b, qsizetype n, qsizetype i, qsizetype& length)
{
    if (b[i] < 0x80) {
        length = 1;
        return b[i];
    }
    return utf8Sequence(b, n, i, length);
}

// The code point ending before b[i] (i > start).
char32_t utf8Before(const uchar* b, qsizetype start, qsizetype i)
{
    if (b[i - 1] < 0x80)
        return b[i - 1];
    qsizetype lead = i - 1;
    while (lead > start && i - lead < 4 && (b[lead] & 0xC0) == 0x80)
        --lead;
    qsizetype length = 0;
    return utf8At(b, i, lead, length);
}

} // namespace

bool mayHoldNewTags(QByteArrayView utf8, const TagNameSet& known, std::vector<qsizetype>* met)
{
    const auto* b = reinterpret_cast<const uchar*>(utf8.data());
    const qsizetype n = utf8.size();
    // QString::fromUtf8 drops a leading byte order mark: the text starts after it.
    const qsizetype start = n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF ? 3 : 0;
    const Classes& table = classes();
    std::u16string& name = workspace().name;
    for (qsizetype p = start; p + 1 < n;) {
        const auto* hash = static_cast<const uchar*>(std::memchr(b + p, '#', size_t(n - 1 - p)));
        if (!hash)
            break;
        p = hash - b;
        qsizetype length = 0;
        char32_t c = utf8At(b, n, p + 1, length);
        if ((p > start && !table.isSpace(utf8Before(b, start, p))) || !table.isTagStart(c)) {
            ++p;
            continue;
        }
        // The name, as UTF-16 (never more units than bytes).
        qsizetype units = 0;
        qsizetype end = p + 1;
        do {
            if (size_t(units + 2) > name.size())
                name.resize(name.size() * 2 + 64);
            if (c < 0x10000) {
                name[size_t(units++)] = char16_t(c);
            } else {
                name[size_t(units++)] = QChar::highSurrogate(c);
                name[size_t(units++)] = QChar::lowSurrogate(c);
            }
            end += length;
        } while (end < n && table.isTagBody(c = utf8At(b, n, end, length)));
        const qsizetype index = known.indexOf(QStringView(name.data(), units));
        if (index < 0)
            return true;
        if (met)
            met->push_back(index);
        p = end;
    }
    return false;
}

void collect(QStringView text, QList<QStringView>& names, const TagNameSet* skip, std::vector<qsizetype>* skipped)
{
    Workspace& space = workspace();
    findCandidatesAndRuns(text, space);
    bool analysed = false;   // code and links are worked out for the first candidate that needs them

    const char16_t* s = text.utf16();
    LinkScanner links(text);
    qsizetype scanned = 0;   // where the link scan goes on
    size_t link = 0;
    size_t code = 0;
    for (const Candidate& candidate : space.candidates) {
        const QStringView name = text.mid(candidate.hash + 1, candidate.end - candidate.hash - 1);
        if (const qsizetype index = skip ? skip->indexOf(name) : -1; index >= 0) {
            if (skipped)
                skipped->push_back(index);
            continue;
        }
        if (!analysed) {
            findCode(text, space);
            space.links.clear();
            analysed = true;
        }

        // Code first: it must not touch the white space before the "#" either.
        while (code < space.code.size() && space.code[code].end <= candidate.matchStart)
            ++code;
        if (code < space.code.size() && space.code[code].start < candidate.end)
            continue;

        // Lines before the candidate's own are never scanned, nor the part of
        // its line before it that holds nothing that could start a link.
        if (scanned < candidate.hash) {
            const qsizetype last = findLastAny(s, scanned, candidate.hash, u'\n', u'[', u'h');
            if (last < 0 || s[last] == u'\n')
                scanned = candidate.hash;
            else
                scanned = std::max(scanned, findLastAny(s, scanned, last, u'\n', u'\n', u'\n') + 1);
        }
        scanned = links.scan(scanned, candidate.end, space.links);

        while (link < space.links.size() && space.links[link].end <= candidate.hash)
            ++link;
        bool inLink = false;
        for (size_t k = link; !inLink && k < space.links.size() && space.links[k].start < candidate.end; ++k) {
            // A link that touches code is no link.
            inLink = !overlapsAny(space.code, space.links[k].start, space.links[k].end);
        }
        if (!inLink)
            names.append(name);
    }
}

} // namespace NoteTags
} // namespace quillor
