#include "settings/FolderDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillor::test {
namespace {

// Whether a popup was open each time the watched dialog left the screen.
class PopupAtHide : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            openPopups.append(QApplication::activePopupWidget() != nullptr);
        return false;
    }
    QList<bool> openPopups;
};

// The user's side of the dialog: the path typed until the completion list
// offers its two folders, then Return on the list.
void typeThenReturnOnTheCompletionList(QFileDialog& dialog, const QString& path, PopupAtHide& watcher)
{
    dialog.installEventFilter(&watcher);
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }));
    QTest::keyClicks(field, path);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }))
        << "no completion list opened";
    QTest::keyClicks(QApplication::activePopupWidget(), QStringLiteral("-second"));
    QWidget* list = QApplication::activePopupWidget();
    ASSERT_NE(list, nullptr) << "the completion list closed while the path was typed";
    QTest::keyClick(list, Qt::Key_Return);
}

// The completion list holds the keyboard: left open when Return accepts the
// folder, it would keep it after the dialog is gone, and the keys typed into
// the window beneath would be lost.
TEST(FolderDialogTest, TheCompletionListClosesBeforeTheDialogLeavesTheScreen)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    for (const char* folder : {"vault", "vault-second"})
        ASSERT_TRUE(QDir(root.path()).mkpath(QString::fromLatin1(folder)));

    PopupAtHide watcher;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        typeThenReturnOnTheCompletionList(*dialog, root.filePath(QStringLiteral("vault")), watcher);
        // A failed step must not leave the dialog waiting for a user.
        if (dialog->isVisible())
            dialog->reject();
    });
    const std::optional<QString> chosen = chooseFolderInDialog(nullptr, QStringLiteral("Dossier"), root.path());

    EXPECT_EQ(chosen, root.filePath(QStringLiteral("vault-second")));
    EXPECT_EQ(watcher.openPopups, QList<bool>{false});
}

} // namespace
} // namespace quillor::test
