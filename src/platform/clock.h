// The current local time, injected so that tariff, recorder and plan tests can move it.
#pragma once

#include <mutex>

#include "base/civil_time.h"

namespace quorlet {

class Clock {
public:
    virtual ~Clock() = default;
    virtual CivilTime Now() const = 0;
};

// The system's local time.
Clock& SystemClock();

// A clock that stands still until a test sets or advances it.
class ManualClock final : public Clock {
public:
    explicit ManualClock(CivilTime start = {}) : m_now(start) {}

    CivilTime Now() const override {
        std::lock_guard lock(m_mutex);
        return m_now;
    }
    void Set(CivilTime now) {
        std::lock_guard lock(m_mutex);
        m_now = now;
    }
    void Advance(long long seconds) {
        std::lock_guard lock(m_mutex);
        m_now = m_now.AddSeconds(seconds);
    }

private:
    mutable std::mutex m_mutex;
    CivilTime m_now;
};

}  // namespace quorlet
