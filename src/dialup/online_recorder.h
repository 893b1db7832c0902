// The recorder of online periods: watched once a second while recording is on, it times every
// period from the moment the line is seen up (less "AheadTime") to the moment it is gone,
// prices it, adds the fees to the running totals and appends a record to ".\Fee.ini".
#pragma once

#include <optional>
#include <string>

#include "base/civil_time.h"
#include "dialup/dial_state.h"
#include "dialup/fee_calculator.h"
#include "dialup/period_timer.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/remote_access.h"
#include "settings/main_settings.h"

namespace quorlet {

inline constexpr const char* kFeeIniPath = ".\\Fee.ini";
inline constexpr const char* kClockWentBack = "系统时间出错,停止计时 !";
// Title "错误": the period could not be written to the log, so it was not added to the totals.
inline constexpr const char* kLogNotWritten = "无法写入记录文件,本次上网未记录 !";

class OnlineRecorder {
public:
    // The running totals are the settings' accumulated fees (m_dPhoneFee, m_dNetFee), saved
    // with the other settings.
    OnlineRecorder(RemoteAccess& remoteAccess, DialState& dialState, const Clock& clock,
                   Prompter& prompter, MainSettings& settings, FeeCalculator& fees,
                   std::string feeLogPath = kFeeIniPath);

    enum class LineChange {
        None,
        PeriodBegan,  // the window has nothing to do
        PeriodEnded,  // the window cuts the online time off the tray tips
    };

    // One tick of the line watch.
    LineChange WatchLine();

    // Ends and prices the period. The period lasts its real length from its start, whatever the
    // clock showed meanwhile. False (after the message kClockWentBack) when the clock was set
    // back before the period's start.
    bool EndPeriod();
    // Appends the period as the next record of the log. False when the log cannot be read or
    // written; an existing log that cannot be read is left as it is.
    bool AppendRecord();
    // EndPeriod, then AppendRecord when the period could be priced (a period the clock was set
    // back across is not logged), then the period's fees are added to the totals. A period the
    // log could not take is reported (kLogNotWritten) and not added: the totals never hold a
    // period the log does not.
    void ClosePeriod();
    // The exit and shutdown paths: closes a running period once, so that a later line-down
    // (when the system's shutdown was cancelled) starts a fresh period instead of logging the
    // same time again.
    void CloseOnExit();

    // The online-time text of the tray tips, " 联网时间:%d小时%d分", while a period is timed.
    std::optional<std::string> ShowOnlineTime();

    // The running (or last) period's timer, and the connection it was seen on: the period is
    // priced with that connection's tariff and logged under its name.
    const PeriodTimer& Period() const { return m_period; }
    const std::string& PeriodConnection() const { return m_strPeriodConn; }

    // Clears the totals when today is the settlement day and "AutoClear" is on.
    void SettleOnExit();

    bool m_bRecording = false;  // a period is being timed
    bool m_bLineUp = false;     // the watch has seen the line up
    CivilTime m_timeStart;
    CivilTime m_timeEnd;
    double m_dPhoneFee = 0.0;  // fees of the last priced period
    double m_dNetFee = 0.0;

private:
    RemoteAccess& m_remoteAccess;
    DialState& m_dialState;
    const Clock& m_clock;
    Prompter& m_prompter;
    MainSettings& m_settings;
    FeeCalculator& m_fees;
    std::string m_feeLogPath;
    PeriodTimer m_period;
    std::string m_strPeriodConn;
    RasHandle m_periodHandle = 0;  // the connection the period times
};

// "%d:%d:%d" of a duration in seconds: hours (days included), minutes, seconds, not padded.
std::string FormatConnected(std::int64_t seconds);

}  // namespace quorlet
