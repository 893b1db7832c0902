#include <windows.h>

#include "platform/time_zone.h"

namespace quorlet {

int LocalUtcOffsetMinutes(const CivilTime& local) {
    SYSTEMTIME localTime{};
    localTime.wYear = static_cast<WORD>(local.year);
    localTime.wMonth = static_cast<WORD>(local.month);
    localTime.wDay = static_cast<WORD>(local.day);
    localTime.wHour = static_cast<WORD>(local.hour);
    localTime.wMinute = static_cast<WORD>(local.minute);
    localTime.wSecond = static_cast<WORD>(local.second);
    SYSTEMTIME utc{};
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utc)) {
        return 0;
    }
    const CivilTime utcTime{utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond};
    return static_cast<int>((local.Seconds() - utcTime.Seconds()) / 60);
}

}  // namespace quorlet
