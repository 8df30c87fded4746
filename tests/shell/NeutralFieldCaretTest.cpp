#include "shell/NeutralFieldCaret.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

namespace quillor {
namespace {

// Qt's stock caret inverts what lies under it: black on white, next to
// nothing on mid-grey. The caret painted instead is the text colour on both.
TEST(NeutralFieldCaretTest, TheCaretOfEditableFieldsIsTheTextColourOnLightAndMidGreyFields)
{
    NeutralFieldCaret::observeEditing();
    const QColor text(255, 0, 0);
    struct Field {
        const char* name;
        std::function<QWidget*(QWidget*)> make;
        std::function<void(QWidget*)> selectAll;
        std::function<QRect(QWidget*)> caret;   // in the coordinates of `painted`
        std::function<QWidget*(QWidget*)> painted;
    };
    const Field fields[] = {
        {"line edit", [](QWidget* parent) { return new QLineEdit(QStringLiteral("ab"), parent); },
         [](QWidget* w) { static_cast<QLineEdit*>(w)->selectAll(); },
         [](QWidget* w) { return w->inputMethodQuery(Qt::ImCursorRectangle).toRect(); },
         [](QWidget* w) { return w; }},
        {"plain text edit", [](QWidget* parent) { return new QPlainTextEdit(QStringLiteral("ab"), parent); },
         [](QWidget* w) { static_cast<QPlainTextEdit*>(w)->selectAll(); },
         [](QWidget* w) { return static_cast<QPlainTextEdit*>(w)->cursorRect(); },
         [](QWidget* w) { return static_cast<QPlainTextEdit*>(w)->viewport(); }},
    };
    for (const QColor base : {QColor(255, 255, 255), QColor(128, 128, 128)}) {
        for (const Field& kind : fields) {
            SCOPED_TRACE(std::string(kind.name) + " on " + base.name().toStdString());
            QWidget window;
            auto* layout = new QVBoxLayout(&window);
            QWidget* field = kind.make(&window);
            layout->addWidget(field);
            QPalette palette = field->palette();
            palette.setColor(QPalette::Base, base);
            palette.setColor(QPalette::Text, text);
            field->setPalette(palette);
            window.show();
            window.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
            field->setFocus();
            QTest::keyClick(field, Qt::Key_End);
            QCoreApplication::processEvents();

            const QRect caret = kind.caret(field);
            ASSERT_GT(caret.height(), 0);
            const QPoint middle(caret.x(), caret.center().y());
            QWidget* painted = kind.painted(field);
            EXPECT_EQ(painted->grab().toImage().pixelColor(middle), text);

            kind.selectAll(field);
            QCoreApplication::processEvents();
            EXPECT_NE(painted->grab().toImage().pixelColor(middle), text) << "a caret over the selection";
        }
    }
}

} // namespace
} // namespace quillor
