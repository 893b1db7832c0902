#include "platform/simulated_remote_access.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "base/c_numbers.h"
#include "base/profile_file.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"

namespace quorlet {
namespace {

// The system's own connection list holds 20 connections.
constexpr std::size_t kMaxConnections = 20;

std::string Trim(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    const auto end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

// A number as written in DialSim.ini: decimal, or hexadecimal after "0x".
unsigned ParseNumber(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.size() > 2 && trimmed[0] == '0' && (trimmed[1] == 'x' || trimmed[1] == 'X')) {
        return static_cast<unsigned>(std::strtoul(trimmed.c_str() + 2, nullptr, 16));
    }
    return static_cast<unsigned>(AtoI(trimmed));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A value of DialSim.ini, or fallback when the key is missing. Unlike the program's data files,
// this file is written by hand, so a ';' at the start of a value or after a blank begins a
// comment, as in the sample of the README; a value in quotes is taken whole, comment marks
// and blanks included.
std::string SimValue(const ProfileFile& file, std::string_view section, std::string_view key,
                     std::string_view fallback) {
    const std::optional<std::string> found = file.Find(section, key);
    if (!found) {
        return std::string(fallback);
    }
    const std::string_view value = *found;
    if (!value.empty() && (value[0] == '"' || value[0] == '\'')) {
        const std::size_t close = value.find(value[0], 1);
        if (close != std::string_view::npos) {
            return std::string(value.substr(1, close - 1));
        }
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == ';' && (i == 0 || IsBlank(value[i - 1]))) {
            return Trim(value.substr(0, i));
        }
    }
    return Trim(value);
}

std::vector<unsigned> ParseStates(std::string_view list) {
    std::vector<unsigned> states;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = list.find(',', start);
        const std::string_view item = list.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (!Trim(item).empty()) {
            states.push_back(ParseNumber(item));
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return states;
}

}  // namespace

std::vector<unsigned> SimulatedRemoteAccess::StandardStates() {
    return {RasState::kOpenPort,        RasState::kPortOpened,          RasState::kConnectDevice,
            RasState::kDeviceConnected, RasState::kAllDevicesConnected, RasState::kAuthenticate,
            RasState::kAuthNotify,      RasState::kAuthProject,         RasState::kAuthenticated,
            RasState::kConnected};
}

SimulatedRemoteAccess::SimulatedRemoteAccess() {
    m_script.states = StandardStates();
}

SimulatedRemoteAccess::SimulatedRemoteAccess(std::string dialSimPath) : SimulatedRemoteAccess() {
    const ProfileFile file = LoadProfileFile(dialSimPath);
    const int total = AtoI(SimValue(file, "Entries", "Total", "0"));
    for (int i = 0; i < total; ++i) {
        const std::string name = SimValue(file, "Entries", std::to_string(i), "");
        if (!name.empty()) {
            m_entries.push_back(name);
        }
    }
    if (file.Find("Dial", "States")) {
        m_script.states = ParseStates(SimValue(file, "Dial", "States", ""));
    }
    m_script.finalError = ParseNumber(SimValue(file, "Dial", "Error", "0"));
    m_script.immediateError = ParseNumber(SimValue(file, "Dial", "Result", "0"));
    m_script.delayMs = AtoI(SimValue(file, "Dial", "Delay", "300"));
    const std::string user = SimValue(file, "Dial", "User", "");
    if (!user.empty()) {
        m_script.user = user;
        m_script.password = SimValue(file, "Dial", "Password", "");
    }
    m_dialSimPath = std::move(dialSimPath);
    std::lock_guard lock(m_mutex);
    RefreshLineFromFileLocked();
}

SimulatedRemoteAccess::~SimulatedRemoteAccess() {
    std::map<RasHandle, std::thread> threads;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        threads.swap(m_dialThreads);
    }
    m_wake.notify_all();
    for (auto& [handle, thread] : threads) {
        thread.join();
    }
}

std::optional<std::vector<std::string>> SimulatedRemoteAccess::EnumEntries() {
    std::lock_guard lock(m_mutex);
    if (m_enumEntriesFails) {
        return std::nullopt;
    }
    return m_entries;
}

unsigned SimulatedRemoteAccess::Dial(const std::string& entry, const std::string& user,
                                     const std::string& password, DialNotifier notifier,
                                     RasHandle& handle) {
    std::unique_lock lock(m_mutex);
    JoinFinishedLocked(lock);
    ++m_dialCount;
    m_lastUser = user;
    handle = 0;
    if (m_script.immediateError != 0) {
        return m_script.immediateError;
    }
    if (std::find(m_entries.begin(), m_entries.end(), entry) == m_entries.end()) {
        return RasError::kCannotFindEntry;
    }
    handle = AddConnectionLocked(entry, RasState::kOpenPort, true);
    const bool credentialsMatch =
        !m_script.user || (user == *m_script.user && password == m_script.password);
    ++m_runningDials;
    m_dialThreads.emplace(handle, std::thread(&SimulatedRemoteAccess::RunDial, this, handle,
                                              m_script, std::move(notifier), credentialsMatch));
    return 0;
}

void SimulatedRemoteAccess::RunDial(RasHandle handle, DialScript script, DialNotifier notifier,
                                    bool credentialsMatch) {
    // With wrong credentials the report after the authentication step carries the failure.
    std::size_t failAt = script.states.empty() ? 0 : script.states.size() - 1;
    if (!credentialsMatch) {
        const auto auth =
            std::find(script.states.begin(), script.states.end(), RasState::kAuthenticate);
        if (auth != script.states.end() && auth + 1 != script.states.end()) {
            failAt = static_cast<std::size_t>(auth - script.states.begin()) + 1;
        }
    }
    for (std::size_t i = 0; i < script.states.size(); ++i) {
        unsigned state = script.states[i];
        unsigned error = 0;
        bool last = i + 1 == script.states.size();
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait_for(lock, std::chrono::milliseconds(std::max(script.delayMs, 0)),
                            [&] { return m_stopping || !IsAliveLocked(handle); });
            if (m_stopping || !IsAliveLocked(handle)) {
                break;  // hung up or cut: the system reports nothing more
            }
            if (!credentialsMatch && i == failAt) {
                error = RasError::kAuthenticationFailure;
                last = true;
            } else if (last) {
                error = script.finalError;
            }
            for (SimConnection& connection : m_connections) {
                if (connection.handle == handle) {
                    connection.state = error != 0 && state == RasState::kConnected
                                           ? RasState::kDisconnected
                                           : state;
                }
            }
        }
        if (notifier) {
            notifier(state, error);
        }
        if (last) {
            break;
        }
    }
    std::lock_guard lock(m_mutex);
    m_finishedDials.push_back(handle);
    --m_runningDials;
    m_idle.notify_all();
}

std::optional<std::string> SimulatedRemoteAccess::ErrorString(unsigned code) {
    // The texts a Chinese system gives for the failures the simulator can script.
    switch (code) {
        case RasError::kInvalidHandle:
            return "句柄无效。";
        case RasError::kCannotFindEntry:
            return "系统无法找到此连接的电话簿项。";
        case RasError::kLineBusy:
            return "电话线路忙。";
        case RasError::kNoAnswer:
            return "远程计算机没有响应。";
        case RasError::kNoDialTone:
            return "没有拨号音。";
        case RasError::kAuthenticationFailure:
            return "因为用户名和/或密码在此域上无效，所以访问被拒绝。";
        default:
            return std::nullopt;
    }
}

unsigned SimulatedRemoteAccess::HangUp(RasHandle handle) {
    {
        std::lock_guard lock(m_mutex);
        const auto it = std::find_if(m_connections.begin(), m_connections.end(),
                                     [&](const SimConnection& c) { return c.handle == handle; });
        if (it == m_connections.end()) {
            return RasError::kInvalidHandle;
        }
        m_connections.erase(it);
    }
    m_wake.notify_all();
    return 0;
}

std::optional<std::vector<RemoteAccess::Connection>> SimulatedRemoteAccess::EnumConnections() {
    std::lock_guard lock(m_mutex);
    RefreshLineFromFileLocked();
    if (m_enumConnectionsFails || m_connections.size() > kMaxConnections) {
        return std::nullopt;
    }
    std::vector<Connection> connections;
    for (const SimConnection& connection : m_connections) {
        connections.push_back({connection.handle, connection.entry});
    }
    return connections;
}

std::optional<unsigned> SimulatedRemoteAccess::ConnectState(RasHandle handle) {
    std::lock_guard lock(m_mutex);
    for (const SimConnection& connection : m_connections) {
        if (connection.handle == handle) {
            return connection.state;
        }
    }
    return std::nullopt;
}

void SimulatedRemoteAccess::SetEntries(std::vector<std::string> entries) {
    std::lock_guard lock(m_mutex);
    m_entries = std::move(entries);
}

void SimulatedRemoteAccess::SetDialScript(DialScript script) {
    std::lock_guard lock(m_mutex);
    m_script = std::move(script);
}

RasHandle SimulatedRemoteAccess::BringUpOther(const std::string& entry) {
    std::lock_guard lock(m_mutex);
    return AddConnectionLocked(entry, RasState::kConnected, false);
}

void SimulatedRemoteAccess::TakeDownOther(const std::string& entry) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_connections,
                  [&](const SimConnection& c) { return !c.own && c.entry == entry; });
}

void SimulatedRemoteAccess::CutLine() {
    {
        std::lock_guard lock(m_mutex);
        m_connections.clear();
    }
    m_wake.notify_all();
}

void SimulatedRemoteAccess::SetEnumEntriesFails(bool fails) {
    std::lock_guard lock(m_mutex);
    m_enumEntriesFails = fails;
}

void SimulatedRemoteAccess::SetEnumConnectionsFails(bool fails) {
    std::lock_guard lock(m_mutex);
    m_enumConnectionsFails = fails;
}

void SimulatedRemoteAccess::WaitUntilIdle() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [&] { return m_runningDials == 0; });
    JoinFinishedLocked(lock);
}

int SimulatedRemoteAccess::DialCount() const {
    std::lock_guard lock(m_mutex);
    return m_dialCount;
}

std::string SimulatedRemoteAccess::LastDialUser() const {
    std::lock_guard lock(m_mutex);
    return m_lastUser;
}

bool SimulatedRemoteAccess::IsAliveLocked(RasHandle handle) const {
    return std::any_of(m_connections.begin(), m_connections.end(),
                       [&](const SimConnection& c) { return c.handle == handle; });
}

void SimulatedRemoteAccess::RefreshLineFromFileLocked() {
    if (!m_dialSimPath) {
        return;
    }
    const ProfileFile file = LoadProfileFile(*m_dialSimPath);
    if (SimValue(file, "Line", "Cut", "0").starts_with('1')) {
        m_connections.clear();
        m_fileOther.clear();  // comes back when the line is no longer cut
        m_wake.notify_all();
        return;
    }
    const std::string other = SimValue(file, "Line", "Other", "");
    if (other == m_fileOther) {
        return;
    }
    if (!m_fileOther.empty()) {
        const std::string gone = m_fileOther;
        std::erase_if(m_connections,
                      [&](const SimConnection& c) { return !c.own && c.entry == gone; });
    }
    if (!other.empty()) {
        AddConnectionLocked(other, RasState::kConnected, false);
    }
    m_fileOther = other;
}

RasHandle SimulatedRemoteAccess::AddConnectionLocked(const std::string& entry, unsigned state,
                                                     bool own) {
    const RasHandle handle = m_nextHandle;
    m_nextHandle += 4;
    m_connections.push_back({handle, entry, state, own});
    return handle;
}

void SimulatedRemoteAccess::JoinFinishedLocked(std::unique_lock<std::mutex>& lock) {
    std::vector<std::thread> finished;
    for (RasHandle handle : m_finishedDials) {
        const auto it = m_dialThreads.find(handle);
        if (it != m_dialThreads.end()) {
            finished.push_back(std::move(it->second));
            m_dialThreads.erase(it);
        }
    }
    m_finishedDials.clear();
    lock.unlock();
    for (std::thread& thread : finished) {
        thread.join();
    }
    lock.lock();
}

std::unique_ptr<RemoteAccess> MakeRemoteAccess(const std::string& programFolder) {
    std::string path = programFolder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    path += "DialSim.ini";
    if (SystemFileSystem().FileExists(path)) {
        return std::make_unique<SimulatedRemoteAccess>(path);
    }
    return MakeSystemRemoteAccess();
}

}  // namespace quorlet
