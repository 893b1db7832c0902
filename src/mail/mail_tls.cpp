#include "mail/mail_tls.h"

namespace quorlet {

const char* TlsFailureText(TlsFailure failure) {
    switch (failure) {
        case TlsFailure::Untrusted:
        case TlsFailure::WrongName:
        case TlsFailure::Expired:
            return kCertificateInvalid;
        default:
            return kSecureConnectionFailed;
    }
}

const char* TlsFailureReason(TlsFailure failure) {
    switch (failure) {
        case TlsFailure::None:
            return "none";
        case TlsFailure::Handshake:
            return "handshake failed";
        case TlsFailure::Untrusted:
            return "untrusted issuer";
        case TlsFailure::WrongName:
            return "wrong name";
        case TlsFailure::Expired:
            return "expired";
        case TlsFailure::ProtocolTooOld:
            return "protocol too old";
        case TlsFailure::TimedOut:
            return "timed out";
        case TlsFailure::Aborted:
            return "aborted";
        case TlsFailure::Unavailable:
            break;
    }
    return "no TLS available";
}

bool SecureStream(Net& net, std::unique_ptr<NetStream>& stream, const std::string& host,
                  std::chrono::milliseconds limit, TlsReport& report) {
    report = TlsReport{};
    report.attempted = true;
    Tls* tls = net.TlsLayer();
    if (tls == nullptr || stream == nullptr) {
        stream.reset();
        report.failure = TlsFailure::Unavailable;
        return false;
    }
    TlsOutcome outcome = tls->Secure(std::move(stream), host, limit);
    report.detail = std::move(outcome.detail);
    if (outcome.failure != TlsFailure::None || outcome.stream == nullptr) {
        // A layer that names no failure yet gives no stream has still not secured anything.
        report.failure =
            outcome.failure == TlsFailure::None ? TlsFailure::Handshake : outcome.failure;
        return false;
    }
    report.protocol = std::move(outcome.protocol);
    stream = std::move(outcome.stream);
    return true;
}

}  // namespace quorlet
