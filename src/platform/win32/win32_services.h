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
Sound& SystemSound();
Shell& SystemShell();

}  // namespace quorlet
