// A TLS layer for the session tests: it secures nothing and hands the plain stream back, so the
// scripted servers go on reading what the client sends; what it records is that a handshake was
// asked for, for which name, and when (the hook sees the conversation at that moment). Told to,
// it fails as a real layer does, closing the connection.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/tls.h"

namespace quorlet::testing {

class FakeTls final : public Tls {
public:
    // Called at each handshake with the server name, before it succeeds or fails.
    void SetHook(std::function<void(const std::string&)> hook) { m_hook = std::move(hook); }
    void FailWith(TlsFailure failure, std::string detail = "") {
        m_failure = failure;
        m_detail = std::move(detail);
    }

    int Handshakes() const { return m_handshakes.load(); }
    std::string LastServerName() const {
        std::lock_guard lock(m_mutex);
        return m_serverName;
    }

    TlsOutcome Secure(std::unique_ptr<NetStream> plain, const std::string& serverName,
                      std::chrono::milliseconds) override {
        ++m_handshakes;
        {
            std::lock_guard lock(m_mutex);
            m_serverName = serverName;
        }
        if (m_hook) {
            m_hook(serverName);
        }
        TlsOutcome outcome;
        outcome.failure = m_failure;
        outcome.detail = m_detail;
        if (m_failure == TlsFailure::None) {
            outcome.stream = std::move(plain);
            outcome.protocol = "TLSv1.3";
        }
        return outcome;
    }

private:
    std::function<void(const std::string&)> m_hook;
    TlsFailure m_failure = TlsFailure::None;
    std::string m_detail;
    std::atomic<int> m_handshakes{0};
    mutable std::mutex m_mutex;
    std::string m_serverName;
};

}  // namespace quorlet::testing
