#include "panel/CaptureNotice.h"

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

} // namespace
} // namespace quillor
