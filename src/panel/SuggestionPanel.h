#pragma once

#include <QWidget>

namespace quillor {

class AppModel;
class CaptureTextView;
class CompletionList;

// The borderless window of completion rows that floats by the editor's caret.
// It never takes the keyboard or the activation: the editor keeps typing and
// its keys drive the list, and a click on a row leaves the capture panel
// active. The editor places, shows and hides it (updateSuggestionsPanel).
class SuggestionPanel : public QWidget {
    Q_OBJECT

public:
    SuggestionPanel(AppModel& model, CaptureTextView& editor);

    CompletionList* list() const { return m_list; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CompletionList* m_list = nullptr;
};

} // namespace quillor
