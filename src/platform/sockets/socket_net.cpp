// The sockets of Net on both platforms. POSIX and Winsock share the BSD calls; where they differ
// (handles, errors, waiting, start-up, names) this goes through platform/sockets/socket_os.h.
// Every socket is non-blocking; waits go in slices short enough to notice the abort flag in time.
#include <algorithm>
#include <cstring>

#include "platform/net.h"
#include "platform/net_wait.h"
#include "platform/sockets/socket_net.h"
#include "platform/sockets/socket_os.h"
#include "platform/tls.h"

namespace quorlet {
namespace {

class Socket {
public:
    explicit Socket(sockets::Handle handle = sockets::kNoSocket) : m_handle(handle) {}
    ~Socket() {
        if (Valid()) {
            sockets::Close(m_handle);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket(Socket&& other) noexcept : m_handle(other.m_handle) {
        other.m_handle = sockets::kNoSocket;
    }

    sockets::Handle Get() const { return m_handle; }
    bool Valid() const { return m_handle != sockets::kNoSocket; }

private:
    sockets::Handle m_handle;
};

enum class Ready { Yes, GaveUp, Failed };

// Waits until the socket is readable (or writable), or the time or the abort flag runs out.
Ready WaitFor(const Socket& socket, bool write, const NetWait& wait) {
    for (;;) {
        if (wait.Aborted() || wait.Expired()) {
            return Ready::GaveUp;
        }
        switch (sockets::PollOnce(socket.Get(), write, wait.NextSlice())) {
            case sockets::Poll::Ready:
                return Ready::Yes;
            case sockets::Poll::Failed:
                return Ready::Failed;
            case sockets::Poll::Quiet:
                break;
        }
    }
}

std::array<std::uint8_t, 4> AddressBytes(const sockaddr_in& address) {
    std::array<std::uint8_t, 4> bytes;
    std::memcpy(bytes.data(), &address.sin_addr.s_addr, 4);
    return bytes;
}

class SocketStream final : public NetStream {
public:
    SocketStream(Socket socket, const std::atomic<bool>* abort)
        : m_socket(std::move(socket)), m_abort(abort) {}

    bool SendAll(std::string_view data) override {
        const NetWait wait(kNetWaitLimit, m_abort);
        while (!data.empty()) {
            if (wait.Aborted()) {
                return false;
            }
            const std::ptrdiff_t n = sockets::SendSome(m_socket.Get(), data);
            if (n > 0) {
                data.remove_prefix(static_cast<std::size_t>(n));
            } else if (n < 0 && sockets::WouldBlock()) {
                if (WaitFor(m_socket, true, wait) != Ready::Yes) {
                    return false;
                }
            } else if (n < 0 && sockets::Interrupted()) {
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
            const std::size_t want = std::min(maxBytes, sizeof buffer);
            const std::ptrdiff_t n = sockets::ReceiveSome(m_socket.Get(), buffer, want);
            if (n > 0) {
                out.append(buffer, static_cast<std::size_t>(n));
                return Result::Data;
            }
            if (n == 0) {
                return Result::Closed;
            }
            if (sockets::Interrupted()) {
                continue;
            }
            if (!sockets::WouldBlock()) {
                return Result::Failed;
            }
            switch (WaitFor(m_socket, false, wait)) {
                case Ready::Yes:
                    break;
                case Ready::Failed:
                    return Result::Failed;
                case Ready::GaveUp:
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

class SocketListener final : public NetListener {
public:
    SocketListener(Socket socket, std::uint16_t port) : m_socket(std::move(socket)), m_port(port) {}

    std::uint16_t Port() const override { return m_port; }

    std::unique_ptr<NetStream> Accept(std::chrono::milliseconds timeout) override {
        const NetWait wait(timeout, nullptr);
        for (;;) {
            Socket client(sockets::Accept(m_socket.Get()));
            if (client.Valid()) {
                return std::make_unique<SocketStream>(std::move(client), nullptr);
            }
            if (!sockets::WouldBlock() && !sockets::Interrupted()) {
                return nullptr;
            }
            if (WaitFor(m_socket, false, wait) != Ready::Yes) {
                return nullptr;
            }
        }
    }

private:
    Socket m_socket;
    std::uint16_t m_port;
};

struct AddressList {
    bool resolved = false;
    std::vector<sockaddr_storage> addresses;
};

AddressList Lookup(const std::string& host, int family, int flags) {
    sockets::AddressInfo hints{};
    hints.ai_family = family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    sockets::AddressInfo* found = nullptr;
    AddressList list;
    list.resolved = sockets::GetAddressInfo(host, hints, &found) == 0;
    for (sockets::AddressInfo* a = found; list.resolved && a != nullptr; a = a->ai_next) {
        if (a->ai_family == AF_INET || a->ai_family == AF_INET6) {
            sockaddr_storage s{};
            std::memcpy(&s, a->ai_addr, a->ai_addrlen);
            list.addresses.push_back(s);
        }
    }
    if (found != nullptr) {
        sockets::FreeAddressInfo(found);
    }
    return list;
}

// A numeric address at once; a name on a thread of its own, so that a hanging resolver cannot
// outlast the time limit or the abort flag.
std::vector<sockaddr_storage> Resolve(const std::string& host, int family, const NetWait& wait) {
    AddressList numeric = Lookup(host, family, AI_NUMERICHOST);
    if (numeric.resolved) {
        return numeric.addresses;
    }
    std::optional<AddressList> named =
        RunBounded<AddressList>([host, family] { return Lookup(host, family, 0); }, wait);
    return named ? named->addresses : std::vector<sockaddr_storage>{};
}

socklen_t AddressLength(const sockaddr_storage& address) {
    return address.ss_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
}

// One non-blocking connect attempt.
Ready ConnectOne(const Socket& socket, const sockaddr_storage& address, const NetWait& wait) {
    if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address),
                AddressLength(address)) == 0) {
        return Ready::Yes;
    }
    if (!sockets::InProgress() && !sockets::Interrupted()) {
        return Ready::Failed;
    }
    const Ready ready = WaitFor(socket, true, wait);
    if (ready != Ready::Yes) {
        return ready;
    }
    // Where a refused connect shows as writable, its error is here.
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) !=
            0 ||
        error != 0) {
        return Ready::Failed;
    }
    return Ready::Yes;
}

class SocketNet final : public Net {
public:
    explicit SocketNet(SocketNetHooks hooks = {}) : m_hooks(std::move(hooks)) {}

    bool Initialize() override { return sockets::Start(); }

    std::unique_ptr<NetStream> Connect(const std::string& host, std::uint16_t port,
                                       std::chrono::milliseconds timeout,
                                       const std::atomic<bool>* abort) override {
        if (!Initialize()) {
            return nullptr;
        }
        const NetWait wait(timeout, abort);
        for (sockaddr_storage address : Addresses(host, wait)) {
            if (address.ss_family == AF_INET) {
                reinterpret_cast<sockaddr_in&>(address).sin_port = htons(port);
            } else {
                reinterpret_cast<sockaddr_in6&>(address).sin6_port = htons(port);
            }
            // A family this system has no sockets for (IPv6 missing) is passed over.
            Socket socket(Open(address.ss_family));
            if (!socket.Valid()) {
                continue;
            }
            switch (ConnectOne(socket, address, wait)) {
                case Ready::Yes:
                    return std::make_unique<SocketStream>(std::move(socket), abort);
                case Ready::GaveUp:
                    return nullptr;  // out of time, or aborted: no further address is tried
                case Ready::Failed:
                    break;
            }
        }
        return nullptr;
    }

    std::optional<std::string> LocalHostName() override { return sockets::HostName(); }

    std::vector<std::array<std::uint8_t, 4>> ResolveIPv4(const std::string& host) override {
        std::vector<std::array<std::uint8_t, 4>> out;
        if (!Initialize()) {
            return out;
        }
        for (const sockaddr_storage& address : Lookup(host, AF_INET, 0).addresses) {
            const auto bytes = AddressBytes(reinterpret_cast<const sockaddr_in&>(address));
            if (std::find(out.begin(), out.end(), bytes) == out.end()) {
                out.push_back(bytes);
            }
        }
        return out;
    }

    std::unique_ptr<NetListener> ListenLoopback(std::uint16_t port, int backlog) override {
        if (!Initialize()) {
            return nullptr;
        }
        Socket socket(sockets::Open(AF_INET));
        if (!socket.Valid()) {
            return nullptr;
        }
        sockets::AllowRebind(socket.Get());
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
        return std::make_unique<SocketListener>(std::move(socket), ntohs(address.sin_port));
    }

    // SChannel (platform/win32/schannel_tls.cpp) on Windows, OpenSSL (platform/posix/openssl_*)
    // elsewhere, over these streams.
    Tls* TlsLayer() override { return &SystemTls(); }

private:
    std::vector<sockaddr_storage> Addresses(const std::string& host, const NetWait& wait) const {
        if (!m_hooks.resolve) {
            return Resolve(host, AF_UNSPEC, wait);
        }
        std::vector<sockaddr_storage> addresses;
        for (const std::string& numeric : m_hooks.resolve(host)) {
            for (const sockaddr_storage& a : Lookup(numeric, AF_UNSPEC, AI_NUMERICHOST).addresses) {
                addresses.push_back(a);
            }
        }
        return addresses;
    }

    sockets::Handle Open(int family) const {
        const AddressFamily which = family == AF_INET ? AddressFamily::IPv4 : AddressFamily::IPv6;
        if (m_hooks.canOpen && !m_hooks.canOpen(which)) {
            return sockets::kNoSocket;
        }
        return sockets::Open(family);
    }

    SocketNetHooks m_hooks;
};

}  // namespace

Net& SystemNet() {
    static SocketNet net;
    return net;
}

std::unique_ptr<Net> MakeSocketNet(SocketNetHooks hooks) {
    return std::make_unique<SocketNet>(std::move(hooks));
}

}  // namespace quorlet
