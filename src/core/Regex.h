#pragma once

#include "core/TextRange.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringView>

#include <optional>

namespace quillor {

// One match of a Regex, with every range in UTF-16 units of the whole text
// (also when the search ran on a slice of it).
class RegexMatch {
public:
    RegexMatch() = default;

    TextRange range(int group = 0) const;
    // True when the group took part in the match.
    bool hasGroup(int group) const;
    QString captured(int group = 0) const;
    int groupCount() const { return int(m_ranges.size()) - 1; }

    bool operator==(const RegexMatch&) const = default;

private:
    friend class Regex;
    QList<TextRange> m_ranges;   // location -1 for a group that did not take part
    QList<QString> m_texts;
};

// The only way the program compiles a regular expression. Over
// QRegularExpression it gives the matching rules the editing rules were written
// for:
//  - Unicode properties on, so \s, \d and friends know every script;
//  - every line break (LF, CR, CRLF, VT, FF, NEL, U+2028, U+2029) counts for ^,
//    $ and . in multi-line mode;
//  - \w and \W are the Unicode word class (letters, marks, decimal digits,
//    connector punctuation, ZWJ, ZWNJ);
//  - an unpaired surrogate in the text is matched as U+FFFD, so one stray unit
//    does not make the whole text unmatchable; positions are unchanged;
//  - a search over a range runs on that slice of the text, so ^ and $ anchor at
//    the slice's bounds and look-behind does not see before it.
// A pattern that does not compile is not valid and yields no matches.
class Regex {
public:
    enum Option {
        NoOptions = 0,
        CaseInsensitive = 1,
        MultiLine = 2,
        DotMatchesLineBreaks = 4,
    };
    Q_DECLARE_FLAGS(Options, Option)

    Regex() = default;
    explicit Regex(const QString& pattern, Options options = NoOptions);

    bool isValid() const;
    QString pattern() const { return m_pattern; }

    std::optional<RegexMatch> firstMatch(const QString& text) const;
    std::optional<RegexMatch> firstMatch(const QString& text, TextRange range) const;
    QList<RegexMatch> matches(const QString& text) const;
    QList<RegexMatch> matches(const QString& text, TextRange range) const;
    bool matchesAnywhere(const QString& text) const { return firstMatch(text).has_value(); }

    // Replaces every match; the replacement refers to groups as \1 ... \9 and
    // \0, and a literal backslash is written \\.
    QString replace(const QString& text, const QString& replacement) const;

    static QString escape(const QString& literal);

private:
    static RegexMatch toMatch(const QRegularExpressionMatch& found, const QString& text, qsizetype offset, int groups);

    QString m_pattern;
    QRegularExpression m_expression;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Regex::Options)

} // namespace quillor
