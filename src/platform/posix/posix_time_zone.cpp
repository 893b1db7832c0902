#include <ctime>

#include "platform/time_zone.h"

namespace quorlet {

int LocalUtcOffsetMinutes(const CivilTime& local) {
    std::tm t{};
    t.tm_year = local.year - 1900;
    t.tm_mon = local.month - 1;
    t.tm_mday = local.day;
    t.tm_hour = local.hour;
    t.tm_min = local.minute;
    t.tm_sec = local.second;
    t.tm_isdst = -1;
    if (std::mktime(&t) == static_cast<std::time_t>(-1)) {
        return 0;
    }
    return static_cast<int>(t.tm_gmtoff / 60);
}

}  // namespace quorlet
