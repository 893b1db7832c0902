// POSIX sockets. Every socket is non-blocking; waits go through poll() in slices short enough
// to notice the abort flag in time.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/net.h"
#include "platform/net_wait.h"

namespace quorlet {
namespace {

class Socket {
public:
    explicit Socket(int fd = -1) : m_fd(fd) {}
    ~Socket() { Reset(); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket(Socket&& other) noexcept : m_fd(other.Release()) {}

    int Get() const { return m_fd; }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset(int fd = -1) {
        if (m_fd >= 0) {
            close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd;
};

// Waits until fd is ready for `events`: 1 ready, 0 gave up (time or abort), -1 failed.
int WaitFor(int fd, short events, const NetWait& wait) {
    for (;;) {
        if (wait.Aborted() || wait.Expired()) {
            return 0;
        }
        pollfd p{fd, events, 0};
        const int n = poll(&p, 1, static_cast<int>(wait.NextSlice().count()));
        if (n > 0) {
            return 1;
        }
        if (n < 0 && errno != EINTR) {
            return -1;
        }
    }
}

std::optional<std::array<std::uint8_t, 4>> AddressBytes(const sockaddr_in& address) {
    std::array<std::uint8_t, 4> bytes;
    std::memcpy(bytes.data(), &address.sin_addr.s_addr, 4);
    return bytes;
}

class PosixStream final : public NetStream {
public:
    PosixStream(Socket socket, const std::atomic<bool>* abort)
        : m_socket(std::move(socket)), m_abort(abort) {}

    bool SendAll(std::string_view data) override {
        const NetWait wait(kNetWaitLimit, m_abort);
        while (!data.empty()) {
            if (wait.Aborted()) {
                return false;
            }
            const ssize_t n = send(m_socket.Get(), data.data(), data.size(), MSG_NOSIGNAL);
            if (n > 0) {
                data.remove_prefix(static_cast<std::size_t>(n));
            } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (WaitFor(m_socket.Get(), POLLOUT, wait) != 1) {
                    return false;
                }
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                return false;
            }
        }
        return true;
    }

    Result Receive(std::string& out, std::size_t maxBytes,
                   std::chrono::milliseconds timeout) override {
        const NetWait wait(timeout, m_abort);
        char buffer[16384];
        for (;;) {
            if (wait.Aborted()) {
                return Result::Aborted;
            }
            const std::size_t want = maxBytes < sizeof buffer ? maxBytes : sizeof buffer;
            const ssize_t n = recv(m_socket.Get(), buffer, want, 0);
            if (n > 0) {
                out.append(buffer, static_cast<std::size_t>(n));
                return Result::Data;
            }
            if (n == 0) {
                return Result::Closed;
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                return Result::Failed;
            }
            const int ready = WaitFor(m_socket.Get(), POLLIN, wait);
            if (ready < 0) {
                return Result::Failed;
            }
            if (ready == 0) {
                return wait.Aborted() ? Result::Aborted : Result::TimedOut;
            }
        }
    }

    std::optional<std::array<std::uint8_t, 4>> LocalIPv4() const override {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (getsockname(m_socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            address.sin_family != AF_INET) {
            return std::nullopt;
        }
        return AddressBytes(address);
    }

private:
    Socket m_socket;
    const std::atomic<bool>* m_abort;
};

class PosixListener final : public NetListener {
public:
    PosixListener(Socket socket, std::uint16_t port) : m_socket(std::move(socket)), m_port(port) {}

    std::uint16_t Port() const override { return m_port; }

    std::unique_ptr<NetStream> Accept(std::chrono::milliseconds timeout) override {
        const NetWait wait(timeout, nullptr);
        for (;;) {
            Socket client(accept4(m_socket.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
            if (client.Get() >= 0) {
                return std::make_unique<PosixStream>(std::move(client), nullptr);
            }
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                return nullptr;
            }
            if (WaitFor(m_socket.Get(), POLLIN, wait) != 1) {
                return nullptr;
            }
        }
    }

private:
    Socket m_socket;
    std::uint16_t m_port;
};

struct AddressList {
    int error = EAI_FAIL;
    std::vector<sockaddr_storage> addresses;
};

AddressList Lookup(const std::string& host, int family, int flags) {
    addrinfo hints{};
    hints.ai_family = family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    addrinfo* found = nullptr;
    AddressList list;
    list.error = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    for (addrinfo* a = found; list.error == 0 && a != nullptr; a = a->ai_next) {
        if (a->ai_family == AF_INET || a->ai_family == AF_INET6) {
            sockaddr_storage s{};
            std::memcpy(&s, a->ai_addr, a->ai_addrlen);
            list.addresses.push_back(s);
        }
    }
    if (found != nullptr) {
        freeaddrinfo(found);
    }
    return list;
}

// A numeric address at once; a name on a thread of its own, so that a hanging resolver cannot
// outlast the time limit or the abort flag.
std::vector<sockaddr_storage> Resolve(const std::string& host, int family, const NetWait& wait) {
    AddressList numeric = Lookup(host, family, AI_NUMERICHOST);
    if (numeric.error == 0) {
        return numeric.addresses;
    }
    std::optional<AddressList> named =
        RunBounded<AddressList>([host, family] { return Lookup(host, family, 0); }, wait);
    return named ? named->addresses : std::vector<sockaddr_storage>{};
}

socklen_t AddressLength(const sockaddr_storage& address) {
    return address.ss_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
}

// One non-blocking connect attempt: 1 connected, 0 gave up (time or abort), -1 refused/failed.
int ConnectOne(const Socket& socket, const sockaddr_storage& address, const NetWait& wait) {
    if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address),
                AddressLength(address)) == 0) {
        return 1;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
        return -1;
    }
    const int ready = WaitFor(socket.Get(), POLLOUT, wait);
    if (ready != 1) {
        return ready;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        return -1;
    }
    return 1;
}

class PosixNet final : public Net {
public:
    bool Initialize() override { return true; }

    std::unique_ptr<NetStream> Connect(const std::string& host, std::uint16_t port,
                                       std::chrono::milliseconds timeout,
                                       const std::atomic<bool>* abort) override {
        const NetWait wait(timeout, abort);
        for (sockaddr_storage address : Resolve(host, AF_UNSPEC, wait)) {
            if (address.ss_family == AF_INET) {
                reinterpret_cast<sockaddr_in&>(address).sin_port = htons(port);
            } else {
                reinterpret_cast<sockaddr_in6&>(address).sin6_port = htons(port);
            }
            Socket socket(::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                   IPPROTO_TCP));
            if (socket.Get() < 0) {
                return nullptr;
            }
            const int result = ConnectOne(socket, address, wait);
            if (result == 1) {
                return std::make_unique<PosixStream>(std::move(socket), abort);
            }
            if (result == 0) {
                return nullptr;  // out of time, or aborted: no further address is tried
            }
        }
        return nullptr;
    }

    std::optional<std::string> LocalHostName() override {
        char name[256] = {};
        if (gethostname(name, sizeof name - 1) != 0) {
            return std::nullopt;
        }
        return std::string(name);
    }

    std::vector<std::array<std::uint8_t, 4>> ResolveIPv4(const std::string& host) override {
        std::vector<std::array<std::uint8_t, 4>> out;
        for (const sockaddr_storage& address : Lookup(host, AF_INET, 0).addresses) {
            const auto bytes = AddressBytes(reinterpret_cast<const sockaddr_in&>(address));
            if (std::find(out.begin(), out.end(), *bytes) == out.end()) {
                out.push_back(*bytes);
            }
        }
        return out;
    }

    std::unique_ptr<NetListener> ListenLoopback(std::uint16_t port, int backlog) override {
        Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP));
        if (socket.Get() < 0) {
            return nullptr;
        }
        const int yes = 1;
        setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        socklen_t length = sizeof address;
        if (bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(socket.Get(), backlog) != 0 ||
            getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return nullptr;
        }
        return std::make_unique<PosixListener>(std::move(socket), ntohs(address.sin_port));
    }
};

}  // namespace

Net& SystemNet() {
    static PosixNet net;
    return net;
}

}  // namespace quorlet
