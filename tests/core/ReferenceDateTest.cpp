#include "core/ReferenceDate.h"

#include <gtest/gtest.h>

#include <QTimeZone>

#include <limits>

using namespace quillor;

TEST(ReferenceDateTest, ConvertsToUtcMillisecondsTowardsThePast)
{
    const QDateTime origin(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    const std::pair<double, QDateTime> cases[] = {
        {0, origin},
        {59.9996, origin.addMSecs(59999)},        // never rounds up into the next second
        {0.123, origin.addMSecs(123)},            // binary noise does not lose a millisecond
        {-0.0005, origin.addMSecs(-1)},
        {795180307.5, origin.addMSecs(795180307500)},
    };
    for (const auto& [seconds, expected] : cases)
        EXPECT_EQ(ReferenceDate{seconds}.toDateTime(), expected) << seconds;

    EXPECT_FALSE(ReferenceDate{std::numeric_limits<double>::quiet_NaN()}.toDateTime().isValid());
    EXPECT_FALSE(ReferenceDate{1e300}.toDateTime().isValid());
    EXPECT_EQ(ReferenceDate::fromDateTime(origin.addSecs(90)).secondsSinceReferenceDate, 90.0);
    EXPECT_EQ(ReferenceDate::fromUnixSeconds(ReferenceDate::unixOffset).secondsSinceReferenceDate, 0.0);
}

TEST(ReferenceDateTest, NowIsCloseToTheClock)
{
    const double clock = ReferenceDate::fromDateTime(QDateTime::currentDateTimeUtc()).secondsSinceReferenceDate;
    EXPECT_NEAR(ReferenceDate::now().secondsSinceReferenceDate, clock, 5.0);
}
