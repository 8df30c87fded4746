#include "settings/FolderDialog.h"

#include <QApplication>
#include <QFileDialog>

namespace quillor {

namespace {

// The path field's completion list holds the keyboard while it is open. Left
// open when Return accepts the dialog, it is closed with the dialog's
// destruction, and its grab is let go only once the program is back in its
// event loop after the caller's work on the chosen folder: meanwhile the
// window beneath is active, yet the keys typed into it are lost. Closed
// first, its grab ends before the dialog leaves the screen.
class PopupClosingFolderDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void done(int result) override
    {
        // The dialog is modal: an open popup can only be its own.
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        QFileDialog::done(result);
    }
};

} // namespace

std::optional<QString> chooseFolderInDialog(QWidget* parent, const QString& title, const QString& start)
{
    PopupClosingFolderDialog dialog(parent, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace quillor
