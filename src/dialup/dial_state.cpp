#include "dialup/dial_state.h"

namespace quorlet {

DialState& TheDialState() {
    static DialState state;
    return state;
}

void HangUpOwnConnection(RemoteAccess& remoteAccess, DialState& state) {
    if (state.hConn != 0) {
        remoteAccess.HangUp(state.hConn);
    }
    state.hConn = 0;
    state.bOnline = false;
}

namespace {

bool IsConnected(RemoteAccess& remoteAccess, RasHandle handle) {
    const auto state = remoteAccess.ConnectState(handle);
    return state && *state == RasState::kConnected;
}

}  // namespace

std::optional<RemoteAccess::Connection> FindConnectedLine(RemoteAccess& remoteAccess,
                                                          RasHandle ownConnection) {
    if (const auto connections = remoteAccess.EnumConnections()) {
        for (const RemoteAccess::Connection& connection : *connections) {
            if (IsConnected(remoteAccess, connection.handle)) {
                return connection;
            }
        }
    }
    if (ownConnection != 0 && IsConnected(remoteAccess, ownConnection)) {
        return RemoteAccess::Connection{ownConnection, {}};
    }
    return std::nullopt;
}

bool IsLineConnected(RemoteAccess& remoteAccess, std::string& connectionName) {
    const auto line = FindConnectedLine(remoteAccess, 0);
    if (!line) {
        return false;
    }
    connectionName = line->entryName;
    return true;
}

}  // namespace quorlet
