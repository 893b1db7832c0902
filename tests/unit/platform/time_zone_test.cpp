#include "platform/time_zone.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace quorlet {
namespace {

#ifdef _WIN32
TEST(TimeZone, OffsetIsAPlausibleZone) {
    const int minutes = LocalUtcOffsetMinutes({2024, 6, 1, 12, 0, 0});
    EXPECT_GE(minutes, -12 * 60);
    EXPECT_LE(minutes, 14 * 60);
}
#else
// POSIX zone rules need no zone database: "CST-8" is China's time, "EST5EDT" New York's.
TEST(TimeZone, OffsetFollowsTheZoneAndItsSummerTime) {
    const char* old = std::getenv("TZ");
    const std::string saved = old != nullptr ? old : "";
    setenv("TZ", "CST-8", 1);
    tzset();
    EXPECT_EQ(LocalUtcOffsetMinutes({2002, 5, 6, 10, 20, 30}), 480);
    setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
    tzset();
    EXPECT_EQ(LocalUtcOffsetMinutes({2024, 1, 15, 12, 0, 0}), -300);
    EXPECT_EQ(LocalUtcOffsetMinutes({2024, 7, 15, 12, 0, 0}), -240);
    setenv("TZ", "IST-5:30", 1);
    tzset();
    EXPECT_EQ(LocalUtcOffsetMinutes({2024, 7, 15, 12, 0, 0}), 330);
    if (old != nullptr) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}
#endif

}  // namespace
}  // namespace quorlet
