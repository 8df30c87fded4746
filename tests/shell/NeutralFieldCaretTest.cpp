#include "shell/NeutralFieldCaret.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace quillor {
namespace {

// Where a line edit's insertion point stands, found without asking the line
// edit: the left edge of the ink of its text, less the first glyph's bearing,
// plus the advance of the text before the cursor.
QRect lineEditInsertionPoint(QWidget* widget)
{
    auto* edit = static_cast<QLineEdit*>(widget);
    const QImage image = edit->grab().toImage();
    const QColor base = edit->palette().color(QPalette::Base);
    const QRect inside = edit->rect().adjusted(3, 3, -3, -3);
    int inkLeft = inside.right();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x < inkLeft; ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - base.red()) + std::abs(pixel.green() - base.green())
                    + std::abs(pixel.blue() - base.blue()) > 200) {
                inkLeft = x;
                break;
            }
        }
    const QFontMetrics metrics(edit->font());
    const int origin = inkLeft - metrics.boundingRect(edit->text()).left();
    const int x = origin + metrics.horizontalAdvance(edit->text().left(edit->cursorPosition()));
    const QRect stock = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    return QRect(x, stock.y(), 1, stock.height());
}

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
        // Ending in spaces, so that the caret stands clear of the ink.
        {"line edit", [](QWidget* parent) { return new QLineEdit(QStringLiteral("Hi  "), parent); },
         [](QWidget* w) { static_cast<QLineEdit*>(w)->selectAll(); }, lineEditInsertionPoint,
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
