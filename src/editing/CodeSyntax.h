#pragma once

#include "core/TextRange.h"

#include <QList>
#include <QString>

#include <optional>

namespace quillor {

// The code of a Markdown text: fenced blocks opened by a run of three or more
// backticks or tildes, and inline spans between backtick runs. Everything else
// in the editor excludes these ranges.
namespace CodeSyntax {

struct Span {
    // The whole construct. A fenced block includes its closing line's
    // terminator.
    TextRange range;
    // Where a caret or selection counts as inside: a fenced block without the
    // closing line's terminator; an inline span as range.
    TextRange activationRange;
    // The syntax characters: for a fenced block the opening and closing lines
    // (without terminators); for an inline span the opening run, then the
    // closing one when there is one.
    QList<TextRange> delimiters;
    // The code itself.
    TextRange contentRange;
    bool fenced = false;

    bool operator==(const Span&) const = default;
};

// Replace `range` by `text`, then put the selection at `selection`: the edit the
// Return key makes after an opening fence.
struct Replacement {
    TextRange range;
    QString text;
    TextRange selection;

    bool operator==(const Replacement&) const = default;
};

// Sorted by location.
QList<Span> spans(const QString& text);

// The inline spans of a stretch of the text between two fenced blocks of it
// (or one and an end of the text, or both ends): those spans() gives there.
QList<Span> inlineSpans(const QString& text, TextRange stretch);

// A non-empty selection overlapping the activation range by one unit or more,
// or a caret touching it (both ends count).
bool isActive(const Span& span, const QList<TextRange>& selections);

// Return at the end of an opening fence: a blank line for the caret and, unless
// the block is already closed further down, the closing fence.
std::optional<Replacement> newlinePlan(const QString& text, TextRange selection);

} // namespace CodeSyntax
} // namespace quillor
