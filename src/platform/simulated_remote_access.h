// A dial-up service without a modem: a phone book, a scripted dial progress reported on a thread
// of the service's own (as the system does), and a line that can be brought up and down, by the
// program's own dial or by "another program". Tests drive it directly; the program uses it when
// its folder holds "DialSim.ini", so that the dial-up features can be tried where the system has
// no dial-up networking (Wine has no phone book).
//
// DialSim.ini (profile-file format, every key optional):
//   [Entries]  Total=N, then 0=<entry name> ... N-1=<entry name>: the phone book.
//   [Dial]     States=<list>: the states each dial reports, in order, separated by commas
//                (decimal or 0x hex; default 0,1,2,3,4,5,6,10,14,0x2000);
//              Error=<code>: the error reported with the last state (default 0, success);
//              Result=<code>: the error the dial call returns at once (default 0: it starts);
//              Delay=<ms>: the pause before each report (default 300);
//              User=, Password=: when User is set, a dial with another user name or password
//                fails with error 691 at the first report after the authentication state.
//   [Line]     Other=<entry name>: a connection of another program is up while this names it;
//              Cut=1: the line is cut, every connection drops and none stays up.
//   The [Line] section is read again each time the program looks at the connections, so editing
//   the file while the program runs brings lines up and down. A ';' at the start of a value or
//   after a blank begins a comment; a value in quotes is taken whole.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/remote_access.h"

namespace quorlet {

// Error codes of the remote-access service that the simulator reports.
namespace RasError {
inline constexpr unsigned kInvalidHandle = 6;
inline constexpr unsigned kCannotFindEntry = 623;
inline constexpr unsigned kLineBusy = 676;
inline constexpr unsigned kNoAnswer = 678;
inline constexpr unsigned kNoDialTone = 680;
inline constexpr unsigned kAuthenticationFailure = 691;
}  // namespace RasError

class SimulatedRemoteAccess final : public RemoteAccess {
public:
    struct DialScript {
        std::vector<unsigned> states;
        unsigned finalError = 0;          // reported with the last state
        unsigned immediateError = 0;      // returned by Dial itself
        int delayMs = 300;                // pause before each report
        std::optional<std::string> user;  // expected credentials, when set
        std::string password;
    };

    // The standard progress of a successful dial.
    static std::vector<unsigned> StandardStates();

    SimulatedRemoteAccess();
    // Reads the phone book, the dial script and the line from a DialSim.ini file, and keeps
    // reading its [Line] section while running.
    explicit SimulatedRemoteAccess(std::string dialSimPath);
    // Stops every dial in progress (without further reports) and waits for its thread.
    ~SimulatedRemoteAccess() override;
    SimulatedRemoteAccess(const SimulatedRemoteAccess&) = delete;
    SimulatedRemoteAccess& operator=(const SimulatedRemoteAccess&) = delete;

    // --- RemoteAccess
    std::optional<std::vector<std::string>> EnumEntries() override;
    unsigned Dial(const std::string& entry, const std::string& user, const std::string& password,
                  DialNotifier notifier, RasHandle& handle) override;
    std::optional<std::string> ErrorString(unsigned code) override;
    unsigned HangUp(RasHandle handle) override;
    std::optional<std::vector<Connection>> EnumConnections() override;
    std::optional<unsigned> ConnectState(RasHandle handle) override;

    // --- Control
    void SetEntries(std::vector<std::string> entries);
    void SetDialScript(DialScript script);
    // A connection dialled by another program comes up (connected at once) or goes away.
    RasHandle BringUpOther(const std::string& entry);
    void TakeDownOther(const std::string& entry);
    // The line is lost: every connection, the program's own included, is gone.
    void CutLine();
    // Failure injection for the enumerations.
    void SetEnumEntriesFails(bool fails);
    void SetEnumConnectionsFails(bool fails);
    // Waits until every dial in progress has made its last report.
    void WaitUntilIdle();
    // Number of dial calls made, and the credentials of the last one.
    int DialCount() const;
    std::string LastDialUser() const;

private:
    struct SimConnection {
        RasHandle handle = 0;
        std::string entry;
        unsigned state = 0;
        bool own = false;  // dialled through Dial
    };

    void RunDial(RasHandle handle, DialScript script, DialNotifier notifier, bool credentialsMatch);
    bool IsAliveLocked(RasHandle handle) const;
    void RefreshLineFromFileLocked();
    RasHandle AddConnectionLocked(const std::string& entry, unsigned state, bool own);
    void JoinFinishedLocked(std::unique_lock<std::mutex>& lock);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::string> m_entries;
    DialScript m_script;
    std::vector<SimConnection> m_connections;
    RasHandle m_nextHandle = 0x100;
    bool m_enumEntriesFails = false;
    bool m_enumConnectionsFails = false;
    bool m_stopping = false;
    int m_dialCount = 0;
    std::string m_lastUser;
    std::map<RasHandle, std::thread> m_dialThreads;
    std::vector<RasHandle> m_finishedDials;
    int m_runningDials = 0;
    std::condition_variable m_idle;
    // Set when the simulation comes from a file: its [Line] section is followed.
    std::optional<std::string> m_dialSimPath;
    std::string m_fileOther;  // the other program's entry last read from the file
};

}  // namespace quorlet
