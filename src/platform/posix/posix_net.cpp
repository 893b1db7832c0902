// POSIX sockets: the calls of platform/sockets/socket_os.h. Sockets are opened non-blocking and
// close-on-exec, sends never raise SIGPIPE, and waits go through poll().
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/sockets/socket_os.h"

namespace quorlet::sockets {

bool Start() {
    return true;
}

Handle Open(int family) {
    return socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
}

Handle Accept(Handle listener) {
    return accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}

void Close(Handle socket) {
    close(socket);
}

void AllowRebind(Handle socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

std::ptrdiff_t SendSome(Handle socket, std::string_view data) {
    return send(socket, data.data(), data.size(), MSG_NOSIGNAL);
}

std::ptrdiff_t ReceiveSome(Handle socket, char* buffer, std::size_t size) {
    return recv(socket, buffer, size, 0);
}

bool WouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK;
}
bool InProgress() {
    return errno == EINPROGRESS;
}
bool Interrupted() {
    return errno == EINTR;
}

Poll PollOnce(Handle socket, bool write, std::chrono::milliseconds slice) {
    const short events = write ? POLLOUT : POLLIN;
    pollfd p{socket, events, 0};
    const int n = poll(&p, 1, static_cast<int>(slice.count()));
    if (n > 0) {
        return Poll::Ready;
    }
    // A signal only cuts the slice short.
    return n < 0 && errno != EINTR ? Poll::Failed : Poll::Quiet;
}

int GetAddressInfo(const std::string& host, const AddressInfo& hints, AddressInfo** found) {
    return getaddrinfo(host.c_str(), nullptr, &hints, found);
}

void FreeAddressInfo(AddressInfo* found) {
    freeaddrinfo(found);
}

std::optional<std::string> HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        return std::nullopt;
    }
    return std::string(name);
}

}  // namespace quorlet::sockets
