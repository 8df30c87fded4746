#include "core/Regex.h"

namespace quillor {

namespace {

// The Unicode word class (letters and other alphabetic characters, marks,
// decimal digits, connector punctuation, ZWNJ, ZWJ), written so that it can go
// inside a bracket class. It starts and ends with a property so that a
// neighbouring hyphen can never turn one of its members into a range bound.
const QString wordClassItems = QStringLiteral("\\p{Alphabetic}\\p{M}\\x{200C}\\x{200D}\\p{Nd}\\p{Pc}");

QString wordClass() { return u'[' + wordClassItems + u']'; }
QString nonWordClass() { return QStringLiteral("[^") + wordClassItems + u']'; }

// A word boundary consistent with the word class above (PCRE2's own \b uses
// its narrower notion of a word character).
QString wordBoundary()
{
    const QString w = wordClass();
    return QStringLiteral("(?:(?<=%1)(?!%1)|(?<!%1)(?=%1))").arg(w);
}

QString notWordBoundary()
{
    const QString w = wordClass();
    return QStringLiteral("(?:(?<=%1)(?=%1)|(?<!%1)(?!%1))").arg(w);
}

// Copies a \Q...\E quotation verbatim; returns the index after it.
qsizetype copyQuotation(const QString& pattern, qsizetype from, QString& out)
{
    const qsizetype close = pattern.indexOf(QLatin1String("\\E"), from + 2);
    const qsizetype end = close < 0 ? pattern.size() : close + 2;
    out += QStringView(pattern).mid(from, end - from);
    return end;
}

// Rewrites the bracket class starting at `from` (a '['); returns the index
// after it. \w inside becomes the word items; \W cannot be expressed inside a
// class, so the class is rebuilt as an alternation around it.
qsizetype translateClass(const QString& pattern, qsizetype from, QString& out)
{
    const qsizetype n = pattern.size();
    qsizetype i = from + 1;
    const bool negated = i < n && pattern[i] == u'^';
    if (negated)
        ++i;
    QString items;
    bool hasNonWord = false;
    if (i < n && pattern[i] == u']')   // a ']' first is a literal
        items += pattern[i++];
    while (i < n && pattern[i] != u']') {
        const QChar c = pattern[i];
        if (c == u'\\' && i + 1 < n) {
            const QChar e = pattern[i + 1];
            if (e == u'Q') {
                i = copyQuotation(pattern, i, items);
            } else if (e == u'w') {
                items += wordClassItems;
                i += 2;
            } else if (e == u'W') {
                hasNonWord = true;
                i += 2;
                if (i < n && pattern[i] == u'-')   // keep it a literal, not a range
                    items += u'\\';
            } else {
                items += QStringView(pattern).mid(i, 2);
                i += 2;
            }
        } else if (c == u'[' && i + 1 < n && (pattern[i + 1] == u':' || pattern[i + 1] == u'=' || pattern[i + 1] == u'.')) {
            const qsizetype close = pattern.indexOf(QString(pattern[i + 1]) + u']', i + 2);
            const qsizetype end = close < 0 ? i + 1 : close + 2;
            items += QStringView(pattern).mid(i, end - i);
            i = end;
        } else {
            items += c;
            ++i;
        }
    }
    if (i >= n) {   // unterminated: leave it for PCRE2 to reject
        out += QStringView(pattern).mid(from);
        return n;
    }
    ++i;   // the closing ']'

    if (!hasNonWord) {
        out += negated ? QStringLiteral("[^") : QStringLiteral("[");
        out += items;
        out += u']';
        return i;
    }
    // A leading '^' of the remaining items was a literal where it stood.
    if (items.startsWith(u'^'))
        items.prepend(u'\\');
    if (!negated) {
        // [x\W] = x or not a word character
        out += items.isEmpty() ? nonWordClass() : QStringLiteral("(?:[%1]|%2)").arg(items, nonWordClass());
    } else {
        // [^x\W] = a word character that is not x
        out += items.isEmpty() ? wordClass() : QStringLiteral("(?:(?![%1])%2)").arg(items, wordClass());
    }
    return i;
}

QString translatePattern(const QString& pattern)
{
    QString out;
    out.reserve(pattern.size() + 16);
    // Must be the very first item: it sets the newline convention for ^, $ and .
    out += QLatin1String("(*ANY)");
    // An always-true look-ahead that names LF. With (*ANY), PCRE2 never starts
    // a match on the LF of a CRLF pair unless the pattern mentions CR or LF
    // itself, so "(?:^|\s)#tag" would miss a tag at the start of a CRLF line.
    out += QLatin1String("(?=\n|)");
    const qsizetype n = pattern.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = pattern[i];
        if (c == u'\\' && i + 1 < n) {
            const QChar e = pattern[i + 1];
            switch (e.unicode()) {
            case 'Q': i = copyQuotation(pattern, i, out); continue;
            case 'w': out += wordClass(); break;
            case 'W': out += nonWordClass(); break;
            case 'b': out += wordBoundary(); break;
            case 'B': out += notWordBoundary(); break;
            case 'c':   // \c takes the next character whatever it is
                out += QStringView(pattern).mid(i, 3);
                i += 3;
                continue;
            default: out += QStringView(pattern).mid(i, 2); break;
            }
            i += 2;
        } else if (c == u'[') {
            i = translateClass(pattern, i, out);
        } else if (c == u'(' && QStringView(pattern).mid(i, 3) == QLatin1String("(?#")) {
            const qsizetype close = pattern.indexOf(u')', i);
            const qsizetype end = close < 0 ? n : close + 1;
            out += QStringView(pattern).mid(i, end - i);
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QRegularExpression::PatternOptions patternOptions(Regex::Options options)
{
    QRegularExpression::PatternOptions result = QRegularExpression::UseUnicodePropertiesOption;
    if (options & Regex::CaseInsensitive)
        result |= QRegularExpression::CaseInsensitiveOption;
    if (options & Regex::MultiLine)
        result |= QRegularExpression::MultilineOption;
    if (options & Regex::DotMatchesLineBreaks)
        result |= QRegularExpression::DotMatchesEverythingOption;
    return result;
}

bool isSurrogate(QChar c) { return (c.unicode() & 0xF800) == 0xD800; }

// PCRE2 refuses a whole subject that is not valid UTF-16. Returns the view
// itself when it is valid (the common case, no copy), otherwise a copy in
// `storage` where each unpaired surrogate is U+FFFD, which keeps every position.
QStringView validUtf16(QStringView view, QString& storage)
{
    const qsizetype n = view.size();
    QChar* copy = nullptr;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = view[i];
        if (!isSurrogate(c))
            continue;
        if (c.isHighSurrogate() && i + 1 < n && view[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!copy) {
            storage = view.toString();
            copy = storage.data();
        }
        copy[i] = QChar::ReplacementCharacter;
    }
    return copy ? QStringView(storage) : view;
}

TextRange clampedRange(const QString& text, TextRange range)
{
    const qsizetype start = qBound(qsizetype(0), range.location, text.size());
    const qsizetype end = qBound(start, range.end(), text.size());
    return TextRange::fromBounds(start, end);
}

// validUtf16() has made the subject valid: PCRE2 need not scan it again.
constexpr auto subjectIsValid = QRegularExpression::DontCheckSubjectStringMatchOption;

} // namespace

TextRange RegexMatch::range(int group) const
{
    if (group < 0 || group >= m_ranges.size())
        return {-1, 0};
    return m_ranges[group];
}

bool RegexMatch::hasGroup(int group) const { return range(group).location >= 0; }

QString RegexMatch::captured(int group) const
{
    if (group < 0 || group >= m_texts.size())
        return {};
    return m_texts[group];
}

Regex::Regex(const QString& pattern, Options options)
    : m_pattern(pattern)
    , m_expression(translatePattern(pattern), patternOptions(options))
{
    m_expression.optimize();
}

// A default-constructed Regex holds no pattern at all (not even the newline
// verb) and matches nothing.
bool Regex::isValid() const { return !m_expression.pattern().isEmpty() && m_expression.isValid(); }

RegexMatch Regex::toMatch(const QRegularExpressionMatch& found, const QString& text, qsizetype offset, int groups)
{
    RegexMatch result;
    result.m_ranges.reserve(groups + 1);
    result.m_texts.reserve(groups + 1);
    for (int g = 0; g <= groups; ++g) {
        const qsizetype start = found.capturedStart(g);
        if (start < 0) {
            result.m_ranges.append({-1, 0});
            result.m_texts.append(QString());
            continue;
        }
        const TextRange range{start + offset, found.capturedLength(g)};
        result.m_ranges.append(range);
        // From the caller's text, not the copy matched when it had a stray surrogate.
        QString captured = text.mid(range.location, range.length);
        if (captured.isNull())
            captured = QLatin1String("");
        result.m_texts.append(captured);
    }
    return result;
}

std::optional<RegexMatch> Regex::firstMatch(const QString& text) const
{
    return firstMatch(text, TextRange{0, text.size()});
}

std::optional<RegexMatch> Regex::firstMatch(const QString& text, TextRange range) const
{
    if (!isValid())
        return std::nullopt;
    const TextRange slice = clampedRange(text, range);
    QString storage;
    const QStringView subject = validUtf16(QStringView(text).mid(slice.location, slice.length), storage);
    const QRegularExpressionMatch found = m_expression.match(subject, 0, QRegularExpression::NormalMatch, subjectIsValid);
    if (!found.hasMatch())
        return std::nullopt;
    return toMatch(found, text, slice.location, m_expression.captureCount());
}

QList<RegexMatch> Regex::matches(const QString& text) const
{
    return matches(text, TextRange{0, text.size()});
}

QList<RegexMatch> Regex::matches(const QString& text, TextRange range) const
{
    QList<RegexMatch> result;
    if (!isValid())
        return result;
    const TextRange slice = clampedRange(text, range);
    QString storage;
    const QStringView subject = validUtf16(QStringView(text).mid(slice.location, slice.length), storage);
    const int groups = m_expression.captureCount();
    // The iterator steps over empty matches (and over a CRLF pair as one unit).
    QRegularExpressionMatchIterator it = m_expression.globalMatch(subject, 0, QRegularExpression::NormalMatch, subjectIsValid);
    while (it.hasNext())
        result.append(toMatch(it.next(), text, slice.location, groups));
    return result;
}

namespace {

void appendReplacement(QString& out, const QString& replacement, const RegexMatch& match)
{
    const qsizetype n = replacement.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = replacement[i];
        if (c != u'\\' || i + 1 == n) {
            out += c;
            continue;
        }
        const QChar next = replacement[i + 1];
        if (next.isDigit() && next.unicode() < 128) {
            out += match.captured(next.unicode() - '0');   // a missing group gives nothing
            ++i;
        } else if (next == u'\\') {
            out += u'\\';
            ++i;
        } else {
            out += c;   // any other backslash stays as written
        }
    }
}

} // namespace

QString Regex::replace(const QString& text, const QString& replacement) const
{
    const QList<RegexMatch> found = matches(text);
    if (found.isEmpty())
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype position = 0;
    for (const RegexMatch& match : found) {
        out += QStringView(text).mid(position, match.range().location - position);
        appendReplacement(out, replacement, match);
        position = match.range().end();
    }
    out += QStringView(text).mid(position);
    return out;
}

QString Regex::escape(const QString& literal) { return QRegularExpression::escape(literal); }

} // namespace quillor
