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

bool IsLineConnected(RemoteAccess& remoteAccess, std::string& connectionName) {
    const auto connections = remoteAccess.EnumConnections();
    if (!connections || connections->empty()) {
        return false;
    }
    for (const RemoteAccess::Connection& connection : *connections) {
        const auto state = remoteAccess.ConnectState(connection.handle);
        if (state && *state == RasState::kConnected) {
            connectionName = connection.entryName;
            return true;
        }
    }
    return false;
}

}  // namespace quorlet
