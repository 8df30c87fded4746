#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace quillor {

// What a click on a link in the editor opens.
struct EditorLink {
    enum class Kind { external, wiki };

    Kind kind = Kind::external;
    // For external: the web, mail or Obsidian address the system opens.
    QUrl url;
    // For wiki: the note the link names, as written (before any "|" or "#").
    QString target;

    static EditorLink external(const QUrl& url) { return EditorLink{Kind::external, url, {}}; }
    static EditorLink wiki(const QString& target) { return EditorLink{Kind::wiki, {}, target}; }

    bool operator==(const EditorLink&) const = default;
};

namespace NoteLinks {

// The link under the UTF-16 index: nothing outside links, on an image embed,
// for an unsafe wiki target or for a scheme the system should not open.
std::optional<EditorLink> link(const QString& text, qsizetype index);

// The note paths (vault-relative, without ".md") that a wiki target names,
// ignoring case and diacritics: the paths equal to the whole target when there
// are any, else those whose last component equals it. Sorted by code point.
QStringList matches(const QString& target, const QStringList& paths);

} // namespace NoteLinks
} // namespace quillor
