#include "panel/CaptureNotice.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quillor {
namespace {

TEST(CaptureNoticeTest, TheRepairButtonGoesUnderTheMessageWhenTheNoticeIsNarrow)
{
    const struct {
        int width;
        bool repair;
        bool stacked;
    } cases[] = {{456, true, false}, {240, true, true}, {240, false, false}};   // last: nothing to put under
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        CaptureNotice notice;
        notice.setState({QStringLiteral("Le dossier de notes est introuvable."), true, c.repair, false});
        notice.resize(c.width, 80);
        notice.show();
        EXPECT_EQ(notice.isStacked(), c.stacked);
        if (c.repair) {
            QTest::qWait(1);
            auto* button = notice.findChild<QPushButton*>("noticeRepairButton");
            auto* message = notice.findChild<QWidget*>("noticeMessage");
            if (c.stacked)
                EXPECT_GE(button->geometry().top(), message->geometry().bottom());
            else
                EXPECT_GE(button->geometry().left(), message->geometry().left() + 180);
        }
    }
}

TEST(CaptureNoticeTest, TheRepairButtonIsDisabledAndRunsItsAction)
{
    CaptureNotice notice;
    int repairs = 0;
    notice.repair = [&] { ++repairs; };
    notice.setState({QStringLiteral("x"), false, true, true});
    notice.show();
    auto* button = notice.findChild<QPushButton*>("noticeRepairButton");
    EXPECT_EQ(button->text(), "Choisir le dossier…");
    EXPECT_FALSE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(repairs, 0);

    notice.setState({QStringLiteral("x"), false, true, false});
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(repairs, 1);
}

// A warning and an error differ only in colour and icon.
TEST(CaptureNoticeTest, AWarningAndAnErrorShareOneLayoutAndTheMessageCanBeSelected)
{
    const QString message = QStringLiteral("Le dossier de notes est introuvable : choisissez-en un autre.");
    for (const int width : {320, 480}) {
        SCOPED_TRACE(width);
        QList<QList<QRect>> layouts;
        for (const bool warning : {true, false}) {
            CaptureNotice notice;
            notice.setState({message, warning, true, false});
            notice.resize(width, notice.heightForWidth(width));
            notice.show();
            QTest::qWait(1);
            QList<QRect> geometry{notice.geometry()};
            for (const char* part : {"noticeMessage", "noticeRepairButton"})
                geometry.append(notice.findChild<QWidget*>(part)->geometry());
            layouts.append(geometry);
        }
        EXPECT_EQ(layouts[0], layouts[1]);
    }

    CaptureNotice notice;
    notice.setState({message, false, false, false});
    notice.resize(400, notice.heightForWidth(400));
    notice.show();
    auto* label = notice.findChild<QLabel*>("noticeMessage");
    ASSERT_TRUE(label);
    QTest::mouseDClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(12, label->height() / 2));
    EXPECT_TRUE(label->hasSelectedText());
}

} // namespace
} // namespace quillor
