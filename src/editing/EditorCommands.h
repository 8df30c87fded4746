#pragma once

#include "core/TextRange.h"
#include "editing/EditorBehavior.h"

#include <QList>
#include <QString>

#include <optional>

namespace quillor {
namespace EditorBehavior {

// The formatting commands an editor can offer, in menu order.
enum class Command {
    wiki,
    task,
    bullet,
    bold,
    italic,
    strike,
    highlight,
    code,
    heading,
    quote,
};

// Every command, in menu order.
QList<Command> allCommands();
// The command's stable name ("wiki", "bold", ...).
QString name(Command command);
// The command of that exact name; none for any other text.
std::optional<Command> commandNamed(const QString& name);

// What the command does to the selection: wrap or unwrap inline markers, a
// fenced block or a wiki link, or toggle the prefix of the selection's first
// line. Absent for a selection outside the text.
std::optional<Edit> command(Command command, const QString& text, TextRange selection);

// One key pressed repeatedly on a line cycles it through plain text, "- ",
// "- [ ] ", "- [x] " and back down again. The owner keeps the value between
// presses; any other change to the text or selection restarts the cycle
// upwards.
struct ListStyleCycle {
    // The text and selection the last step left, to recognise a repeated press.
    std::optional<QString> expectedText;
    std::optional<TextRange> expectedSelection;
    // The cycle is on its way back from a done task to plain text.
    bool descending = false;

    // The next step on the line of the selection's start; absent inside code.
    std::optional<Edit> advance(const QString& text, TextRange selection);

    bool operator==(const ListStyleCycle&) const = default;
};

} // namespace EditorBehavior
} // namespace quillor
