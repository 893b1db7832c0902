// The process-wide dial-up state: the program's own connection, the online flag and the open
// dial-up window. Touched on the interface thread only.
#pragma once

#include <optional>
#include <string>

#include "platform/remote_access.h"

namespace quorlet {

class CDialDlg;

struct DialState {
    RasHandle hConn = 0;           // the program's own dial attempt or connection
    bool bOnline = false;          // the program's own dial reached the connected state
    CDialDlg* pDialDlg = nullptr;  // the open dial-up window, if any
};

// The one instance of the process.
DialState& TheDialState();

// Hangs up the program's own connection when it holds one, and clears the handle and the online
// flag. A line dialled by another program is left alone.
void HangUpOwnConnection(RemoteAccess& remoteAccess, DialState& state);

// The line test: the first dial-up connection (whoever dialled it) in the connected state, or
// nullopt when there is none. When the system's list fails (or shows nothing connected), the
// program's own connection ownConnection (0: none) is asked after directly: a list that failed
// once says nothing about a line that is still up, and taking it for down would make the
// program forget its own connection. Found that way, the connection's entry name is empty.
std::optional<RemoteAccess::Connection> FindConnectedLine(RemoteAccess& remoteAccess,
                                                          RasHandle ownConnection);

// The line test as a yes or no: the connected line's entry name is then stored in
// connectionName, which otherwise keeps its value.
bool IsLineConnected(RemoteAccess& remoteAccess, std::string& connectionName);

}  // namespace quorlet
