#pragma once

#include "core/TextRange.h"
#include "editing/CompletionContext.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace quillor {

// Links, code and completion contexts in the editor's plain text.
namespace EditorSyntax {

struct RouteEdit {
    // Highest location first, so they can be removed in order.
    QList<TextRange> removed;
    QString insertion;
    // The caret after the removals, with the insertion where the fragment was.
    qsizetype cursor = 0;

    bool operator==(const RouteEdit&) const = default;
};

// The completion at an empty selection: a note after "[[", a destination after
// the route prefix, or a tag after "#". Never inside code or another link. The
// typed part always ends at the caret, and the range never holds a line break
// (so a word on the line above is never offered). `code`, when the caller
// already holds the text's codeRanges, spares reading the whole text for them.
std::optional<CompletionContext> completion(const QString& text, TextRange selection, const QString& prefix,
                                            const QList<TextRange>* code = nullptr);

// Replaces a typed route fragment by the destination's alias (and drops a
// leading route the text already starts with).
RouteEdit routeEdit(const QString& text, TextRange fragment, const QString& prefix, const QString& alias);

// Wiki links (and image embed bodies), Markdown links and bare http(s) URLs,
// outside code, in text order.
QList<TextRange> linkRanges(const QString& text);
// The same with the text's code ranges (codeRanges) already known.
QList<TextRange> linkRanges(const QString& text, const QList<TextRange>& codeRanges);

// Every code span and fenced block, in text order.
QList<TextRange> codeRanges(const QString& text);

// The web, mail or Obsidian address a click at the index opens.
std::optional<QUrl> externalLink(const QString& text, qsizetype index);

// "[[path]]" or "[[path|label]]"; nothing for a path or label that would break
// the link or leave the vault.
std::optional<QString> wikiLink(const QString& path, const std::optional<QString>& label);

} // namespace EditorSyntax
} // namespace quillor
