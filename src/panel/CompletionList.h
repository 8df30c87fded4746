#pragma once

#include "panel/CompletionPage.h"

#include <QListView>

#include <functional>

namespace quillor {

class AppModel;
class CompletionModel;

// The completion rows of the model under the caret: the label, the detail in
// a smaller secondary text, the selected row (the model's completionIndex)
// tinted with the accent and kept in view. A click on a row hands its index
// to `choose`. It never takes the keyboard: the editor's keys drive it
// through the model.
//
// Rows come in pages of 20 (CompletionPage), growing as the list is scrolled
// to its end or the selection moves further, reset by a new list.
class CompletionList : public QListView {
    Q_OBJECT

public:
    CompletionList(AppModel& model, std::function<void(int)> choose, QWidget* parent = nullptr);
    ~CompletionList() override;

    static constexpr int rowHeight = 32;

    const CompletionPage& page() const;

    // Item roles beside the label (Qt::DisplayRole).
    enum Role { DetailRole = Qt::UserRole, SelectedRole };

private:
    void syncRows();
    void syncSelection();
    // The selected row scrolls into view once the rows added for it exist.
    void scrollToSelection();

    AppModel& m_model;
    CompletionModel* m_rows = nullptr;
    std::function<void(int)> m_choose;
};

} // namespace quillor
