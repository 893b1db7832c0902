// A mail server in memory, for the session tests: it answers each command line with the reply
// its script gives, and can split replies into chunks of any size, trickle a reply out over
// minutes of the stream's own time, close or break the connection, stay silent, refuse or never
// answer a connect. Everything the client sent is kept. Its TLS layer (FakeTls) secures nothing
// but notes how many command lines had been sent when the handshake came.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/net.h"
#include "support/fake_tls.h"

namespace quorlet::testing {

class ScriptedNet final : public Net {
public:
    enum class Then { Continue, Close, Fail };

    ScriptedNet() {
        m_tls.SetHook([state = m_state](const std::string&) {
            if (state->securedAfter < 0) {
                state->securedAfter = static_cast<int>(state->commands.size());
            }
        });
    }

    // The server's first words, sent when the client connects.
    ScriptedNet& Greet(std::string reply, Then then = Then::Continue) {
        m_state->greeting = {"", std::move(reply), then, false};
        m_state->lastStep = &m_state->greeting;
        return *this;
    }
    // The reply to the next command line (the line the client is expected to send is kept for
    // messages; Commands() tells what it really sent).
    ScriptedNet& On(std::string command, std::string reply, Then then = Then::Continue) {
        m_state->steps.push_back({std::move(command), std::move(reply), then, false});
        m_state->lastStep = &m_state->steps.back();
        return *this;
    }
    // The next lines up to the lone "." are the message text; then this reply.
    ScriptedNet& Data(std::string reply, Then then = Then::Continue) {
        m_state->steps.push_back({"", std::move(reply), then, true});
        m_state->lastStep = &m_state->steps.back();
        return *this;
    }
    // The reply added last arrives `bytes` at a time, each piece `every` after the one before.
    // Only the stream's clock (NetStream::Now) moves: nothing really waits. A piece due later
    // than a receive's time limit makes that receive time out.
    ScriptedNet& Trickle(std::size_t bytes, std::chrono::milliseconds every) {
        m_state->lastStep->trickleBytes = bytes;
        m_state->lastStep->trickleEvery = every;
        return *this;
    }

    // Replies reach the client in chunks of this many bytes (0: whole), or split once at
    // `splitAt` bytes into two chunks.
    void SetChunkSize(std::size_t bytes) { m_state->chunkSize = bytes; }
    void SetSplitAt(std::size_t at) { m_state->splitAt = at; }

    void RefuseConnect() { m_refuse = true; }
    void NeverAnswerConnect() { m_hang = true; }
    void FailInitialize() { m_initializes = false; }
    void SetLocalHostName(std::optional<std::string> name) { m_hostName = std::move(name); }
    void SetLocalAddress(std::optional<std::array<std::uint8_t, 4>> a) { m_state->local = a; }

    // Each command line the client sent, line end included; a message text is one entry.
    const std::vector<std::string>& Commands() const { return m_state->commands; }
    // Lines that differ from the script's expected command, or came after its end.
    const std::vector<std::string>& Mismatches() const { return m_state->mismatches; }
    const std::string& ConnectedHost() const { return m_host; }
    std::uint16_t ConnectedPort() const { return m_port; }
    int Connects() const { return m_connects; }
    // The TLS layer; with WithoutTls the network has none.
    FakeTls& TlsFake() { return m_tls; }
    void WithoutTls() { m_hasTls = false; }
    // How many command lines the client had sent at the first handshake; -1 when none came.
    int CommandsBeforeTls() const { return m_state->securedAfter; }
    Tls* TlsLayer() override { return m_hasTls ? &m_tls : nullptr; }

    bool Initialize() override { return m_initializes; }

    std::unique_ptr<NetStream> Connect(const std::string& host, std::uint16_t port,
                                       std::chrono::milliseconds timeout,
                                       const std::atomic<bool>* abort) override {
        m_host = host;
        m_port = port;
        ++m_connects;
        if (m_refuse) {
            return nullptr;
        }
        if (m_hang) {
            WaitUntil(timeout, abort, [] { return false; });
            return nullptr;
        }
        auto stream = std::make_unique<Stream>(m_state, abort);
        m_state->Reply(m_state->greeting);
        return stream;
    }

    std::optional<std::string> LocalHostName() override { return m_hostName; }
    std::vector<std::array<std::uint8_t, 4>> ResolveIPv4(const std::string&) override { return {}; }

private:
    struct Step {
        std::string command;
        std::string reply;
        Then then;
        bool data;
        std::size_t trickleBytes = 0;
        std::chrono::milliseconds trickleEvery{0};
    };
    struct Chunk {
        std::string bytes;
        std::chrono::milliseconds due{0};  // after the chunk before it
    };

    struct State {
        Step greeting{"", "", Then::Continue, false};
        std::deque<Step> steps;
        Step* lastStep = &greeting;
        std::deque<Chunk> chunks;
        std::chrono::milliseconds skew{0};  // how far the stream's clock is ahead
        std::vector<std::string> commands;
        std::vector<std::string> mismatches;
        std::string partial;  // client bytes not yet a whole line
        std::string message;  // message text being received
        bool inData = false;
        bool closed = false;
        bool failed = false;
        std::size_t chunkSize = 0;
        std::size_t splitAt = 0;
        std::optional<std::array<std::uint8_t, 4>> local;
        int securedAfter = -1;

        void Reply(const Step& step) {
            const std::string& r = step.reply;
            if (step.trickleBytes > 0) {
                for (std::size_t i = 0; i < r.size(); i += step.trickleBytes) {
                    chunks.push_back({r.substr(i, step.trickleBytes), step.trickleEvery});
                }
            } else if (chunkSize > 0) {
                for (std::size_t i = 0; i < r.size(); i += chunkSize) {
                    chunks.push_back({r.substr(i, chunkSize)});
                }
            } else if (splitAt > 0 && splitAt < r.size()) {
                chunks.push_back({r.substr(0, splitAt)});
                chunks.push_back({r.substr(splitAt)});
            } else if (!r.empty()) {
                chunks.push_back({r});
            }
            closed = closed || step.then == Then::Close;
            failed = failed || step.then == Then::Fail;
        }

        void Line(const std::string& line) {
            if (inData) {
                message += line;
                if (line == ".\r\n" || line == ".\n") {
                    inData = false;
                    commands.push_back(message);
                    Reply(steps.front());
                    steps.pop_front();
                }
                return;
            }
            commands.push_back(line);
            if (steps.empty()) {
                mismatches.push_back("unexpected " + line);
                return;  // nothing left to say: silence
            }
            if (!steps.front().command.empty() && steps.front().command != line) {
                mismatches.push_back("expected " + steps.front().command + " got " + line);
            }
            if (steps.front().data) {
                mismatches.push_back("expected a message text, got " + line);
                return;
            }
            Reply(steps.front());
            steps.pop_front();
            if (!steps.empty() && steps.front().data) {
                inData = true;
                message.clear();
            }
        }
    };

    template <class Ready>
    static bool WaitUntil(std::chrono::milliseconds timeout, const std::atomic<bool>* abort,
                          Ready ready) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (ready()) {
                return true;
            }
            if ((abort != nullptr && *abort) || std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    class Stream final : public NetStream {
    public:
        Stream(std::shared_ptr<State> state, const std::atomic<bool>* abort)
            : m_state(std::move(state)), m_abort(abort) {}

        bool SendAll(std::string_view data) override {
            if (m_state->failed || m_state->closed || (m_abort != nullptr && *m_abort)) {
                return false;
            }
            m_state->partial.append(data);
            std::size_t lf;
            while ((lf = m_state->partial.find('\n')) != std::string::npos) {
                const std::string line = m_state->partial.substr(0, lf + 1);
                m_state->partial.erase(0, lf + 1);
                m_state->Line(line);
            }
            return true;
        }

        Result Receive(std::string& out, std::size_t maxBytes,
                       std::chrono::milliseconds timeout) override {
            State& s = *m_state;
            const bool ready = WaitUntil(
                timeout, m_abort, [&s] { return !s.chunks.empty() || s.closed || s.failed; });
            if (!s.chunks.empty() && (m_abort == nullptr || !*m_abort)) {
                Chunk& chunk = s.chunks.front();
                if (chunk.due > timeout) {
                    chunk.due -= timeout;
                    s.skew += timeout;
                    return Result::TimedOut;
                }
                s.skew += chunk.due;
                chunk.due = std::chrono::milliseconds(0);
                const std::size_t n = std::min(maxBytes, chunk.bytes.size());
                out.append(chunk.bytes, 0, n);
                chunk.bytes.erase(0, n);
                if (chunk.bytes.empty()) {
                    s.chunks.pop_front();
                }
                return Result::Data;
            }
            if (!ready) {
                return m_abort != nullptr && *m_abort ? Result::Aborted : Result::TimedOut;
            }
            return s.failed ? Result::Failed : Result::Closed;
        }

        std::optional<std::array<std::uint8_t, 4>> LocalIPv4() const override {
            return m_state->local;
        }

        std::chrono::steady_clock::time_point Now() const override {
            return std::chrono::steady_clock::now() + m_state->skew;
        }

    private:
        std::shared_ptr<State> m_state;
        const std::atomic<bool>* m_abort;
    };

    std::shared_ptr<State> m_state = std::make_shared<State>();
    FakeTls m_tls;
    bool m_hasTls = true;
    bool m_refuse = false;
    bool m_hang = false;
    bool m_initializes = true;
    std::optional<std::string> m_hostName = "client.example.com";
    std::string m_host;
    std::uint16_t m_port = 0;
    int m_connects = 0;
};

}  // namespace quorlet::testing
