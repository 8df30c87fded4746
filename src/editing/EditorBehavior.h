#pragma once

#include "core/TextRange.h"
#include "editing/CodeSyntax.h"
#include "editing/ListSyntax.h"

#include <QList>
#include <QString>

#include <optional>

namespace quillor {

// The editing rules that make the capture editor feel like a Markdown editor.
// Each rule looks only at the whole text and the selection (UTF-16 units of
// the whole text) and returns the edit the editor applies instead of its
// default action; an absent result means the default happens (plain line
// break, one-character deletion, plain insertion).
namespace EditorBehavior {

// What the editor does instead of its default action.
struct Edit {
    enum class Kind {
        // Replace the selection by opening + selected text + closing, then
        // select the same text between them (a caret stays between the two).
        wrap,
        // Replace `range` by `text`, then set the selection to `selection`.
        replace,
        // Only move the selection (typing over a closing delimiter).
        select,
    };

    Kind kind = Kind::select;
    // wrap only.
    QString opening;
    QString closing;
    // replace only.
    TextRange range;
    QString text;
    // replace and select.
    TextRange selection;

    static Edit wrap(QString opening, QString closing);
    static Edit replace(TextRange range, QString text, TextRange selection);
    static Edit select(TextRange selection);
    static Edit replace(const CodeSyntax::Replacement& replacement);

    // The text and selection after applying the edit to `text` with
    // `selection` current, as the editor applies it.
    struct Result {
        QString text;
        TextRange selection;
        bool operator==(const Result&) const = default;
    };
    Result applied(const QString& text, TextRange selection) const;

    // Unused fields keep their defaults, so the comparison is by kind and payload.
    bool operator==(const Edit&) const = default;
};

// One replacement of an indentation plan, in the original text's positions.
struct Change {
    TextRange range;
    QString replacement;

    bool operator==(const Change&) const = default;
};

struct IndentationPlan {
    // In text order, none overlapping.
    QList<Change> changes;
    // The selection once every change is applied.
    TextRange selection;

    bool operator==(const IndentationPlan&) const = default;
};

// Return: continues a code fence, then a list, then a quote, the first that
// applies.
std::optional<Edit> newlinePlan(const QString& text, TextRange selection);
// Only the list and quote rules, as the raw replacement.
std::optional<ListSyntax::Edit> newlineEdit(const QString& text, TextRange selection);

// Backspace: an empty delimiter pair around the caret, a quote level, four
// spaces of indentation or a list prefix; the range to delete.
std::optional<TextRange> backspaceRange(const QString& text, TextRange selection);
// The empty pair part of backspaceRange alone.
std::optional<TextRange> emptyPairRange(const QString& text, TextRange selection);

// Tab and Shift-Tab over the lines of the selection: four spaces in, or one
// tab or up to four leading spaces out.
std::optional<IndentationPlan> indentationPlan(const QString& text, TextRange selection, bool outdent);

// A typed character: pairs delimiters, wraps the selection or steps over a
// closing delimiter already there.
std::optional<Edit> pairedInput(const QString& text, TextRange selection, const QString& input);

// The caret right after a bare "- " that starts a line (after its
// indentation): insert an empty task box.
std::optional<Edit> taskShorthand(const QString& text, TextRange selection);

// The completion row after moving by `moving` rows from `index`, wrapping past
// either end; 0 for an empty list.
int completionIndex(int index, int moving, int count);

} // namespace EditorBehavior
} // namespace quillor
