// The questions of the exit confirmation and the settlement-day clearing of the fee totals.
#pragma once

#include "app/main_settings.h"
#include "base/civil_time.h"
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

// Whether the fee totals are cleared when the program ends on this day: "AutoClear" is on and
// today is the settlement day ("Day_Clear").
bool ClearsFeesOnExit(const MainSettings& settings, const CivilTime& today);

}  // namespace quorlet
