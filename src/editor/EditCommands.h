#pragma once

#include "core/TextRange.h"
#include "editor/TypingEdit.h"
#include "model/EditorContent.h"
#include "model/ModelTypes.h"

#include <QList>
#include <QString>
#include <QUndoCommand>

#include <optional>

namespace quillor {

// The editor as its undo steps reach it. None of these pushes anything onto
// the undo stack.
class EditCommandTarget {
public:
    virtual ~EditCommandTarget() = default;

    // Replaces a range of the text; the caret and selection are set after.
    virtual void applyReplacement(TextRange range, const EditorContent& replacement) = 0;
    virtual TextRange selectionRange() const = 0;
    virtual void selectRange(TextRange range) = 0;
    // Records a destination choice with the draft.
    virtual void applyDestination(const DestinationSelection& selection) = 0;
    // Reports the change as the user's own (styling, the model's content),
    // saving the draft at once when a destination changed with it.
    virtual void finishEdit(bool destinationChanged) = 0;
    // The step just undone or redone ends any run of typing.
    virtual void sealTyping() = 0;

protected:
    EditCommandTarget() = default;
    EditCommandTarget(const EditCommandTarget&) = default;
    EditCommandTarget& operator=(const EditCommandTarget&) = default;
};

// One programmatic edit under its own action name, optionally carrying a
// destination choice. Pushing it applies it; undoing restores the old text,
// the old selection and the previous destination choice.
class ReplaceCommand : public QUndoCommand {
public:
    struct Edit {
        TextRange range;
        EditorContent replacement;
        EditorContent old;
        TextRange oldSelection;
        std::optional<qsizetype> cursor;   // after the inserted text when absent
        std::optional<DestinationSelection> destination;
        std::optional<DestinationSelection> previousDestination;
    };

    ReplaceCommand(EditCommandTarget& target, Edit edit, const QString& actionName);

    void redo() override;
    void undo() override;

private:
    EditCommandTarget& m_target;
    Edit m_edit;
    bool m_applied = false;
    // Where the caret was when the step was undone: redo puts it back there.
    TextRange m_redoSelection;
};

// A run of typing: "Saisir" for insertions, "Supprimer" for deletions.
// Created after the text edit has made its change, so pushing it changes
// nothing; keystrokes next to each other merge into it unless the run was
// sealed (a programmatic edit, a caret move, focus leaving).
class TypingCommand : public QUndoCommand {
public:
    static constexpr int typingID = 1;

    TypingCommand(EditCommandTarget& target, TypingEdit edit, TextRange selectionBefore, bool mergeable);

    int id() const override { return typingID; }
    bool mergeWith(const QUndoCommand* other) override;
    void redo() override;
    void undo() override;

    const QList<TypingEdit>& edits() const { return m_edits; }

private:
    EditCommandTarget& m_target;
    QList<TypingEdit> m_edits;
    TextRange m_selectionBefore;
    bool m_mergeable;
    bool m_madeByTextEdit = true;
};

} // namespace quillor
