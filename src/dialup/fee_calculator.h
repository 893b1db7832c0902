// Pricing of online periods: the period is walked day by day, each day's piece is classified as
// holiday, weekend, daily discount hours or normal time, and the minutes of each kind are charged
// by the tariff of the connection in use, once as a telephone fee and once as an Internet fee.
#pragma once

#include <cstdint>
#include <string>

#include "base/civil_time.h"
#include "dialup/holidays.h"
#include "dialup/tariff.h"

namespace quorlet {

// A duration as hours (days included), minutes and seconds.
struct Duration {
    int h = 0;
    int m = 0;
    int s = 0;

    static Duration FromSeconds(std::int64_t seconds);
    std::int64_t TotalSeconds() const { return 3600LL * h + 60LL * m + s; }
    // Seconds at or above 60 into minutes, minutes at or above 60 into hours.
    void Carry();
    // Started minutes: a started minute counts whole.
    int StartedMinutes() const { return 60 * h + m + (s > 0 ? 1 : 0); }
    Duration& operator+=(const Duration& other) {
        h += other.h;
        m += other.m;
        s += other.s;
        return *this;
    }
    bool operator==(const Duration&) const = default;
};

// Discounted time of the period being priced, by the percentages it is charged at.
struct DiscountTally {
    Duration Time;     // daily discount hours: htNetFare, htTelFare
    Duration Weekend;  // hwNetFare, hwTelFare
    Duration Holiday;  // hdNetFare, hdTelFare
};

// The two fees of a period and the minute counts they were charged for.
struct PeriodPrice {
    double phoneFee = 0.0;
    double netFee = 0.0;
    int g = 0;  // normal minutes
    int t = 0;  // minutes in the daily discount hours
    int w = 0;  // weekend minutes
    int d = 0;  // holiday minutes
};

class FeeCalculator {
public:
    explicit FeeCalculator(std::string farePath = kFareIniPath,
                           std::string holidayPath = kHolidayIniPath);

    // The tariff prices are computed with; the fee dialogs edit it in place.
    TariffTable m_tariff;
    // The connection in use (the line test writes it): it names the tariff and holiday sections.
    std::string m_strConnName;
    // While on, the per-minute Internet rate is rounded up to a whole fen ("NoRound" turns it off).
    bool m_bRateRounding = true;
    // Scratch state of the last pricing.
    DiscountTally m_tally;

    void LoadTariff(const std::string& connectionName);
    bool SaveTariff(const std::string& connectionName) const;

    bool IsHoliday(const CivilTime& t) const;

    // The fees of the period from start to end. A period whose end lies before its start (the
    // callers test this first) is priced as one of no length.
    PeriodPrice PricePeriod(const CivilTime& start, const CivilTime& end);

    // The same for a period of connectionName, by that connection's stored tariff and holidays,
    // whatever this table holds: the fee window loads other connections' tariffs into it while
    // a period runs. The tally of the pricing is left in m_tally.
    PeriodPrice PriceConnectionPeriod(const std::string& connectionName, const CivilTime& start,
                                      const CivilTime& end);

    // The discounted duration of the period, walked day by day; fills the tally. Every piece
    // but the last ends at 23:59:59, and the second up to midnight is added to the result only.
    Duration SplitByDay(const CivilTime& start, const CivilTime& end);

    // The discounted part of the piece from a to b (same date, a <= b), added to one category.
    Duration ClassifyDaySegment(const CivilTime& a, const CivilTime& b);

    // The fees of a period of total duration T with discounted duration D, from the tally.
    PeriodPrice ComputeFees(const Duration& T, const Duration& D) const;

    // The per-minute Internet rate after the rounding rule; 0 when the unit or fare is 0.
    double NetRatePerMinute() const;

    const std::string& FarePath() const { return m_farePath; }
    const std::string& HolidayPath() const { return m_holidayPath; }

private:
    std::string m_farePath;
    std::string m_holidayPath;
};

}  // namespace quorlet
