// The two pages of the plan sheet as texts: what each page shows of the plan settings, and what
// the settings take back from it after OK. Page 1 ("每次") holds the "l_c..." values, page 2
// ("累计") the "l_t..." values. The check made when a page is left is CheckPlanPage.
#pragma once

#include <string>

#include "dialup/plan_check.h"
#include "settings/main_settings.h"

namespace quorlet {

inline constexpr const char* kPlanSheetTitle = "上网计划";

// The settings store reads a limit back from at most 9 characters. The time is stored as typed
// ("%d"); the fee as "%0.2f" of its whole yuan, which adds three characters to at most 6 digits.
inline constexpr int kPlanTimeChars = 9;
inline constexpr int kPlanFeeChars = 6;

struct PlanPageFields {
    std::string time;  // minutes (page 1) or hours (page 2), "%d"
    std::string fee;   // yuan, "%0.2f"
    bool hangUp = true;
    std::string soundFile;
};

PlanPageFields PlanFieldsOf(const MainSettings& settings, PlanPage page);
// The time and the fee as atoi reads them: only whole yuan count ("2.5" is 2).
void TakePlanFields(MainSettings& settings, PlanPage page, const PlanPageFields& fields);

}  // namespace quorlet
