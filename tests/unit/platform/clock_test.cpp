// The system's clocks agree with each other: the system time is the local time less the zone's
// offset, and the steady clock runs forward.
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/time_zone.h"

namespace quorlet {
namespace {

TEST(SystemClock, SystemTimeIsTheLocalTimeLessTheZoneOffset) {
    const Clock& clock = SystemClock();
    const std::int64_t utc = clock.UtcSeconds();
    const CivilTime local = clock.Now();
    const std::int64_t offset = 60LL * LocalUtcOffsetMinutes(local);
    // Two readings a moment apart may straddle a second.
    EXPECT_NEAR(static_cast<double>(local.Seconds() - offset), static_cast<double>(utc), 2.0);
}

TEST(SystemClock, SteadyClockRunsForward) {
    const Clock& clock = SystemClock();
    const std::int64_t before = clock.SteadyMilliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const std::int64_t after = clock.SteadyMilliseconds();
    // The system's tick may be as coarse as 16 ms.
    EXPECT_GE(after - before, 30);
    EXPECT_LT(after - before, 60000);
}

}  // namespace
}  // namespace quorlet
