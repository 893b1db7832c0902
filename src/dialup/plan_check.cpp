#include "dialup/plan_check.h"

#include <cstdio>

#include "base/c_numbers.h"

namespace quorlet {
namespace {

// The amount as "%0.2f" shows it, in fen.
std::int64_t FenAsShown(double yuan) {
    char text[400];
    std::snprintf(text, sizeof text, "%0.2f", yuan);
    std::string digits = text;
    const std::size_t point = digits.find('.');
    if (point != std::string::npos) {
        digits.erase(point, 1);
    }
    return AtoI64(digits);
}

}  // namespace

std::optional<std::string> CheckPlanPage(const std::string& time, const std::string& fee,
                                         bool hangUp, const std::string& soundPath) {
    if (time.empty() || fee.empty()) {
        return kEnterPlanLimits;
    }
    if (!hangUp && soundPath.empty()) {
        return kChooseSoundFile;
    }
    return std::nullopt;
}

double WholeYuan(const std::string& text) {
    return AtoI(text);
}

bool FeeAboveLimit(double fee, double limit) {
    return FenAsShown(fee) > FenAsShown(limit);
}

PlanChecker::PlanChecker(RemoteAccess& remoteAccess, DialState& dialState, const Clock& clock,
                         Sound& sound, const MainSettings& settings, FeeCalculator& fees,
                         const OnlineRecorder& recorder)
    : m_remoteAccess(remoteAccess),
      m_dialState(dialState),
      m_clock(clock),
      m_sound(sound),
      m_settings(settings),
      m_fees(fees),
      m_recorder(recorder) {}

PlanChecker::Measured PlanChecker::MeasuredLine() const {
    if (m_recorder.m_bRecording) {
        return {&m_recorder.Period(), &m_recorder.PeriodConnection()};
    }
    if (m_seen) {
        return {&m_seen->timer, &m_seen->connection};
    }
    return {};
}

std::optional<CivilTime> PlanChecker::MeasuredFrom() const {
    const Measured line = MeasuredLine();
    if (line.timer == nullptr) {
        return std::nullopt;
    }
    return line.timer->Start();
}

std::optional<PlanPage> PlanChecker::CheckPlan() {
    const std::optional<RemoteAccess::Connection> connected =
        FindConnectedLine(m_remoteAccess, m_dialState.hConn);
    if (!connected) {
        m_seen.reset();
        return std::nullopt;
    }
    // Without a name the connection was found by asking after the program's own line alone,
    // the system's list having failed: that says nothing about which connection is new.
    const bool listed = !connected->entryName.empty();
    if (listed) {
        m_fees.m_strConnName = connected->entryName;
    }
    if (!m_seen || (listed && m_seen->handle != connected->handle)) {
        m_seen = SeenLine{PeriodTimer(m_clock, 0), m_fees.m_strConnName, connected->handle};
    }
    if (!m_bPlanOn) {
        return std::nullopt;
    }
    const Measured line = MeasuredLine();
    const PeriodTimer::Span span = line.timer->Measure(m_clock);
    if (span.clockSetBack) {
        return std::nullopt;
    }
    const std::int64_t seconds = span.seconds;
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;

    const MainSettings& s = m_settings;
    std::optional<PlanPage> fired;
    if (s.m_nSessionTimeLimit != 0) {
        if (60 * hours + minutes >= s.m_nSessionTimeLimit) {
            fired = PlanPage::Session;
        }
    } else if (s.m_nTotalTimeLimit != 0) {
        if (hours >= s.m_nTotalTimeLimit) {
            fired = PlanPage::Total;
        }
    } else if (s.m_dSessionFeeLimit != 0 || s.m_dTotalFeeLimit != 0) {
        const PeriodPrice price =
            m_fees.PriceConnectionPeriod(*line.connection, line.timer->Start(), span.end);
        const double fee = price.phoneFee + price.netFee;
        if (s.m_dSessionFeeLimit != 0 && FeeAboveLimit(fee, s.m_dSessionFeeLimit)) {
            fired = PlanPage::Session;
        } else if (s.m_dTotalFeeLimit != 0 && FeeAboveLimit(fee, s.m_dTotalFeeLimit)) {
            fired = PlanPage::Total;
        }
    }
    if (fired) {
        RunPlanAction(*fired);
    }
    return fired;
}

void PlanChecker::RunPlanAction(PlanPage page) {
    const bool session = page == PlanPage::Session;
    const bool hangUp = session ? m_settings.m_bSessionHangUp : m_settings.m_bTotalHangUp;
    if (hangUp) {
        if (m_dialState.hConn != 0) {
            m_seen.reset();
        }
        HangUpOwnConnection(m_remoteAccess, m_dialState);
    } else {
        m_sound.PlayFileAsync(session ? m_settings.m_strSessionWav : m_settings.m_strTotalWav);
    }
}

}  // namespace quorlet
