// PricePeriod against a deliberately simple model of the same tariff rules: every second of the
// period is looked at on its own and counted as holiday, weekend, daily discount or normal time,
// and the fees are worked out in whole fen and percent with integers.
//
// The day walk differs from the model in one documented way: each day but the last is walked up
// to 23:59:59 only, and the second from 23:59:59 to midnight is counted as discounted time without
// joining any category. The model reproduces exactly that (the "walk seconds" below), so the
// comparison stays exact instead of allowing a tolerance.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <set>
#include <utility>

#include "dialup/fee_calculator.h"
#include "support/temp_dir.h"

namespace quorlet {
namespace {

struct ModelTariff {
    int hb, he;
    int ht[2], hw[2], hd[2];  // percentages: [0] Internet, [1] telephone
    bool weekend;
    int netFen, netUnit;  // Internet fare in fen per netUnit minutes
    int telFen, telUnit;  // telephone fare in fen per block of telUnit minutes
    bool rounding;
};

struct ModelResult {
    std::int64_t normal = 0, time = 0, weekend = 0, holiday = 0, walk = 0;  // seconds
    int g = 0, t = 0, w = 0, d = 0;
    double netFee = 0, phoneFee = 0;
};

int Minutes(std::int64_t seconds) {
    return static_cast<int>((seconds + 59) / 60);
}

ModelResult Model(const ModelTariff& tariff, const std::set<std::pair<int, int>>& holidays,
                  const CivilTime& start, const CivilTime& end) {
    ModelResult r;
    const std::int64_t lastDay = end.DayNumber();
    std::int64_t cachedDay = -1;
    CivilTime date;
    for (std::int64_t x = start.Seconds(); x < end.Seconds(); ++x) {
        const std::int64_t dayNumber = x / 86400;  // the periods lie after 1970
        const int secondOfDay = static_cast<int>(x % 86400);
        const int hour = secondOfDay / 3600;
        if (dayNumber != lastDay && secondOfDay == 86399) {
            ++r.walk;
            continue;
        }
        if (dayNumber != cachedDay) {
            cachedDay = dayNumber;
            date = CivilTime::FromDayNumber(dayNumber);
        }
        const int weekday = date.DayOfWeek();
        bool inWindow = false;
        if (tariff.hb < tariff.he) {
            inWindow = hour >= tariff.hb && hour < tariff.he;
        } else if (tariff.hb > tariff.he) {
            inWindow = hour >= tariff.hb || hour < tariff.he;
        }
        if (holidays.count({date.month, date.day})) {
            ++r.holiday;
        } else if (tariff.weekend && (weekday == 0 || weekday == 6)) {
            ++r.weekend;
        } else if (inWindow) {
            ++r.time;
        } else {
            ++r.normal;
        }
    }
    r.g = Minutes(r.normal);
    r.t = Minutes(r.time);
    r.w = Minutes(r.weekend);
    r.d = Minutes(r.holiday);

    // Fees in units of 0.0001 yuan (fen times percent), then in yuan.
    if (tariff.netUnit != 0 && tariff.netFen != 0) {
        const std::int64_t weighted = 100LL * r.g + static_cast<std::int64_t>(tariff.ht[0]) * r.t +
                                      static_cast<std::int64_t>(tariff.hw[0]) * r.w +
                                      static_cast<std::int64_t>(tariff.hd[0]) * r.d;
        if (tariff.rounding) {
            const std::int64_t rateFen = (tariff.netFen + tariff.netUnit - 1) / tariff.netUnit;
            r.netFee = static_cast<double>(rateFen * weighted) / 10000.0;
        } else {
            r.netFee = static_cast<double>(tariff.netFen) * static_cast<double>(weighted) /
                       tariff.netUnit / 10000.0;
        }
    }
    if (tariff.telUnit != 0 && tariff.telFen != 0) {
        const auto blocks = [&](int n) {
            return static_cast<std::int64_t>((n + tariff.telUnit - 1) / tariff.telUnit);
        };
        const std::int64_t weighted = 100 * blocks(r.g) + tariff.ht[1] * blocks(r.t) +
                                      tariff.hw[1] * blocks(r.w) + tariff.hd[1] * blocks(r.d);
        r.phoneFee = static_cast<double>(tariff.telFen * weighted) / 10000.0;
    }
    return r;
}

TEST(FeeProperty, PricePeriodAgreesWithASecondBySecondModel) {
    testing::TempDir dir;
    const std::string holidayPath = dir.File("Holiday.ini");
    FeeCalculator fees(dir.File("Fare.ini"), holidayPath);
    fees.m_strConnName = "163";
    std::mt19937 random(20261207);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };

    constexpr int kCases = 400;
    int walkSecondsSeen = 0;
    for (int n = 0; n < kCases; ++n) {
        ModelTariff m{};
        m.hb = pick(0, 23);
        m.he = pick(0, 5) == 0 ? m.hb : pick(0, 23);
        for (int k = 0; k < 2; ++k) {
            m.ht[k] = pick(0, 100);
            m.hw[k] = pick(0, 100);
            m.hd[k] = pick(0, 100);
        }
        m.weekend = pick(0, 3) != 0;
        m.netFen = pick(0, 9) == 0 ? 0 : pick(1, 600);
        m.netUnit = pick(0, 9) == 0 ? 0 : pick(1, 120);
        m.telFen = pick(0, 9) == 0 ? 0 : pick(1, 50);
        m.telUnit = pick(0, 9) == 0 ? 0 : pick(1, 10);
        m.rounding = pick(0, 2) != 0;

        // Periods of seconds up to four days, starting anywhere in two years (a leap day and a
        // turn of the year included), mostly short.
        const CivilTime start = CivilTime{2023, 12, 1}.AddSeconds(pick(0, 500 * 86400));
        const int kind = pick(0, 9);
        const int length = kind < 3   ? pick(0, 7200)
                           : kind < 8 ? pick(0, 40 * 3600)
                                      : pick(0, 4 * 86400);
        const CivilTime end = start.AddSeconds(length);

        // Holidays fall inside the period often enough to matter, weekends included.
        std::set<std::pair<int, int>> holidays;
        std::vector<std::string> entries;
        for (int h = pick(0, 3); h > 0; --h) {
            const CivilTime day = start.AddSeconds(pick(0, length));
            if (holidays.insert({day.month, day.day}).second) {
                char text[16];
                std::snprintf(text, sizeof text, "%02d月%02d日", day.month, day.day);
                entries.push_back(text);
            }
        }
        // Written plainly: the file's atomic replacement is not under test here.
        std::string text = "[163]\r\nTotal=" + std::to_string(entries.size()) + "\r\n";
        for (std::size_t i = 0; i < entries.size(); ++i) {
            text += std::to_string(i) + "=" + entries[i] + "\r\n";
        }
        std::ofstream(holidayPath, std::ios::binary | std::ios::trunc) << text;

        TariffTable& t = fees.m_tariff;
        t.hBeginTime = m.hb;
        t.hEndTime = m.he;
        t.htNetFare = m.ht[0];
        t.htTelFare = m.ht[1];
        t.hwNetFare = m.hw[0];
        t.hwTelFare = m.hw[1];
        t.hdNetFare = m.hd[0];
        t.hdTelFare = m.hd[1];
        t.hFare_Weekend = m.weekend;
        t.NetFare = m.netFen / 100.0;
        t.NetUnit = m.netUnit;
        t.TelFare = m.telFen / 100.0;
        t.TelUnit = m.telUnit;
        fees.m_bRateRounding = m.rounding;

        const ModelResult expected = Model(m, holidays, start, end);
        const PeriodPrice actual = fees.PricePeriod(start, end);
        walkSecondsSeen += expected.walk > 0;
        SCOPED_TRACE(start.ToString() + " to " + end.ToString() + ", case " + std::to_string(n));
        ASSERT_EQ(fees.m_tally.Time, Duration::FromSeconds(expected.time));
        ASSERT_EQ(fees.m_tally.Weekend, Duration::FromSeconds(expected.weekend));
        ASSERT_EQ(fees.m_tally.Holiday, Duration::FromSeconds(expected.holiday));
        ASSERT_EQ(actual.g, expected.g);
        ASSERT_EQ(actual.t, expected.t);
        ASSERT_EQ(actual.w, expected.w);
        ASSERT_EQ(actual.d, expected.d);
        // Only the rounding of binary fractions separates the two sums.
        ASSERT_NEAR(actual.netFee, expected.netFee, 1e-7);
        ASSERT_NEAR(actual.phoneFee, expected.phoneFee, 1e-7);
    }
    // The walk's extra second was really exercised, not just allowed for.
    EXPECT_GT(walkSecondsSeen, kCases / 4);
}

}  // namespace
}  // namespace quorlet
