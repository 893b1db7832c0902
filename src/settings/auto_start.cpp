#include "settings/auto_start.h"

namespace quorlet {
namespace {

std::string ProgramPathIn(const std::string& folder) {
    const bool endsWithSlash = !folder.empty() && folder.back() == '\\';
    return folder + (endsWithSlash ? "quorlet.exe" : "\\quorlet.exe");
}

}  // namespace

AutoStartResult ApplyAutoStart(Registry& registry, const FileSystem& fileSystem, bool on) {
    auto machine = registry.OpenKey(RegistryRoot::LocalMachine, kRunKeyPath, true);
    if (!on) {
        if (machine != nullptr) {
            machine->DeleteValue(kRunValueName);
        }
        // A value the user's key got earlier, when the machine's key was refused, goes too.
        if (auto user = registry.OpenKey(RegistryRoot::CurrentUser, kRunKeyPath, true)) {
            user->DeleteValue(kRunValueName);
        }
        return AutoStartResult::Done;
    }
    const std::string path = ProgramPathIn(fileSystem.CurrentDirectory());
    if (!fileSystem.FileExists(path)) {
        return AutoStartResult::NoProgramFile;
    }
    const std::string command = AutoStartCommand(path);
    if (machine != nullptr) {
        if (!machine->SetString(kRunValueName, command, true)) {
            return AutoStartResult::WriteFailed;
        }
        // One value only, or the program would be started twice at logon.
        if (auto user = registry.OpenKey(RegistryRoot::CurrentUser, kRunKeyPath, true)) {
            user->DeleteValue(kRunValueName);
        }
        return AutoStartResult::Done;
    }
    auto user = registry.CreateKey(RegistryRoot::CurrentUser, kRunKeyPath, "");
    if (user == nullptr || !user->SetString(kRunValueName, command, true)) {
        return AutoStartResult::WriteFailed;
    }
    return AutoStartResult::Done;
}

std::string AutoStartCommand(std::string_view programPath) {
    return "\"" + std::string(programPath) + "\"";
}

std::optional<std::string> FolderOfAutoStartCommand(std::string_view command) {
    if (command.size() >= 2 && command.front() == '"') {
        const std::size_t close = command.find('"', 1);
        command =
            command.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    }
    const std::size_t slash = command.rfind('\\');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(command.substr(0, slash));
}

}  // namespace quorlet
