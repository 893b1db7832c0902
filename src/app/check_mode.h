// The auto/manual check mode of the main window and the interval it runs on. These are the rules
// of the start-up, the mode toggle and the end of a check, kept apart from the window so that
// they can be tested without one.
#pragma once

#include <optional>
#include <string_view>

namespace quorlet {

inline constexpr const char* kIntervalRangeMessage = "间隔时间应在1到100分钟之内 !";
inline constexpr const char* kIntervalMissingMessage = "请先定义间隔时间 !";

// The texts of the mode button (1014): it always offers the other mode.
inline constexpr const char* kModeButtonInAuto = "手动(&U)";
inline constexpr const char* kModeButtonInManual = "自动(&C)";
// After switching back to manual mode the button names its accelerator differently.
inline constexpr const char* kModeButtonToManual = "自动(&U)";

// The auto-check interval in minutes when the text is a number from 1 to 100 (read as atoi
// reads it), otherwise nullopt.
std::optional<int> ValidInterval(std::string_view intervalText);

// Timer 0's period for a valid interval.
constexpr unsigned IntervalMilliseconds(int minutes) {
    return static_cast<unsigned>(minutes) * 60000u;
}

// The interval timer 0 is armed again with after it stopped itself: at the end of a check or a
// deletion run, and when the start it fired for was refused. Only in auto mode, and only with
// a valid interval (a changed interval takes effect here).
std::optional<int> AutoCheckRearm(bool autoMode, std::string_view intervalText);

// Start-up: the mode the window begins in, and whether the range message is shown first.
struct StartMode {
    bool autoMode = false;
    bool showRangeMessage = false;
};
StartMode StartupMode(bool autoStart, std::string_view intervalText);

// What the mode toggle (1014) does from the given mode.
struct ModeToggle {
    bool autoMode = false;            // the mode afterwards
    bool showMissingMessage = false;  // "请先定义间隔时间 !"
};
ModeToggle ToggleMode(bool autoMode, std::string_view intervalText);

}  // namespace quorlet
