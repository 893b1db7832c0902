// The few socket calls in which POSIX and Winsock differ. Each side implements them in its own
// folder (platform/posix/posix_net.cpp, platform/win32/win32_net.cpp); the logic of Net over
// them lives once, in platform/sockets/socket_net.cpp. Including this header brings in the
// socket headers of the platform being built, and no other platform's.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include "platform/win32/win32_net.h"
#else
#include "platform/posix/posix_net.h"
#endif

// The side's header defines, in namespace quorlet::sockets: Handle (the socket handle type),
// kNoSocket (the handle of no socket) and AddressInfo (the getaddrinfo record).
namespace quorlet::sockets {

// Starts the socket layer (once per process); false when it cannot start.
bool Start();

// A new non-blocking TCP socket of the address family; kNoSocket on failure.
Handle Open(int family);

// The next waiting connection of a listening socket, as a non-blocking socket; kNoSocket when
// none is waiting (WouldBlock()) or on failure.
Handle Accept(Handle listener);

void Close(Handle socket);

// Lets a listener bind its port again while earlier connections to it linger.
void AllowRebind(Handle socket);

// One send or receive call: the byte count, 0 (receive: the peer closed) or -1 (see below).
std::ptrdiff_t SendSome(Handle socket, std::string_view data);
std::ptrdiff_t ReceiveSome(Handle socket, char* buffer, std::size_t size);

// What the last failed call of this thread reported: the call would have had to wait, a
// connect goes on in the background, or a signal interrupted the call.
bool WouldBlock();
bool InProgress();
bool Interrupted();

enum class Poll { Ready, Quiet, Failed };

// Waits at most `slice` for the socket to become readable (or writable). A connect that
// failed shows as ready (its error is in SO_ERROR) or as Failed, depending on the platform.
Poll PollOnce(Handle socket, bool write, std::chrono::milliseconds slice);

// getaddrinfo with a GBK host name; 0 on success. *found goes back through FreeAddressInfo.
int GetAddressInfo(const std::string& host, const AddressInfo& hints, AddressInfo** found);
void FreeAddressInfo(AddressInfo* found);

// The local host's name, or nullopt when it cannot be had.
std::optional<std::string> HostName();

}  // namespace quorlet::sockets
