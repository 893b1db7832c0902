// The secure stream of the OpenSSL build: an SSL object that reads and writes memory buffers, and
// this class moving the bytes between those buffers and the plain stream. Every wait therefore
// goes through the plain stream's own Receive and SendAll, with their time limits and the abort
// flag given at connect.
#pragma once

#include <openssl/ssl.h>

#include <chrono>
#include <memory>
#include <string>

#include "platform/net.h"

namespace quorlet {

class OpenSslStream final : public NetStream {
public:
    // How an OpenSSL call driven over the plain stream ended.
    enum class Step { Done, Closed, TimedOut, Aborted, Failed };

    // Takes `ssl` (a client not yet connected) and gives it memory buffers; nullptr when they
    // cannot be had (the SSL object is freed then too).
    static std::unique_ptr<OpenSslStream> Make(std::unique_ptr<NetStream> plain, SSL* ssl);
    ~OpenSslStream() override;

    OpenSslStream(const OpenSslStream&) = delete;
    OpenSslStream& operator=(const OpenSslStream&) = delete;

    // The client handshake, ending by `deadline` in the plain stream's time. On Failed the
    // reason is in this thread's OpenSSL error queue and the SSL object's verify result.
    Step Handshake(std::chrono::steady_clock::time_point deadline);
    const SSL* Ssl() const { return m_ssl; }

    bool SendAll(std::string_view data) override;
    Result Receive(std::string& out, std::size_t maxBytes,
                   std::chrono::milliseconds timeout) override;
    std::optional<std::array<std::uint8_t, 4>> LocalIPv4() const override {
        return m_plain->LocalIPv4();
    }
    std::chrono::steady_clock::time_point Now() const override { return m_plain->Now(); }

private:
    // Handshaking until the handshake succeeds; Closed after the peer's close alert or end of
    // stream; Broken after anything that leaves the TLS state unusable.
    enum class State { Handshaking, Open, Closed, Broken };

    OpenSslStream(std::unique_ptr<NetStream> plain, SSL* ssl, BIO* in, BIO* out);

    // Repeats `call` (an SSL_... function of m_ssl) until it succeeds or cannot go on: sends
    // what it wrote, and feeds it what the plain stream receives while it wants to read.
    template <class Call>
    Step Drive(Call call, std::chrono::steady_clock::time_point deadline, int& result);
    bool Flush();
    Step Fill(std::chrono::steady_clock::time_point deadline);

    std::unique_ptr<NetStream> m_plain;
    SSL* m_ssl;
    BIO* m_in;   // bytes from the peer, read by OpenSSL
    BIO* m_out;  // bytes OpenSSL wrote for the peer
    State m_state = State::Handshaking;
};

}  // namespace quorlet
