// Winsock: the calls of platform/sockets/socket_os.h. Sockets are switched to non-blocking
// after they are made, waits go through select(), and names go through the W functions
// (GBK <-> UTF-16).
#include <windows.h>

#include <algorithm>
#include <mutex>

#include "platform/sockets/socket_os.h"
#include "platform/win32/wide_text.h"

namespace quorlet::sockets {
namespace {

// send and recv take an int count.
constexpr std::size_t kChunk = 65536;

bool SetNonBlocking(SOCKET s) {
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}

// A socket that cannot be made non-blocking is closed; the failure stays the thread's last error.
SOCKET NonBlockingOrNone(SOCKET s) {
    if (s == INVALID_SOCKET || SetNonBlocking(s)) {
        return s;
    }
    const int error = WSAGetLastError();
    closesocket(s);
    WSASetLastError(error);
    return INVALID_SOCKET;
}

}  // namespace

bool Start() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        WSADATA data;
        started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    });
    return started;
}

Handle Open(int family) {
    return NonBlockingOrNone(socket(family, SOCK_STREAM, IPPROTO_TCP));
}

Handle Accept(Handle listener) {
    return NonBlockingOrNone(accept(listener, nullptr, nullptr));
}

void Close(Handle socket) {
    closesocket(socket);
}

// Winsock's SO_REUSEADDR would let another socket bind a port that is in use, so it stays off.
void AllowRebind(Handle) {}

std::ptrdiff_t SendSome(Handle socket, std::string_view data) {
    return send(socket, data.data(), static_cast<int>(std::min(data.size(), kChunk)), 0);
}

std::ptrdiff_t ReceiveSome(Handle socket, char* buffer, std::size_t size) {
    return recv(socket, buffer, static_cast<int>(std::min(size, kChunk)), 0);
}

bool WouldBlock() {
    const int error = WSAGetLastError();
    return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS;
}

bool InProgress() {
    return WouldBlock();
}

// Winsock calls on non-blocking sockets are not interrupted.
bool Interrupted() {
    return false;
}

Poll PollOnce(Handle socket, bool write, std::chrono::milliseconds slice) {
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket, &ready);
    FD_SET(socket, &failed);
    const long ms = static_cast<long>(slice.count());
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    // Only a connect reports its failure in the exception set; for reading, that set would mean
    // out-of-band data.
    const int n = select(0, write ? nullptr : &ready, write ? &ready : nullptr,
                         write ? &failed : nullptr, &wait);
    if (n == SOCKET_ERROR || (write && FD_ISSET(socket, &failed))) {
        return Poll::Failed;
    }
    return n > 0 ? Poll::Ready : Poll::Quiet;
}

int GetAddressInfo(const std::string& host, const AddressInfo& hints, AddressInfo** found) {
    return GetAddrInfoW(win32::ToWide(host).c_str(), nullptr, &hints, found);
}

void FreeAddressInfo(AddressInfo* found) {
    FreeAddrInfoW(found);
}

std::optional<std::string> HostName() {
    wchar_t name[256] = {};
    DWORD size = 255;
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) {
        return std::nullopt;
    }
    return win32::FromWide(std::wstring_view(name, size));
}

}  // namespace quorlet::sockets
