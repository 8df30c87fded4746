#include "core/ReferenceDate.h"

#include "TestSupport.h"

#include <QTimeZone>

#include <limits>

using namespace quillor;

TEST(ReferenceDateTest, ConvertsToUtcMillisecondsTowardsThePast)
{
    const QDateTime origin({2001, 1, 1}, {0, 0}, QTimeZone::utc());
    // Never rounded up into the next second; binary noise does not lose a millisecond.
    const std::pair<double, QDateTime> cases[] = {{59.9996, origin.addMSecs(59999)}, {0.123, origin.addMSecs(123)},
        {-0.0005, origin.addMSecs(-1)}, {std::numeric_limits<double>::quiet_NaN(), {}}, {1e300, {}}};
    for (const auto& [seconds, expected] : cases)
        EXPECT_EQ(ReferenceDate{seconds}.toDateTime(), expected) << seconds;
    EXPECT_EQ(ReferenceDate::fromDateTime(origin.addSecs(90)).secondsSinceReferenceDate, 90.0);
    EXPECT_NEAR(ReferenceDate::now().secondsSinceReferenceDate,
                ReferenceDate::fromUnixSeconds(QDateTime::currentSecsSinceEpoch()).secondsSinceReferenceDate, 5.0);
}
