#include "editing/EditorBehavior.h"

#include "core/TextLines.h"
#include "editing/LineItems.h"
#include "editing/MarkdownPresentation.h"
#include "editing/QuoteSyntax.h"

#include <QStringView>

#include <algorithm>
#include <array>

namespace quillor {
namespace EditorBehavior {

namespace {

using namespace Qt::StringLiterals;

constexpr QChar backslash = u'\\';
constexpr QChar backtick = u'`';

struct Pair {
    char16_t opener;
    char16_t closer;
};

constexpr std::array<Pair, 8> pairs{{
    {u'(', u')'},
    {u'[', u']'},
    {u'{', u'}'},
    {u'"', u'"'},
    {u'\'', u'\''},
    {u'*', u'*'},
    {u'_', u'_'},
    {u'`', u'`'},
}};

// Closers a typed one steps over when an opener before the caret still waits
// for it.
constexpr std::u16string_view balancedClosers = u")]}";

// What Backspace removes as a whole when the caret stands between its halves.
constexpr std::array<std::u16string_view, 8> emptyPairs{
    u"[]", u"()", u"{}", u"\"\"", u"''", u"**", u"__", u"``",
};

// A pair may open right before one of these, as well as before a blank or at
// the end of the text: they usually close something the pair sits inside.
constexpr std::u16string_view opensBefore = u")]}>\"'`*_";

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool selectionInside(const QString& text, TextRange selection)
{
    return selection.location >= 0 && selection.length >= 0 && selection.end() <= text.size();
}

qsizetype lineStart(const QString& text, qsizetype position)
{
    return TextLines::lineRange(text, position).location;
}

// Backslashes directly before the position.
qsizetype backslashesBefore(QStringView text, qsizetype position)
{
    qsizetype i = position;
    while (i > 0 && text[i - 1] == backslash)
        --i;
    return position - i;
}

std::optional<char16_t> closerOf(QChar opener)
{
    for (const Pair& pair : pairs) {
        if (pair.opener == opener.unicode())
            return pair.closer;
    }
    return std::nullopt;
}

bool isOneCharacter(const QString& input)
{
    return !input.isEmpty() && Graphemes::next(input, 0) == input.size();
}

// Code as the typed-character rules see it: the text is given one trailing
// space, so that an unclosed backtick or an open fence at the very end already
// holds the caret.
struct CodeAtCaret {
    bool inCode = false;
    bool inFence = false;
};

CodeAtCaret codeAt(const QString& text, qsizetype caret)
{
    CodeAtCaret code;
    for (const CodeSyntax::Span& span : CodeSyntax::spans(text + u' ')) {
        if (span.range.location > caret)
            break;
        if (span.range.contains(caret)) {
            code.inCode = true;
            code.inFence = span.fenced && span.contentRange.contains(caret);
        }
    }
    return code;
}

bool insideCode(const QString& text, qsizetype position)
{
    const QList<CodeSyntax::Span> spans = CodeSyntax::spans(text);
    return std::any_of(spans.cbegin(), spans.cend(),
                       [position](const CodeSyntax::Span& span) { return span.range.contains(position); });
}

bool overlapsCode(const QString& text, TextRange range)
{
    const QList<CodeSyntax::Span> spans = CodeSyntax::spans(text);
    return std::any_of(spans.cbegin(), spans.cend(),
                       [range](const CodeSyntax::Span& span) { return span.range.overlaps(range); });
}

bool insideEmphasis(const QString& text, qsizetype caret)
{
    const QList<MarkdownStyle> styles = MarkdownPresentation::styles(text);
    return std::any_of(styles.cbegin(), styles.cend(), [caret](const MarkdownStyle& style) {
        return (style.bold || style.italic) && style.range.contains(caret);
    });
}

// The caret inside an emphasis with only its closing delimiter after it: the
// second star of a closing "**" steps over like the first.
bool beforeClosingDelimiter(const QString& text, qsizetype caret, QChar delimiter)
{
    const QList<MarkdownStyle> styles = MarkdownPresentation::styles(text);
    return std::any_of(styles.cbegin(), styles.cend(), [&](const MarkdownStyle& style) {
        if (!(style.bold || style.italic) || !style.range.contains(caret))
            return false;
        const QStringView rest = QStringView(text).sliced(caret, style.range.end() - caret);
        return std::all_of(rest.begin(), rest.end(), [delimiter](QChar c) { return c == delimiter; });
    });
}

// Openers minus closers of one bracket kind, over the whole text before the
// caret.
qsizetype bracketBalance(QStringView before, QChar closer)
{
    const QChar opener = closer == u')' ? u'(' : closer == u']' ? u'[' : u'{';
    qsizetype balance = 0;
    for (const QChar c : before) {
        if (c == opener)
            ++balance;
        else if (c == closer)
            --balance;
    }
    return balance;
}

// The list and quote rules search the whole text for items and quote lines on
// every key press. These tests are necessary conditions read off the caret's
// own line, so that most key presses are answered without that search.

// An item's marker ("-", "+", "*" or a number) stands on the caret's line
// before the caret.
bool mayContinueList(QStringView text, qsizetype lineStart, qsizetype caret)
{
    const QStringView head = text.sliced(lineStart, caret - lineStart);
    return std::any_of(head.cbegin(), head.cend(),
                       [](QChar c) { return c == u'-' || c == u'+' || c == u'*' || (c >= u'0' && c <= u'9'); });
}

// A quote prefix's ">" stands on the caret's line before the caret.
bool mayContinueQuote(QStringView text, qsizetype lineStart, qsizetype caret)
{
    return text.sliced(lineStart, caret - lineStart).contains(u'>');
}

// A quote prefix ends with ">", or with one blank after it.
bool mayEndQuotePrefix(QStringView text, qsizetype caret)
{
    if (caret >= 1 && text[caret - 1] == u'>')
        return true;
    return caret >= 2 && isBlank(text[caret - 1]) && text[caret - 2] == u'>';
}

std::optional<TextRange> indentationRange(const QString& text, qsizetype caret)
{
    const qsizetype start = lineStart(text, caret);
    const QStringView line = QStringView(text).sliced(start, caret - start);
    if (!line.endsWith(u"    ") || !std::all_of(line.cbegin(), line.cend(), isBlank))
        return std::nullopt;
    return TextRange{caret - 4, 4};
}

// The list items break lines also at "\v", "\f" and U+0085, where the text's
// lines do not: an item may then start inside a line, past its first marker.
// Such lines are rare, and only they need the whole text's items.
bool holdsInnerItemBreak(QStringView text, qsizetype position)
{
    const TextRange line = TextLines::lineRange(text, position);
    const QStringView view = text.sliced(line.location, line.length);
    return std::any_of(view.cbegin(), view.cend(), [](QChar c) { return c == u'\v' || c == u'\f' || c == QChar(0x85); });
}

std::optional<TextRange> listPrefixRange(const QString& text, qsizetype caret)
{
    // An item's text starts after a blank or, for a box that ends its line,
    // after the "]": anywhere else no item can start at the caret, and the
    // whole-text search for items is spared.
    if (caret == 0 || !(isBlank(text[caret - 1]) || text[caret - 1] == u']'))
        return std::nullopt;
    if (holdsInnerItemBreak(text, caret)) {
        for (const ListSyntax::Item& item : ListSyntax::items(text)) {
            if (item.contentStart == caret) {
                const qsizetype start = item.checkbox ? item.checkbox->location : item.marker.location;
                return TextRange::fromBounds(start, caret);
            }
            if (item.line.location > caret)
                break;
        }
        return std::nullopt;
    }
    // Only the item opening the caret's line can start its text there.
    const LineItems items(text);
    const std::optional<ListSyntax::Item>& item = items.opening(lineStart(text, caret));
    if (!item || item->contentStart != caret)
        return std::nullopt;
    const qsizetype start = item->checkbox ? item->checkbox->location : item->marker.location;
    return TextRange::fromBounds(start, caret);
}

// ListSyntax::newlineEdit, reading only the item that opens the caret's line.
std::optional<ListSyntax::Edit> listNewlineEdit(const QString& text, TextRange selection, qsizetype start)
{
    if (holdsInnerItemBreak(text, selection.location))
        return ListSyntax::newlineEdit(text, selection);
    const LineItems items(text);
    const std::optional<ListSyntax::Item>& item = items.opening(start);
    if (!item || selection.location < item->contentStart || selection.end() > item->line.end())
        return std::nullopt;
    // The whole rest of the line decides, also what lies after the caret.
    const QString rest = text.mid(item->contentStart, item->line.end() - item->contentStart).trimmed();
    if (!rest.isEmpty())
        return ListSyntax::Edit{selection, u'\n' + item->continuation};
    // Return on an empty item ends the list.
    return ListSyntax::Edit{TextRange::fromBounds(item->line.location, item->contentStart), QString()};
}

// The lines from the selection's first to its last unit (the caret's line for
// an empty selection), terminators included.
QList<TextRange> selectedLines(const QString& text, TextRange selection)
{
    const TextRange all = TextLines::lineRange(text, selection);
    QList<TextRange> lines;
    qsizetype start = all.location;
    while (true) {
        const TextRange line = TextLines::lineRange(text, start);
        lines.append(line);
        if (line.end() >= all.end() || line.end() == start)
            break;
        start = line.end();
    }
    return lines;
}

std::optional<Change> outdentChange(const QString& text, TextRange line)
{
    if (line.isEmpty())
        return std::nullopt;
    if (text[line.location] == u'\t')
        return Change{TextRange{line.location, 1}, QString()};
    qsizetype spaces = 0;
    while (spaces < 4 && spaces < line.length && text[line.location + spaces] == u' ')
        ++spaces;
    if (spaces == 0)
        return std::nullopt;
    return Change{TextRange{line.location, spaces}, QString()};
}

// Where a position of the old text lands once every change is applied.
qsizetype mapped(qsizetype position, const QList<Change>& changes)
{
    qsizetype moved = position;
    for (const Change& change : changes) {
        if (change.range.location > position)
            break;
        moved += change.replacement.size()
            - std::min(position - change.range.location, change.range.length);
    }
    return moved;
}

QStringView trimmedBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// What the typed-character rules know of the caret's surroundings.
struct Typing {
    qsizetype caret = 0;
    bool empty = true;
    QStringView before;   // the text up to the caret
    QStringView prev;     // the last character of before, maybe none
    QStringView next;     // the unit at the caret, maybe none
    QChar typed;

    bool typedIsNext() const { return next.size() == 1 && next[0] == typed; }
    Edit stepOver() const { return Edit::select(TextRange{caret + 1, 0}); }
};

// A "*" typed at a line start is paired; a space typed between the pair turns
// it into a bullet instead of an empty emphasis.
bool completesBullet(const QString& text, const Typing& typing)
{
    if (!typing.empty || typing.typed != u' ' || typing.prev != u"*" || typing.next != u"*")
        return false;
    const qsizetype start = lineStart(text, typing.caret);
    return trimmedBlanks(QStringView(text).mid(start, typing.caret - start)) == u"*";
}

// The rules for backticks and code come before everything else; inside code
// they decide alone, and no edit then means the plain insertion.
struct Verdict {
    bool decided = false;
    std::optional<Edit> edit;
};

Verdict codeInput(const QString& text, const Typing& typing)
{
    const CodeAtCaret code = codeAt(text, typing.caret);
    const bool backtickAgain = typing.empty && typing.typed == backtick && typing.typedIsNext();
    if (backtickAgain && typing.prev == u"`" && !code.inFence)
        return {true, Edit::replace(TextRange{typing.caret, 0}, u"``"_s, TextRange{typing.caret + 1, 0})};
    if (backtickAgain && code.inCode && !code.inFence)
        return {true, typing.stepOver()};
    return {code.inCode, std::nullopt};
}

// The pair table's rules once code, bullets and balanced closers are settled.
std::optional<Edit> pairInput(const QString& text, const Typing& typing)
{
    const std::optional<char16_t> closer = closerOf(typing.typed);
    if (!closer)
        return std::nullopt;
    const QString opening(typing.typed);
    const QString closing(QChar{*closer});
    if (!typing.empty)
        return Edit::wrap(opening, closing);

    const QChar c = typing.typed;
    if (typing.typedIsNext() && (c == u'"' || c == u'\'') && typing.before.count(c) % 2 != 0)
        return typing.stepOver();
    if (typing.typedIsNext() && (c == u'*' || c == u'_')
        && (typing.prev != opening ? insideEmphasis(text, typing.caret)
                                   : beforeClosingDelimiter(text, typing.caret, c)))
        return typing.stepOver();
    if (opening == closing && !typing.prev.isEmpty() && QChar::isLetterOrNumber(typing.prev.toUcs4().constFirst()))
        return std::nullopt;
    const QStringView next = typing.next;
    if (!next.isEmpty() && !next[0].isSpace() && opensBefore.find(next[0].unicode()) == std::u16string_view::npos)
        return std::nullopt;
    return Edit::wrap(opening, closing);
}

} // namespace

Edit Edit::wrap(QString opening, QString closing)
{
    Edit edit;
    edit.kind = Kind::wrap;
    edit.opening = std::move(opening);
    edit.closing = std::move(closing);
    return edit;
}

Edit Edit::replace(TextRange range, QString text, TextRange selection)
{
    Edit edit;
    edit.kind = Kind::replace;
    edit.range = range;
    edit.text = std::move(text);
    edit.selection = selection;
    return edit;
}

Edit Edit::select(TextRange selection)
{
    Edit edit;
    edit.kind = Kind::select;
    edit.selection = selection;
    return edit;
}

Edit Edit::replace(const CodeSyntax::Replacement& replacement)
{
    return replace(replacement.range, replacement.text, replacement.selection);
}

Edit::Result Edit::applied(const QString& original, TextRange current) const
{
    switch (kind) {
    case Kind::wrap: {
        QString result = original;
        result.insert(current.end(), closing);
        result.insert(current.location, opening);
        return {result, TextRange{current.location + opening.size(), current.length}};
    }
    case Kind::replace:
        return {QString(original).replace(range.location, range.length, text), selection};
    case Kind::select:
        break;
    }
    return {original, selection};
}

std::optional<ListSyntax::Edit> newlineEdit(const QString& text, TextRange selection)
{
    const qsizetype caret = selection.location;
    if (!selectionInside(text, selection))
        return std::nullopt;
    const qsizetype start = lineStart(text, caret);
    if (mayContinueList(text, start, caret)) {
        if (std::optional<ListSyntax::Edit> edit = listNewlineEdit(text, selection, start))
            return edit;
    }
    if (mayContinueQuote(text, start, caret))
        return QuoteSyntax::newlineEdit(text, selection);
    return std::nullopt;
}

std::optional<Edit> newlinePlan(const QString& text, TextRange selection)
{
    if (std::optional<CodeSyntax::Replacement> fence = CodeSyntax::newlinePlan(text, selection))
        return Edit::replace(*fence);
    const std::optional<ListSyntax::Edit> edit = newlineEdit(text, selection);
    if (!edit)
        return std::nullopt;
    const TextRange caret{edit->range.location + edit->replacement.size(), 0};
    return Edit::replace(edit->range, edit->replacement, caret);
}

std::optional<TextRange> emptyPairRange(const QString& text, TextRange selection)
{
    const qsizetype caret = selection.location;
    if (!selection.isEmpty() || caret < 1 || caret >= text.size())
        return std::nullopt;
    const QStringView around = QStringView(text).mid(caret - 1, 2);
    if (std::find(emptyPairs.cbegin(), emptyPairs.cend(), around) == emptyPairs.cend())
        return std::nullopt;
    if (around[0] != backtick && insideCode(text, caret))
        return std::nullopt;
    if (backslashesBefore(text, caret - 1) % 2 != 0)
        return std::nullopt;
    return TextRange{caret - 1, 2};
}

std::optional<TextRange> backspaceRange(const QString& text, TextRange selection)
{
    const qsizetype caret = selection.location;
    if (!selection.isEmpty() || caret < 0 || caret > text.size())
        return std::nullopt;
    if (std::optional<TextRange> pair = emptyPairRange(text, selection))
        return pair;
    if (mayEndQuotePrefix(text, caret)) {
        if (std::optional<TextRange> quote = QuoteSyntax::backspaceRange(text, selection))
            return quote;
    }
    if (std::optional<TextRange> indentation = indentationRange(text, caret))
        return indentation;
    return listPrefixRange(text, caret);
}

std::optional<IndentationPlan> indentationPlan(const QString& text, TextRange selection, bool outdent)
{
    if (!selectionInside(text, selection))
        return std::nullopt;
    QList<Change> changes;
    for (const TextRange& line : selectedLines(text, selection)) {
        if (!outdent)
            changes.append(Change{TextRange{line.location, 0}, u"    "_s});
        else if (std::optional<Change> change = outdentChange(text, line))
            changes.append(*change);
    }
    if (changes.isEmpty())
        return std::nullopt;
    const qsizetype start = mapped(selection.location, changes);
    const qsizetype end = mapped(selection.end(), changes);
    return IndentationPlan{changes, TextRange::fromBounds(start, std::max(start, end))};
}

std::optional<Edit> pairedInput(const QString& text, TextRange selection, const QString& input)
{
    if (!isOneCharacter(input) || !selectionInside(text, selection))
        return std::nullopt;
    Typing typing;
    typing.caret = selection.location;
    typing.empty = selection.isEmpty();
    typing.before = QStringView(text).first(typing.caret);
    typing.prev = typing.before.sliced(Graphemes::previous(typing.before, typing.caret));
    typing.next = QStringView(text).sliced(typing.caret).first(typing.caret < text.size() ? 1 : 0);

    if (backslashesBefore(typing.before, typing.caret) % 2 != 0)
        return std::nullopt;
    // Every delimiter is one unit: a character of two units (or a combining
    // sequence) is always inserted as typed.
    if (input.size() != 1)
        return std::nullopt;
    typing.typed = input[0];
    // A character no rule below acts on is typed as it is, without looking
    // for the code around the caret in the whole text.
    const bool balancedCloser = balancedClosers.find(typing.typed.unicode()) != std::u16string_view::npos;
    if (typing.typed != backtick && typing.typed != u' ' && !balancedCloser && !closerOf(typing.typed))
        return std::nullopt;

    if (Verdict verdict = codeInput(text, typing); verdict.decided)
        return verdict.edit;
    if (completesBullet(text, typing))
        return Edit::replace(TextRange{typing.caret, 1}, u" "_s, TextRange{typing.caret + 1, 0});
    if (typing.empty && typing.typedIsNext() && balancedCloser) {
        if (bracketBalance(typing.before, typing.typed) > 0)
            return typing.stepOver();
        return std::nullopt;
    }
    return pairInput(text, typing);
}

std::optional<Edit> taskShorthand(const QString& text, TextRange selection)
{
    const qsizetype caret = selection.location;
    if (!selection.isEmpty() || caret < 0 || caret > text.size())
        return std::nullopt;
    const TextRange line = TextLines::lineRange(text, caret);
    const QStringView head = QStringView(text).mid(line.location, caret - line.location);
    if (!head.endsWith(u"- ") || !std::all_of(head.cbegin(), head.cend() - 2, isBlank))
        return std::nullopt;
    if (overlapsCode(text, line))
        return std::nullopt;
    return Edit::replace(TextRange{caret, 0}, u"[ ] "_s, TextRange{caret + 4, 0});
}

int completionIndex(int index, int moving, int count)
{
    if (count < 1)
        return 0;
    // 64 bits: start + moving % count + count can pass INT_MAX for a huge count.
    const qint64 start = std::clamp(index, 0, count - 1);
    const qint64 size = count;
    return int(((start + qint64(moving) % size) + size) % size);
}

} // namespace EditorBehavior
} // namespace quillor
