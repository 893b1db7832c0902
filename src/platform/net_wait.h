// The deadline and abort rule that every blocking network wait of the sockets follows: a wait
// ends when its time limit passes, or within kNetAbortPoll of its abort flag being raised.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/net.h"

namespace quorlet {

class NetWait {
public:
    using Clock = std::chrono::steady_clock;

    NetWait(std::chrono::milliseconds timeout, const std::atomic<bool>* abort)
        : m_deadline(Clock::now() + timeout), m_abort(abort) {}

    bool Aborted() const { return m_abort != nullptr && m_abort->load(); }
    bool Expired() const { return Clock::now() >= m_deadline; }

    // How long the next single wait may last: at most kNetAbortPoll, never past the deadline.
    std::chrono::milliseconds NextSlice() const {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
        if (left.count() <= 0) {
            return std::chrono::milliseconds(0);
        }
        return left < kNetAbortPoll ? left : kNetAbortPoll;
    }

private:
    Clock::time_point m_deadline;
    const std::atomic<bool>* m_abort;
};

// Runs a call that cannot be interrupted (a name lookup) on a thread of its own and waits for it
// under the rule above. When the wait gives up, the call finishes unobserved in the background.
template <class T>
std::optional<T> RunBounded(std::function<T()> work, const NetWait& wait) {
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<T> result;
    };
    auto state = std::make_shared<State>();
    std::thread([state, work = std::move(work)] {
        T value = work();
        std::lock_guard lock(state->mutex);
        state->result = std::move(value);
        state->done.notify_all();
    }).detach();
    std::unique_lock lock(state->mutex);
    while (!state->result) {
        if (wait.Aborted() || wait.Expired()) {
            return std::nullopt;
        }
        state->done.wait_for(lock, wait.NextSlice());
    }
    return std::move(state->result);
}

}  // namespace quorlet
