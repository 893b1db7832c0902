#pragma once

#include <cstdint>

namespace quorlet::blowfish {

extern const std::uint32_t kInitialP[18];
extern const std::uint32_t kInitialS[4][256];

}  // namespace quorlet::blowfish
