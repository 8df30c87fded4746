// List editing and paired delimiters from the keyboard: the editing rules
// decide, the view applies their answer as one named undo step.

#include "editor/CaptureTextView.h"

#include "core/L10n.h"
#include "editor/EditorDocument.h"

#include <QScrollBar>
#include <QTextCursor>

#include <algorithm>

namespace quillor {

bool CaptureTextView::canEditText() const
{
    return !isReadOnly() && !m_composing;
}

void CaptureTextView::replaceWholeText(const EditorContent& content, TextRange selection, const QString& actionName)
{
    // One replacement of everything, so that the whole change undoes at once.
    replaceUndoably(TextRange{0, m_content.text.size()}, content, selection.location, actionName, std::nullopt);
    setSelectionRange(selection);
}

bool CaptureTextView::listNewline()
{
    if (!canEditText())
        return false;
    const std::optional<EditorBehavior::Edit> plan = EditorBehavior::newlinePlan(m_content.text, selectionRange());
    if (!plan || plan->kind != EditorBehavior::Edit::Kind::replace)
        return false;
    replaceUndoably(plan->range, EditorContent::plain(plan->text), plan->selection.location,
                    L10n::text(QStringLiteral("Saisir")), std::nullopt);
    setSelectionRange(plan->selection);
    return true;
}

bool CaptureTextView::listBackspace()
{
    const TextRange selection = selectionRange();
    // A selection is deleted as it is.
    if (!canEditText() || !selection.isEmpty())
        return false;
    const std::optional<TextRange> range = EditorBehavior::backspaceRange(m_content.text, selection);
    if (!range)
        return false;
    replaceUndoably(*range, EditorContent(), std::nullopt, L10n::text(QStringLiteral("Supprimer")), std::nullopt);
    return true;
}

void CaptureTextView::indentLines(bool outdent)
{
    if (!canEditText())
        return;
    const std::optional<EditorBehavior::IndentationPlan> plan =
        EditorBehavior::indentationPlan(m_content.text, selectionRange(), outdent);
    if (!plan)
        return;
    EditorContent changed = m_content;
    // From the last change back, so that the earlier ranges still hold.
    for (auto change = plan->changes.crbegin(); change != plan->changes.crend(); ++change)
        changed.replace(change->range, EditorContent::plain(change->replacement));
    replaceWholeText(changed, plan->selection,
                     outdent ? L10n::text(QStringLiteral("Désindenter")) : L10n::text(QStringLiteral("Indenter")));
}

bool CaptureTextView::expandEmptyTask()
{
    const TextRange selection = selectionRange();
    if (!canEditText() || !selection.isEmpty())
        return false;
    const std::optional<EditorBehavior::Edit> edit = EditorBehavior::taskShorthand(m_content.text, selection);
    if (!edit || edit->kind != EditorBehavior::Edit::Kind::replace)
        return false;
    replaceUndoably(edit->range, EditorContent::plain(edit->text), edit->selection.location,
                    L10n::text(QStringLiteral("Créer une tâche")), std::nullopt);
    setSelectionRange(edit->selection);
    return true;
}

void CaptureTextView::moveListLines(bool down)
{
    if (!canEditText())
        return;
    if (const std::optional<ListMovement::Plan> plan = ListMovement::commandPlan(m_content.text, selectionRange(), down))
        applyListPlan(*plan);
}

void CaptureTextView::applyListPlan(const ListMovement::Plan& plan)
{
    if (isReadOnly())
        return;
    EditorContent moved;
    for (const ListMovement::Piece& piece : plan.pieces) {
        // Copied with its images, so that they move with their lines.
        if (piece.kind == ListMovement::Piece::Kind::source)
            moved.append(EditorDocument::slice(m_content, piece.range));
        else
            moved.append(piece.literal);
    }
    replaceWholeText(moved, plan.selection, L10n::text(QStringLiteral("Déplacer la ligne")));
    scrollToPosition(plan.movedRange.location);
}

bool CaptureTextView::typePairedDelimiter(const QString& input)
{
    if (!canEditText())
        return false;
    const TextRange selection = selectionRange();
    const std::optional<EditorBehavior::Edit> edit = EditorBehavior::pairedInput(m_content.text, selection, input);
    if (!edit)
        return false;
    const QString typing = L10n::text(QStringLiteral("Saisir"));
    switch (edit->kind) {
    case EditorBehavior::Edit::Kind::select:
        // Stepping over a closer changes no text: nothing to undo.
        setSelectionRange(edit->selection);
        break;
    case EditorBehavior::Edit::Kind::replace:
        replaceUndoably(edit->range, EditorContent::plain(edit->text), edit->selection.location, typing, std::nullopt);
        setSelectionRange(edit->selection);
        break;
    case EditorBehavior::Edit::Kind::wrap: {
        // The selected characters keep their images.
        EditorContent wrapped = EditorContent::plain(edit->opening);
        wrapped.append(EditorDocument::slice(m_content, selection));
        wrapped.append(edit->closing);
        const qsizetype inside = selection.location + edit->opening.size();
        replaceUndoably(selection, wrapped, inside, typing, std::nullopt);
        setSelectionRange(TextRange{inside, selection.length});
        break;
    }
    }
    return true;
}

} // namespace quillor
