// The TLS layer of this platform against the servers of tests/fixtures/tls_servers.sh, one per
// certificate case, and against loopback servers that never speak TLS. The process trusts the
// fixture's test root alone, named the way OpenSSL's users name a bundle (SSL_CERT_FILE).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "platform/net.h"
#include "platform/tls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class TrustTestRoot : public ::testing::Environment {
public:
    void SetUp() override {
        const char* ca = std::getenv("QUORLET_TLS_CA");
        const char* dir = std::getenv("QUORLET_TLS_DIR");
        ASSERT_TRUE(ca != nullptr && dir != nullptr) << "run under tests/fixtures/tls_servers.sh";
        setenv("SSL_CERT_FILE", ca, 1);
        // The fixture's folder holds no hashed names, so the machine's own roots play no part.
        setenv("SSL_CERT_DIR", dir, 1);
    }
};
const auto* const kTrust = ::testing::AddGlobalTestEnvironment(new TrustTestRoot);

std::uint16_t FixturePort(const std::string& server) {
    const char* port = std::getenv(("QUORLET_TLS_PORT_" + server).c_str());
    return port != nullptr ? static_cast<std::uint16_t>(std::atoi(port)) : 0;
}

TlsOutcome SecureTo(std::uint16_t port, const std::string& name,
                    std::chrono::milliseconds limit = 10s,
                    const std::atomic<bool>* abort = nullptr) {
    Net& net = SystemNet();
    EXPECT_NE(net.TlsLayer(), nullptr);
    auto plain = net.Connect("127.0.0.1", port, 5s, abort);
    EXPECT_NE(plain, nullptr) << "no server on port " << port;
    if (plain == nullptr || net.TlsLayer() == nullptr) {
        return {};
    }
    return net.TlsLayer()->Secure(std::move(plain), name, limit);
}

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(TlsLayer, GoodServersGiveASecureStream) {
    const struct {
        const char* server;
        const char* protocol;  // empty: 1.2 or 1.3
    } cases[] = {{"GOOD", "TLSv1.3"}, {"CHAIN", ""}, {"TLS12", "TLSv1.2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.server);
        TlsOutcome outcome = SecureTo(FixturePort(c.server), "localhost");
        EXPECT_EQ(outcome.failure, TlsFailure::None) << outcome.detail;
        ASSERT_NE(outcome.stream, nullptr);
        EXPECT_TRUE(*c.protocol != '\0'
                        ? outcome.protocol == c.protocol
                        : outcome.protocol == "TLSv1.2" || outcome.protocol == "TLSv1.3")
            << outcome.protocol;
        EXPECT_TRUE(outcome.stream->SendAll("CAPA\r\n"));
        EXPECT_EQ(outcome.stream->LocalIPv4(), (std::array<std::uint8_t, 4>{127, 0, 0, 1}));
    }
}

// Each refusal carries the library's reason, which quorlet-cli prints for the user.
TEST(TlsLayer, HostileServersAreRefusedWithTheirReason) {
    const struct {
        const char* server;
        std::string name;
        TlsFailure failure;
        const char* detail;
    } cases[] = {
        {"UNTRUSTED", "localhost", TlsFailure::Untrusted, "unable to get local issuer"},
        {"NOINTER", "localhost", TlsFailure::Untrusted, "unable to get local issuer"},
        {"NONCA", "localhost", TlsFailure::Untrusted, "invalid CA certificate"},
        {"WRONGNAME", "localhost", TlsFailure::WrongName, "hostname mismatch"},
        {"GOOD", "LOCALHOST.example", TlsFailure::WrongName, "hostname mismatch"},
        // The certificate names localhost, not the address it was reached at.
        {"GOOD", "127.0.0.1", TlsFailure::WrongName, "IP address mismatch"},
        // Neither may switch the name check off, or check a part of the name alone.
        {"GOOD", "", TlsFailure::Handshake, "server name"},
        {"GOOD", std::string("localhost\0.evil", 15), TlsFailure::Handshake, "server name"},
        {"EXPIRED", "localhost", TlsFailure::Expired, "certificate has expired"},
        {"TLS11", "localhost", TlsFailure::ProtocolTooOld, "protocol version"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.server) + " as " + c.name);
        TlsOutcome outcome = SecureTo(FixturePort(c.server), c.name);
        EXPECT_EQ(outcome.failure, c.failure);
        EXPECT_EQ(outcome.stream, nullptr);
        EXPECT_NE(outcome.detail.find(c.detail), std::string::npos) << outcome.detail;
        EXPECT_TRUE(outcome.protocol.empty());
    }
}

// A loopback listener whose connections the system accepts and nobody ever answers.
struct SilentServer {
    std::unique_ptr<NetListener> listener = SystemNet().ListenLoopback(0, 4);
    std::uint16_t Port() const { return listener != nullptr ? listener->Port() : 0; }
};

TEST(TlsLayer, AHandshakeEndsAtItsLimitOrAtOnceOnTheAbortFlag) {
    SilentServer silent;
    ASSERT_NE(silent.listener, nullptr);
    auto start = Clock::now();
    TlsOutcome outcome = SecureTo(silent.Port(), "localhost", 300ms);
    EXPECT_EQ(outcome.failure, TlsFailure::TimedOut);
    EXPECT_GE(MillisecondsSince(start), 290);
    EXPECT_LT(MillisecondsSince(start), 3000);

    std::atomic<bool> abort{false};
    std::thread raise([&] {
        std::this_thread::sleep_for(200ms);
        abort = true;
    });
    start = Clock::now();
    outcome = SecureTo(silent.Port(), "localhost", 60s, &abort);
    const long long took = MillisecondsSince(start);
    raise.join();
    EXPECT_EQ(outcome.failure, TlsFailure::Aborted);
    EXPECT_GE(took, 190);
    EXPECT_LT(took, 200 + 400);
    EXPECT_EQ(outcome.stream, nullptr);

    // Raised before the first byte went out: the failed send is an abort as well.
    abort = false;
    auto plain = SystemNet().Connect("127.0.0.1", silent.Port(), 5s, &abort);
    ASSERT_NE(plain, nullptr);
    abort = true;
    outcome = SystemTls().Secure(std::move(plain), "localhost", 60s);
    EXPECT_EQ(outcome.failure, TlsFailure::Aborted) << outcome.detail;
}

// Implicit TLS chosen for a port that speaks plain POP3, or a server that hangs up.
TEST(TlsLayer, AServerThatDoesNotSpeakTlsFailsTheHandshake) {
    for (const char* greeting : {"+OK POP3 ready\r\n", ""}) {
        SCOPED_TRACE(greeting);
        auto listener = SystemNet().ListenLoopback(0, 1);
        ASSERT_NE(listener, nullptr);
        std::thread server([&] {
            auto stream = listener->Accept(5s);
            if (stream != nullptr && *greeting != '\0') {
                stream->SendAll(greeting);
                std::string ignored;
                stream->Receive(ignored, 4096, 2s);
            }
        });
        TlsOutcome outcome = SecureTo(listener->Port(), "localhost", 5s);
        server.join();
        EXPECT_EQ(outcome.failure, TlsFailure::Handshake);
        EXPECT_FALSE(outcome.detail.empty());
    }
}

}  // namespace
}  // namespace quorlet
