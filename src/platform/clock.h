// The clocks the program reads, injected so that tariff, recorder and plan tests can move them.
// Three readings, because they answer different questions: the local time is what is shown,
// logged and priced; the system time tells a clock that was set apart from a change of summer
// time; the steady clock, which nobody sets, measures how long something lasted.
#pragma once

#include <cstdint>
#include <mutex>

#include "base/civil_time.h"

namespace quorlet {

class Clock {
public:
    virtual ~Clock() = default;
    // The local wall-clock time.
    virtual CivilTime Now() const = 0;
    // The system time in seconds since 1970-01-01 UTC: setting the clock moves it, the start or
    // end of summer time (or a new time zone) moves only the local reading.
    virtual std::int64_t UtcSeconds() const = 0;
    // Milliseconds from an arbitrary origin on a clock that only runs forward.
    virtual std::int64_t SteadyMilliseconds() const = 0;
};

// The system's clocks.
Clock& SystemClock();

// Clocks that stand still until a test moves them: time passing moves all three readings,
// setting the clock moves the local and system times, a summer-time change only the local one.
class ManualClock final : public Clock {
public:
    // The local time starts at `start`, in a zone at UTC.
    explicit ManualClock(CivilTime start = {}) : m_utc(start.Seconds()) {}

    CivilTime Now() const override {
        std::lock_guard lock(m_mutex);
        return CivilTime::FromSeconds(m_utc + m_zoneOffset);
    }
    std::int64_t UtcSeconds() const override {
        std::lock_guard lock(m_mutex);
        return m_utc;
    }
    std::int64_t SteadyMilliseconds() const override {
        std::lock_guard lock(m_mutex);
        return m_steadyMs;
    }

    // The clock is set so that the local time reads `now`; the steady clock does not move.
    void Set(CivilTime now) {
        std::lock_guard lock(m_mutex);
        m_utc = now.Seconds() - m_zoneOffset;
    }
    // Time passes.
    void Advance(long long seconds) {
        std::lock_guard lock(m_mutex);
        m_utc += seconds;
        m_steadyMs += seconds * 1000;
    }
    // Summer time begins (+3600) or ends (-3600): only the local reading moves.
    void ShiftZone(long long seconds) {
        std::lock_guard lock(m_mutex);
        m_zoneOffset += seconds;
    }

private:
    mutable std::mutex m_mutex;
    std::int64_t m_utc;
    std::int64_t m_zoneOffset = 0;
    std::int64_t m_steadyMs = 0;
};

}  // namespace quorlet
