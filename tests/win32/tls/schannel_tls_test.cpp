// SChannel against real TLS servers (tests/fixtures/tls_servers.sh, one per certificate case,
// plus a line-reversing server from with_echo_server.sh), in a Wine prefix that trusts the test
// root only because tests/fixtures/wine_trust_ca.sh put it into the prefix's Root store.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/net.h"
#include "platform/tls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::uint16_t Port(const char* name) {
    const char* text = std::getenv(name);
    return text == nullptr ? 0 : static_cast<std::uint16_t>(std::atoi(text));
}

TlsOutcome SecureTo(const char* portVariable, const std::atomic<bool>* abort = nullptr) {
    const std::uint16_t port = Port(portVariable);
    if (port == 0) {
        ADD_FAILURE() << portVariable << " is not set: run inside tests/fixtures/tls_servers.sh";
        return {};
    }
    auto plain = SystemNet().Connect("localhost", port, 10s, abort);
    if (plain == nullptr) {
        ADD_FAILURE() << "no connection to port " << port;
        return {};
    }
    return SystemTls().Secure(std::move(plain), "localhost", 20s);
}

const char* Name(TlsFailure failure) {
    switch (failure) {
        case TlsFailure::None:
            return "None";
        case TlsFailure::Handshake:
            return "Handshake";
        case TlsFailure::Untrusted:
            return "Untrusted";
        case TlsFailure::WrongName:
            return "WrongName";
        case TlsFailure::Expired:
            return "Expired";
        case TlsFailure::ProtocolTooOld:
            return "ProtocolTooOld";
        case TlsFailure::TimedOut:
            return "TimedOut";
        case TlsFailure::Aborted:
            return "Aborted";
        case TlsFailure::Unavailable:
            return "Unavailable";
    }
    return "?";
}

// Reads until the text ends with a line feed, the stream ends, or 10 s pass.
std::string ReadLines(NetStream& stream, std::size_t atLeast, std::size_t maxBytes) {
    std::string in;
    const Clock::time_point end = Clock::now() + 10s;
    while ((in.size() < atLeast || in.empty() || in.back() != '\n') && Clock::now() < end) {
        if (stream.Receive(in, maxBytes, 10s) != NetStream::Result::Data) {
            break;
        }
    }
    return in;
}

TEST(SchannelTls, IsTheTlsLayerOfTheWinsockNet) {
    EXPECT_EQ(SystemNet().TlsLayer(), &SystemTls());
}

struct CertificateCase {
    const char* port;
    TlsFailure failure;
};

TEST(SchannelTls, EachServerGetsItsVerdict) {
    const CertificateCase cases[] = {
        {"QUORLET_TLS_PORT_GOOD", TlsFailure::None},
        {"QUORLET_TLS_PORT_CHAIN", TlsFailure::None},
        {"QUORLET_TLS_PORT_TLS12", TlsFailure::None},
        {"QUORLET_TLS_PORT_NOINTER", TlsFailure::Untrusted},
        {"QUORLET_TLS_PORT_UNTRUSTED", TlsFailure::Untrusted},
        {"QUORLET_TLS_PORT_NONCA", TlsFailure::Untrusted},
        {"QUORLET_TLS_PORT_WRONGNAME", TlsFailure::WrongName},
        {"QUORLET_TLS_PORT_EXPIRED", TlsFailure::Expired},
        {"QUORLET_TLS_PORT_TLS11", TlsFailure::ProtocolTooOld},
    };
    for (const CertificateCase& c : cases) {
        SCOPED_TRACE(c.port);
        const TlsOutcome outcome = SecureTo(c.port);
        EXPECT_STREQ(Name(outcome.failure), Name(c.failure)) << outcome.detail;
        EXPECT_EQ(outcome.stream != nullptr, c.failure == TlsFailure::None);
        if (c.failure == TlsFailure::None) {
            EXPECT_TRUE(outcome.protocol == "TLSv1.2" || outcome.protocol == "TLSv1.3")
                << outcome.protocol;
        } else {
            EXPECT_FALSE(outcome.detail.empty());
            EXPECT_EQ(outcome.protocol, "");
        }
    }
}

TEST(SchannelTls, ATls12OnlyServerGivesTls12) {
    const TlsOutcome outcome = SecureTo("QUORLET_TLS_PORT_TLS12");
    ASSERT_EQ(outcome.failure, TlsFailure::None) << outcome.detail;
    EXPECT_EQ(outcome.protocol, "TLSv1.2");
}

// Both directions through the records: a short line, then one of 40000 bytes, which goes out
// in several records and comes back (reversed in pieces of the server's buffer, one line each)
// read a few hundred bytes at a time, so that decrypted records wait for the next read.
TEST(SchannelTls, LinesGoBothWaysAndTheCloseAlertEndsTheStream) {
    TlsOutcome outcome = SecureTo("QUORLET_TLS_PORT_ECHO");
    ASSERT_EQ(outcome.failure, TlsFailure::None) << outcome.detail;
    NetStream& stream = *outcome.stream;

    ASSERT_TRUE(stream.SendAll("hello, server\n"));
    EXPECT_EQ(ReadLines(stream, 1, 4096), "revres ,olleh\n");

    std::string line;
    for (int i = 0; line.size() < 40000; ++i) {
        line += static_cast<char>('a' + i % 26);
        line += static_cast<char>('0' + i % 10);
        line += static_cast<char>('A' + (i * 7) % 26);
    }
    line.resize(40000);
    ASSERT_TRUE(stream.SendAll(line + "\n"));
    std::string echoed;
    std::string back;
    while (back.size() < line.size()) {
        const std::string piece = ReadLines(stream, 1, 300);
        ASSERT_FALSE(piece.empty()) << "after " << back.size() << " bytes";
        echoed += piece;
        std::size_t start = 0;
        for (std::size_t end; (end = echoed.find('\n', start)) != std::string::npos;
             start = end + 1) {
            back.append(echoed.rbegin() + static_cast<std::ptrdiff_t>(echoed.size() - end),
                        echoed.rbegin() + static_cast<std::ptrdiff_t>(echoed.size() - start));
        }
        echoed.erase(0, start);
    }
    EXPECT_EQ(back, line);

    ASSERT_TRUE(stream.SendAll("CLOSE\n"));
    std::string rest;
    NetStream::Result r = NetStream::Result::Data;
    for (int i = 0; i < 10 && r == NetStream::Result::Data; ++i) {
        r = stream.Receive(rest, 4096, 5s);
    }
    EXPECT_EQ(r, NetStream::Result::Closed) << static_cast<int>(r);
    EXPECT_EQ(stream.Receive(rest, 4096, 1s), NetStream::Result::Closed);
}

// A server that accepts the connection and says nothing: the handshake waits for its answer.
struct SilentServer {
    std::unique_ptr<NetListener> listener = SystemNet().ListenLoopback(0, 4);
    std::unique_ptr<NetStream> accepted;
};

TEST(SchannelTls, AbortDuringTheHandshakeEndsItAtOnce) {
    SilentServer server;
    ASSERT_NE(server.listener, nullptr);
    std::atomic<bool> abort{false};
    auto plain = SystemNet().Connect("127.0.0.1", server.listener->Port(), 5s, &abort);
    ASSERT_NE(plain, nullptr);
    server.accepted = server.listener->Accept(5s);
    std::thread raise([&abort] {
        std::this_thread::sleep_for(300ms);
        abort = true;
    });
    const Clock::time_point start = Clock::now();
    const TlsOutcome outcome = SystemTls().Secure(std::move(plain), "localhost", 60s);
    const auto took = Clock::now() - start;
    raise.join();
    EXPECT_EQ(outcome.failure, TlsFailure::Aborted) << outcome.detail;
    EXPECT_EQ(outcome.stream, nullptr);
    EXPECT_LT(took, 1500ms);
}

TEST(SchannelTls, TheHandshakeLimitHolds) {
    SilentServer server;
    ASSERT_NE(server.listener, nullptr);
    auto plain = SystemNet().Connect("127.0.0.1", server.listener->Port(), 5s, nullptr);
    ASSERT_NE(plain, nullptr);
    server.accepted = server.listener->Accept(5s);
    const Clock::time_point start = Clock::now();
    const TlsOutcome outcome = SystemTls().Secure(std::move(plain), "localhost", 700ms);
    const auto took = Clock::now() - start;
    EXPECT_EQ(outcome.failure, TlsFailure::TimedOut) << outcome.detail;
    EXPECT_GE(took, 600ms);
    EXPECT_LT(took, 2500ms);
}

// A plain-text greeting, or a server that hangs up, instead of a TLS answer.
TEST(SchannelTls, APeerThatDoesNotSpeakTlsFailsTheHandshake) {
    const char* greetings[] = {"+OK POP3 server ready\r\n", ""};
    for (const char* greeting : greetings) {
        SCOPED_TRACE(greeting);
        SilentServer server;
        ASSERT_NE(server.listener, nullptr);
        auto plain = SystemNet().Connect("127.0.0.1", server.listener->Port(), 5s, nullptr);
        ASSERT_NE(plain, nullptr);
        server.accepted = server.listener->Accept(5s);
        ASSERT_NE(server.accepted, nullptr);
        if (*greeting != '\0') {
            ASSERT_TRUE(server.accepted->SendAll(greeting));
        } else {
            server.accepted.reset();
        }
        const TlsOutcome outcome = SystemTls().Secure(std::move(plain), "localhost", 10s);
        EXPECT_EQ(outcome.failure, TlsFailure::Handshake) << outcome.detail;
    }
}

}  // namespace
}  // namespace quorlet
