// How long an online period has lasted. The start is kept as a local time, which the log shows
// and the tariff prices from, beside a reading of the steady clock, which measures the length:
// the end of summer time cannot make a period end before it began, its start cannot add an hour
// to one, and neither can a clock set forward. The priced interval is the local start and the
// real length from it. A clock set back before the start is still told apart, by the system
// time, which summer time does not move.
#pragma once

#include <cstdint>

#include "base/civil_time.h"
#include "platform/clock.h"

namespace quorlet {

class PeriodTimer {
public:
    PeriodTimer() = default;
    // A period that began secondsBefore seconds before now ("AheadTime").
    PeriodTimer(const Clock& clock, int secondsBefore);

    const CivilTime& Start() const { return m_start; }

    struct Span {
        std::int64_t seconds = 0;   // the real length, whole seconds
        CivilTime end;              // the start plus the real length
        bool clockSetBack = false;  // the system clock now reads earlier than at the start
    };
    Span Measure(const Clock& clock) const;

private:
    CivilTime m_start;
    std::int64_t m_steadyStartMs = 0;
    std::int64_t m_utcStart = 0;
};

}  // namespace quorlet
