// Winsock. Every socket is non-blocking; waits go through select() in slices short enough to
// notice the abort flag in time. Names go through the W functions (GBK <-> UTF-16).
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/net.h"
#include "platform/net_wait.h"
#include "platform/win32/wide_text.h"

namespace quorlet {
namespace {

class Socket {
public:
    explicit Socket(SOCKET s = INVALID_SOCKET) : m_socket(s) {}
    ~Socket() {
        if (m_socket != INVALID_SOCKET) {
            closesocket(m_socket);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket(Socket&& other) noexcept : m_socket(other.m_socket) { other.m_socket = INVALID_SOCKET; }

    SOCKET Get() const { return m_socket; }
    bool Valid() const { return m_socket != INVALID_SOCKET; }

private:
    SOCKET m_socket;
};

bool SetNonBlocking(SOCKET s) {
    u_long on = 1;
    return ioctlsocket(s, FIONBIO, &on) == 0;
}

bool WouldBlock() {
    const int error = WSAGetLastError();
    return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS;
}

enum class Ready { Yes, GaveUp, Failed };

// Waits until s is readable (or writable); a connect that fails shows in the exception set.
Ready WaitFor(SOCKET s, bool write, const NetWait& wait) {
    for (;;) {
        if (wait.Aborted() || wait.Expired()) {
            return Ready::GaveUp;
        }
        fd_set ready;
        fd_set failed;
        FD_ZERO(&ready);
        FD_ZERO(&failed);
        FD_SET(s, &ready);
        FD_SET(s, &failed);
        const long ms = static_cast<long>(wait.NextSlice().count());
        timeval slice{ms / 1000, (ms % 1000) * 1000};
        // Only a connect reports its failure in the exception set; for reading, that set would
        // mean out-of-band data.
        const int n = select(0, write ? nullptr : &ready, write ? &ready : nullptr,
                             write ? &failed : nullptr, &slice);
        if (n == SOCKET_ERROR || (write && FD_ISSET(s, &failed))) {
            return Ready::Failed;
        }
        if (n > 0) {
            return Ready::Yes;
        }
    }
}

std::array<std::uint8_t, 4> AddressBytes(const sockaddr_in& address) {
    std::array<std::uint8_t, 4> bytes;
    std::memcpy(bytes.data(), &address.sin_addr.s_addr, 4);
    return bytes;
}

class Win32Stream final : public NetStream {
public:
    Win32Stream(Socket socket, const std::atomic<bool>* abort)
        : m_socket(std::move(socket)), m_abort(abort) {}

    bool SendAll(std::string_view data) override {
        const NetWait wait(kNetWaitLimit, m_abort);
        while (!data.empty()) {
            if (wait.Aborted()) {
                return false;
            }
            const int chunk = static_cast<int>(std::min<std::size_t>(data.size(), 65536));
            const int n = send(m_socket.Get(), data.data(), chunk, 0);
            if (n > 0) {
                data.remove_prefix(static_cast<std::size_t>(n));
            } else if (n == SOCKET_ERROR && WouldBlock()) {
                if (WaitFor(m_socket.Get(), true, wait) != Ready::Yes) {
                    return false;
                }
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
            const int want = static_cast<int>(std::min<std::size_t>(maxBytes, sizeof buffer));
            const int n = recv(m_socket.Get(), buffer, want, 0);
            if (n > 0) {
                out.append(buffer, static_cast<std::size_t>(n));
                return Result::Data;
            }
            if (n == 0) {
                return Result::Closed;
            }
            if (!WouldBlock()) {
                return Result::Failed;
            }
            switch (WaitFor(m_socket.Get(), false, wait)) {
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
        int length = sizeof address;
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

class Win32Listener final : public NetListener {
public:
    Win32Listener(Socket socket, std::uint16_t port) : m_socket(std::move(socket)), m_port(port) {}

    std::uint16_t Port() const override { return m_port; }

    std::unique_ptr<NetStream> Accept(std::chrono::milliseconds timeout) override {
        const NetWait wait(timeout, nullptr);
        for (;;) {
            Socket client(accept(m_socket.Get(), nullptr, nullptr));
            if (client.Valid()) {
                if (!SetNonBlocking(client.Get())) {
                    return nullptr;
                }
                return std::make_unique<Win32Stream>(std::move(client), nullptr);
            }
            if (!WouldBlock() || WaitFor(m_socket.Get(), false, wait) != Ready::Yes) {
                return nullptr;
            }
        }
    }

private:
    Socket m_socket;
    std::uint16_t m_port;
};

struct AddressList {
    int error = WSAHOST_NOT_FOUND;
    std::vector<sockaddr_storage> addresses;
};

AddressList Lookup(const std::string& host, int family, int flags) {
    ADDRINFOW hints{};
    hints.ai_family = family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    ADDRINFOW* found = nullptr;
    AddressList list;
    list.error = GetAddrInfoW(win32::ToWide(host).c_str(), nullptr, &hints, &found);
    for (ADDRINFOW* a = found; list.error == 0 && a != nullptr; a = a->ai_next) {
        if (a->ai_family == AF_INET || a->ai_family == AF_INET6) {
            sockaddr_storage s{};
            std::memcpy(&s, a->ai_addr, a->ai_addrlen);
            list.addresses.push_back(s);
        }
    }
    if (found != nullptr) {
        FreeAddrInfoW(found);
    }
    return list;
}

std::vector<sockaddr_storage> Resolve(const std::string& host, int family, const NetWait& wait) {
    AddressList numeric = Lookup(host, family, AI_NUMERICHOST);
    if (numeric.error == 0) {
        return numeric.addresses;
    }
    std::optional<AddressList> named =
        RunBounded<AddressList>([host, family] { return Lookup(host, family, 0); }, wait);
    return named ? named->addresses : std::vector<sockaddr_storage>{};
}

int AddressLength(const sockaddr_storage& address) {
    return address.ss_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
}

// One non-blocking connect attempt.
Ready ConnectOne(const Socket& socket, const sockaddr_storage& address, const NetWait& wait) {
    if (connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address),
                AddressLength(address)) == 0) {
        return Ready::Yes;
    }
    if (!WouldBlock()) {
        return Ready::Failed;
    }
    return WaitFor(socket.Get(), true, wait);
}

class Win32Net final : public Net {
public:
    bool Initialize() override {
        std::call_once(m_once, [this] {
            WSADATA data;
            m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        });
        return m_started;
    }

    std::unique_ptr<NetStream> Connect(const std::string& host, std::uint16_t port,
                                       std::chrono::milliseconds timeout,
                                       const std::atomic<bool>* abort) override {
        if (!Initialize()) {
            return nullptr;
        }
        const NetWait wait(timeout, abort);
        for (sockaddr_storage address : Resolve(host, AF_UNSPEC, wait)) {
            if (address.ss_family == AF_INET) {
                reinterpret_cast<sockaddr_in&>(address).sin_port = htons(port);
            } else {
                reinterpret_cast<sockaddr_in6&>(address).sin6_port = htons(port);
            }
            Socket socket(::socket(address.ss_family, SOCK_STREAM, IPPROTO_TCP));
            if (!socket.Valid() || !SetNonBlocking(socket.Get())) {
                return nullptr;
            }
            switch (ConnectOne(socket, address, wait)) {
                case Ready::Yes:
                    return std::make_unique<Win32Stream>(std::move(socket), abort);
                case Ready::GaveUp:
                    return nullptr;  // out of time, or aborted: no further address is tried
                case Ready::Failed:
                    break;
            }
        }
        return nullptr;
    }

    std::optional<std::string> LocalHostName() override {
        wchar_t name[256] = {};
        DWORD size = 255;
        if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) {
            return std::nullopt;
        }
        return win32::FromWide(std::wstring_view(name, size));
    }

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
        Socket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        if (!socket.Valid() || !SetNonBlocking(socket.Get())) {
            return nullptr;
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        int length = sizeof address;
        if (bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(socket.Get(), backlog) != 0 ||
            getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return nullptr;
        }
        return std::make_unique<Win32Listener>(std::move(socket), ntohs(address.sin_port));
    }

private:
    std::once_flag m_once;
    bool m_started = false;
};

}  // namespace

Net& SystemNet() {
    static Win32Net net;
    return net;
}

}  // namespace quorlet
