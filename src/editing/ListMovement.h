#pragma once

#include "core/TextRange.h"
#include "editing/ListSyntax.h"

#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace quillor {

// Moving a list item together with the lines nested under it ("its block"),
// by keyboard or by drag, possibly to another indentation; and moving a plain
// line up or down. Lines here end at LF, CR or CRLF only.
namespace ListMovement {

// One piece of the new text: a range copied from the old text, or literal text.
struct Piece {
    enum class Kind { source, text };

    Kind kind = Kind::source;
    TextRange range;   // source only
    QString literal;   // text only

    static Piece source(TextRange range);
    static Piece text(QString literal);

    bool operator==(const Piece&) const = default;
};

// A move as one replacement of the whole text, so that it undoes in one step.
struct Plan {
    QList<Piece> pieces;
    // The selection in the new text, kept on the same characters.
    TextRange selection;
    // The indentation the moved item gets, in columns.
    qsizetype indentation = 0;
    // Where the lines go in, in the old text, once adjusted.
    qsizetype destination = 0;
    // The moved lines in the new text, the last one's line break included.
    TextRange movedRange;

    // The pieces joined: the new text.
    QString replacement(const QString& text) const;

    bool operator==(const Plan&) const = default;
};

// Each item's block by the start of its line: the item's line and every
// following non-blank line indented deeper, with the blank lines between them
// but none after.
QMap<qsizetype, TextRange> blockRanges(const QString& text);
// The item's block; its own line when it has none.
TextRange blockRange(const QString& text, const ListSyntax::Item& item);

// Moves the item's block to `destination` (a position in the old text),
// indented by `indentSteps` levels more or less, never deeper than one level
// below the item that ends up before it. Absent when nothing would change or
// the item is not one of the text's items.
std::optional<Plan> plan(const QString& text, const ListSyntax::Item& item, qsizetype destination, int indentSteps,
                         TextRange selection);

// A keyboard move of the item at the selection past its next or previous
// sibling (or up to a shallower level); of the line itself outside a list.
std::optional<Plan> commandPlan(const QString& text, TextRange selection, bool down);

} // namespace ListMovement
} // namespace quillor
