#include <chrono>
#include <ctime>

#include "platform/clock.h"

namespace quorlet {
namespace {

class PosixClock final : public Clock {
public:
    CivilTime Now() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour,        local.tm_min,     local.tm_sec};
    }
    std::int64_t UtcSeconds() const override {
        return static_cast<std::int64_t>(std::time(nullptr));
    }
    std::int64_t SteadyMilliseconds() const override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    }
};

}  // namespace

Clock& SystemClock() {
    static PosixClock clock;
    return clock;
}

}  // namespace quorlet
