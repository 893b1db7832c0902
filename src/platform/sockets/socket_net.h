// The sockets of Net with what a connect asks of the system replaceable, so that a test can see
// a system on which a name resolves to the addresses it chooses, or on which one address family
// has no sockets (no IPv6). SystemNet() is this without replacements.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/net.h"

namespace quorlet {

enum class AddressFamily { IPv4, IPv6 };

struct SocketNetHooks {
    // The numeric addresses a host resolves to, in the resolver's order; unset: the system's.
    std::function<std::vector<std::string>(const std::string& host)> resolve;
    // Whether a socket of the family can be made; unset: as the system says.
    std::function<bool(AddressFamily family)> canOpen;
};

std::unique_ptr<Net> MakeSocketNet(SocketNetHooks hooks);

}  // namespace quorlet
