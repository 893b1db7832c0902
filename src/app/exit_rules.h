// The question of the exit confirmation.
#pragma once

#include "platform/prompter.h"

namespace quorlet {

struct ExitQuestion {
    const char* text;
    const char* title;
    MessageIcon icon;
};

// The one question asked before the program ends: a running record of online time comes first,
// then the program's own line, otherwise the plain question.
ExitQuestion ChooseExitQuestion(bool recording, bool online);

}  // namespace quorlet
