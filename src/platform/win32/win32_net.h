// Winsock: the headers and types that platform/sockets/socket_os.h names.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

namespace quorlet::sockets {

using Handle = SOCKET;
inline constexpr Handle kNoSocket = INVALID_SOCKET;
using AddressInfo = ADDRINFOW;

}  // namespace quorlet::sockets
