// TLS of the native build: OpenSSL. The trust store is OpenSSL's default one (the system's CA
// bundle, or the file and folder named by SSL_CERT_FILE and SSL_CERT_DIR, as with every other
// OpenSSL program); the certificate must chain to it and name the server as the user typed it.
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <memory>
#include <mutex>

#include "platform/posix/openssl_stream.h"
#include "platform/tls.h"

namespace quorlet {
namespace {

struct ContextFree {
    void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};

// The library's words for the first error of this thread's queue, or `otherwise`.
std::string LibraryText(const char* otherwise) {
    const unsigned long error = ERR_peek_error();
    const char* reason = error != 0 ? ERR_reason_error_string(error) : nullptr;
    return reason != nullptr ? reason : otherwise;
}

TlsFailure FailureOfVerify(long result) {
    switch (result) {
        case X509_V_ERR_CERT_HAS_EXPIRED:
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return TlsFailure::Expired;
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH:
            return TlsFailure::WrongName;
        default:
            // No path to a trusted root, a signer that is no CA, a bad signature, a certificate
            // not meant for servers: in every case the chain cannot be trusted.
            return TlsFailure::Untrusted;
    }
}

// Why a handshake that OpenSSL gave up on failed, read right after the failure.
TlsFailure FailureOfHandshake(const SSL* ssl, std::string& detail) {
    const long verify = SSL_get_verify_result(ssl);
    if (verify != X509_V_OK) {
        detail = X509_verify_cert_error_string(verify);
        return FailureOfVerify(verify);
    }
    detail = LibraryText("the handshake broke off");
    const unsigned long error = ERR_peek_error();
    if (ERR_GET_LIB(error) == ERR_LIB_SSL) {
        switch (ERR_GET_REASON(error)) {
            case SSL_R_TLSV1_ALERT_PROTOCOL_VERSION:  // the server refused our versions
            case SSL_R_UNSUPPORTED_PROTOCOL:          // the server chose an older one
                return TlsFailure::ProtocolTooOld;
            default:
                break;
        }
    }
    return TlsFailure::Handshake;
}

class OpenSslTls final : public Tls {
public:
    TlsOutcome Secure(std::unique_ptr<NetStream> plain, const std::string& serverName,
                      std::chrono::milliseconds limit) override {
        TlsOutcome outcome;
        outcome.failure = TlsFailure::Handshake;
        // An empty name would switch the name check off; a name with a NUL in it would check
        // only the part before it.
        if (serverName.empty() || serverName.find('\0') != std::string::npos) {
            outcome.detail = "no server name to check the certificate against";
            return outcome;
        }
        if (plain == nullptr) {
            outcome.detail = "no connection";
            return outcome;
        }
        SSL_CTX* context = Context();
        if (context == nullptr) {
            outcome.failure = TlsFailure::Unavailable;
            outcome.detail = LibraryText("OpenSSL cannot start");
            return outcome;
        }
        const auto deadline = plain->Now() + limit;
        std::unique_ptr<OpenSslStream> stream = Prepare(context, std::move(plain), serverName);
        if (stream == nullptr) {
            outcome.detail = LibraryText("OpenSSL cannot start a connection");
            return outcome;
        }
        switch (stream->Handshake(deadline)) {
            case OpenSslStream::Step::Done:
                outcome.failure = TlsFailure::None;
                outcome.protocol = SSL_get_version(stream->Ssl());
                outcome.stream = std::move(stream);
                break;
            case OpenSslStream::Step::Closed:
                outcome.detail = "the server closed the connection during the handshake";
                break;
            case OpenSslStream::Step::TimedOut:
                outcome.failure = TlsFailure::TimedOut;
                outcome.detail = "the handshake did not end in time";
                break;
            case OpenSslStream::Step::Aborted:
                outcome.failure = TlsFailure::Aborted;
                outcome.detail = "aborted";
                break;
            case OpenSslStream::Step::Failed:
                outcome.failure = FailureOfHandshake(stream->Ssl(), outcome.detail);
                break;
        }
        ERR_clear_error();
        return outcome;
    }

private:
    // One context for the process, made at the first handshake: the trust store is read then.
    SSL_CTX* Context() {
        std::call_once(m_once, [this] {
            std::unique_ptr<SSL_CTX, ContextFree> context(SSL_CTX_new(TLS_client_method()));
            if (context == nullptr) {
                return;
            }
            // TLS 1.2 at least, or more where the system's OpenSSL configuration asks for more.
            const long floor = SSL_CTX_get_min_proto_version(context.get());
            if (floor < TLS1_2_VERSION &&
                SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION) != 1) {
                return;
            }
            if (SSL_CTX_set_default_verify_paths(context.get()) != 1) {
                return;
            }
            SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
            // A renegotiation would make a send wait for the server; mail servers need none.
            SSL_CTX_set_options(context.get(), SSL_OP_NO_RENEGOTIATION);
            m_context = std::move(context);
        });
        return m_context.get();
    }

    // A client for serverName over `plain`: SNI and the name check for a host name, the address
    // check for an address given as digits (which SNI may not carry).
    static std::unique_ptr<OpenSslStream> Prepare(SSL_CTX* context,
                                                  std::unique_ptr<NetStream> plain,
                                                  const std::string& serverName) {
        SSL* ssl = SSL_new(context);
        if (ssl == nullptr) {
            return nullptr;
        }
        X509_VERIFY_PARAM* param = SSL_get0_param(ssl);
        X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        const bool named = X509_VERIFY_PARAM_set1_ip_asc(param, serverName.c_str()) != 1;
        if (named && (SSL_set_tlsext_host_name(ssl, serverName.c_str()) != 1 ||
                      SSL_set1_host(ssl, serverName.c_str()) != 1)) {
            SSL_free(ssl);
            return nullptr;
        }
        return OpenSslStream::Make(std::move(plain), ssl);
    }

    std::once_flag m_once;
    std::unique_ptr<SSL_CTX, ContextFree> m_context;
};

}  // namespace

Tls& SystemTls() {
    static OpenSslTls tls;
    return tls;
}

}  // namespace quorlet
