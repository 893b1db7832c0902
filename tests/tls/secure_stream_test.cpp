// The secure stream against a TLS server inside the test, which decides how its encrypted bytes
// travel: a byte at a time, several records in one piece, half a record and then a pause, with a
// close alert or without. The server is OpenSSL on memory buffers over a loopback stream, with
// the fixture's good certificate (the process trusts the fixture's root, tls_layer_test.cpp).
#include <openssl/ssl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "platform/net.h"
#include "platform/tls.h"

namespace quorlet {
namespace {

using namespace std::chrono_literals;
using Result = NetStream::Result;

class TlsPeer {
public:
    explicit TlsPeer(std::unique_ptr<NetStream> plain) : stream(std::move(plain)) {
        const std::string dir = std::getenv("QUORLET_TLS_DIR");
        m_context = SSL_CTX_new(TLS_server_method());
        SSL_CTX_use_certificate_chain_file(m_context, (dir + "/good.pem").c_str());
        SSL_CTX_use_PrivateKey_file(m_context, (dir + "/good.key").c_str(), SSL_FILETYPE_PEM);
        m_ssl = SSL_new(m_context);
        m_out = BIO_new(BIO_s_mem());
        m_in = BIO_new(BIO_s_mem());
        BIO_set_mem_eof_return(m_in, -1);
        SSL_set_bio(m_ssl, m_in, m_out);
        SSL_set_accept_state(m_ssl);
    }
    ~TlsPeer() {
        SSL_free(m_ssl);
        SSL_CTX_free(m_context);
    }

    bool Handshake() {
        for (;;) {
            const int r = SSL_do_handshake(m_ssl);
            Send(SIZE_MAX);
            if (r == 1) {
                return true;
            }
            if (SSL_get_error(m_ssl, r) != SSL_ERROR_WANT_READ || !Fill()) {
                return false;
            }
        }
    }

    // One record of text, or the close alert, kept until Send.
    void Write(std::string_view text) { SSL_write(m_ssl, text.data(), int(text.size())); }
    void WriteClose() { SSL_shutdown(m_ssl); }

    // Sends what is kept, `piece` bytes per send with a pause after each.
    void Send(std::size_t piece, std::chrono::milliseconds pause = 0ms) {
        char buffer[65536];
        std::string bytes;
        for (int n; (n = BIO_read(m_out, buffer, sizeof buffer)) > 0;) {
            bytes.append(buffer, std::size_t(n));
        }
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            stream->SendAll(std::string_view(bytes).substr(at, piece));
            std::this_thread::sleep_for(pause);
        }
    }

    // What the client sends until its close alert (closeAlert = true) or the end of the stream.
    std::string ReadToEnd(bool& closeAlert) {
        std::string text;
        char buffer[4096];
        for (;;) {
            const int r = SSL_read(m_ssl, buffer, sizeof buffer);
            if (r > 0) {
                text.append(buffer, std::size_t(r));
                continue;
            }
            closeAlert = SSL_get_error(m_ssl, r) == SSL_ERROR_ZERO_RETURN;
            if (closeAlert || SSL_get_error(m_ssl, r) != SSL_ERROR_WANT_READ || !Fill()) {
                return text;
            }
        }
    }

    std::unique_ptr<NetStream> stream;

private:
    bool Fill() {
        std::string in;
        if (stream->Receive(in, 65536, 5s) != Result::Data) {
            return false;
        }
        return BIO_write(m_in, in.data(), int(in.size())) == int(in.size());
    }

    SSL_CTX* m_context;
    SSL* m_ssl;
    BIO* m_in;
    BIO* m_out;
};

// A client stream secured against a TlsPeer that runs `script` on its own thread after the
// handshake.
class Connection {
public:
    explicit Connection(std::function<void(TlsPeer&)> script,
                        const std::atomic<bool>* abort = nullptr)
        : m_listener(SystemNet().ListenLoopback(0, 1)) {
        m_server = std::thread([this, script] {
            TlsPeer peer(m_listener->Accept(5s));
            if (peer.stream != nullptr && peer.Handshake()) {
                script(peer);
            }
        });
        auto plain = SystemNet().Connect("127.0.0.1", m_listener->Port(), 5s, abort);
        TlsOutcome outcome = SystemTls().Secure(std::move(plain), "localhost", 5s);
        EXPECT_EQ(outcome.failure, TlsFailure::None) << outcome.detail;
        stream = std::move(outcome.stream);
    }
    ~Connection() { Close(); }

    // Drops the client stream and waits for the script to end.
    void Close() {
        stream.reset();
        if (m_server.joinable()) {
            m_server.join();
        }
    }

    std::unique_ptr<NetStream> stream;

private:
    std::unique_ptr<NetListener> m_listener;
    std::thread m_server;
};

TEST(SecureStream, RecordsArriveWholeHoweverTheBytesAreCut) {
    const std::string body(100000, 'x');
    std::string received;
    bool closeAlert = false;
    Connection c([&](TlsPeer& peer) {
        peer.Write("+OK a byte at a time\r\n");
        peer.Send(1, 1ms);
        peer.Write("A");
        peer.Write("BC");
        peer.Write("DEF");
        peer.Send(SIZE_MAX);
        received = peer.ReadToEnd(closeAlert);
    });
    ASSERT_NE(c.stream, nullptr);
    std::string out;
    while (out.size() < 22 && c.stream->Receive(out, 100, 5s) == Result::Data) {
    }
    EXPECT_EQ(out, "+OK a byte at a time\r\n");

    // The three records came in one piece: after the first, the rest is already here and
    // needs no wait, and no receive gives more than asked for.
    out.clear();
    ASSERT_EQ(c.stream->Receive(out, 2, 5s), Result::Data);
    while (out.size() < 6) {
        const std::size_t before = out.size();
        ASSERT_EQ(c.stream->Receive(out, 2, 0ms), Result::Data) << out;
        EXPECT_LE(out.size() - before, 2u);
    }
    EXPECT_EQ(out, "ABCDEF");

    EXPECT_TRUE(c.stream->SendAll(body));
    EXPECT_TRUE(c.stream->SendAll("QUIT\r\n"));
    c.Close();  // says goodbye with the close alert
    EXPECT_EQ(received, body + "QUIT\r\n");
    EXPECT_TRUE(closeAlert);
}

// A receive that meets its limit keeps what it has of a record; the abort flag given at connect
// ends a secure receive as it ends a plain one, and the stream then sends nothing more.
TEST(SecureStream, ReceiveKeepsThePlainStreamsLimitsAndAbort) {
    std::atomic<bool> abort{false};
    Connection c(
        [&](TlsPeer& peer) {
            peer.Write("+OK later\r\n");
            peer.Send(12, 400ms);  // (the record has 12 bytes of header and more)
            bool closeAlert = true;
            peer.ReadToEnd(closeAlert);
            EXPECT_FALSE(closeAlert);
        },
        &abort);
    ASSERT_NE(c.stream, nullptr);
    std::string out;
    EXPECT_EQ(c.stream->Receive(out, 100, 150ms), Result::TimedOut);
    EXPECT_EQ(out, "");
    while (out.size() < 11 && c.stream->Receive(out, 100, 5s) == Result::Data) {
    }
    EXPECT_EQ(out, "+OK later\r\n");

    std::thread raise([&] {
        std::this_thread::sleep_for(200ms);
        abort = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(c.stream->Receive(out, 100, 30s), Result::Aborted);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 600ms);
    raise.join();
    EXPECT_FALSE(c.stream->SendAll("QUIT\r\n"));
}

TEST(SecureStream, TheEndIsSeenWithOrWithoutACloseAlert) {
    for (const bool alert : {true, false}) {
        SCOPED_TRACE(alert ? "close alert" : "end of stream");
        Connection c([&](TlsPeer& peer) {
            peer.Write("+OK bye\r\n");
            if (alert) {
                peer.WriteClose();
            }
            peer.Send(SIZE_MAX);
            peer.stream.reset();
        });
        ASSERT_NE(c.stream, nullptr);
        std::string out;
        Result result;
        while ((result = c.stream->Receive(out, 100, 5s)) == Result::Data) {
        }
        EXPECT_EQ(out, "+OK bye\r\n");
        EXPECT_EQ(result, Result::Closed);
        EXPECT_EQ(c.stream->Receive(out, 100, 5s), Result::Closed);
    }
}

}  // namespace
}  // namespace quorlet
