// There is no dial-up networking here: the service is a simulator with an empty phone book and
// no line, so that the program and the command-line tool behave as on a machine without
// dial-up connections.
#include <memory>

#include "platform/simulated_remote_access.h"

namespace quorlet {

std::unique_ptr<RemoteAccess> MakeSystemRemoteAccess() {
    return std::make_unique<SimulatedRemoteAccess>();
}

}  // namespace quorlet
