#include "dialup/fee_calculator.h"

#include <cmath>
#include <cstdlib>

#include "dialup/holidays.h"

namespace quorlet {
namespace {

// A rate that is a whole number of fen up to the noise of binary fractions (4.20 yuan an hour is
// 0.07 a minute, which is 7.000000000000001 fen in a double) stays as it is.
constexpr double kWholeFenTolerance = 1e-9;

Duration Between(const CivilTime& a, const CivilTime& b) {
    return Duration::FromSeconds(b.Seconds() - a.Seconds());
}

bool SameDate(const CivilTime& a, const CivilTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

CivilTime AtTime(CivilTime t, int hour, int minute, int second) {
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

// From a up to He:00:00 of the same day.
Duration UntilWindowEnd(const CivilTime& a, int he) {
    return {he - a.hour - 1, 59 - a.minute, 60 - a.second};
}

// From Hb:00:00 up to b.
Duration SinceWindowStart(const CivilTime& b, int hb) {
    return {b.hour - hb, b.minute, b.second};
}

// Overlap with a daily window that does not cross midnight (hb < he).
Duration DayWindowOverlap(const CivilTime& a, const CivilTime& b, int hb, int he) {
    if (a.hour < hb) {
        if (b.hour < hb) {
            return {};
        }
        if (b.hour < he) {
            return SinceWindowStart(b, hb);
        }
        return {he - hb, 0, 0};
    }
    if (a.hour < he) {
        return b.hour < he ? Between(a, b) : UntilWindowEnd(a, he);
    }
    return {};
}

// Overlap with a window that crosses midnight (hb > he): the morning hours below he and the
// evening hours from hb on.
Duration NightWindowOverlap(const CivilTime& a, const CivilTime& b, int hb, int he) {
    if (a.hour < he) {
        if (b.hour < he) {
            return Between(a, b);
        }
        Duration overlap = UntilWindowEnd(a, he);
        if (b.hour >= hb) {
            overlap += SinceWindowStart(b, hb);
            overlap.Carry();
        }
        return overlap;
    }
    if (a.hour >= hb) {
        return Between(a, b);
    }
    return b.hour >= hb ? SinceWindowStart(b, hb) : Duration{};
}

// Blocks of unit minutes that n minutes start.
std::int64_t Blocks(int n, int unit) {
    const std::int64_t magnitude = std::llabs(unit);
    const std::int64_t blocks = (static_cast<std::int64_t>(n) + magnitude - 1) / magnitude;
    return unit < 0 ? -blocks : blocks;
}

}  // namespace

Duration Duration::FromSeconds(std::int64_t seconds) {
    if (seconds < 0) {
        seconds = 0;
    }
    return {static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
            static_cast<int>(seconds % 60)};
}

void Duration::Carry() {
    while (s >= 60) {
        s -= 60;
        ++m;
    }
    while (m >= 60) {
        m -= 60;
        ++h;
    }
}

FeeCalculator::FeeCalculator(std::string farePath, std::string holidayPath)
    : m_farePath(std::move(farePath)), m_holidayPath(std::move(holidayPath)) {}

void FeeCalculator::LoadTariff(const std::string& connectionName) {
    m_tariff = quorlet::LoadTariff(m_farePath, connectionName);
}

bool FeeCalculator::SaveTariff(const std::string& connectionName) const {
    return quorlet::SaveTariff(m_tariff, m_farePath, connectionName);
}

bool FeeCalculator::IsHoliday(const CivilTime& t) const {
    return quorlet::IsHoliday(m_holidayPath, m_strConnName, t);
}

PeriodPrice FeeCalculator::PricePeriod(const CivilTime& start, const CivilTime& end) {
    m_tally = {};
    const CivilTime last = end < start ? start : end;
    const Duration T = Between(start, last);
    const Duration D = SplitByDay(start, last);
    return ComputeFees(T, D);
}

PeriodPrice FeeCalculator::PriceConnectionPeriod(const std::string& connectionName,
                                                 const CivilTime& start, const CivilTime& end) {
    FeeCalculator own(m_farePath, m_holidayPath);
    own.m_bRateRounding = m_bRateRounding;
    own.m_strConnName = connectionName;
    own.LoadTariff(connectionName);
    const PeriodPrice price = own.PricePeriod(start, end);
    m_tally = own.m_tally;
    return price;
}

Duration FeeCalculator::SplitByDay(const CivilTime& start, const CivilTime& end) {
    if (SameDate(start, end)) {
        return ClassifyDaySegment(start, end);
    }
    Duration D = ClassifyDaySegment(start, AtTime(start, 23, 59, 59));
    D.s += 1;
    for (CivilTime x = start.AddDays(1); x < end && !SameDate(x, end); x = x.AddDays(1)) {
        D += ClassifyDaySegment(AtTime(x, 0, 0, 0), AtTime(x, 23, 59, 59));
        D.s += 1;
    }
    D += ClassifyDaySegment(AtTime(end, 0, 0, 0), end);
    D.Carry();
    return D;
}

Duration FeeCalculator::ClassifyDaySegment(const CivilTime& a, const CivilTime& b) {
    Duration* category = nullptr;
    Duration result;
    const int hb = m_tariff.hBeginTime;
    const int he = m_tariff.hEndTime;
    if (IsHoliday(a)) {
        result = Between(a, b);
        category = &m_tally.Holiday;
    } else if (IsWeekend(a) && m_tariff.hFare_Weekend) {
        result = Between(a, b);
        category = &m_tally.Weekend;
    } else if (hb == he) {
        return {};
    } else {
        result = hb < he ? DayWindowOverlap(a, b, hb, he) : NightWindowOverlap(a, b, hb, he);
        category = &m_tally.Time;
    }
    *category += result;
    category->Carry();
    return result;
}

double FeeCalculator::NetRatePerMinute() const {
    if (m_tariff.NetUnit == 0 || m_tariff.NetFare == 0.0) {
        return 0.0;
    }
    double rate = m_tariff.NetFare / m_tariff.NetUnit;
    if (m_bRateRounding) {
        const double x = rate * 100;
        const double whole = std::round(x);
        if (std::fabs(x - whole) < kWholeFenTolerance) {
            rate = whole * 0.01;
        } else {
            const double f = std::floor(x);
            rate = f < x ? (f + 1) * 0.01 : f * 0.01;
        }
    }
    return rate;
}

PeriodPrice FeeCalculator::ComputeFees(const Duration& T, const Duration& D) const {
    int s = T.s - D.s;
    int m = T.m;
    int h = T.h;
    if (s < 0) {
        s += 60;
        m -= 1;
    }
    m -= D.m;
    if (m < 0) {
        m += 60;
        h -= 1;
    }
    h -= D.h;

    PeriodPrice price;
    price.g = 60 * h + m + (s > 0 ? 1 : 0);
    price.t = m_tally.Time.StartedMinutes();
    price.w = m_tally.Weekend.StartedMinutes();
    price.d = m_tally.Holiday.StartedMinutes();

    const TariffTable& tariff = m_tariff;
    if (tariff.NetUnit != 0 && tariff.NetFare != 0.0) {
        const double rate = NetRatePerMinute();
        price.netFee = rate * price.g + (tariff.htNetFare * price.t) * rate * 0.01 +
                       (tariff.hwNetFare * price.w) * rate * 0.01 +
                       (tariff.hdNetFare * price.d) * rate * 0.01;
    }
    if (tariff.TelUnit != 0 && tariff.TelFare != 0.0) {
        const int unit = tariff.TelUnit;
        price.phoneFee = Blocks(price.g, unit) * tariff.TelFare +
                         Blocks(price.t, unit) * tariff.TelFare * tariff.htTelFare * 0.01 +
                         Blocks(price.w, unit) * tariff.TelFare * tariff.hwTelFare * 0.01 +
                         Blocks(price.d, unit) * tariff.TelFare * tariff.hdTelFare * 0.01;
    }
    return price;
}

}  // namespace quorlet
