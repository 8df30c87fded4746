#include "panel/CaptureButton.h"
#include "panel/CaptureButtonFeedback.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace quillor {
namespace {

struct ShownButton {
    QWidget window;
    CaptureButton* button;

    explicit ShownButton(bool prominent, const QString& text = QString())
        : button(new CaptureButton(text, &window, prominent))
    {
        button->setGeometry(10, 10, 80, 30);
        window.resize(100, 50);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // The pixel in the middle of the button, drawn on nothing.
    QColor middle() const
    {
        QImage image(button->size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        button->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image.pixelColor(40, 15);
    }
};

TEST(CaptureButtonTest, ADisabledButtonIsFadedAndShowsNoHoverFill)
{
    for (const bool prominent : {true, false}) {
        SCOPED_TRACE(prominent ? "prominent" : "plain");
        ShownButton shown(prominent);
        // Through the window, which tells its widgets the pointer entered or left.
        QTest::mouseMove(shown.window.windowHandle(), QPoint(98, 48));
        ASSERT_FALSE(shown.button->underMouse());
        const QColor enabled = shown.middle();
        EXPECT_EQ(shown.button->cursor().shape(), Qt::PointingHandCursor);

        QTest::mouseMove(shown.window.windowHandle(), QPoint(50, 25));
        ASSERT_TRUE(shown.button->underMouse());
        EXPECT_TRUE(CaptureButtonFeedback::showsHoverFill(shown.button));
        if (!prominent) {
            EXPECT_GT(shown.middle().alpha(), enabled.alpha()) << "no hover fill";
        }

        // Disabled while the pointer is over it.
        shown.button->setEnabled(false);
        EXPECT_FALSE(CaptureButtonFeedback::showsHoverFill(shown.button));
        EXPECT_NEAR(shown.middle().alphaF(), enabled.alphaF() * CaptureButtonStyle::disabledOpacity, 0.02);

        shown.button->setEnabled(true);
        EXPECT_TRUE(CaptureButtonFeedback::showsHoverFill(shown.button));
    }
}

TEST(CaptureButtonTest, OnlyTheRoundedShapeTakesClicks)
{
    ShownButton shown(true, QStringLiteral("Capturer"));
    QSignalSpy clicks(shown.button, &QAbstractButton::clicked);
    QTest::mouseClick(shown.button, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(clicks.count(), 0) << "the corner outside the rounding";
    QTest::mouseClick(shown.button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 15));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_GE(shown.button->sizeHint().height(), CaptureButtonStyle::minimumHeight);
}

} // namespace
} // namespace quillor
