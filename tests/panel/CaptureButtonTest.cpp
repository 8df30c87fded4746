#include "panel/CaptureButton.h"
#include "panel/CaptureButtonFeedback.h"
#include "panel/CaptureSendButton.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
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

// The send button's label is made of child labels, which inherit its font:
// they stand at the size of every other button's text, the title in medium
// weight.
TEST(CaptureButtonTest, TheSendButtonsLabelStandsAtTheButtonsSize)
{
    QWidget window;
    const CaptureButton cancel(QStringLiteral("Annuler"), &window);
    const CaptureSendButton send(&window);
    const QList<QLabel*> labels = send.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 2);
    for (const QLabel* label : labels) {
        EXPECT_EQ(QFontInfo(label->font()).pixelSize(), QFontInfo(cancel.font()).pixelSize()) << label->text().toStdString();
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), cancel.font().pointSizeF()) << label->text().toStdString();
    }
    const auto title = std::find_if(labels.cbegin(), labels.cend(),
                                    [&](const QLabel* label) { return label->text() == send.title(); });
    ASSERT_NE(title, labels.cend());
    EXPECT_EQ((*title)->font().weight(), QFont::Medium);
}

// The label stands on the accent in white: no part of it is drawn in the
// dark text of an ordinary button.
TEST(CaptureButtonTest, TheSendButtonsLabelIsWhiteOnTheAccent)
{
    QWidget window;
    CaptureSendButton send(&window);
    send.setGeometry(0, 0, 160, CaptureButtonStyle::minimumHeight);
    window.resize(200, 50);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QImage image(send.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    send.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int white = 0;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 255)
                continue;
            white += pixel.lightness() > 220 && pixel.saturation() < 60;
            dark += pixel.lightness() < 60;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(dark, 0);
}

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
