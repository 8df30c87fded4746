#include "editing/EditorCommands.h"

#include "core/TextLines.h"
#include "editing/CodeSyntax.h"
#include "editing/LineItems.h"
#include "editing/ListSyntax.h"

#include <algorithm>
#include <array>

namespace quillor {
namespace EditorBehavior {

namespace {

struct CommandName {
    Command command;
    const char16_t* name;
};

constexpr std::array<CommandName, 10> commandNames{{
    {Command::wiki, u"wiki"},
    {Command::task, u"task"},
    {Command::bullet, u"bullet"},
    {Command::bold, u"bold"},
    {Command::italic, u"italic"},
    {Command::strike, u"strike"},
    {Command::highlight, u"highlight"},
    {Command::code, u"code"},
    {Command::heading, u"heading"},
    {Command::quote, u"quote"},
}};

// A fenced block is chosen as soon as the selection spans lines in any of the
// senses a text view or a regular expression gives the word.
bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool isValid(const QString& text, TextRange selection)
{
    return selection.location >= 0 && selection.length >= 0 && selection.end() <= text.size();
}

// ---- Inline markers and fenced blocks ----

struct Markers {
    QString opening;
    QString closing;
};

std::optional<Markers> inlineMarkers(Command command)
{
    switch (command) {
    case Command::bold:
        return Markers{QStringLiteral("**"), QStringLiteral("**")};
    case Command::italic:
        return Markers{QStringLiteral("*"), QStringLiteral("*")};
    case Command::strike:
        return Markers{QStringLiteral("~~"), QStringLiteral("~~")};
    case Command::highlight:
        return Markers{QStringLiteral("=="), QStringLiteral("==")};
    case Command::code:
        return Markers{QStringLiteral("`"), QStringLiteral("`")};
    default:
        return std::nullopt;
    }
}

Edit toggleInline(const Markers& markers, const QString& text, TextRange selection)
{
    const QStringView view(text);
    const qsizetype n = markers.opening.size();
    const qsizetype start = selection.location;
    const qsizetype end = selection.end();
    const bool wrapped = start - n >= 0 && end + n <= text.size() && view.mid(start - n, n) == markers.opening
        && view.mid(end, n) == markers.closing;
    if (!wrapped)
        return Edit::wrap(markers.opening, markers.closing);
    return Edit::replace({start - n, selection.length + 2 * n}, text.mid(start, selection.length), {start - n, selection.length});
}

qsizetype longestBacktickRun(QStringView text)
{
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c == u'`' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

bool onlyLineBreaks(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isLineBreak);
}

// The fenced block whose code is exactly the selection (give or take the line
// breaks that end the code): its fences go.
std::optional<Edit> unwrapFence(const QString& text, TextRange selection, const QString& selected)
{
    for (const CodeSyntax::Span& span : CodeSyntax::spans(text)) {
        const TextRange content = span.contentRange;
        if (!span.fenced || content.location != selection.location || content.end() < selection.end())
            continue;
        if (!onlyLineBreaks(QStringView(text).mid(selection.end(), content.end() - selection.end())))
            continue;
        const TextRange range = isLineBreak(selected.back()) ? span.range : span.activationRange;
        return Edit::replace(range, selected, {range.location, selection.length});
    }
    return std::nullopt;
}

Edit wrapInFence(const QString& text, TextRange selection, const QString& selected)
{
    const QString fence(std::max<qsizetype>(longestBacktickRun(selected) + 1, 3), u'`');
    const bool atLineStart = selection.location == 0 || isLineBreak(text[selection.location - 1]);
    const bool followedByText = selection.end() < text.size() && !isLineBreak(text[selection.end()]);
    const QString opening = (atLineStart ? QString() : QStringLiteral("\n")) + fence + u'\n';
    const QString closing = (isLineBreak(selected.back()) ? QString() : QStringLiteral("\n")) + fence
        + (followedByText ? QStringLiteral("\n") : QString());
    return Edit::wrap(opening, closing);
}

Edit wikiLink(const QString& selected, TextRange selection)
{
    const QString link = selected.isEmpty() ? QStringLiteral("[[]]") : QStringLiteral("[[|") + selected + QStringLiteral("]]");
    return Edit::replace(selection, link, {selection.location + 2, 0});
}

// ---- Line prefixes ----

// The line of the selection's start, where its marker would start, and the
// list item there if any (its marker always starts there).
struct LinePrefix {
    TextRange line;
    qsizetype markerStart = 0;
    std::optional<ListSyntax::Item> item;
};

LinePrefix linePrefix(const QString& text, const LineItems& items, qsizetype position)
{
    LinePrefix prefix;
    prefix.line = TextLines::lineRange(text, position);
    prefix.markerStart = prefix.line.location;
    while (prefix.markerStart < text.size() && isBlank(text[prefix.markerStart]))
        ++prefix.markerStart;
    prefix.item = items.opening(prefix.line.location);
    return prefix;
}

bool isDone(const QString& text, const ListSyntax::Item& item)
{
    const QChar mark = text[item.checkbox->location + 1];
    return mark == u'x' || mark == u'X';
}

qsizetype markerLength(const LinePrefix& prefix) { return prefix.item ? prefix.item->marker.length : 0; }

// Replaces `removed` units at `at` by `inserted`: what follows shifts, what was
// removed collapses onto the end of the insertion.
TextRange mappedSelection(TextRange selection, qsizetype at, qsizetype inserted, qsizetype removed)
{
    const auto map = [&](qsizetype position) {
        return position < at ? position : std::max(position + inserted - removed, at + inserted);
    };
    const qsizetype start = map(selection.location);
    const qsizetype end = map(selection.end());
    return {start, std::max<qsizetype>(end - start, 0)};
}

Edit replacePrefix(const LinePrefix& prefix, qsizetype removed, const QString& replacement, TextRange selection)
{
    return Edit::replace({prefix.markerStart, removed}, replacement,
                         mappedSelection(selection, prefix.markerStart, replacement.size(), removed));
}

Edit toggleTask(const QString& text, const LinePrefix& prefix, TextRange selection)
{
    if (prefix.item && prefix.item->checkbox) {
        const QString box = isDone(text, *prefix.item) ? QStringLiteral("[ ]") : QStringLiteral("[x]");
        return Edit::replace(*prefix.item->checkbox, box, selection);
    }
    return replacePrefix(prefix, markerLength(prefix), QStringLiteral("- [ ] "), selection);
}

Edit toggleBullet(const LinePrefix& prefix, TextRange selection)
{
    const bool plainBullet = prefix.item && !prefix.item->checkbox && !prefix.item->number;
    return replacePrefix(prefix, markerLength(prefix), plainBullet ? QString() : QStringLiteral("- "), selection);
}

Edit toggleLineMark(const QString& text, const LinePrefix& prefix, const QString& mark, TextRange selection)
{
    const bool present = QStringView(text).mid(prefix.markerStart).startsWith(mark);
    return present ? replacePrefix(prefix, mark.size(), QString(), selection) : replacePrefix(prefix, 0, mark, selection);
}

std::optional<Edit> lineCommand(Command command, const QString& text, TextRange selection)
{
    const LinePrefix prefix = linePrefix(text, LineItems(text), selection.location);
    switch (command) {
    case Command::task:
        return toggleTask(text, prefix, selection);
    case Command::bullet:
        return toggleBullet(prefix, selection);
    case Command::heading:
        return toggleLineMark(text, prefix, QStringLiteral("# "), selection);
    case Command::quote:
        return toggleLineMark(text, prefix, QStringLiteral("> "), selection);
    default:
        return std::nullopt;
    }
}

} // namespace

QList<Command> allCommands()
{
    QList<Command> commands;
    for (const CommandName& entry : commandNames)
        commands.append(entry.command);
    return commands;
}

QString name(Command command)
{
    for (const CommandName& entry : commandNames) {
        if (entry.command == command)
            return QString::fromUtf16(entry.name);
    }
    return {};
}

std::optional<Command> commandNamed(const QString& text)
{
    for (const CommandName& entry : commandNames) {
        if (text == QStringView(entry.name))
            return entry.command;
    }
    return std::nullopt;
}

std::optional<Edit> command(Command command, const QString& text, TextRange selection)
{
    if (!isValid(text, selection))
        return std::nullopt;
    const QString selected = text.mid(selection.location, selection.length);
    if (command == Command::code && std::any_of(selected.begin(), selected.end(), isLineBreak)) {
        if (std::optional<Edit> unwrap = unwrapFence(text, selection, selected))
            return unwrap;
        return wrapInFence(text, selection, selected);
    }
    if (const std::optional<Markers> markers = inlineMarkers(command))
        return toggleInline(*markers, text, selection);
    if (command == Command::wiki)
        return wikiLink(selected, selection);
    return lineCommand(command, text, selection);
}

std::optional<Edit> ListStyleCycle::advance(const QString& text, TextRange selection)
{
    if (!isValid(text, selection))
        return std::nullopt;
    const LineItems items(text);
    if (items.overlapsCode(TextLines::lineRange(text, selection.location)))
        return std::nullopt;
    if (expectedText != text || expectedSelection != selection)
        descending = false;

    const LinePrefix prefix = linePrefix(text, items, selection.location);
    QString replacement;
    if (!prefix.item) {
        replacement = QStringLiteral("- ");
        descending = false;
    } else if (prefix.item->checkbox && isDone(text, *prefix.item)) {
        replacement = QStringLiteral("- [ ] ");
        descending = true;
    } else if (prefix.item->checkbox) {
        replacement = descending ? QStringLiteral("- ") : QStringLiteral("- [x] ");
    } else {
        replacement = descending ? QString() : QStringLiteral("- [ ] ");
    }

    const Edit edit = replacePrefix(prefix, markerLength(prefix), replacement, selection);
    expectedText = QString(text).replace(edit.range.location, edit.range.length, edit.text);
    expectedSelection = edit.selection;
    return edit;
}

} // namespace EditorBehavior
} // namespace quillor
