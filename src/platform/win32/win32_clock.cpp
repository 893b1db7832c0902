#include <windows.h>

#include "platform/clock.h"

namespace quorlet {
namespace {

// 100-nanosecond intervals from 1601-01-01 (the FILETIME origin) to 1970-01-01.
constexpr ULONGLONG kUnixEpochAsFileTime = 116444736000000000ULL;
constexpr ULONGLONG kFileTimeTicksPerSecond = 10000000ULL;

class Win32Clock final : public Clock {
public:
    CivilTime Now() const override {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
    std::int64_t UtcSeconds() const override {
        FILETIME ft{};
        GetSystemTimeAsFileTime(&ft);
        ULARGE_INTEGER ticks{};
        ticks.LowPart = ft.dwLowDateTime;
        ticks.HighPart = ft.dwHighDateTime;
        return static_cast<std::int64_t>(ticks.QuadPart / kFileTimeTicksPerSecond) -
               static_cast<std::int64_t>(kUnixEpochAsFileTime / kFileTimeTicksPerSecond);
    }
    // GetTickCount64 counts from the system's start and is never set; unlike GetTickCount it
    // does not wrap after 49.7 days online.
    std::int64_t SteadyMilliseconds() const override {
        return static_cast<std::int64_t>(GetTickCount64());
    }
};

}  // namespace

Clock& SystemClock() {
    static Win32Clock clock;
    return clock;
}

}  // namespace quorlet
