#include "dialup/plan_pages.h"

#include <cstdio>

#include "base/c_numbers.h"

namespace quorlet {
namespace {

struct PlanValues {
    int& time;
    double& fee;
    bool& hangUp;
    std::string& soundFile;
};

PlanValues ValuesOf(MainSettings& s, PlanPage page) {
    if (page == PlanPage::Session) {
        return {s.m_nSessionTimeLimit, s.m_dSessionFeeLimit, s.m_bSessionHangUp, s.m_strSessionWav};
    }
    return {s.m_nTotalTimeLimit, s.m_dTotalFeeLimit, s.m_bTotalHangUp, s.m_strTotalWav};
}

}  // namespace

PlanPageFields PlanFieldsOf(const MainSettings& settings, PlanPage page) {
    MainSettings copy = settings;
    const PlanValues values = ValuesOf(copy, page);
    char fee[400];
    std::snprintf(fee, sizeof fee, "%0.2f", values.fee);
    return {std::to_string(values.time), fee, values.hangUp, values.soundFile};
}

void TakePlanFields(MainSettings& settings, PlanPage page, const PlanPageFields& fields) {
    const PlanValues values = ValuesOf(settings, page);
    values.time = AtoI(fields.time);
    values.fee = WholeYuan(fields.fee);
    values.hangUp = fields.hangUp;
    values.soundFile = fields.soundFile;
}

}  // namespace quorlet
