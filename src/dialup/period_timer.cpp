#include "dialup/period_timer.h"

namespace quorlet {

PeriodTimer::PeriodTimer(const Clock& clock, int secondsBefore)
    : m_start(clock.Now().AddSeconds(-secondsBefore)),
      m_steadyStartMs(clock.SteadyMilliseconds() - 1000LL * secondsBefore),
      m_utcStart(clock.UtcSeconds() - secondsBefore) {}

PeriodTimer::Span PeriodTimer::Measure(const Clock& clock) const {
    Span span;
    const std::int64_t elapsedMs = clock.SteadyMilliseconds() - m_steadyStartMs;
    span.seconds = elapsedMs > 0 ? elapsedMs / 1000 : 0;
    span.end = m_start.AddSeconds(span.seconds);
    span.clockSetBack = clock.UtcSeconds() < m_utcStart;
    return span;
}

}  // namespace quorlet
