// POSIX sockets: the headers and types that platform/sockets/socket_os.h names.
#pragma once

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace quorlet::sockets {

using Handle = int;
inline constexpr Handle kNoSocket = -1;
using AddressInfo = addrinfo;

}  // namespace quorlet::sockets
