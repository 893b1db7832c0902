#include "dialup/online_recorder.h"

#include <cstdio>

#include "base/c_numbers.h"
#include "base/profile_file.h"
#include "dialup/online_log.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"

namespace quorlet {

std::string FormatConnected(std::int64_t seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%lld:%lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

OnlineRecorder::OnlineRecorder(RemoteAccess& remoteAccess, DialState& dialState, const Clock& clock,
                               Prompter& prompter, MainSettings& settings, FeeCalculator& fees,
                               std::string feeLogPath)
    : m_remoteAccess(remoteAccess),
      m_dialState(dialState),
      m_clock(clock),
      m_prompter(prompter),
      m_settings(settings),
      m_fees(fees),
      m_feeLogPath(std::move(feeLogPath)) {}

OnlineRecorder::LineChange OnlineRecorder::WatchLine() {
    const auto line = FindConnectedLine(m_remoteAccess, m_dialState.hConn);
    if (line) {
        // Without a name the line was found by asking after the program's own connection
        // alone, the system's list having failed: that says nothing about a new connection.
        const bool listed = !line->entryName.empty();
        if (listed) {
            m_fees.m_strConnName = line->entryName;
        }
        if (m_bLineUp) {
            if (!listed || line->handle == m_periodHandle) {
                return LineChange::None;
            }
            // Another handle: the connection timed went down and a new one came up between two
            // looks (dialled again at once after a plan hung up). The new one is a period of
            // its own, not more time of the old one.
            m_bRecording = false;
            m_bLineUp = false;
            ClosePeriod();
        }
        m_periodHandle = line->handle;
        m_period = PeriodTimer(m_clock, m_settings.m_nAheadTime);
        m_timeStart = m_period.Start();
        m_strPeriodConn = m_fees.m_strConnName;
        m_bRecording = true;
        m_bLineUp = true;
        m_fees.LoadTariff(m_fees.m_strConnName);
        return LineChange::PeriodBegan;
    }
    if (!m_bLineUp) {
        return LineChange::None;
    }
    m_bRecording = false;
    m_bLineUp = false;
    // The line is gone: nothing to hang up, but the program no longer holds a connection.
    m_dialState.hConn = 0;
    m_dialState.bOnline = false;
    m_fees.LoadTariff(m_fees.m_strConnName);
    ClosePeriod();
    return LineChange::PeriodEnded;
}

bool OnlineRecorder::EndPeriod() {
    const PeriodTimer::Span span = m_period.Measure(m_clock);
    if (span.clockSetBack) {
        m_timeEnd = m_clock.Now();
        m_prompter.Error(kClockWentBack);
        return false;
    }
    m_timeEnd = span.end;
    const PeriodPrice price = m_fees.PriceConnectionPeriod(m_strPeriodConn, m_timeStart, m_timeEnd);
    m_dPhoneFee = price.phoneFee;
    m_dNetFee = price.netFee;
    return true;
}

bool OnlineRecorder::AppendRecord() {
    std::optional<ProfileFile> file = LoadProfileFileForUpdate(m_feeLogPath);
    if (!file) {
        return false;
    }
    ProfileFile& log = *file;
    const std::int64_t n = NextRecordIndex(log);
    const std::string section = std::to_string(n);
    char fee[64];
    log.SetString(section, "Start", m_timeStart.ToString());
    log.SetString(section, "End", m_timeEnd.ToString());
    log.SetString(section, "Connected",
                  FormatConnected(m_timeEnd.Seconds() - m_timeStart.Seconds()));
    std::snprintf(fee, sizeof fee, "%0.2f", m_dPhoneFee);
    log.SetString(section, "PhoneFee", fee);
    std::snprintf(fee, sizeof fee, "%0.2f", m_dNetFee);
    log.SetString(section, "NetFee", fee);
    log.SetString(section, "Name", m_strPeriodConn);
    log.SetString("Main", "Total", std::to_string(n + 1));
    return WriteFileAtomically(m_feeLogPath, log.Text());
}

void OnlineRecorder::ClosePeriod() {
    if (!EndPeriod()) {
        return;
    }
    if (!AppendRecord()) {
        m_prompter.Error(kLogNotWritten);
        return;
    }
    m_settings.m_dPhoneFee += m_dPhoneFee;
    m_settings.m_dNetFee += m_dNetFee;
}

void OnlineRecorder::CloseOnExit() {
    if (!m_bRecording) {
        return;
    }
    ClosePeriod();
    m_bRecording = false;
    m_bLineUp = false;
}

std::optional<std::string> OnlineRecorder::ShowOnlineTime() {
    if (!m_bRecording) {
        return std::nullopt;
    }
    const PeriodTimer::Span span = m_period.Measure(m_clock);
    m_timeEnd = span.end;
    const std::int64_t seconds = span.seconds;
    char text[64];
    std::snprintf(text, sizeof text, " 联网时间:%lld小时%lld分",
                  static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60));
    return text;
}

void OnlineRecorder::SettleOnExit() {
    if (m_settings.m_bAutoClear && m_clock.Now().day == m_settings.DayClear()) {
        m_settings.m_dPhoneFee = 0.0;
        m_settings.m_dNetFee = 0.0;
    }
}

}  // namespace quorlet
