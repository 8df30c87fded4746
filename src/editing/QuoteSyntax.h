#pragma once

#include "core/TextRange.h"
#include "editing/ListSyntax.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillor {

// Block quotes: their lines, Return and Backspace inside them, and how the
// live preview indents them.
namespace QuoteSyntax {

struct Line {
    // The whole line, terminator included.
    TextRange range;
    // The ">" markers with their blanks (and up to three leading spaces).
    TextRange prefix;
    // The number of ">" in the prefix.
    int depth = 0;

    qsizetype contentStart() const { return prefix.end(); }

    bool operator==(const Line&) const = default;
};

// Presentation metrics, in points.
constexpr qreal levelIndent = 10;
constexpr qreal barWidth = 3;
// Of the quote bar's colour.
constexpr qreal barOpacity = 0.2;
constexpr qreal textIndent(int depth) { return levelIndent * depth; }

// In text order; nothing inside code.
QList<Line> lines(const QString& text);
// The same with the text's code ranges (EditorSyntax::codeRanges) already known.
QList<Line> lines(const QString& text, const QList<TextRange>& codeRanges);

// Return in a quote: continue with the same prefix, or end the quote by
// removing the prefix of an empty quote line.
std::optional<ListSyntax::Edit> newlineEdit(const QString& text, TextRange selection);

// Backspace right after a quote prefix removes its last level.
std::optional<TextRange> backspaceRange(const QString& text, TextRange selection);

// An active line shows its prefix as typed.
bool isActive(const Line& line, const QString& text, const QList<TextRange>& selections);
// 0 for an active line, else its depth.
int presentationDepth(const Line& line, const QString& text, const QList<TextRange>& selections);

} // namespace QuoteSyntax
} // namespace quillor
