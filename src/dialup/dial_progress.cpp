#include "dialup/dial_progress.h"

#include "base/c_numbers.h"

namespace quorlet {

namespace {
constexpr unsigned kStateBits = 16;
constexpr unsigned kDialMask = 0xFFFF;  // numbers wrap within what every wParam can carry
}  // namespace

std::uintptr_t PackDialReport(unsigned dial, unsigned state) {
    return (static_cast<std::uintptr_t>(dial & kDialMask) << kStateBits) | (state & 0xFFFF);
}

unsigned ReportedDial(std::uintptr_t packed) {
    return static_cast<unsigned>(packed >> kStateBits) & kDialMask;
}

unsigned ReportedState(std::uintptr_t packed) {
    return static_cast<unsigned>(packed & 0xFFFF);
}

unsigned DialProgress::Begin() {
    m_nLastDial = (m_nLastDial % kDialMask) + 1;
    m_nDial = m_nLastDial;
    return m_nDial;
}

DialProgress::Outcome DialProgress::OnReport(std::uintptr_t packed, unsigned error) {
    if (m_nDial == 0 || ReportedDial(packed) != m_nDial) {
        return Outcome::Ignore;
    }
    const unsigned state = ReportedState(packed);
    Outcome outcome = Outcome::Progress;
    if (m_bCloseRequested) {
        outcome = Outcome::Close;
    } else if (error != 0 || state == RasState::kDisconnected) {
        // A line that reports itself down without an error has not connected either.
        outcome = Outcome::Failed;
    } else if (state == RasState::kConnected) {
        outcome = Outcome::Connected;
    }
    if (outcome != Outcome::Progress) {
        m_nDial = 0;
    }
    return outcome;
}

unsigned RedialMilliseconds(const std::string& interval) {
    // A stored value is not held to the three digits the window takes; the longest period a
    // timer has stays the limit.
    constexpr int kMaxSeconds = 0x7FFFFFFF / 1000;
    const int seconds = AtoI(interval);
    if (seconds <= 0) {
        return 0;
    }
    return static_cast<unsigned>(seconds < kMaxSeconds ? seconds : kMaxSeconds) * 1000u;
}

unsigned StartDial(RemoteAccess& remoteAccess, const std::string& entry,
                   const DialSettings& settings, RemoteAccess::DialNotifier notifier,
                   RasHandle& handle) {
    handle = 0;
    const unsigned error = remoteAccess.Dial(entry, settings.m_strUser, settings.m_strPassword,
                                             std::move(notifier), handle);
    if (error != 0 && handle != 0) {
        remoteAccess.HangUp(handle);
        handle = 0;
    }
    return error;
}

}  // namespace quorlet
