#pragma once

#include "core/TextRange.h"

#include <QList>
#include <QString>

#include <optional>

namespace quillor {

// The list items of a Markdown text ("-", "+", "*" bullets, "1." and "1)"
// ordered items, "[ ]" task boxes) and what Return does inside one.
namespace ListSyntax {

struct Item {
    // The whole line, terminator included.
    TextRange line;
    // From the marker to the start of the item's text: the marker, the blanks
    // after it and, for a task, the box and the blanks after it.
    TextRange marker;
    // "[", mark, "]" of a task box.
    std::optional<TextRange> checkbox;
    // What Return writes on the next line: the same indentation, the next
    // marker, then a fresh box for a task.
    QString continuation;
    qsizetype contentStart = 0;
    // The item's own number when ordered.
    std::optional<int> number;
    // Leading indentation in columns, tab stops every 4 columns.
    qsizetype indentation = 0;

    bool operator==(const Item&) const = default;
};

// Replace `range` by `replacement`. Also what Return does in a quote.
struct Edit {
    TextRange range;
    QString replacement;

    bool operator==(const Edit&) const = default;
};

// The largest number an ordered item continues with.
constexpr int maximumNumber = 999'999'999;

// In text order; nothing inside code.
QList<Item> items(const QString& text);
// The same with the text's code ranges (EditorSyntax::codeRanges) already known.
QList<Item> items(const QString& text, const QList<TextRange>& codeRanges);

// Return in a list item: continue the list on a new line, or end it when the
// item is empty by removing its marker. Absent: a plain line break.
std::optional<Edit> newlineEdit(const QString& text, TextRange selection);

// The live preview draws the marker unless a selection touches it.
bool showsRenderedMarker(const Item& item, const QList<TextRange>& selections);
// The same for the task box; false for an item without one. The text is not
// needed and is taken only so that all presentation tests read alike.
bool showsRenderedCheckbox(const Item& item, const QString& text, const QList<TextRange>& selections);

} // namespace ListSyntax
} // namespace quillor
