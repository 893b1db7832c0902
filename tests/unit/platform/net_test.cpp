// The sockets of this platform over the loopback interface: natively (POSIX) and, in the Windows
// build, under Wine (Winsock).
#include "platform/net.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <system_error>
#include <thread>

#include "platform/net_wait.h"
#include "platform/sockets/socket_net.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Pair {
    std::unique_ptr<NetListener> listener;
    std::unique_ptr<NetStream> client;
    std::unique_ptr<NetStream> server;
};

Pair Connected(const std::atomic<bool>* abort = nullptr) {
    Pair pair;
    Net& net = SystemNet();
    EXPECT_TRUE(net.Initialize());
    pair.listener = net.ListenLoopback(0, 4);
    if (pair.listener == nullptr) {
        ADD_FAILURE() << "cannot listen on the loopback interface";
        return pair;
    }
    pair.client = net.Connect("127.0.0.1", pair.listener->Port(), 5s, abort);
    pair.server = pair.listener->Accept(5s);
    EXPECT_NE(pair.client, nullptr);
    EXPECT_NE(pair.server, nullptr);
    return pair;
}

std::string ReceiveExactly(NetStream& stream, std::size_t size) {
    std::string out;
    while (out.size() < size) {
        if (stream.Receive(out, size - out.size(), 5s) != NetStream::Result::Data) {
            break;
        }
    }
    return out;
}

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Raises a flag after a delay, from another thread, as the abort command does.
class DelayedAbort {
public:
    explicit DelayedAbort(std::chrono::milliseconds delay)
        : m_thread([this, delay] {
              std::this_thread::sleep_for(delay);
              m_raisedAt = Clock::now();
              flag = true;
          }) {}
    ~DelayedAbort() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }
    long long MillisecondsSinceRaised() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
        return MillisecondsSince(m_raisedAt);
    }

    std::atomic<bool> flag{false};

private:
    Clock::time_point m_raisedAt;
    std::thread m_thread;
};

TEST(Net, BytesTravelBothWaysAndCloseIsSeen) {
    Pair pair = Connected();
    ASSERT_TRUE(pair.client && pair.server);
    ASSERT_TRUE(pair.client->SendAll("USER a\r\n"));
    EXPECT_EQ(ReceiveExactly(*pair.server, 8), "USER a\r\n");
    ASSERT_TRUE(pair.server->SendAll(std::string("+OK \0 x\r\n", 9)));
    EXPECT_EQ(ReceiveExactly(*pair.client, 9), std::string("+OK \0 x\r\n", 9));

    // A receive never hands back more than asked for.
    ASSERT_TRUE(pair.server->SendAll("abcdef"));
    EXPECT_EQ(ReceiveExactly(*pair.client, 2), "ab");
    EXPECT_EQ(ReceiveExactly(*pair.client, 4), "cdef");

    const auto local = pair.client->LocalIPv4();
    ASSERT_TRUE(local.has_value());
    EXPECT_EQ(*local, (std::array<std::uint8_t, 4>{127, 0, 0, 1}));

    pair.server.reset();
    std::string rest;
    EXPECT_EQ(pair.client->Receive(rest, 100, 5s), NetStream::Result::Closed);
}

TEST(Net, LargeSendsArriveWhole) {
    Pair pair = Connected();
    ASSERT_TRUE(pair.client && pair.server);
    std::string big(4 << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 7 + i / 251);
    }
    std::string received;
    std::thread reader([&] { received = ReceiveExactly(*pair.server, big.size()); });
    EXPECT_TRUE(pair.client->SendAll(big));
    reader.join();
    EXPECT_TRUE(received == big);
}

TEST(Net, ReceiveEndsAtItsTimeLimitOrSoonAfterTheAbortFlag) {
    DelayedAbort abort(300ms);
    Pair pair = Connected(&abort.flag);
    ASSERT_TRUE(pair.client && pair.server);
    std::string out;
    auto start = Clock::now();
    EXPECT_EQ(pair.client->Receive(out, 100, 150ms), NetStream::Result::TimedOut);
    EXPECT_GE(MillisecondsSince(start), 140);
    EXPECT_TRUE(out.empty());

    EXPECT_EQ(pair.client->Receive(out, 100, 30s), NetStream::Result::Aborted);
    EXPECT_LE(abort.MillisecondsSinceRaised(), 250);
    EXPECT_FALSE(pair.client->SendAll("late"));
}

TEST(Net, ConnectToAClosedPortFailsAtOnce) {
    Net& net = SystemNet();
    std::uint16_t port;
    {
        auto listener = net.ListenLoopback(0, 1);
        ASSERT_NE(listener, nullptr);
        port = listener->Port();
    }
    const auto start = Clock::now();
    EXPECT_EQ(net.Connect("127.0.0.1", port, 20s, nullptr), nullptr);
    EXPECT_LE(MillisecondsSince(start), 5000);
}

// A listener whose queue is full leaves further connects unanswered, like a server that does
// not answer at all.
TEST(Net, UnansweredConnectEndsAtItsTimeLimitOrSoonAfterTheAbortFlag) {
    Net& net = SystemNet();
    auto listener = net.ListenLoopback(0, 0);
    ASSERT_NE(listener, nullptr);
    std::vector<std::unique_ptr<NetStream>> fillers;
    auto start = Clock::now();
    // Fill the queue; the first connect that hangs proves it is full.
    for (int i = 0; i < 8; ++i) {
        start = Clock::now();
        auto stream = net.Connect("127.0.0.1", listener->Port(), 400ms, nullptr);
        if (stream == nullptr) {
            break;
        }
        fillers.push_back(std::move(stream));
    }
    ASSERT_LT(fillers.size(), 8u) << "the listen queue never filled";
    EXPECT_GE(MillisecondsSince(start), 390);

    DelayedAbort abort(200ms);
    EXPECT_EQ(net.Connect("127.0.0.1", listener->Port(), 30s, &abort.flag), nullptr);
    EXPECT_LE(abort.MillisecondsSinceRaised(), 250);
}

TEST(Net, NamesAndAddresses) {
    Net& net = SystemNet();
    ASSERT_TRUE(net.Initialize());
    EXPECT_EQ(net.ResolveIPv4("127.0.0.1"),
              (std::vector<std::array<std::uint8_t, 4>>{{127, 0, 0, 1}}));
    const auto local = net.ResolveIPv4("localhost");
    EXPECT_NE(std::find(local.begin(), local.end(), std::array<std::uint8_t, 4>{127, 0, 0, 1}),
              local.end());
    const auto name = net.LocalHostName();
    ASSERT_TRUE(name.has_value());
    EXPECT_FALSE(name->empty());

    auto listener = net.ListenLoopback(0, 1);
    ASSERT_NE(listener, nullptr);
    EXPECT_NE(net.Connect("localhost", listener->Port(), 5s, nullptr), nullptr);
}

// A name may resolve to an IPv6 address first on a system that has no IPv6 sockets: the connect
// goes on to the next address instead of giving up.
TEST(Net, ConnectGoesOnToTheNextAddressWhenAFamilyHasNoSockets) {
    auto listener = SystemNet().ListenLoopback(0, 4);
    ASSERT_NE(listener, nullptr);
    auto net = MakeSocketNet({[](const std::string&) {
                                  return std::vector<std::string>{"::1", "127.0.0.1"};
                              },
                              [](AddressFamily family) { return family == AddressFamily::IPv4; }});
    EXPECT_NE(net->Connect("pop.example.com", listener->Port(), 5s, nullptr), nullptr);
    EXPECT_NE(listener->Accept(5s), nullptr);
    // With no address left it fails as before.
    auto none = MakeSocketNet({[](const std::string&) { return std::vector<std::string>{"::1"}; },
                               [](AddressFamily) { return false; }});
    EXPECT_EQ(none->Connect("pop.example.com", listener->Port(), 5s, nullptr), nullptr);
}

// The name lookup runs on a thread of its own; a thread that cannot be had, or a lookup that
// runs out of memory, is a lookup that failed, not an exception out of a worker thread.
TEST(Net, ALookupThatCannotRunCountsAsFailed) {
    const NetWait wait(5s, nullptr);
    const auto noThread = [](std::function<void()>) {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    EXPECT_EQ(RunBounded<int>([] { return 1; }, wait, noThread), std::nullopt);
    const auto start = Clock::now();
    EXPECT_EQ(RunBounded<int>([]() -> int { throw std::bad_alloc(); }, wait), std::nullopt);
    EXPECT_LT(MillisecondsSince(start), 4000) << "waited for a lookup that had ended";
    EXPECT_EQ(RunBounded<int>([] { return 7; }, wait), 7);
}

TEST(Net, ServerTextWithAPort) {
    std::string host;
    std::uint16_t port = 110;
    EXPECT_TRUE(SplitHostPort("pop.example.com", host, port));
    EXPECT_EQ(host, "pop.example.com");
    EXPECT_EQ(port, 110);
    EXPECT_TRUE(SplitHostPort("127.0.0.1:2110", host, port));
    EXPECT_EQ(host, "127.0.0.1");
    EXPECT_EQ(port, 2110);
    port = 25;
    EXPECT_TRUE(SplitHostPort("mail:x1", host, port));  // not a port: a (strange) host name
    EXPECT_EQ(host, "mail:x1");
    EXPECT_EQ(port, 25);
    EXPECT_TRUE(SplitHostPort("mail:", host, port));
    EXPECT_EQ(host, "mail:");
    EXPECT_FALSE(SplitHostPort("mail:0", host, port));
    EXPECT_FALSE(SplitHostPort("mail:65536", host, port));
    EXPECT_FALSE(SplitHostPort("mail:99999999999999999999", host, port));
    EXPECT_TRUE(SplitHostPort("mail:65535", host, port));
    EXPECT_EQ(port, 65535);
}

// An IPv6 address takes its port as "[address]:port"; a text with more than one ":" and no
// brackets is a bare address.
TEST(Net, ServerTextWithAnIPv6Address) {
    struct Case {
        const char* text;
        bool valid;
        const char* host;
        std::uint16_t port;  // 25 when the text names none
    };
    const Case cases[] = {
        {"[::1]:2110", true, "::1", 2110},
        {"[fe80::1%eth0]:110", true, "fe80::1%eth0", 110},
        {"[2001:db8::5]", true, "2001:db8::5", 25},
        {"::1", true, "::1", 25},
        {"2001:db8::1:110", true, "2001:db8::1:110", 25},
        {"[::1]:0", false, "", 0},
        {"[::1]:x", false, "", 0},
        {"[::1]110", false, "", 0},
        {"[::1", false, "", 0},
        {"[]:110", false, "", 0},
    };
    for (const Case& c : cases) {
        std::string host = "?";
        std::uint16_t port = 25;
        EXPECT_EQ(SplitHostPort(c.text, host, port), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(host, c.host) << c.text;
            EXPECT_EQ(port, c.port) << c.text;
        }
    }
}

}  // namespace
}  // namespace quorlet
