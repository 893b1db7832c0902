// The local time zone's offset from UTC, for the Date header of outgoing mail.
#pragma once

#include "base/civil_time.h"

namespace quorlet {

// Minutes east of UTC at the given local time (480 in China); 0 when it cannot be had.
int LocalUtcOffsetMinutes(const CivilTime& local);

}  // namespace quorlet
