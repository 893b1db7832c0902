#include "platform/posix/openssl_stream.h"

#include <openssl/err.h>

#include <algorithm>

namespace quorlet {
namespace {

// Bytes asked of the plain stream at a time: a whole TLS record and its overhead.
constexpr std::size_t kChunk = 16384 + 2048;

// Plain text per SSL_write (whose length is an int): one record's worth, sent as it is made.
constexpr std::size_t kRecord = 16384;

}  // namespace

std::unique_ptr<OpenSslStream> OpenSslStream::Make(std::unique_ptr<NetStream> plain, SSL* ssl) {
    BIO* in = BIO_new(BIO_s_mem());
    BIO* out = BIO_new(BIO_s_mem());
    if (plain == nullptr || ssl == nullptr || in == nullptr || out == nullptr) {
        BIO_free(in);
        BIO_free(out);
        SSL_free(ssl);
        return nullptr;
    }
    // An empty buffer means "not yet" rather than the end of the stream: the end is the plain
    // stream's Closed, which this class sees itself.
    BIO_set_mem_eof_return(in, -1);
    SSL_set_bio(ssl, in, out);
    return std::unique_ptr<OpenSslStream>(new OpenSslStream(std::move(plain), ssl, in, out));
}

OpenSslStream::OpenSslStream(std::unique_ptr<NetStream> plain, SSL* ssl, BIO* in, BIO* out)
    : m_plain(std::move(plain)), m_ssl(ssl), m_in(in), m_out(out) {}

OpenSslStream::~OpenSslStream() {
    // The close alert, without waiting for the peer's: the sessions have said QUIT and read the
    // reply by now, and a peer that does not read it costs nothing. After a failure nothing is
    // sent, so a broken connection does not hold the caller up.
    if (m_state == State::Open) {
        ERR_clear_error();
        SSL_shutdown(m_ssl);
        Flush();
    }
    ERR_clear_error();
    SSL_free(m_ssl);  // frees the two buffers too
}

OpenSslStream::Step OpenSslStream::Handshake(std::chrono::steady_clock::time_point deadline) {
    int ignored = 0;
    const Step step = Drive([this] { return SSL_connect(m_ssl); }, deadline, ignored);
    m_state = step == Step::Done ? State::Open : State::Broken;
    return step;
}

bool OpenSslStream::SendAll(std::string_view data) {
    if (m_state != State::Open) {
        return false;
    }
    // A write reads only while a handshake is under way, which renegotiation being off leaves
    // to the first; the plain send keeps its own limit.
    const auto deadline = m_plain->Now() + kNetWaitLimit;
    while (!data.empty()) {
        const int size = static_cast<int>(std::min(data.size(), kRecord));
        int written = 0;
        const Step step =
            Drive([&] { return SSL_write(m_ssl, data.data(), size); }, deadline, written);
        if (step != Step::Done) {
            // A record may have gone out in part: the stream cannot be used any more.
            m_state = State::Broken;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

NetStream::Result OpenSslStream::Receive(std::string& out, std::size_t maxBytes,
                                         std::chrono::milliseconds timeout) {
    if (m_state == State::Closed) {
        return Result::Closed;
    }
    if (m_state != State::Open) {
        return Result::Failed;
    }
    char buffer[kRecord];
    const int want = static_cast<int>(std::min(maxBytes, sizeof buffer));
    if (want == 0) {
        return Result::Data;
    }
    // SSL_read comes first: what OpenSSL holds already (the rest of a record, further records
    // of the same read) is returned without a wait on the plain stream.
    int got = 0;
    switch (Drive([&] { return SSL_read(m_ssl, buffer, want); }, m_plain->Now() + timeout, got)) {
        case Step::Done:
            out.append(buffer, static_cast<std::size_t>(got));
            return Result::Data;
        case Step::Closed:
            m_state = State::Closed;
            return Result::Closed;
        case Step::TimedOut:
            return Result::TimedOut;  // a record half read stays buffered for the next call
        case Step::Aborted:
            return Result::Aborted;
        case Step::Failed:
            break;
    }
    m_state = State::Broken;
    return Result::Failed;
}

template <class Call>
OpenSslStream::Step OpenSslStream::Drive(Call call, std::chrono::steady_clock::time_point deadline,
                                         int& result) {
    for (;;) {
        ERR_clear_error();
        const int r = call();
        const int error = r > 0 ? SSL_ERROR_NONE : SSL_get_error(m_ssl, r);
        // Whatever the call wrote goes out first, an alert explaining a failure included.
        if (!Flush()) {
            return Step::Failed;
        }
        switch (error) {
            case SSL_ERROR_NONE:
                result = r;
                return Step::Done;
            case SSL_ERROR_WANT_READ: {
                const Step step = Fill(deadline);
                if (step != Step::Done) {
                    return step;
                }
                break;
            }
            case SSL_ERROR_ZERO_RETURN:
                return Step::Closed;  // the peer's close alert
            default:
                return Step::Failed;
        }
    }
}

bool OpenSslStream::Flush() {
    std::string pending;
    char buffer[kChunk];
    while (BIO_ctrl_pending(m_out) > 0) {
        const int n = BIO_read(m_out, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
    }
    return pending.empty() || m_plain->SendAll(pending);
}

OpenSslStream::Step OpenSslStream::Fill(std::chrono::steady_clock::time_point deadline) {
    const auto now = m_plain->Now();
    if (now >= deadline) {
        return Step::TimedOut;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
    std::string in;
    switch (m_plain->Receive(in, kChunk, left)) {
        case Result::Data:
            return BIO_write(m_in, in.data(), static_cast<int>(in.size())) ==
                           static_cast<int>(in.size())
                       ? Step::Done
                       : Step::Failed;
        case Result::Closed:
            return Step::Closed;
        case Result::TimedOut:
            return Step::TimedOut;
        case Result::Aborted:
            return Step::Aborted;
        case Result::Failed:
            break;
    }
    return Step::Failed;
}

}  // namespace quorlet
