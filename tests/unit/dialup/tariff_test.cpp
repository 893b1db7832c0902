// The tariff file and the fee computation, on the worked examples of the tariff rules.
#include <gtest/gtest.h>

#include "base/profile_file.h"
#include "dialup/fee_calculator.h"
#include "dialup/holidays.h"
#include "dialup/tariff.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

// December 2026: the 7th is a Monday, the 11th a Friday, the 12th and 13th the weekend.
CivilTime Dec(int day, int hour, int minute = 0, int second = 0) {
    return {2026, 12, day, hour, minute, second};
}

class FeeTest : public ::testing::Test {
protected:
    FeeTest() : fees(dir.File("Fare.ini"), dir.File("Holiday.ini")) { fees.m_strConnName = "163"; }

    PeriodPrice Price(const CivilTime& a, const CivilTime& b) { return fees.PricePeriod(a, b); }

    testing::TempDir dir;
    FeeCalculator fees;
};

TEST_F(FeeTest, WeekdayPeriodsUnderTheDefaultTariff) {
    PeriodPrice p = Price(Dec(7, 12), Dec(7, 12, 10));
    EXPECT_EQ(p.g, 10);
    EXPECT_NEAR(p.netFee, 0.50, 1e-9);
    EXPECT_NEAR(p.phoneFee, 0.44, 1e-9);

    p = Price(Dec(7, 22, 30), Dec(7, 23, 30));
    EXPECT_EQ(p.g, 30);
    EXPECT_EQ(p.t, 30);
    EXPECT_NEAR(p.netFee, 2.25, 1e-9);
    EXPECT_NEAR(p.phoneFee, 2.20, 1e-9);

    p = Price(Dec(7, 12), Dec(7, 12, 10, 1));  // a started minute counts whole
    EXPECT_EQ(p.g, 11);

    p = Price(Dec(7, 12), Dec(7, 12));
    EXPECT_EQ(p.g + p.t + p.w + p.d, 0);
    EXPECT_EQ(p.netFee, 0.0);
    EXPECT_EQ(p.phoneFee, 0.0);
}

TEST_F(FeeTest, DaytimeWindowSwallowedWhole) {
    fees.m_tariff.hBeginTime = 8;
    fees.m_tariff.hEndTime = 18;
    const PeriodPrice p = Price(Dec(8, 7), Dec(8, 18, 30));
    EXPECT_EQ(p.t, 600);
    EXPECT_EQ(p.g, 90);
    EXPECT_NEAR(p.netFee, 0.05 * 90 + 0.05 * 600 * 0.5, 1e-9);
    EXPECT_NEAR(p.phoneFee, 30 * 0.11 + 200 * 0.11, 1e-9);
}

TEST_F(FeeTest, AcrossMidnightTheFirstPieceEndsOneSecondEarly) {
    const PeriodPrice p = Price(Dec(8, 23, 50), Dec(9, 0, 10));
    EXPECT_EQ(fees.m_tally.Time, (Duration{0, 19, 59}));
    EXPECT_EQ(p.g, 0);
    EXPECT_EQ(p.t, 20);
    EXPECT_NEAR(p.netFee, 0.50, 1e-9);
    EXPECT_NEAR(p.phoneFee, 7 * 0.11, 1e-9);

    // The extra second is counted even when the first day held no discount at all.
    fees.m_tariff.hBeginTime = fees.m_tariff.hEndTime = 5;
    const Duration D = fees.SplitByDay(Dec(8, 12), Dec(9, 12));
    EXPECT_EQ(D, (Duration{0, 0, 1}));
    EXPECT_EQ(Price(Dec(8, 12), Dec(9, 12)).g, 1440);  // 23:59:59 of normal time, started minute
}

TEST_F(FeeTest, FridayEveningIntoTheWeekend) {
    const PeriodPrice p = Price(Dec(11, 22), Dec(12, 2));
    EXPECT_EQ(fees.m_tally.Time, (Duration{0, 59, 59}));
    EXPECT_EQ(fees.m_tally.Weekend, (Duration{2, 0, 0}));
    EXPECT_EQ(p.g, 60);
    EXPECT_EQ(p.t, 60);
    EXPECT_EQ(p.w, 120);

    fees.m_tariff.hFare_Weekend = false;  // Saturday then follows the daily hours
    const PeriodPrice off = Price(Dec(11, 22), Dec(12, 2));
    EXPECT_EQ(off.w, 0);
    EXPECT_EQ(off.t, 180);
}

TEST_F(FeeTest, AHolidayOnAWeekendIsPricedAsAHoliday) {
    ASSERT_TRUE(WriteHolidayList(dir.File("Holiday.ini"), "163", {"01月01日", "12月12日"}));
    fees.m_tariff.hdNetFare = 20;
    fees.m_tariff.hdTelFare = 40;
    PeriodPrice p = Price(Dec(12, 10), Dec(12, 11));
    EXPECT_EQ(p.d, 60);
    EXPECT_EQ(p.w, 0);
    EXPECT_EQ(p.g, 0);
    EXPECT_NEAR(p.netFee, 0.05 * 60 * 0.2, 1e-9);
    EXPECT_NEAR(p.phoneFee, 20 * 0.11 * 0.4, 1e-9);
    // Holidays belong to their connection and recur every year.
    fees.m_strConnName = "Office";
    EXPECT_EQ(Price(Dec(12, 10), Dec(12, 11)).w, 60);
    fees.m_strConnName = "163";
    EXPECT_TRUE(fees.IsHoliday({2031, 1, 1, 9}));
    EXPECT_FALSE(fees.IsHoliday({2031, 1, 2, 9}));
}

TEST_F(FeeTest, SeveralDaysAndTwentyFiveHours) {
    // Thursday 20:00 to Monday 09:00: every kind of piece of the day walk.
    PeriodPrice p = Price(Dec(10, 20), Dec(14, 9));
    EXPECT_EQ(fees.m_tally.Time, (Duration{17, 59, 58}));
    EXPECT_EQ(fees.m_tally.Weekend, (Duration{47, 59, 58}));
    EXPECT_EQ(p.g, 19 * 60);
    EXPECT_EQ(p.t, 1080);
    EXPECT_EQ(p.w, 2880);

    p = Price(Dec(7, 12), Dec(8, 13));
    EXPECT_EQ(p.g, 960);
    EXPECT_EQ(p.t, 540);
    EXPECT_NEAR(p.netFee, 48 + 13.5, 1e-9);
    EXPECT_NEAR(p.phoneFee, 320 * 0.11 + 180 * 0.11, 1e-9);
}

TEST_F(FeeTest, NoDailyWindowWhenBeginEqualsEnd) {
    fees.m_tariff.hBeginTime = fees.m_tariff.hEndTime = 23;
    const PeriodPrice p = Price(Dec(7, 22, 30), Dec(7, 23, 30));
    EXPECT_EQ(p.t, 0);
    EXPECT_EQ(p.g, 60);
}

TEST_F(FeeTest, ZeroUnitsAndFaresGiveZeroFeesOfThatKindOnly) {
    fees.m_tariff.TelUnit = 0;
    PeriodPrice p = Price(Dec(7, 12), Dec(7, 12, 10));
    EXPECT_EQ(p.phoneFee, 0.0);
    EXPECT_NEAR(p.netFee, 0.50, 1e-9);
    fees.m_tariff = {};
    fees.m_tariff.NetFare = 0.0;
    p = Price(Dec(7, 12), Dec(7, 12, 10));
    EXPECT_EQ(p.netFee, 0.0);
    EXPECT_NEAR(p.phoneFee, 0.44, 1e-9);
    fees.m_tariff = {};
    fees.m_tariff.NetUnit = 0;
    fees.m_tariff.TelFare = 0.0;
    p = Price(Dec(7, 12), Dec(7, 12, 10));
    EXPECT_EQ(p.netFee, 0.0);
    EXPECT_EQ(p.phoneFee, 0.0);
}

TEST_F(FeeTest, RateRoundingAndNoRound) {
    fees.m_tariff.NetFare = 0.11;
    fees.m_tariff.NetUnit = 3;
    EXPECT_DOUBLE_EQ(fees.NetRatePerMinute(), 0.04);
    EXPECT_NEAR(Price(Dec(7, 12), Dec(7, 12, 10)).netFee, 0.40, 1e-9);
    fees.m_bRateRounding = false;
    EXPECT_DOUBLE_EQ(fees.NetRatePerMinute(), 0.11 / 3);
    EXPECT_NEAR(Price(Dec(7, 12), Dec(7, 12, 10)).netFee, 0.11 / 3 * 10, 1e-9);

    // A rate of whole fen stays as it is, also when its binary fraction lies a hair above.
    fees.m_bRateRounding = true;
    fees.m_tariff.NetFare = 4.2;  // 0.07 a minute
    fees.m_tariff.NetUnit = 60;
    EXPECT_DOUBLE_EQ(fees.NetRatePerMinute(), 0.07);
    fees.m_tariff.NetFare = 0.07;
    fees.m_tariff.NetUnit = 1;
    EXPECT_DOUBLE_EQ(fees.NetRatePerMinute(), 0.07);
    fees.m_tariff.NetFare = 0.071;
    EXPECT_DOUBLE_EQ(fees.NetRatePerMinute(), 0.08);
}

struct OverlapRow {
    CivilTime a;
    CivilTime b;
    Duration expected;
};

TEST_F(FeeTest, EveryRowOfTheDaytimeWindowTable) {
    fees.m_tariff.hBeginTime = 8;
    fees.m_tariff.hEndTime = 18;
    const OverlapRow rows[] = {
        {Dec(7, 6, 10, 20), Dec(7, 7, 30), {0, 0, 0}},
        {Dec(7, 6, 10, 20), Dec(7, 9, 15, 30), {1, 15, 30}},
        {Dec(7, 6, 10, 20), Dec(7, 19), {10, 0, 0}},
        {Dec(7, 9, 10, 20), Dec(7, 12, 0, 5), {2, 49, 45}},
        {Dec(7, 9, 10, 20), Dec(7, 18), {8, 49, 40}},
        {Dec(7, 9, 10, 0), Dec(7, 19), {8, 49, 60}},  // carried only when added
        {Dec(7, 18), Dec(7, 20), {0, 0, 0}},
    };
    for (const OverlapRow& row : rows) {
        fees.m_tally = {};
        EXPECT_EQ(fees.ClassifyDaySegment(row.a, row.b), row.expected) << row.a.ToString();
        Duration carried = row.expected;
        carried.Carry();
        EXPECT_EQ(fees.m_tally.Time, carried) << row.a.ToString();
    }
}

TEST_F(FeeTest, EveryRowOfTheNightWindowTable) {
    fees.m_tariff.hBeginTime = 22;
    fees.m_tariff.hEndTime = 6;
    const OverlapRow rows[] = {
        {Dec(7, 1), Dec(7, 5, 30, 10), {4, 30, 10}},
        {Dec(7, 22, 10), Dec(7, 23, 30), {1, 20, 0}},
        {Dec(7, 3, 20, 30), Dec(7, 12), {2, 39, 30}},
        {Dec(7, 3, 20, 30), Dec(7, 23, 15, 10), {3, 54, 40}},
        {Dec(7, 3, 20, 0), Dec(7, 23, 45, 30), {4, 25, 30}},  // 2:39:60 + 1:45:30, carried
        {Dec(7, 10), Dec(7, 22, 45, 30), {0, 45, 30}},
        {Dec(7, 10), Dec(7, 21, 59, 59), {0, 0, 0}},
    };
    for (const OverlapRow& row : rows) {
        fees.m_tally = {};
        EXPECT_EQ(fees.ClassifyDaySegment(row.a, row.b), row.expected) << row.a.ToString();
        EXPECT_EQ(fees.m_tally.Time, row.expected) << row.a.ToString();
    }
}

TEST(FareFile, DefaultsMissingKeysAndTheFareFormat) {
    testing::TempDir dir;
    const std::string path = dir.File("Fare.ini");
    EXPECT_EQ(LoadTariff(path, "163"), TariffTable{});

    TariffTable t;
    t.hBeginTime = 22;
    t.NetFare = 1.234;
    t.TelFare = 0.11;
    t.hFare_Weekend = false;
    ASSERT_TRUE(SaveTariff(t, path, "163"));
    const std::string text = *ReadWholeFile(path);
    const char* keys[] = {"hBeginTime", "hEndTime",  "htNetFare", "htTelFare", "hFare_Weekend",
                          "hwNetFare",  "hwTelFare", "hdNetFare", "hdTelFare", "NetFare",
                          "TelFare",    "NetUnit",   "TelUnit"};
    std::size_t at = 0;
    for (const char* key : keys) {
        const std::size_t next = text.find(std::string(key) + "=", at);
        ASSERT_NE(next, std::string::npos) << key;
        at = next;
    }
    EXPECT_EQ(ReadProfileValue(path, "163", "NetFare", "", 10), "1.23");
    EXPECT_EQ(ReadProfileValue(path, "163", "TelFare", "", 10), "0.11");
    EXPECT_EQ(ReadProfileValue(path, "163", "hFare_Weekend", "", 10), "0");
    TariffTable back = t;
    back.NetFare = 1.23;
    EXPECT_EQ(LoadTariff(path, "163"), back);

    // A section without "hBeginTime" is absent; one without other keys reads them as 0.
    ASSERT_TRUE(WriteProfileValue(path, "Bare", "NetFare", "9"));
    EXPECT_EQ(LoadTariff(path, "Bare"), TariffTable{});
    ASSERT_TRUE(WriteProfileValue(path, "Bare", "hBeginTime", "7"));
    const TariffTable bare = LoadTariff(path, "Bare");
    EXPECT_EQ(bare.hBeginTime, 7);
    EXPECT_EQ(bare.hEndTime, 0);
    EXPECT_EQ(bare.NetFare, 9.0);
    EXPECT_EQ(bare.TelFare, 0.0);
    EXPECT_FALSE(bare.hFare_Weekend);

    EXPECT_TRUE(SaveTariff(t, path, ""));  // no name: nothing written
    EXPECT_EQ(ReadProfileValue(path, "", "NetFare", "none", 10), "none");
}

TEST(FareFile, FaresAreWrittenAsTheRuntimesGcvtWithThreeDigits) {
    EXPECT_EQ(FormatFare(0.11), "0.11");
    EXPECT_EQ(FormatFare(1.234), "1.23");
    EXPECT_EQ(FormatFare(3.0), "3.");
    EXPECT_EQ(FormatFare(12.5), "12.5");
    EXPECT_EQ(FormatFare(100.0), "100");
    EXPECT_EQ(FormatFare(99.95), "100");
    EXPECT_EQ(FormatFare(1000.0), "1.e+003");
    EXPECT_EQ(FormatFare(1234.0), "1.23e+003");
    EXPECT_EQ(FormatFare(0.005), "5.e-003");
    EXPECT_EQ(FormatFare(0.0), "0.");
}

TEST(HolidayFile, ListRoundTripAndDamagedEntries) {
    testing::TempDir dir;
    const std::string path = dir.File("Holiday.ini");
    EXPECT_TRUE(ReadHolidayList(path, "163").empty());
    ASSERT_TRUE(WriteHolidayList(path, "163", {"10月01日", "05月01日", "10月02日"}));
    ASSERT_TRUE(WriteHolidayList(path, "163", {"10月01日", "05月01日"}));
    EXPECT_EQ(ReadHolidayList(path, "163"), (std::vector<std::string>{"10月01日", "05月01日"}));
    EXPECT_EQ(ReadProfileValue(path, "163", "2", "", 10), "10月02日");  // beyond Total: unread
    EXPECT_FALSE(IsHoliday(path, "163", {2026, 10, 2}));
    EXPECT_TRUE(IsHoliday(path, "163", {2026, 5, 1, 23, 59, 59}));

    // A key missing inside the count is left out of the list rather than shown as junk.
    ASSERT_TRUE(WriteProfileValue(path, "Gap", "Total", "3"));
    ASSERT_TRUE(WriteProfileValue(path, "Gap", "2", "06月01日"));
    EXPECT_EQ(ReadHolidayList(path, "Gap"), std::vector<std::string>{"06月01日"});
    EXPECT_TRUE(IsHoliday(path, "Gap", {2026, 6, 1}));

    ASSERT_TRUE(WriteProfileValue(path, "163", "Total", "0"));
    EXPECT_FALSE(IsHoliday(path, "163", {2026, 5, 1}));
    // Entries not in the month-and-day shape compare as atoi reads them.
    ASSERT_TRUE(WriteHolidayList(path, "Odd", {"5-x 7", "12"}));
    EXPECT_TRUE(IsHoliday(path, "Odd", {2026, 5, 7}));
    EXPECT_FALSE(IsHoliday(path, "Odd", {2026, 12, 1}));
    EXPECT_TRUE(IsWeekend(Dec(12, 0)));
    EXPECT_TRUE(IsWeekend(Dec(13, 23)));
    EXPECT_FALSE(IsWeekend(Dec(11, 23)));
}

}  // namespace
}  // namespace quorlet
