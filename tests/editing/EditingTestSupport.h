#pragma once

#include "editing/CodeSyntax.h"
#include "editing/CompletionContext.h"
#include "editing/EditorBehavior.h"
#include "editing/ListSyntax.h"
#include "editing/MarkdownStyle.h"
#include "editing/QuoteSyntax.h"

#include "../PrintableText.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <optional>
#include <ostream>
#include <random>
#include <string>


// Readable values for failure messages. (Not gtest PrintTo overloads: other
// test files of this program print the same types with gtest's defaults, and
// two printers of one type in one program would break the one-definition rule.)
namespace quillor::test {

inline std::string show(const QString& text) { return '"' + printable(text) + '"'; }
inline std::string show(qsizetype n) { return std::to_string(n); }
inline std::string show(TextRange r) { return '(' + show(r.location) + ',' + show(r.length) + ')'; }
inline std::string show(const CompletionContext& c);
inline std::string show(const CodeSyntax::Span& s);
inline std::string show(const ListSyntax::Item& i);
inline std::string show(const ListSyntax::Edit& e);
inline std::string show(const QuoteSyntax::Line& l);
inline std::string show(const EditorBehavior::Edit& e);
inline std::string show(const MarkdownStyle& s);
template <typename T>
inline std::string show(const std::optional<T>& value) { return value ? show(*value) : "absent"; }
template <typename T>
inline std::string show(const QList<T>& list)
{
    std::string out;
    for (const T& value : list)
        out += (out.empty() ? "{" : ", ") + show(value);
    return out.empty() ? "{}" : out + "}";
}
template <typename... T>
std::string fields(const T&... values)
{
    std::string out;
    ((out += (out.empty() ? "[" : " ") + show(values)), ...);
    return out + "]";
}

inline std::string show(const CompletionContext& c) { return fields(qsizetype(c.kind), c.range, c.query); }
inline std::string show(const CodeSyntax::Span& s)
{
    return fields(s.range, s.activationRange, s.delimiters, s.contentRange) + (s.fenced ? " fenced" : "");
}
inline std::string show(const ListSyntax::Item& i)
{
    return fields(i.line, i.marker, i.checkbox, i.continuation, i.contentStart, qsizetype(i.number.value_or(-1)), i.indentation);
}
inline std::string show(const ListSyntax::Edit& e) { return fields(e.range, e.replacement); }
inline std::string show(const QuoteSyntax::Line& l) { return fields(l.range, l.prefix, qsizetype(l.depth)); }
inline std::string show(const EditorBehavior::Edit& e)
{
    if (e.kind == EditorBehavior::Edit::Kind::wrap)
        return "wrap" + fields(e.opening, e.closing);
    if (e.kind == EditorBehavior::Edit::Kind::select)
        return "select" + fields(e.selection);
    return "replace" + fields(e.range, e.text, e.selection);
}
inline std::string show(const MarkdownStyle& s)
{
    return show(s.range) + (s.headingLevel ? " h" + std::to_string(s.headingLevel) : "") + (s.bold ? " bold" : "")
        + (s.italic ? " italic" : "") + (s.tag ? " tag" : "") + (s.image ? " image" : "") + (s.strike ? " strike" : "")
        + (s.highlight ? " highlight" : "");
}

// Texts with the selection drawn in: "|" is the caret, "⟨" and "⟩" bound a
// non-empty selection.
inline const QChar caretMark = u'|', selectionStart(0x27E8), selectionEnd(0x27E9);

struct Marked { QString text; TextRange selection; };

inline Marked parse(const char* marked)
{
    Marked result;
    qsizetype start = -1, end = -1;
    for (const QChar c : QString::fromUtf8(marked)) {
        if (c == caretMark)
            start = end = result.text.size();
        else if (c == selectionStart)
            start = result.text.size();
        else if (c == selectionEnd)
            end = result.text.size();
        else
            result.text += c;
    }
    EXPECT_TRUE(start >= 0 && end >= start) << "no selection in " << marked;
    result.selection = TextRange::fromBounds(start, end);
    return result;
}

inline std::string render(QString text, TextRange selection)
{
    if (selection.isEmpty())
        return text.insert(selection.location, caretMark).toStdString();
    return text.insert(selection.end(), selectionEnd).insert(selection.location, selectionStart).toStdString();
}

// EXPECT_TRUE(same(actual, expected)) reads both values on failure.
template <typename T>
testing::AssertionResult same(const T& actual, const T& expected)
{
    if (actual == expected)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "got " << show(actual) << "\n  expected " << show(expected);
}

// Up to `maxPieces` pieces drawn from `alphabet`.
inline QString randomText(std::mt19937& random, const QStringList& alphabet, int maxPieces)
{
    std::uniform_int_distribution<int> length(0, maxPieces);
    std::uniform_int_distribution<qsizetype> piece(0, alphabet.size() - 1);
    QString text;
    for (int i = length(random); i > 0; --i)
        text += alphabet[piece(random)];
    return text;
}

// One piece per UTF-16 unit of `units`, for the alphabets of random texts.
inline QStringList unitsOf(const QString& units)
{
    QStringList pieces;
    for (const QChar unit : units)
        pieces.append(unit);
    return pieces;
}

inline bool splitsPair(const QString& text, qsizetype position)
{
    return position > 0 && position < text.size() && text[position - 1].isHighSurrogate()
        && text[position].isLowSurrogate();
}

inline bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if ((text[i].isHighSurrogate() && !(i + 1 < text.size() && text[i + 1].isLowSurrogate()))
            || (text[i].isLowSurrogate() && !(i > 0 && text[i - 1].isHighSurrogate())))
            return true;
    }
    return false;
}

// Empty when the range lies inside the text on whole code points.
inline std::string rangeFault(const QString& text, TextRange range)
{
    if (range.location < 0 || range.length < 0 || range.end() > text.size())
        return show(range) + " outside a text of " + std::to_string(text.size());
    if (splitsPair(text, range.location) || splitsPair(text, range.end()))
        return show(range) + " splits a surrogate pair";
    return {};
}

// Empty when the edit's range, resulting text and selection are sound.
inline std::string editFault(const QString& text, TextRange selection, const std::optional<EditorBehavior::Edit>& edit)
{
    if (!edit)
        return {};
    if (edit->kind == EditorBehavior::Edit::Kind::replace && !rangeFault(text, edit->range).empty())
        return "range " + rangeFault(text, edit->range);
    const EditorBehavior::Edit::Result result = edit->applied(text, selection);
    return hasLoneSurrogate(result.text) ? "a lone surrogate" : rangeFault(result.text, result.selection);
}

} // namespace quillor::test
