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

std::optional<RemoteAccess::Connection> FindConnectedLine(RemoteAccess& remoteAccess) {
    const auto connections = remoteAccess.EnumConnections();
    if (!connections) {
        return std::nullopt;
    }
    for (const RemoteAccess::Connection& connection : *connections) {
        const auto state = remoteAccess.ConnectState(connection.handle);
        if (state && *state == RasState::kConnected) {
            return connection;
        }
    }
    return std::nullopt;
}

bool IsLineConnected(RemoteAccess& remoteAccess, std::string& connectionName) {
    const auto line = FindConnectedLine(remoteAccess);
    if (!line) {
        return false;
    }
    connectionName = line->entryName;
    return true;
}

}  // namespace quorlet
