#include "app/check_mode.h"

#include "base/c_numbers.h"

namespace quorlet {

std::optional<int> ValidInterval(std::string_view intervalText) {
    const int minutes = AtoI(intervalText);
    if (minutes < 1 || minutes > 100) {
        return std::nullopt;
    }
    return minutes;
}

std::optional<int> AutoCheckRearm(bool autoMode, std::string_view intervalText) {
    return autoMode ? ValidInterval(intervalText) : std::nullopt;
}

StartMode StartupMode(bool autoStart, std::string_view intervalText) {
    if (!autoStart || intervalText.empty()) {
        return {};
    }
    if (!ValidInterval(intervalText)) {
        return {false, true};
    }
    return {true, false};
}

ModeToggle ToggleMode(bool autoMode, std::string_view intervalText) {
    if (autoMode) {
        return {false, false};
    }
    if (intervalText.empty()) {
        return {false, true};
    }
    // Any number outside 1..100 leaves the mode as it is without a word.
    return {ValidInterval(intervalText).has_value(), false};
}

}  // namespace quorlet
