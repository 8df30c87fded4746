#include "editor/EditCommands.h"

#include "core/L10n.h"

namespace quillor {

namespace {

// One key's worth: a character, a surrogate pair, a line break.
constexpr qsizetype keystrokeLength = 2;

bool isKeystrokeInsertion(const TypingEdit& edit)
{
    return !edit.added.isEmpty() && edit.added.text.size() <= keystrokeLength;
}

bool isKeystrokeDeletion(const TypingEdit& edit)
{
    return edit.added.isEmpty() && edit.removed.text.size() <= keystrokeLength;
}

bool continuesTyping(const TypingEdit& last, const TypingEdit& next)
{
    if (isKeystrokeInsertion(last) && isKeystrokeInsertion(next))
        return next.removed.isEmpty() && next.position == last.addedEnd();
    if (isKeystrokeDeletion(last) && isKeystrokeDeletion(next)) {
        const bool backward = next.position + next.removed.text.size() == last.position;
        const bool forward = next.position == last.position;
        return backward || forward;
    }
    return false;
}

} // namespace

ReplaceCommand::ReplaceCommand(EditCommandTarget& target, Edit edit, const QString& actionName)
    : m_target(target), m_edit(std::move(edit))
{
    setText(actionName);
}

void ReplaceCommand::redo()
{
    const TextRange range = m_edit.range;
    m_target.sealTyping();
    m_target.applyReplacement(range, m_edit.replacement);
    if (m_edit.destination)
        m_target.applyDestination(*m_edit.destination);
    if (!m_applied) {
        const qsizetype caret = m_edit.cursor.value_or(range.location + m_edit.replacement.text.size());
        m_target.selectRange(TextRange{caret, 0});
        m_applied = true;
    } else {
        m_target.selectRange(m_redoSelection);
    }
    m_target.finishEdit(m_edit.destination.has_value());
}

void ReplaceCommand::undo()
{
    m_redoSelection = m_target.selectionRange();
    m_target.sealTyping();
    m_target.applyReplacement(TextRange{m_edit.range.location, m_edit.replacement.text.size()}, m_edit.old);
    if (m_edit.previousDestination)
        m_target.applyDestination(*m_edit.previousDestination);
    m_target.selectRange(m_edit.oldSelection);
    m_target.finishEdit(m_edit.previousDestination.has_value());
}

TypingCommand::TypingCommand(EditCommandTarget& target, TypingEdit edit, TextRange selectionBefore, bool mergeable)
    : m_target(target), m_selectionBefore(selectionBefore), m_mergeable(mergeable)
{
    setText(edit.isDeletion() ? L10n::text(QStringLiteral("Supprimer")) : L10n::text(QStringLiteral("Saisir")));
    m_edits.append(std::move(edit));
}

bool TypingCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const TypingCommand*>(other);
    if (!next->m_mergeable || next->m_edits.size() != 1 || !continuesTyping(m_edits.last(), next->m_edits.first()))
        return false;
    m_edits.append(next->m_edits.first());
    return true;
}

void TypingCommand::redo()
{
    // The text edit already made the first change itself.
    if (m_madeByTextEdit) {
        m_madeByTextEdit = false;
        return;
    }
    m_target.sealTyping();
    for (const TypingEdit& edit : std::as_const(m_edits))
        m_target.applyReplacement(TextRange{edit.position, edit.removed.text.size()}, edit.added);
    m_target.selectRange(TextRange{m_edits.last().addedEnd(), 0});
    m_target.finishEdit(false);
}

void TypingCommand::undo()
{
    m_target.sealTyping();
    for (auto edit = m_edits.crbegin(); edit != m_edits.crend(); ++edit)
        m_target.applyReplacement(TextRange{edit->position, edit->added.text.size()}, edit->removed);
    m_target.selectRange(m_selectionBefore);
    m_target.finishEdit(false);
}

} // namespace quillor
