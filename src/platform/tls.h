// TLS under the mail sessions: a client handshake over a connected stream, after which the
// sessions read and write through the returned stream exactly as through the plain one (the
// same time limits, the same abort flag, given to the plain connect). The server's certificate
// is always checked against the system's trust store and the name the user typed, and nothing
// older than TLS 1.2 is accepted; there is no way to accept any certificate.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/net.h"

namespace quorlet {

// Why a handshake did not give a secure stream.
enum class TlsFailure {
    None,
    Handshake,       // the peer does not speak TLS, or the handshake broke off
    Untrusted,       // the chain does not end at a trusted root, or is not a valid chain
    WrongName,       // the certificate is not for the name connected to
    Expired,         // a certificate of the chain is out of its validity period
    ProtocolTooOld,  // the server would only agree on a protocol before TLS 1.2
    TimedOut,        // the limit passed during the handshake
    Aborted,         // the abort flag was raised during the handshake
    Unavailable,     // this build or machine has no TLS
};

struct TlsOutcome {
    std::unique_ptr<NetStream> stream;  // null unless failure is None
    TlsFailure failure = TlsFailure::Unavailable;
    std::string detail;    // the library's or the system's own words, for the command line
    std::string protocol;  // the negotiated protocol, e.g. "TLSv1.3", once secure
};

class Tls {
public:
    virtual ~Tls() = default;

    // Runs the client handshake over `plain` for serverName (the host name as typed, also
    // sent as the SNI name) within `limit`, and checks the certificate. The secure stream owns
    // `plain`; closing it (its destructor) sends the TLS close alert when it can.
    virtual TlsOutcome Secure(std::unique_ptr<NetStream> plain, const std::string& serverName,
                              std::chrono::milliseconds limit) = 0;
};

// TLS of this platform: SChannel on Windows, OpenSSL elsewhere.
Tls& SystemTls();

}  // namespace quorlet
