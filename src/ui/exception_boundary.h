// The one place where the program's work for a message stops an exception. An exception must not
// cross into the system (a window or dialog procedure is called by user32) nor leave the message
// loop, where it would end the program: the failed piece of work is given up, a debugger hears of
// it, and the program goes on with the next message. The dialog procedure, the pre-translation of
// queued messages and each task of the interface thread's queue all run inside it.
#pragma once

#include <utility>

namespace quorlet::ui {

// Tells an attached debugger which piece of work failed.
void ReportFailedWork(const wchar_t* what) noexcept;

// Runs work and returns its result, or fallback when it throws.
template <typename Result, typename Work>
Result RunGuarded(const wchar_t* what, Result fallback, Work&& work) noexcept {
    try {
        return std::forward<Work>(work)();
    } catch (...) {
        ReportFailedWork(what);
        return fallback;
    }
}

}  // namespace quorlet::ui
