// The deadline and abort rule that every blocking network wait of the sockets follows: a wait
// ends when its time limit passes, or within kNetAbortPoll of its abort flag being raised.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
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

// Starts a body on a thread of its own that nobody joins.
inline void StartDetached(std::function<void()> body) {
    std::thread(std::move(body)).detach();
}

// Runs a call that cannot be interrupted (a name lookup) on a thread started by `start` and
// waits for it under the rule above. When the wait gives up, the call finishes unobserved in the
// background. No exception leaves either thread: a thread that cannot be started, or a call that
// runs out of memory, gives no result, as a wait that gives up does.
template <class T>
std::optional<T> RunBounded(
    std::function<T()> work, const NetWait& wait,
    const std::function<void(std::function<void()>)>& start = StartDetached) {
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<T> result;
    };
    try {
        auto state = std::make_shared<State>();
        start([state, work = std::move(work)] {
            std::optional<T> value;
            try {
                value = work();
            } catch (const std::exception&) {
                // no result
            }
            std::lock_guard lock(state->mutex);
            state->result = std::move(value);
            state->finished = true;
            state->done.notify_all();
        });
        std::unique_lock lock(state->mutex);
        while (!state->finished) {
            if (wait.Aborted() || wait.Expired()) {
                return std::nullopt;
            }
            state->done.wait_for(lock, wait.NextSlice());
        }
        return std::move(state->result);
    } catch (const std::exception&) {
        return std::nullopt;  // no thread (std::system_error), or no memory for one
    }
}

}  // namespace quorlet
