// What the dial-up window does with the progress of one dial, without the window: which dial a
// report belongs to, and whether it is progress, the end of a requested close, a failure or the
// connection. The remote-access service reports on a thread of its own and may still report for
// a dial the window has hung up or replaced by a redial; every dial therefore carries a number,
// and a report of any dial but the current one goes nowhere.
#pragma once

#include <cstdint>
#include <string>

#include "dialup/dial_settings.h"
#include "platform/remote_access.h"

namespace quorlet {

// The private message the dial notifier posts to the dial-up window (WM_DIALNOTIFY): wParam
// holds the state in its low 16 bits (every state the service knows fits) and the dial's number
// above them, lParam the error code (0 = none). It lies in the application's own range (WM_APP
// and up): 0xCCCD would lie among the numbers the system hands out for registered messages,
// which other programs may broadcast to every top-level window.
inline constexpr unsigned kDialNotifyMessage = 0x8000 + 0xCCD;

std::uintptr_t PackDialReport(unsigned dial, unsigned state);
unsigned ReportedDial(std::uintptr_t packed);
unsigned ReportedState(std::uintptr_t packed);

class DialProgress {
public:
    enum class Outcome {
        Ignore,     // a report of a dial that is no longer the current one
        Progress,   // the dial goes on: show the state
        Close,      // the window was closed during the dial: hang up and close now
        Failed,     // an error, or the line went down before it was ever up
        Connected,  // the program's own line is up
    };

    // The window opens: no dial, no request. The numbers go on, so that no report of a dial from
    // an earlier opening can pass for a new one.
    void Reset() {
        m_nDial = 0;
        m_bCloseRequested = false;
    }
    // A dial begins: its number, never 0. It replaces any earlier dial, hung up or not, so that
    // nothing left from an earlier dial can act on this one.
    unsigned Begin();
    // The dial is over without a report to end it: the user (or the redial timer) hung up, or
    // the service refused it at once. Every later report of it, one the system may still send
    // after a hang-up included, goes nowhere; and nothing of the hang-up outlives the next Begin,
    // so a hang-up the system never reports cannot swallow a report of the next dial.
    void End() { m_nDial = 0; }
    // The window is closed while dialling: the next report of the dial closes it.
    void RequestClose() { m_bCloseRequested = true; }

    // One report; any outcome but Progress and Ignore ends the dial.
    Outcome OnReport(std::uintptr_t packed, unsigned error);

    bool Dialing() const { return m_nDial != 0; }
    bool CloseRequested() const { return m_bCloseRequested; }

private:
    unsigned m_nDial = 0;      // the current dial; 0 when none runs
    unsigned m_nLastDial = 0;  // the number last handed out
    bool m_bCloseRequested = false;
};

// The redial time of the window's interval text: atoi's reading in seconds; 0 (no redial) when
// it is not above 0.
unsigned RedialMilliseconds(const std::string& interval);

// Dials entry with the window's values. Returns 0 when the dial started (handle set), or the
// error the service gave at once; a handle the failed call still left is hung up, so that the
// port is free for the next try, and handle is then 0.
unsigned StartDial(RemoteAccess& remoteAccess, const std::string& entry,
                   const DialSettings& settings, RemoteAccess::DialNotifier notifier,
                   RasHandle& handle);

}  // namespace quorlet
