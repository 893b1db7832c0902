#include "base/civil_time.h"

#include <gtest/gtest.h>

namespace quorlet {
namespace {

TEST(CivilTime, DayNumbersRoundTripAcrossCenturiesAndLeapDays) {
    EXPECT_EQ((CivilTime{1970, 1, 1}).DayNumber(), 0);
    EXPECT_EQ((CivilTime{2000, 3, 1}).DayNumber() - (CivilTime{2000, 2, 28}).DayNumber(), 2);
    EXPECT_EQ((CivilTime{1900, 3, 1}).DayNumber() - (CivilTime{1900, 2, 28}).DayNumber(), 1);
    for (std::int64_t d = -800000; d <= 800000; d += 997) {
        const CivilTime t = CivilTime::FromDayNumber(d);
        ASSERT_TRUE(t.IsValid()) << d;
        ASSERT_EQ(t.DayNumber(), d);
    }
}

TEST(CivilTime, WeekdaysOfKnownDates) {
    EXPECT_EQ((CivilTime{1970, 1, 1}).DayOfWeek(), 4);    // Thursday
    EXPECT_EQ((CivilTime{2026, 12, 7}).DayOfWeek(), 1);   // Monday
    EXPECT_EQ((CivilTime{2000, 1, 1}).DayOfWeek(), 6);    // Saturday
    EXPECT_EQ((CivilTime{1969, 12, 28}).DayOfWeek(), 0);  // Sunday, before the epoch
}

TEST(CivilTime, SecondsAndDayStepsFollowTheCalendar) {
    const CivilTime a{2024, 2, 28, 23, 59, 30};
    const CivilTime b = a.AddSeconds(70);
    EXPECT_EQ(b, (CivilTime{2024, 2, 29, 0, 0, 40}));
    EXPECT_EQ(b.Seconds() - a.Seconds(), 70);
    EXPECT_EQ(a.AddDays(2), (CivilTime{2024, 3, 1, 23, 59, 30}));
    EXPECT_EQ((CivilTime{2026, 12, 31, 12}).AddDays(1), (CivilTime{2027, 1, 1, 12}));
    EXPECT_LT(a, b);
    EXPECT_EQ(a.ToString(), "2024-02-28 23:59:30");
}

TEST(CivilTime, Validity) {
    EXPECT_TRUE((CivilTime{2024, 2, 29}).IsValid());
    EXPECT_FALSE((CivilTime{2023, 2, 29}).IsValid());
    EXPECT_FALSE((CivilTime{2023, 13, 1}).IsValid());
    EXPECT_FALSE((CivilTime{2023, 1, 1, 24}).IsValid());
    EXPECT_EQ(CivilTime::DaysInMonth(2024, 2), 29);
    EXPECT_EQ(CivilTime::DaysInMonth(2100, 2), 28);
    EXPECT_EQ(CivilTime::DaysInMonth(2026, 4), 30);
}

}  // namespace
}  // namespace quorlet
