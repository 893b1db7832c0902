// The dial-up (remote access) operations the program uses: the phone-book entries, dialling with
// progress reports, error texts, hanging up, the active connections and their state. On Windows
// this is rasapi32; elsewhere, and under Wine, a simulator driven by a phone book, a scripted
// dial progress and a line that tests (or the DialSim.ini file) bring up and down.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorlet {

// A connection handle; 0 is none.
using RasHandle = std::uintptr_t;

// RASCONNSTATE values the program looks at.
namespace RasState {
inline constexpr unsigned kOpenPort = 0;
inline constexpr unsigned kPortOpened = 1;
inline constexpr unsigned kConnectDevice = 2;
inline constexpr unsigned kDeviceConnected = 3;
inline constexpr unsigned kAllDevicesConnected = 4;
inline constexpr unsigned kAuthenticate = 5;
inline constexpr unsigned kAuthNotify = 6;
inline constexpr unsigned kAuthProject = 10;
inline constexpr unsigned kAuthenticated = 14;
inline constexpr unsigned kConnected = 0x2000;
inline constexpr unsigned kDisconnected = 0x2001;
inline constexpr unsigned kDoneBit = 0x2000;  // set in Connected and Disconnected
}  // namespace RasState

class RemoteAccess {
public:
    struct Connection {
        RasHandle handle = 0;
        std::string entryName;
    };
    // Called on a thread of the service's own with each progress state and error (0 = none).
    using DialNotifier = std::function<void(unsigned state, unsigned error)>;

    virtual ~RemoteAccess() = default;

    // RasEnumEntries: the entry names of the default phone book; nullopt on failure.
    virtual std::optional<std::vector<std::string>> EnumEntries() = 0;

    // RasDial: starts dialling entry with the credentials (domain "*", the entry's own number).
    // Returns 0 and sets handle, or an error code (handle may still be set and must be hung up).
    virtual unsigned Dial(const std::string& entry, const std::string& user,
                          const std::string& password, DialNotifier notifier,
                          RasHandle& handle) = 0;

    // RasGetErrorString: the system's text for an error code; nullopt when there is none.
    virtual std::optional<std::string> ErrorString(unsigned code) = 0;

    // RasHangUp.
    virtual unsigned HangUp(RasHandle handle) = 0;

    // RasEnumConnections into room for 20 connections; nullopt on failure (or more than 20).
    virtual std::optional<std::vector<Connection>> EnumConnections() = 0;

    // RasGetConnectStatus: the connection's state; nullopt on failure.
    virtual std::optional<unsigned> ConnectState(RasHandle handle) = 0;
};

// The service the program uses, chosen once at start-up: the simulator described by
// "DialSim.ini" when programFolder holds that file, otherwise this platform's own service.
std::unique_ptr<RemoteAccess> MakeRemoteAccess(const std::string& programFolder);

// This platform's own service: rasapi32 on Windows; elsewhere a simulator with an empty phone
// book and no line.
std::unique_ptr<RemoteAccess> MakeSystemRemoteAccess();

}  // namespace quorlet
