// The real registry, through the W functions; REG_SZ text is converted between GBK and UTF-16.
#pragma once

#include "platform/registry.h"

namespace quorlet {

Registry& SystemRegistry();

}  // namespace quorlet
