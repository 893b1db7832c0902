// Dates of mail headers: the program's own "Mon, 06 May 2002 10:20:30" form, and the short form
// the preview list shows ("2002-5-06 10:20:30").
#pragma once

#include <string>
#include <string_view>

#include "base/civil_time.h"

namespace quorlet {

// "%a, %d %b %Y %H:%M:%S" with English day and month abbreviations, no time zone.
std::string FormatMailDate(const CivilTime& time);

// Rewrites "[blanks]Mon, 06 May 2002 10:20:30 +0800" as "2002-5-06 10:20:30" (year, month mapped
// to "-5-", day, a blank, time; the zone is dropped). Returns false, with `out` a plain copy of
// the input, when the text does not start with a weekday followed by a day number. An unknown
// month name is used as it stands, without dashes.
bool NormaliseDate(std::string_view raw, std::string& out);

}  // namespace quorlet
