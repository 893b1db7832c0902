// A manual-reset event: once set, every wait returns until it is reset. The check slots sleep on
// one each between accounts.
#pragma once

#include <condition_variable>
#include <mutex>

namespace quorlet {

class ManualResetEvent {
public:
    void Set() {
        {
            std::lock_guard lock(m_mutex);
            m_set = true;
        }
        m_changed.notify_all();
    }
    void Reset() {
        std::lock_guard lock(m_mutex);
        m_set = false;
    }
    // Waits without limit until the event is set.
    void Wait() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_set; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
};

}  // namespace quorlet
