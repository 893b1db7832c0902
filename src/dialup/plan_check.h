// The online plans: limits on the running connection's time and fee, and what happens when one
// is passed (hang up the program's own line, or play a sound). Page 1 ("每次") limits minutes,
// page 2 ("累计") hours; both measure the current connection alone.
#pragma once

#include <optional>
#include <string>

#include "dialup/dial_state.h"
#include "dialup/fee_calculator.h"
#include "dialup/online_recorder.h"
#include "dialup/period_timer.h"
#include "platform/clock.h"
#include "platform/remote_access.h"
#include "platform/sound.h"
#include "settings/main_settings.h"

namespace quorlet {

inline constexpr const char* kEnterPlanLimits = "请输入限制的时间和费用 !";
inline constexpr const char* kChooseSoundFile = "请选择一个声音文件 !";

enum class PlanPage { Session = 1, Total = 2 };

// The check a plan page makes when it is left: the message to show (title "提示") while the
// page must stay, or nullopt when its values can be taken.
std::optional<std::string> CheckPlanPage(const std::string& time, const std::string& fee,
                                         bool hangUp, const std::string& soundPath);

// A fee limit as typed on a page: whole yuan, as atoi reads it ("2.5" is 2).
double WholeYuan(const std::string& text);

// Whether a fee passes a limit, both compared in whole fen as "%0.2f" shows them: a fee shown as
// "6.00" does not pass 6 yuan, however binary fractions left it a trifle above.
bool FeeAboveLimit(double fee, double limit);

class PlanChecker {
public:
    PlanChecker(RemoteAccess& remoteAccess, DialState& dialState, const Clock& clock, Sound& sound,
                const MainSettings& settings, FeeCalculator& fees, const OnlineRecorder& recorder);

    // Plan execution; on at every start, toggled by the "执行计划" command.
    bool m_bPlanOn = true;
    void TogglePlan() { m_bPlanOn = !m_bPlanOn; }

    // One check (timers 6 and 7). Exactly one kind of limit is tested: the page-1 time limit,
    // else the page-2 time limit, else the fee limits. Returns the page whose action ran. There
    // is no memory of having acted: while a limit stays passed, every check acts again. The
    // connection's time is its real length (see PeriodTimer); while the clock reads before its
    // start, having been set back, nothing is tested.
    std::optional<PlanPage> CheckPlan();

    void RunPlanAction(PlanPage page);

    // The start the running connection is measured from: the recorder's start while it times
    // a period, otherwise the moment a check first saw the current connection up.
    std::optional<CivilTime> MeasuredFrom() const;

private:
    // The connection a check saw up, measured from that check while the recorder times
    // nothing. It is forgotten when a check finds the line down or another connection up (a
    // new handle), and when the plan hangs it up: a redial before the next check is new.
    struct SeenLine {
        PeriodTimer timer;
        std::string connection;
        RasHandle handle = 0;
    };
    // The running connection's timer and name: the recorder's period while it times one.
    struct Measured {
        const PeriodTimer* timer = nullptr;
        const std::string* connection = nullptr;
    };
    Measured MeasuredLine() const;

    RemoteAccess& m_remoteAccess;
    DialState& m_dialState;
    const Clock& m_clock;
    Sound& m_sound;
    const MainSettings& m_settings;
    FeeCalculator& m_fees;
    const OnlineRecorder& m_recorder;
    std::optional<SeenLine> m_seen;
};

}  // namespace quorlet
