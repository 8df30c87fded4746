// The editor's keyboard: one ordered table decides what each key press does,
// the first row that applies wins.

#include "editor/CaptureTextView.h"

#include "core/L10n.h"
#include "editing/EditorBehavior.h"
#include "editing/EditorSyntax.h"
#include "model/AppModel.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextCursor>

#include <algorithm>
#include <utility>

namespace quillor {

namespace {

// Far more than anyone types while a draft is read.
constexpr std::size_t maximumHeldInput = 10000;

// An input method's composing text that commits nothing: the next event of
// the input method replaces it.
bool onlyComposes(const QEvent& event)
{
    if (event.type() != QEvent::InputMethod)
        return false;
    const auto& input = static_cast<const QInputMethodEvent&>(event);
    return input.commitString().isEmpty() && input.replacementLength() == 0;
}

// The modifiers the table compares; the keypad and group-switch bits say
// where a key is, not what the user holds.
constexpr Qt::KeyboardModifiers mainModifierMask =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

Qt::KeyboardModifiers mainModifiers(const QKeyEvent& event)
{
    return event.modifiers() & mainModifierMask;
}

bool isReturn(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool isVertical(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down;
}

bool isUndoOrRedo(const QKeyEvent& event)
{
    return event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo);
}

bool isListMove(const QKeyEvent& event)
{
    return mainModifiers(event) == Qt::AltModifier && isVertical(event.key());
}

// Control alone, keypad bit included: Ctrl+Shift+L and the like are left to
// the later rows.
bool isNoteLink(const QKeyEvent& event)
{
    return event.modifiers() == Qt::ControlModifier && event.key() == Qt::Key_L;
}

// Whatever else is held; the keypad's Enter never sends.
bool isSend(const QKeyEvent& event)
{
    return (event.modifiers() & Qt::ControlModifier) && event.key() == Qt::Key_Return;
}

} // namespace

bool CaptureTextView::completionsShown() const
{
    return m_model && !m_model->completions().isEmpty();
}

bool CaptureTextView::consumesShortcut(const QKeyEvent& event) const
{
    // Application-wide shortcuts would otherwise take these keys before the
    // table sees them.
    if (m_listPress)
        return true;
    if (m_composing)
        return false;
    if (isUndoOrRedo(event) || isListMove(event) || isNoteLink(event) || isSend(event)
        || event.key() == Qt::Key_Escape)
        return true;
    const int key = event.key();
    return completionsShown() && (key == Qt::Key_Tab || key == Qt::Key_Backtab || isReturn(key) || isVertical(key));
}

void CaptureTextView::keyPressEvent(QKeyEvent* event)
{
    // A list item being dragged holds its ranges in the text: no key may
    // change it meanwhile. Escape cancels the drag.
    if (m_listPress) {
        event->accept();
        if (event->key() == Qt::Key_Escape)
            endListDrag();
        return;
    }
    // An input method composing owns every key.
    if (m_composing) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    // Escape still hides the panel; anything else waits for the draft.
    if (m_model && m_model->readingDraft() && event->key() != Qt::Key_Escape) {
        holdInput(*event);
        return;
    }
    // The document's own history is off: the view's stack holds every step.
    if (isUndoOrRedo(*event)) {
        undoOrRedo(event->matches(QKeySequence::Redo));
        return;
    }
    const Qt::KeyboardModifiers modifiers = mainModifiers(*event);
    if (handleCommandKey(event, modifiers))
        return;
    if (completionsShown() && handleCompletionKey(event, modifiers))
        return;
    if (handleEditingKey(event, modifiers))
        return;
    QTextEdit::keyPressEvent(event);
}

// Keys and the text of input methods share one queue: a dead key's accented
// letter comes from the input method, the letters around it as keys.
void CaptureTextView::holdInput(const QEvent& event)
{
    if (event.type() == QEvent::InputMethod && !m_heldInput.empty() && onlyComposes(*m_heldInput.back()))
        m_heldInput.pop_back();
    if (m_heldInput.size() < maximumHeldInput)
        m_heldInput.emplace_back(event.clone());
}

void CaptureTextView::replayHeldKeys()
{
    for (const std::unique_ptr<QEvent>& held : std::exchange(m_heldInput, {})) {
        if (held->type() == QEvent::InputMethod)
            inputMethodEvent(static_cast<QInputMethodEvent*>(held.get()));
        else
            keyPressEvent(static_cast<QKeyEvent*>(held.get()));
    }
}

bool CaptureTextView::handleCommandKey(QKeyEvent* event, Qt::KeyboardModifiers modifiers)
{
    const int key = event->key();
    if (isListMove(*event)) {
        moveListLines(key == Qt::Key_Down);
    } else if (isNoteLink(*event)) {
        createNoteLink();
    } else if (isSend(*event)) {
        if (m_model)
            m_model->submit();
    } else if (key == Qt::Key_Escape) {
        if (completionsShown()) {
            m_model->dismissSuggestions();
            return true;
        }
        if (m_model)
            m_model->saveDraftInBackground();
        if (hideCapture)
            hideCapture();
    } else if (isReturn(key) && modifiers == Qt::ShiftModifier) {
        // A plain line break: no list or quote continues on it.
        if (m_model)
            m_model->dismissSuggestions();
        insertParagraph();
    } else {
        return false;
    }
    return true;
}

bool CaptureTextView::handleEditingKey(QKeyEvent* event, Qt::KeyboardModifiers modifiers)
{
    const int key = event->key();
    if (key == Qt::Key_Space && modifiers == Qt::NoModifier && expandEmptyTask())
        return true;
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab)
        && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        indentLines(key == Qt::Key_Backtab || modifiers == Qt::ShiftModifier);
        return true;
    }
    const QString typed = event->text();
    if (!(modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !typed.isEmpty() && typed.front().isPrint()
        && typePairedDelimiter(typed))
        return true;
    if (isReturn(key)) {
        // Never the text edit's own line break: with a modifier it may be a
        // line separator (U+2028), which the editing rules do not see as one.
        if (modifiers != Qt::NoModifier || !listNewline())
            insertParagraph();
        return true;
    }
    return key == Qt::Key_Backspace && modifiers == Qt::NoModifier && listBackspace();
}

bool CaptureTextView::focusNextPrevChild(bool)
{
    // Tab and Shift+Tab belong to the key table even while the text is read
    // only; the text edit would otherwise move the focus on then.
    return false;
}

bool CaptureTextView::handleCompletionKey(QKeyEvent* event, Qt::KeyboardModifiers modifiers)
{
    const int key = event->key();
    if ((isReturn(key) && modifiers == Qt::NoModifier) || (key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier))) {
        m_model->acceptCompletion(*this);
        return true;
    }
    if (isVertical(key)) {
        const int count = int(m_model->completions().size());
        const int moving = key == Qt::Key_Down ? 1 : -1;
        m_model->selectCompletion(EditorBehavior::completionIndex(m_model->completionIndex(), moving, count));
        announceSelection();
        return true;
    }
    return false;
}

void CaptureTextView::insertParagraph()
{
    if (isReadOnly())
        return;
    // Not through the text edit's own Return: in an empty paragraph whose
    // format is not the default one, that only resets the format (the way
    // word processors end a list), and the presentation gives every
    // paragraph a format of its own, so no blank line could be typed.
    QTextCursor cursor = textCursor();
    cursor.insertBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

// MARK: Note links

bool CaptureTextView::canCreateNoteLink() const
{
    return !isReadOnly() && window() && window()->isActiveWindow();
}

void CaptureTextView::createNoteLink()
{
    if (!canCreateNoteLink() || !m_model)
        return;
    m_model->dismissSuggestions();
    const TextRange selection = selectionRange();
    const bool holdsImage = std::any_of(m_content.images.cbegin(), m_content.images.cend(),
                                        [&](const InlineImage& image) { return selection.contains(image.position); });
    if (holdsImage) {
        m_model->setError(L10n::text(QStringLiteral("Sélectionne du texte sans image pour créer un lien.")));
        return;
    }
    QString link = QStringLiteral("[[]]");
    if (!selection.isEmpty()) {
        const QString selected = m_content.text.mid(selection.location, selection.length);
        // A label that would break the link is left as it is.
        if (!EditorSyntax::wikiLink(QStringLiteral("Note"), selected))
            return;
        link = QStringLiteral("[[|") + selected + QStringLiteral("]]");
    }
    // The caret after "[[": the note's name is typed before the label.
    replaceUndoably(selection, EditorContent::plain(link), selection.location + 2,
                    L10n::text(QStringLiteral("Insérer un lien vers une note")), std::nullopt);
    m_model->suggestions(selectionRange(), currentAnalysis());
}

} // namespace quillor
