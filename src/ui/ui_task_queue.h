// Work handed to the interface thread by other threads: Post() queues a task from any thread and
// posts one message to the window; the window calls Drain() for that message, on its own thread,
// and runs the tasks in the order they were posted. The poster never waits.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

namespace quorlet::ui {

class CUiTaskQueue {
public:
    // The message Post() sends to the window; the window passes it to Drain().
    static UINT Message();

    // Tasks go to this window from now on (nullptr: they are dropped).
    void Attach(HWND window);
    void Post(std::function<void()> task);
    // Runs the queued tasks, each inside the window procedures' exception boundary; call on the
    // window's thread.
    void Drain();

private:
    std::mutex m_mutex;
    HWND m_hWnd = nullptr;
    std::deque<std::function<void()>> m_tasks;
};

}  // namespace quorlet::ui
