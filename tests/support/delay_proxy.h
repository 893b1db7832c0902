// A loopback TCP proxy that delays every byte by a fixed time in each direction, as a distant
// server would: a chunk read at time t is sent on at t + delay, in order, so a request and its
// reply cost two delays whatever else is in flight. Used by the tests that need one mailbox to be
// slower than the others and by the check benchmark. Every connection to Port() is forwarded to
// the target; the proxy ends its connections and threads when destroyed.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "platform/net.h"

namespace quorlet::testing {

class DelayProxy {
public:
    DelayProxy(Net& net, std::string targetHost, std::uint16_t targetPort,
               std::chrono::milliseconds delay)
        : m_net(net),
          m_host(std::move(targetHost)),
          m_port(targetPort),
          m_delay(delay),
          m_listener(net.ListenLoopback(0, 64)) {
        if (m_listener != nullptr) {
            m_acceptor = std::thread([this] { AcceptLoop(); });
        }
    }
    ~DelayProxy() {
        m_stop = true;
        if (m_acceptor.joinable()) {
            m_acceptor.join();
        }
        std::lock_guard lock(m_mutex);
        for (auto& c : m_connections) {
            c->Join();
        }
    }
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;

    bool Listening() const { return m_listener != nullptr; }
    std::uint16_t Port() const { return m_listener != nullptr ? m_listener->Port() : 0; }
    std::string Server() const { return "127.0.0.1:" + std::to_string(Port()); }

private:
    static constexpr std::chrono::milliseconds kPoll{20};

    // One direction of one connection: chunks with the time they may be sent on.
    struct Pipe {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<std::pair<std::chrono::steady_clock::time_point, std::string>> chunks;
        bool ended = false;  // the source closed: nothing more will come
    };

    class Connection {
    public:
        Connection(std::unique_ptr<NetStream> client, std::unique_ptr<NetStream> server,
                   std::chrono::milliseconds delay, const std::atomic<bool>& stop)
            : m_client(std::move(client)),
              m_server(std::move(server)),
              m_delay(delay),
              m_stop(stop) {
            m_threads[0] = std::thread([this] { Read(*m_client, m_up); });
            m_threads[1] = std::thread([this] { Write(*m_server, m_up); });
            m_threads[2] = std::thread([this] { Read(*m_server, m_down); });
            m_threads[3] = std::thread([this] { Write(*m_client, m_down); });
        }
        void Join() {
            for (auto& t : m_threads) {
                if (t.joinable()) {
                    t.join();
                }
            }
        }
        bool Done() const { return m_done; }

    private:
        bool Stopping() const { return m_done || m_stop; }

        void Read(NetStream& from, Pipe& pipe) {
            while (!Stopping()) {
                std::string data;
                const auto r = from.Receive(data, 65536, kPoll);
                if (r == NetStream::Result::Data) {
                    std::lock_guard lock(pipe.mutex);
                    pipe.chunks.emplace_back(std::chrono::steady_clock::now() + m_delay,
                                             std::move(data));
                    pipe.changed.notify_all();
                } else if (r != NetStream::Result::TimedOut) {
                    break;
                }
            }
            std::lock_guard lock(pipe.mutex);
            pipe.ended = true;
            pipe.changed.notify_all();
        }

        // Sends each chunk when it is due; when the source has ended and everything is sent,
        // the whole connection ends (the other direction stops at its next look).
        void Write(NetStream& to, Pipe& pipe) {
            std::unique_lock lock(pipe.mutex);
            while (!Stopping()) {
                if (pipe.chunks.empty()) {
                    if (pipe.ended) {
                        break;
                    }
                    pipe.changed.wait_for(lock, kPoll);
                    continue;
                }
                const auto due = pipe.chunks.front().first;
                const auto now = std::chrono::steady_clock::now();
                if (now < due) {
                    pipe.changed.wait_until(lock, std::min(due, now + kPoll));
                    continue;
                }
                std::string data = std::move(pipe.chunks.front().second);
                pipe.chunks.pop_front();
                lock.unlock();
                const bool sent = to.SendAll(data);
                lock.lock();
                if (!sent) {
                    break;
                }
            }
            m_done = true;
        }

        std::unique_ptr<NetStream> m_client;
        std::unique_ptr<NetStream> m_server;
        std::chrono::milliseconds m_delay;
        const std::atomic<bool>& m_stop;
        std::atomic<bool> m_done{false};
        Pipe m_up;    // client to server
        Pipe m_down;  // server to client
        std::thread m_threads[4];
    };

    void AcceptLoop() {
        while (!m_stop) {
            auto client = m_listener->Accept(kPoll);
            std::lock_guard lock(m_mutex);
            // Connections that have ended give their threads back.
            for (auto it = m_connections.begin(); it != m_connections.end();) {
                if ((*it)->Done()) {
                    (*it)->Join();
                    it = m_connections.erase(it);
                } else {
                    ++it;
                }
            }
            if (client == nullptr) {
                continue;
            }
            auto server = m_net.Connect(m_host, m_port, std::chrono::seconds(10), &m_stop);
            if (server != nullptr) {
                m_connections.push_back(std::make_unique<Connection>(
                    std::move(client), std::move(server), m_delay, m_stop));
            }
        }
    }

    Net& m_net;
    std::string m_host;
    std::uint16_t m_port;
    std::chrono::milliseconds m_delay;
    std::unique_ptr<NetListener> m_listener;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::list<std::unique_ptr<Connection>> m_connections;
    std::thread m_acceptor;
};

}  // namespace quorlet::testing
