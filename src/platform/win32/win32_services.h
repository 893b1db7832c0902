// The Windows services of the interface: message boxes and the open-file dialog, sounds, and
// the shell.
#pragma once

#include <windows.h>

#include "platform/prompter.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace quorlet {

// Message boxes owned by the thread's active window; a plain box (empty title) carries the
// program's name.
Prompter& SystemPrompter();

// While it lives, the message boxes and file choosers of this thread are owned by `window`
// instead: a window that reports what its worker did owns the report even when the program is
// in the background, where the thread has no active window.
class PromptOwner {
public:
    explicit PromptOwner(HWND window);
    ~PromptOwner();
    PromptOwner(const PromptOwner&) = delete;
    PromptOwner& operator=(const PromptOwner&) = delete;

private:
    HWND m_previous;
};
Sound& SystemSound();
Shell& SystemShell();

}  // namespace quorlet
