// The remote-access service over rasapi32. Only the W functions are called, with the structures
// of the Windows 95/NT 4 level (the members of the first RAS release, nothing added later), laid
// out for this build's target as the system's own headers lay them out. The A structures of that
// level measure RASENTRYNAME 264, RASDIALPARAMS 1052, RASCONN 412 (32-bit) and RASCONNSTATUS
// 160 bytes; their W twins are pinned below. rasapi32 is loaded at run time, so a system without
// dial-up networking gives "no entries" and "no line" instead of refusing to start.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/remote_access.h"
#include "platform/win32/wide_text.h"

namespace quorlet {
namespace {

constexpr int kMaxEntryName = 256;
constexpr int kMaxPhoneNumber = 128;
constexpr int kMaxCallbackNumber = kMaxPhoneNumber;
constexpr int kMaxDeviceType = 16;
constexpr int kMaxDeviceName = 128;
constexpr int kUserNameLength = 256;  // UNLEN
constexpr int kPasswordLength = 256;  // PWLEN
constexpr int kDomainLength = 15;     // DNLEN

constexpr DWORD kErrorBufferTooSmall = 603;
constexpr std::size_t kHungUpKept = 16;
constexpr DWORD kErrorInvalidHandle = 6;
constexpr DWORD kErrorProcNotFound = 127;

struct RasEntryNameW400 {
    DWORD dwSize;
    WCHAR szEntryName[kMaxEntryName + 1];
};

struct RasDialParamsW400 {
    DWORD dwSize;
    WCHAR szEntryName[kMaxEntryName + 1];
    WCHAR szPhoneNumber[kMaxPhoneNumber + 1];
    WCHAR szCallbackNumber[kMaxCallbackNumber + 1];
    WCHAR szUserName[kUserNameLength + 1];
    WCHAR szPassword[kPasswordLength + 1];
    WCHAR szDomain[kDomainLength + 1];
};

struct RasConnW400 {
    DWORD dwSize;
    HANDLE hrasconn;
    WCHAR szEntryName[kMaxEntryName + 1];
    WCHAR szDeviceType[kMaxDeviceType + 1];
    WCHAR szDeviceName[kMaxDeviceName + 1];
};

struct RasConnStatusW400 {
    DWORD dwSize;
    DWORD rasconnstate;  // RASCONNSTATE
    DWORD dwError;
    WCHAR szDeviceType[kMaxDeviceType + 1];
    WCHAR szDeviceName[kMaxDeviceName + 1];
};

static_assert(sizeof(RasEntryNameW400) == 520);
static_assert(sizeof(RasDialParamsW400) == 2096);
static_assert(sizeof(RasConnW400) == (sizeof(void*) == 8 ? 824 : 816));
static_assert(sizeof(RasConnStatusW400) == 304);

// The notifier of type 1: it names the connection a report is for.
using RasDialFunc1 = void(WINAPI*)(HANDLE connection, UINT message, DWORD state, DWORD error,
                                   DWORD extendedError);
using EnumEntriesFn = DWORD(WINAPI*)(LPCWSTR reserved, LPCWSTR phoneBook, RasEntryNameW400*,
                                     LPDWORD size, LPDWORD count);
using DialFn = DWORD(WINAPI*)(void* extensions, LPCWSTR phoneBook, RasDialParamsW400*,
                              DWORD notifierType, void* notifier, HANDLE* connection);
using ErrorStringFn = DWORD(WINAPI*)(UINT code, LPWSTR buffer, DWORD size);
using HangUpFn = DWORD(WINAPI*)(HANDLE connection);
using EnumConnectionsFn = DWORD(WINAPI*)(RasConnW400*, LPDWORD size, LPDWORD count);
using ConnectStatusFn = DWORD(WINAPI*)(HANDLE connection, RasConnStatusW400*);

// The system calls the notifier with no context of the caller's, only the connection's handle:
// the dial in progress is reached through this slot. Its handle is known once RasDial returns;
// reports that come before that are the new dial's. A connection the program has hung up may
// still report (the system ends its dial thread in its own time): those reports, and reports of
// any other connection, must not reach the dial that replaced it.
struct DialSlot {
    std::mutex mutex;
    RemoteAccess::DialNotifier notifier;
    HANDLE connection = nullptr;  // the current dial's, once RasDial has returned
    std::vector<HANDLE> hungUp;   // connections hung up since they were dialled
};

DialSlot& Slot() {
    static DialSlot slot;
    return slot;
}

void WINAPI OnDialProgress(HANDLE connection, UINT, DWORD state, DWORD error, DWORD) {
    RemoteAccess::DialNotifier notifier;
    {
        DialSlot& slot = Slot();
        std::lock_guard lock(slot.mutex);
        const bool hungUp =
            std::find(slot.hungUp.begin(), slot.hungUp.end(), connection) != slot.hungUp.end();
        const bool current = slot.connection == nullptr || slot.connection == connection;
        if (hungUp || !current) {
            return;
        }
        notifier = slot.notifier;
    }
    if (notifier) {
        notifier(state, error);
    }
}

template <std::size_t N>
void CopyWide(WCHAR (&target)[N], const std::string& gbkText) {
    const std::wstring wide = win32::ToWide(gbkText);
    const std::size_t length = wide.size() < N - 1 ? wide.size() : N - 1;
    wide.copy(target, length);
    target[length] = L'\0';
}

class Win32RemoteAccess final : public RemoteAccess {
public:
    Win32RemoteAccess() {
        m_library = LoadLibraryW(L"rasapi32.dll");
        if (m_library != nullptr) {
            m_enumEntries = Load<EnumEntriesFn>("RasEnumEntriesW");
            m_dial = Load<DialFn>("RasDialW");
            m_errorString = Load<ErrorStringFn>("RasGetErrorStringW");
            m_hangUp = Load<HangUpFn>("RasHangUpW");
            m_enumConnections = Load<EnumConnectionsFn>("RasEnumConnectionsW");
            m_connectStatus = Load<ConnectStatusFn>("RasGetConnectStatusW");
        }
    }
    ~Win32RemoteAccess() override {
        {
            std::lock_guard lock(Slot().mutex);
            Slot().notifier = nullptr;
        }
        if (m_library != nullptr) {
            FreeLibrary(m_library);
        }
    }
    Win32RemoteAccess(const Win32RemoteAccess&) = delete;
    Win32RemoteAccess& operator=(const Win32RemoteAccess&) = delete;

    std::optional<std::vector<std::string>> EnumEntries() override {
        if (m_enumEntries == nullptr) {
            return std::nullopt;
        }
        // Once with one entry to learn the size, then with room for all of them.
        std::vector<RasEntryNameW400> entries(1);
        entries[0].dwSize = sizeof(RasEntryNameW400);
        DWORD size = sizeof(RasEntryNameW400);
        DWORD count = 0;
        DWORD result = m_enumEntries(nullptr, nullptr, entries.data(), &size, &count);
        if (result == kErrorBufferTooSmall) {
            entries.assign(size / sizeof(RasEntryNameW400) + 1, RasEntryNameW400{});
            entries[0].dwSize = sizeof(RasEntryNameW400);
            size = static_cast<DWORD>(entries.size() * sizeof(RasEntryNameW400));
            result = m_enumEntries(nullptr, nullptr, entries.data(), &size, &count);
        }
        if (result != 0) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (DWORD i = 0; i < count && i < entries.size(); ++i) {
            names.push_back(win32::FromWide(entries[i].szEntryName));
        }
        return names;
    }

    unsigned Dial(const std::string& entry, const std::string& user, const std::string& password,
                  DialNotifier notifier, RasHandle& handle) override {
        handle = 0;
        if (m_dial == nullptr) {
            return kErrorProcNotFound;
        }
        RasDialParamsW400 params{};
        params.dwSize = sizeof(RasDialParamsW400);
        CopyWide(params.szEntryName, entry);
        CopyWide(params.szUserName, user);
        CopyWide(params.szPassword, password);
        CopyWide(params.szDomain, "*");
        DialSlot& slot = Slot();
        {
            std::lock_guard lock(slot.mutex);
            slot.notifier = std::move(notifier);
            slot.connection = nullptr;
        }
        HANDLE connection = nullptr;
        const DWORD result = m_dial(nullptr, nullptr, &params, 1,
                                    reinterpret_cast<void*>(&OnDialProgress), &connection);
        SecureZeroMemory(params.szPassword, sizeof params.szPassword);
        {
            std::lock_guard lock(slot.mutex);
            slot.connection = connection;
            // The system may give a handle it had given before to a new connection.
            std::erase(slot.hungUp, connection);
        }
        handle = reinterpret_cast<RasHandle>(connection);
        return result;
    }

    std::optional<std::string> ErrorString(unsigned code) override {
        if (m_errorString == nullptr) {
            return std::nullopt;
        }
        WCHAR buffer[512] = {};
        if (m_errorString(code, buffer, static_cast<DWORD>(std::size(buffer))) != 0) {
            return std::nullopt;
        }
        return win32::FromWide(buffer);
    }

    unsigned HangUp(RasHandle handle) override {
        if (m_hangUp == nullptr) {
            return kErrorProcNotFound;
        }
        const auto connection = reinterpret_cast<HANDLE>(handle);
        {
            DialSlot& slot = Slot();
            std::lock_guard lock(slot.mutex);
            if (std::find(slot.hungUp.begin(), slot.hungUp.end(), connection) ==
                slot.hungUp.end()) {
                slot.hungUp.push_back(connection);
            }
            // Only recent connections may still report; the list stays short.
            if (slot.hungUp.size() > kHungUpKept) {
                slot.hungUp.erase(slot.hungUp.begin());
            }
        }
        const DWORD result = m_hangUp(connection);
        if (result == 0 && m_connectStatus != nullptr) {
            // The port is free only when the connection has really gone; dialling again at once
            // would otherwise find it busy. Wait for that, three seconds at most.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            while (std::chrono::steady_clock::now() < deadline) {
                RasConnStatusW400 status{};
                status.dwSize = sizeof(RasConnStatusW400);
                if (m_connectStatus(connection, &status) == kErrorInvalidHandle) {
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        return result;
    }

    std::optional<std::vector<Connection>> EnumConnections() override {
        if (m_enumConnections == nullptr) {
            return std::nullopt;
        }
        std::vector<RasConnW400> connections(20);
        connections[0].dwSize = sizeof(RasConnW400);
        DWORD size = static_cast<DWORD>(connections.size() * sizeof(RasConnW400));
        DWORD count = 0;
        if (m_enumConnections(connections.data(), &size, &count) != 0) {
            return std::nullopt;
        }
        std::vector<Connection> result;
        for (DWORD i = 0; i < count && i < connections.size(); ++i) {
            result.push_back({reinterpret_cast<RasHandle>(connections[i].hrasconn),
                              win32::FromWide(connections[i].szEntryName)});
        }
        return result;
    }

    std::optional<unsigned> ConnectState(RasHandle handle) override {
        if (m_connectStatus == nullptr) {
            return std::nullopt;
        }
        RasConnStatusW400 status{};
        status.dwSize = sizeof(RasConnStatusW400);
        if (m_connectStatus(reinterpret_cast<HANDLE>(handle), &status) != 0) {
            return std::nullopt;
        }
        return status.rasconnstate;
    }

private:
    template <typename Fn>
    Fn Load(const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m_library, name)));
    }

    HMODULE m_library = nullptr;
    EnumEntriesFn m_enumEntries = nullptr;
    DialFn m_dial = nullptr;
    ErrorStringFn m_errorString = nullptr;
    HangUpFn m_hangUp = nullptr;
    EnumConnectionsFn m_enumConnections = nullptr;
    ConnectStatusFn m_connectStatus = nullptr;
};

}  // namespace

std::unique_ptr<RemoteAccess> MakeSystemRemoteAccess() {
    return std::make_unique<Win32RemoteAccess>();
}

}  // namespace quorlet
