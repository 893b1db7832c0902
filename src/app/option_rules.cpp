#include "app/option_rules.h"

#include "app/check_mode.h"
#include "base/c_numbers.h"

namespace quorlet {

bool StartupPasswordMissing(bool passwordOn, std::string_view password) {
    return passwordOn && password.empty();
}

MailPageCheck CheckMailPage(std::string_view interval, bool soundOn, std::string_view soundFile) {
    return {.badInterval = !ValidInterval(interval),
            .soundFileMissing = soundOn && soundFile.empty()};
}

bool ValidSettlementDay(std::string_view day) {
    const int value = AtoI(day);
    return value >= 1 && value <= 30;
}

}  // namespace quorlet
