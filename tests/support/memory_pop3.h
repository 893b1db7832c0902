// POP3 servers in memory, for the check cycle's tests: any number of hosts, each with mailboxes
// by user name, serving many connections at once from the check slots' threads. A mailbox keeps
// DELE marks until QUIT, as a real server does. A host can refuse or never answer the connect,
// answer slowly, fall silent or drop the connection after a given command, answer a given
// command with -ERR, or send part of a reply and the rest late. A host may offer STLS; the TLS
// layer (FakeTls) secures nothing but writes "[TLS]" among the host's commands where the
// handshake came.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/net.h"
#include "support/fake_tls.h"

namespace quorlet::testing {

class MemoryPop3 final : public Net {
public:
    struct Message {
        std::string header;  // header lines, each ended by CR LF
        std::int64_t size = 0;
    };
    struct Mailbox {
        std::string password;
        std::vector<Message> messages;
    };
    struct Host {
        std::map<std::string, Mailbox> users;
        bool refuse = false;                 // the connect fails at once
        bool hangConnect = false;            // the connect is not answered until Release()
        std::chrono::milliseconds delay{0};  // before every reply
        std::string silentAfter;  // a command (its first word, or "TOP 2") left unanswered
        std::string dropAt;       // a command at which the connection drops, unanswered
        std::string errAt;        // a command answered with -ERR
        // A command whose reply stops after `lateSplit` bytes; the rest comes `lateBy` later.
        std::string lateAt;
        std::size_t lateSplit = 0;
        std::chrono::milliseconds lateBy{0};
        bool throwAtConnect = false;  // the connect runs out of memory
        bool greetingSilent = false;
        bool stls = false;  // STLS is answered +OK (else -ERR, as any unknown command)
    };

    MemoryPop3() {
        m_tls.SetHook([this](const std::string& host) {
            std::lock_guard lock(m_mutex);
            m_commands[host].push_back("[TLS]");
        });
    }

    // A message of about `size` octets with the given sender and subject.
    static Message MakeMessage(const std::string& from, const std::string& subject,
                               std::int64_t size,
                               const std::string& date = "Mon, 06 May 2002 10:20:30 +0800") {
        std::string header = "From: " + from + "\r\nSubject: " + subject + "\r\n";
        if (!date.empty()) {
            header += "Date: " + date + "\r\n";
        }
        return {header, size};
    }

    // Changes to hosts and mailboxes are made under Lock() once sessions may be running.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock(m_mutex); }
    Host& AddHost(const std::string& name) { return m_hosts[name]; }
    Mailbox& AddMailbox(const std::string& host, const std::string& user,
                        const std::string& password) {
        Mailbox& box = m_hosts[host].users[user];
        box.password = password;
        return box;
    }
    Mailbox& MailboxOf(const std::string& host, const std::string& user) {
        return m_hosts[host].users[user];
    }
    // Lets the held connects of a host go through.
    void Release(const std::string& host) {
        std::lock_guard lock(m_mutex);
        m_hosts[host].hangConnect = false;
        m_changed.notify_all();
    }
    // The hosts in the order their connects began.
    std::vector<std::string> ConnectOrder() {
        std::lock_guard lock(m_mutex);
        return m_connectOrder;
    }
    // The threads that connected to a host, in order.
    std::vector<std::thread::id> ConnectThreads(const std::string& host) {
        std::lock_guard lock(m_mutex);
        return m_connectThreads[host];
    }
    // The ports of a host's connects, in order.
    std::vector<std::uint16_t> Ports(const std::string& host) {
        std::lock_guard lock(m_mutex);
        return m_ports[host];
    }
    int Connects(const std::string& host) {
        std::lock_guard lock(m_mutex);
        int n = 0;
        for (const std::string& h : m_connectOrder) {
            n += h == host;
        }
        return n;
    }
    // Every command line received by a host, line ends cut.
    std::vector<std::string> Commands(const std::string& host) {
        std::lock_guard lock(m_mutex);
        return m_commands[host];
    }

    bool Initialize() override { return true; }
    Tls* TlsLayer() override { return &m_tls; }

    std::unique_ptr<NetStream> Connect(const std::string& host, std::uint16_t port,
                                       std::chrono::milliseconds timeout,
                                       const std::atomic<bool>* abort) override {
        std::unique_lock lock(m_mutex);
        m_connectOrder.push_back(host);
        m_ports[host].push_back(port);
        m_connectThreads[host].push_back(std::this_thread::get_id());
        auto it = m_hosts.find(host);
        if (it != m_hosts.end() && it->second.throwAtConnect) {
            throw std::bad_alloc();
        }
        if (it == m_hosts.end() || it->second.refuse) {
            return nullptr;
        }
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (it->second.hangConnect) {
            if ((abort != nullptr && *abort) || std::chrono::steady_clock::now() >= deadline) {
                return nullptr;
            }
            m_changed.wait_for(lock, std::chrono::milliseconds(5));
        }
        auto stream = std::make_unique<Stream>(*this, host, abort);
        if (!it->second.greetingSilent) {
            stream->Queue("+OK ready\r\n", it->second.delay);
        }
        return stream;
    }

    std::optional<std::string> LocalHostName() override { return "client"; }
    std::vector<std::array<std::uint8_t, 4>> ResolveIPv4(const std::string&) override { return {}; }

private:
    class Stream final : public NetStream {
    public:
        Stream(MemoryPop3& net, std::string host, const std::atomic<bool>* abort)
            : m_net(net), m_host(std::move(host)), m_abort(abort) {}

        // Called with the server's mutex held. Replies go out in order, each not before its
        // delay has passed.
        void Queue(const std::string& reply, std::chrono::milliseconds delay) {
            if (reply.empty()) {
                return;
            }
            auto readyAt = std::chrono::steady_clock::now() + delay;
            if (!m_pending.empty()) {
                readyAt = std::max(readyAt, m_pending.back().readyAt);
            }
            m_pending.push_back({reply, readyAt});
        }

        bool SendAll(std::string_view data) override {
            std::lock_guard lock(m_net.m_mutex);
            if (m_dropped || Aborted()) {
                return false;
            }
            m_partial.append(data);
            std::size_t lf;
            while ((lf = m_partial.find('\n')) != std::string::npos) {
                std::string line = m_partial.substr(0, lf);
                m_partial.erase(0, lf + 1);
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                Answer(line);
            }
            m_net.m_changed.notify_all();
            return true;
        }

        Result Receive(std::string& out, std::size_t maxBytes,
                       std::chrono::milliseconds timeout) override {
            std::unique_lock lock(m_net.m_mutex);
            const auto deadline = std::chrono::steady_clock::now() + timeout;
            for (;;) {
                if (Aborted()) {
                    return Result::Aborted;
                }
                const auto now = std::chrono::steady_clock::now();
                if (!m_pending.empty() && now >= m_pending.front().readyAt) {
                    std::string& bytes = m_pending.front().bytes;
                    const std::size_t n = std::min(maxBytes, bytes.size());
                    out.append(bytes, 0, n);
                    bytes.erase(0, n);
                    if (bytes.empty()) {
                        m_pending.pop_front();
                    }
                    return Result::Data;
                }
                if (m_dropped) {
                    return Result::Closed;
                }
                if (now >= deadline) {
                    return Result::TimedOut;
                }
                m_net.m_changed.wait_for(lock, std::chrono::milliseconds(5));
            }
        }

    private:
        bool Aborted() const { return m_abort != nullptr && *m_abort; }

        static bool Matches(const std::string& line, const std::string& trigger) {
            return !trigger.empty() && line.compare(0, trigger.size(), trigger) == 0;
        }

        void Answer(const std::string& line) {
            m_net.m_commands[m_host].push_back(line);
            Host& host = m_net.m_hosts[m_host];
            if (m_silent) {
                return;
            }
            if (Matches(line, host.dropAt)) {
                m_dropped = true;
                return;
            }
            if (Matches(line, host.silentAfter)) {
                m_silent = true;
                return;
            }
            if (Matches(line, host.errAt)) {
                return Queue("-ERR refused\r\n", host.delay);
            }
            const std::string reply = Reply(host, line);
            if (Matches(line, host.lateAt) && host.lateSplit < reply.size()) {
                Queue(reply.substr(0, host.lateSplit), host.delay);
                return Queue(reply.substr(host.lateSplit), host.delay + host.lateBy);
            }
            Queue(reply, host.delay);
        }

        std::string Reply(Host& host, const std::string& line) {
            const std::string verb = line.substr(0, line.find(' '));
            const std::string arg = line.find(' ') == std::string::npos
                                        ? std::string()
                                        : line.substr(line.find(' ') + 1);
            if (verb == "STLS" && host.stls) {
                return "+OK begin TLS\r\n";
            }
            if (verb == "USER") {
                m_user = arg;
                return "+OK\r\n";
            }
            if (verb == "PASS") {
                auto it = host.users.find(m_user);
                if (it == host.users.end() || it->second.password != arg) {
                    return "-ERR [AUTH] bad login\r\n";
                }
                m_box = &it->second;
                return "+OK logged in\r\n";
            }
            if (m_box == nullptr) {
                return verb == "QUIT" ? "+OK bye\r\n" : "-ERR not logged in\r\n";
            }
            std::vector<Message>& messages = m_box->messages;
            const int n = std::atoi(arg.c_str());
            const bool valid =
                n >= 1 && static_cast<std::size_t>(n) <= messages.size() && !m_marked.count(n);
            if (verb == "STAT") {
                std::int64_t total = 0;
                int count = 0;
                for (std::size_t i = 0; i < messages.size(); ++i) {
                    if (!m_marked.count(static_cast<int>(i) + 1)) {
                        total += messages[i].size;
                        ++count;
                    }
                }
                return "+OK " + std::to_string(count) + " " + std::to_string(total) + "\r\n";
            }
            if (verb == "LIST" && arg.empty()) {
                std::string r = "+OK scan listing follows\r\n";
                for (std::size_t i = 0; i < messages.size(); ++i) {
                    r += std::to_string(i + 1) + " " + std::to_string(messages[i].size) + "\r\n";
                }
                return r + ".\r\n";
            }
            if (verb == "LIST") {
                return valid ? "+OK " + arg + " " +
                                   std::to_string(messages[static_cast<std::size_t>(n) - 1].size) +
                                   "\r\n"
                             : "-ERR no such message\r\n";
            }
            if (verb == "TOP") {
                return valid ? "+OK\r\n" + messages[static_cast<std::size_t>(n) - 1].header +
                                   "\r\n.\r\n"
                             : "-ERR no such message\r\n";
            }
            if (verb == "DELE") {
                if (!valid) {
                    return "-ERR no such message\r\n";
                }
                m_marked.insert(n);
                return "+OK deleted\r\n";
            }
            if (verb == "QUIT") {
                // The marked messages go, the later ones move up.
                for (auto it = m_marked.rbegin(); it != m_marked.rend(); ++it) {
                    messages.erase(messages.begin() + (*it - 1));
                }
                m_marked.clear();
                return "+OK bye\r\n";
            }
            return "-ERR unknown command\r\n";
        }

        MemoryPop3& m_net;
        std::string m_host;
        const std::atomic<bool>* m_abort;
        struct Pending {
            std::string bytes;
            std::chrono::steady_clock::time_point readyAt;
        };
        std::string m_partial;
        std::deque<Pending> m_pending;
        std::string m_user;
        Mailbox* m_box = nullptr;
        std::set<int> m_marked;
        bool m_silent = false;
        bool m_dropped = false;
    };

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, Host> m_hosts;
    std::vector<std::string> m_connectOrder;
    std::map<std::string, std::vector<std::thread::id>> m_connectThreads;
    std::map<std::string, std::vector<std::string>> m_commands;
    std::map<std::string, std::vector<std::uint16_t>> m_ports;
    FakeTls m_tls;
};

}  // namespace quorlet::testing
