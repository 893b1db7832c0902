#include "ui/ui_task_queue.h"

#include "ui/exception_boundary.h"

namespace quorlet::ui {

UINT CUiTaskQueue::Message() {
    static const UINT message = RegisterWindowMessageW(L"Quorlet interface task");
    return message;
}

void CUiTaskQueue::Attach(HWND window) {
    std::lock_guard lock(m_mutex);
    m_hWnd = window;
    if (window == nullptr) {
        m_tasks.clear();
    }
}

void CUiTaskQueue::Post(std::function<void()> task) {
    std::lock_guard lock(m_mutex);
    if (m_hWnd == nullptr) {
        return;
    }
    const bool first = m_tasks.empty();
    m_tasks.push_back(std::move(task));
    // One message carries every task queued before it is handled.
    if (first && !PostMessageW(m_hWnd, Message(), 0, 0)) {
        m_tasks.clear();
    }
}

void CUiTaskQueue::Drain() {
    std::deque<std::function<void()>> tasks;
    {
        std::lock_guard lock(m_mutex);
        tasks.swap(m_tasks);
    }
    // Each task on its own: one that fails does not take the tasks after it along.
    for (auto& task : tasks) {
        RunGuarded(L"an interface task", false, [&] {
            task();
            return true;
        });
    }
}

}  // namespace quorlet::ui
