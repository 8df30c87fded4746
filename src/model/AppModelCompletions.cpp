#include "model/AppModel.h"

#include "core/L10n.h"
#include "core/TextFolding.h"
#include "editing/EditorSyntax.h"
#include "editing/MarkdownAnalysis.h"
#include "model/EditorSurface.h"

#include <algorithm>

namespace quillor {

namespace {

QList<Completion> destinationRows(const Preferences& preferences, const QString& query)
{
    QList<Completion> rows;
    for (const Destination& destination : preferences.alphabeticalDestinations()) {
        if (destination.matchesDestination(query))
            rows.append(Completion(destination.displayName(), DeliveryModes::label(destination.mode), QString(),
                                   destination.id));
    }
    return rows;
}

// The label an existing "[[target|label]]" carries, kept when the target is
// replaced; absent when the typed link has no bar.
std::optional<QString> typedLinkLabel(const QString& typed)
{
    const qsizetype bar = typed.indexOf(u'|');
    if (bar < 0)
        return std::nullopt;
    QString label = typed.mid(bar + 1);
    if (typed.endsWith(QLatin1String("]]")))
        label.chop(2);
    return label;
}

// The notes' texts lie scattered over the heap and mostly out of the cache
// when "[[" asks for a whole vault: asking for those of the notes a few rows
// ahead lets the waits for memory overlap instead of adding up.
constexpr qsizetype prefetchDistance = 8;

void prefetch(const NoteSuggestion& note)
{
    __builtin_prefetch(note.path.constData());
    __builtin_prefetch(note.title.constData());
}

QList<Completion> noteRows(const QList<NoteSuggestion>& notes, const std::optional<QString>& label)
{
    QList<Completion> rows;
    rows.reserve(notes.size());
    for (qsizetype i = 0; i < notes.size(); ++i) {
        if (i + prefetchDistance < notes.size())
            prefetch(notes.at(i + prefetchDistance));
        const NoteSuggestion& note = notes.at(i);
        // A path that cannot form a link would insert broken text.
        if (const std::optional<QString> link = EditorSyntax::wikiLink(note.path, label))
            rows.append(Completion(note.title, note.path, *link));
    }
    return rows;
}

QList<Completion> tagRows(const QStringList& tags, const QString& query)
{
    QList<Completion> rows;
    const QString detail = L10n::text(QStringLiteral("Tag du vault"));
    for (const QString& tag : tags) {
        if (query.isEmpty() || TextFolding::localizedContainsIgnoringCase(tag, query))
            rows.append(Completion(u'#' + tag, detail, u'#' + tag + u' '));
    }
    return rows;
}

bool holdsDestination(const QList<Destination>& destinations, const QUuid& id)
{
    return std::any_of(destinations.cbegin(), destinations.cend(),
                       [&](const Destination& destination) { return destination.id == id; });
}

} // namespace

void AppModel::suggestions(TextRange range, const MarkdownAnalysis* analysis)
{
    const bool analysed = analysis && (analysis->text.isSharedWith(m_content.text) || analysis->text == m_content.text);
    const std::optional<CompletionContext> context = EditorSyntax::completion(
        m_content.text, range, m_preferences.routePrefix, analysed ? &analysis->codeRanges : nullptr);
    if (m_dismissedContext) {
        if (context == m_dismissedContext) {
            clearSuggestions();
            return;
        }
        m_dismissedContext.reset();
    }
    if (!context) {
        clearSuggestions();
        return;
    }

    const std::optional<CompletionContext> previous = m_completionContext;
    m_completionContext = context;
    const QList<Completion> rows = completionRows(*context);
    if (previous != context)
        setCompletionIndex(0);
    setCompletions(rows);
    // Under an unchanged context (an index refresh) the highlight stays on
    // its row, cut back when the list shrank.
    setCompletionIndex(rows.isEmpty() ? 0 : std::min(m_completionIndex, int(rows.size()) - 1));
}

QList<Completion> AppModel::completionRows(const CompletionContext& context) const
{
    switch (context.kind) {
    case CompletionKind::destination:
        return destinationRows(m_preferences, context.query);
    case CompletionKind::note:
        return noteRows(noteMatches(context.query),
                        typedLinkLabel(m_content.text.mid(context.range.location, context.range.length)));
    case CompletionKind::tag:
        return tagRows(m_tags, context.query);
    }
    return {};
}

void AppModel::clearSuggestions()
{
    m_completionContext.reset();
    setCompletions({});
}

QList<NoteSuggestion> AppModel::noteMatches(const QString& query) const
{
    if (query.isEmpty())
        return m_notes;
    QList<NoteSuggestion> matches;
    for (const NoteSuggestion& note : m_notes) {
        if (TextFolding::localizedContainsIgnoringCase(note.title, query)
            || TextFolding::localizedContainsIgnoringCase(note.path, query))
            matches.append(note);
    }
    return matches;
}

void AppModel::dismissSuggestions()
{
    m_dismissedContext = m_completionContext;
    setCompletions({});
}

void AppModel::selectCompletion(int index)
{
    setCompletionIndex(std::clamp(index, 0, std::max(int(m_completions.size()) - 1, 0)));
}

void AppModel::acceptCompletion(EditorSurface& textView)
{
    if (m_completions.isEmpty() || !m_completionContext)
        return;
    // The list may have been computed for a text or caret the editor has
    // since left.
    const std::optional<CompletionContext> current =
        EditorSyntax::completion(textView.text(), textView.selectedRange(), m_preferences.routePrefix);
    if (current != m_completionContext)
        return;

    // Copies: the edit below recomputes the list through the editor.
    const CompletionContext context = *current;
    const Completion row = m_completions.at(std::clamp(m_completionIndex, 0, int(m_completions.size()) - 1));
    dismissSuggestions();

    if (!row.destinationID) {
        textView.replaceUndoably(context.range, EditorContent::plain(row.insertion), std::nullopt,
                                 L10n::text(QStringLiteral("Compléter")), std::nullopt);
    } else {
        // Removed from the settings since the list was computed.
        if (!holdsDestination(m_preferences.destinations, *row.destinationID))
            return;
        textView.replaceUndoably(context.range, EditorContent(), context.range.location,
                                 L10n::text(QStringLiteral("Choisir la destination")),
                                 DestinationSelection{row.destinationID, true});
    }
    // The edit's own text change computed a list at the new caret: that one
    // is dismissed too.
    dismissSuggestions();
}

} // namespace quillor
