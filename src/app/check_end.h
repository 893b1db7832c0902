// What the main window does when a check has ended (timer 3): the new-mail signals, re-arming
// the auto-check timer and the handling of filtered mail. The window carries out the actions.
#pragma once

#include <optional>
#include <string>

#include "settings/main_settings.h"

namespace quorlet {

inline constexpr const char* kDeleteFilteredQuestion = "是否删除已过滤出的邮件 ?";
inline constexpr const char* kDeletionThreadFailed = "程序出现错误(0xAD),请重新运行 !";

struct CheckEndState {
    bool newMail = false;       // the check found new mail
    bool filteredMail = false;  // a filter marked some of it
    bool listVisible = true;
    bool windowVisible = true;
    bool autoMode = false;
};

struct CheckEndActions {
    bool showList = false;            // bring the hidden account list back
    bool startBlink = false;          // blink the tray icon (timer 1) ...
    bool showModeIcon = false;        // ... or show the icon and tip of the current mode
    bool playSound = false;           // play the new-mail sound file
    bool popUpWindow = false;         // bring the main window up
    bool startMailProgram = false;    // start the system mail program
    std::optional<int> rearmMinutes;  // start timer 0 again with this interval
    bool openPreview = false;         // filtered mail is listed in the preview
    bool askDeleteFiltered = false;   // filtered mail is offered for deletion
};

CheckEndActions PlanCheckEnd(const CheckEndState& state, const MainSettings& settings);

}  // namespace quorlet
