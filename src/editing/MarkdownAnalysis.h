#pragma once

#include "core/TextRange.h"
#include "editing/CodeSyntax.h"
#include "editing/ListSyntax.h"
#include "editing/MarkdownPresentation.h"
#include "editing/MarkdownStyle.h"
#include "editing/QuoteSyntax.h"
#include "editing/TextChange.h"

#include <QList>
#include <QString>

namespace quillor {

// Everything the live preview reads from a text whatever the selection: its
// code, styles, quote lines, list items, links and concealable syntax. The
// editor restyles on every keystroke and every caret move; each of these
// analyses on its own would find the text's code again, so the text is read
// once per change and the concealment, the decorations and the formats only
// filter the result for the selection. Each list is exactly what the
// analysis of the same name gives for the text.
struct MarkdownAnalysis {
    using Concealable = MarkdownPresentation::ConcealableSyntax;

    QList<CodeSyntax::Span> code;        // CodeSyntax::spans
    QList<TextRange> codeRanges;         // EditorSyntax::codeRanges
    QList<QuoteSyntax::Line> quotes;     // QuoteSyntax::lines
    QList<ListSyntax::Item> items;       // ListSyntax::items
    QList<TextRange> links;              // EditorSyntax::linkRanges

    // The styles by rule (MarkdownPresentation::stylesByRule), and the
    // concealable syntax by group (MarkdownPresentation::concealableSyntax;
    // the code's is read from `code`). An edit replaces their share in its
    // lines; joining them on every keystroke would cost the whole text.
    QList<QList<MarkdownStyle>> styleRules;
    QList<QList<Concealable>> concealableGroups;
    // The text analysed (shared, not copied).
    QString text;

    static MarkdownAnalysis of(const QString& text);

    // MarkdownPresentation::styles of the text.
    QList<MarkdownStyle> styles() const { return MarkdownPresentation::joined(styleRules); }

    // The analysis of `text`, the text `previous` was made of after one edit
    // that replaced the `removed` units at `position` by `added` units: equal
    // to of(text). Nothing but code crosses a line feed, so unless the edit
    // changes the text's code, only the edited lines are read again; the rest
    // is moved along.
    static MarkdownAnalysis afterEdit(MarkdownAnalysis previous, const QString& text, qsizetype position,
                                      qsizetype removed, qsizetype added);

    // The code after the change is the code before it, moved along: the
    // change left every fence, backtick run and code line end where it was.
    // Given the length of the text before the change, what ran to its end
    // may run to the end after it (a fence left open, typed at its end).
    static bool codeCarried(const QList<CodeSyntax::Span>& before, const QList<CodeSyntax::Span>& after,
                            const TextChange& change, qsizetype previousLength = -1);

    bool operator==(const MarkdownAnalysis&) const = default;
};

} // namespace quillor
