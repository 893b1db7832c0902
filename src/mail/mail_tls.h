// Putting TLS under a mail connection (POP3 here, SMTP in send/), and what a failed handshake
// tells the user. A connection that asked for security and did not get it is closed: nothing
// more is said on it, least of all a password.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/net.h"
#include "platform/tls.h"

namespace quorlet {

// The handshake failed, the server offers no STLS/STARTTLS or refuses it, or it sent more than
// its go-ahead before the handshake.
inline constexpr const char* kSecureConnectionFailed = "安全连接失败";
// The server's certificate was rejected: untrusted issuer, wrong name or out of date.
inline constexpr const char* kCertificateInvalid = "证书无效";

// What came of a session's last handshake, for quorlet-cli's output.
struct TlsReport {
    bool attempted = false;
    TlsFailure failure = TlsFailure::None;
    std::string detail;    // the TLS library's own words
    std::string protocol;  // e.g. "TLSv1.3" once secure
};

// The user's text for a failure: the certificate's cases give kCertificateInvalid, the others
// kSecureConnectionFailed.
const char* TlsFailureText(TlsFailure failure);

// A few English words for the command line ("untrusted issuer", "wrong name", ...).
const char* TlsFailureReason(TlsFailure failure);

// Runs the client handshake for `host` over `stream` within `limit` through the network's TLS
// layer. On success `stream` is the secure stream; on failure it is gone (the connection is
// closed) and the report says why. A network without TLS fails as Unavailable.
bool SecureStream(Net& net, std::unique_ptr<NetStream>& stream, const std::string& host,
                  std::chrono::milliseconds limit, TlsReport& report);

}  // namespace quorlet
