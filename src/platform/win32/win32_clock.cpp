#include <windows.h>

#include "platform/clock.h"

namespace quorlet {
namespace {

class Win32Clock final : public Clock {
public:
    CivilTime Now() const override {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    }
};

}  // namespace

Clock& SystemClock() {
    static Win32Clock clock;
    return clock;
}

}  // namespace quorlet
