// TCP for the mail sessions: a bounded, abortable connect, sending, receiving with a time limit,
// and the local host's name and addresses. Host names and text are GBK/ASCII.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

class Tls;

class NetStream {
public:
    enum class Result { Data, Closed, TimedOut, Aborted, Failed };

    virtual ~NetStream() = default;

    // Sends every byte; false when the connection fails (or the abort flag is raised).
    virtual bool SendAll(std::string_view data) = 0;

    // Waits at most `timeout` for data and appends what arrived (at most maxBytes) to `out`.
    // Ends within about 100 ms once the abort flag given to Connect is raised.
    virtual Result Receive(std::string& out, std::size_t maxBytes,
                           std::chrono::milliseconds timeout) = 0;

    // The local end's IPv4 address (for an SMTP address literal); nullopt when unknown.
    virtual std::optional<std::array<std::uint8_t, 4>> LocalIPv4() const { return std::nullopt; }

    // The time in which the deadlines of a reply are counted: the steady clock, which tests
    // move on to see a server that takes minutes without waiting for it.
    virtual std::chrono::steady_clock::time_point Now() const {
        return std::chrono::steady_clock::now();
    }
};

// A listening socket on the loopback interface, for servers inside tests.
class NetListener {
public:
    virtual ~NetListener() = default;
    virtual std::uint16_t Port() const = 0;
    // Waits at most `timeout` for one connection; nullptr when none came.
    virtual std::unique_ptr<NetStream> Accept(std::chrono::milliseconds timeout) = 0;
};

class Net {
public:
    virtual ~Net() = default;

    // Starts the socket layer (once per process); false when it cannot start.
    virtual bool Initialize() = 0;

    // Resolves host and connects to port. Gives up after `timeout`, or within about 100 ms once
    // *abort becomes true (abort may be null). nullptr on failure.
    virtual std::unique_ptr<NetStream> Connect(const std::string& host, std::uint16_t port,
                                               std::chrono::milliseconds timeout,
                                               const std::atomic<bool>* abort) = 0;

    // The local host's name, or nullopt when it cannot be had.
    virtual std::optional<std::string> LocalHostName() = 0;

    // The IPv4 addresses of a host in the resolver's order; empty when it cannot be resolved.
    virtual std::vector<std::array<std::uint8_t, 4>> ResolveIPv4(const std::string& host) = 0;

    // The TLS layer over this network's streams; null where there is none (the secure choices
    // then fail as a handshake that cannot be made, never falling back to plain text).
    virtual Tls* TlsLayer() { return nullptr; }

    // Listens on 127.0.0.1 (port 0: any free port) with the given backlog; nullptr on failure.
    virtual std::unique_ptr<NetListener> ListenLoopback(std::uint16_t port, int backlog) {
        (void)port;
        (void)backlog;
        return nullptr;
    }
};

// The connect limit of the mail sessions, and how long one reply line may take to arrive whole.
inline constexpr std::chrono::milliseconds kNetWaitLimit{60000};

// How long a whole reply of several lines (a POP3 LIST or TOP, an SMTP reply with continuation
// lines) may take: ten minutes. At dial-up speed (some 5 KB/s) that is about 3 MB, far more than
// the scan listing of a real mailbox or the header of a real message; a server that keeps a
// reply going line by line, each just inside the line limit, gives the check slot back then.
inline constexpr std::chrono::milliseconds kWholeReplyLimit{600000};

// How often a blocking wait looks at its abort flag.
inline constexpr std::chrono::milliseconds kNetAbortPoll{50};

// Splits "host" or "host:port" (port: 1 to 5 digits); an IPv6 address takes a port as
// "[address]:port", and a text with more than one ":" outside brackets is a bare address.
// Without a port, `port` is left as given. False when the port is not valid (0, above 65535,
// or after a ":" that follows "]" not digits), or brackets are not "[address]" with ":port" or
// nothing after them. Text after a single ":" that is not digits belongs to the host name.
bool SplitHostPort(std::string_view text, std::string& host, std::uint16_t& port);

// Sockets of this platform (POSIX or Winsock).
Net& SystemNet();

}  // namespace quorlet
