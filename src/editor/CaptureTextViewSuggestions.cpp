// The window of completion rows under the caret: when it shows, where it
// stands, and the selected row spoken to screen-reader users.

#include "editor/CaptureTextView.h"

#include "core/L10n.h"
#include "editor/SuggestionPlacement.h"
#include "model/AppModel.h"
#include "platform/Announcer.h"

#include <QScreen>
#include <QTextCursor>

namespace quillor {

void CaptureTextView::updateSuggestionsPanel()
{
    const QWidget* host = window();
    const bool wanted = m_model && !m_model->completions().isEmpty() && host->isVisible() && host->isActiveWindow();
    if (!wanted) {
        if (m_suggestionsPanel)
            m_suggestionsPanel->hide();
        return;
    }
    if (!m_suggestionsPanel) {
        if (!makeSuggestionPanel)
            return;
        m_suggestionsPanel = makeSuggestionPanel(*this);
    }
    QTextCursor start(document());
    start.setPosition(int(std::min(selectionRange().location, m_content.text.size())));
    const QRect line = cursorRect(start);
    const QRect anchor(viewport()->mapToGlobal(line.topLeft()), line.size());
    const QScreen* screen = host->screen();
    const QRect area = screen ? screen->availableGeometry() : anchor;
    m_suggestionsPanel->setGeometry(
        SuggestionPlacement::frame(anchor, area, int(m_model->completions().size())));
    const bool wasVisible = m_suggestionsPanel->isVisible();
    m_suggestionsPanel->show();
    m_suggestionsPanel->raise();
    if (!wasVisible)
        announceSelection();
}

void CaptureTextView::dismissAuxiliaryWindows()
{
    // Dismissed, not only hidden: the same completions stay away when the
    // panel shows again.
    if (m_model)
        m_model->dismissSuggestions();
    if (m_suggestionsPanel)
        m_suggestionsPanel->hide();
    closeImagePreview();
}

void CaptureTextView::chooseCompletion(int index)
{
    // While the capture is delivered its text may not change, and the
    // choice would be lost with the list.
    if (!m_model || isReadOnly())
        return;
    m_model->selectCompletion(index);
    m_model->acceptCompletion(*this);
}

void CaptureTextView::announceSelection()
{
    if (!m_model)
        return;
    const QList<Completion>& rows = m_model->completions();
    const int index = m_model->completionIndex();
    if (index < 0 || index >= rows.size())
        return;
    const Completion& row = rows.at(index);
    const QString position = L10n::format(QStringLiteral(", %1$@ sur %2$@"),
                                          {QString::number(index + 1), QString::number(rows.size())});
    const QString text = row.label + QStringLiteral(", ") + row.detail + position;
    if (announce)
        announce(text);
    else
        Announcer::announce(this, text);
}

} // namespace quillor
