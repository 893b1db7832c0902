// Number parsing with the C runtime's atoi/atof rules, which the stored settings and files rely
// on: leading white space, an optional sign, the longest run of digits, 0 when there is none.
// Unlike the C functions these never depend on the locale and never overflow.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorlet {

// atoi: a value beyond the int range is clamped to INT_MIN/INT_MAX, as the Windows runtime does.
int AtoI(std::string_view text);

// The same rule for 64-bit numbers (mailbox sizes beyond 2 GB).
std::int64_t AtoI64(std::string_view text);

// atof: [space][sign]digits[.digits][(e|E)[sign]digits]; 0.0 when no number starts the text.
double AtoF(std::string_view text);

}  // namespace quorlet
