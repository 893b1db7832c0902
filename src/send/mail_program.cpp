#include "send/mail_program.h"

namespace quorlet {

namespace {

// Switches and everything after them are dropped first.
std::string_view WithoutSwitches(std::string_view registered) {
    return registered.substr(0, registered.find('/'));
}

bool NeedsProgramFiles(std::string_view registered) {
    return WithoutSwitches(registered).find("%ProgramFiles%") != std::string_view::npos;
}

}  // namespace

std::optional<std::string> MailProgramCommand(std::string_view registered,
                                              const std::optional<std::string>& programFiles) {
    const std::string_view text = WithoutSwitches(registered);
    std::string command;
    if (NeedsProgramFiles(registered)) {
        if (!programFiles) {
            return std::nullopt;
        }
        command = "\"" + *programFiles;
        const std::size_t backslash = text.find('\\');
        if (backslash != std::string_view::npos) {
            command += text.substr(backslash);
        }
    } else {
        command = text.substr(0, text.find('%'));
    }
    if (command.size() >= kMailProgramCommandBuffer) {
        return std::nullopt;
    }
    return command;
}

namespace {

constexpr const char* kMailtoKey = "SOFTWARE\\Classes\\mailto\\shell\\open\\command";
constexpr const char* kWindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr std::size_t kValueBuffer = 255;

void ReportError(Prompter& prompter, const char* text, const char* title) {
    prompter.Show(text, title, MessageIcon::Stop, MessageButtons::Ok);
}

// The Program Files folder, or nullopt after saying why it could not be read.
std::optional<std::string> ProgramFilesFolder(Registry& registry, Prompter& prompter) {
    auto key = registry.OpenKey(RegistryRoot::LocalMachine, kWindowsKey, false);
    if (key == nullptr) {
        ReportError(prompter, kProgramFilesKeyFailed, "Error");
        return std::nullopt;
    }
    auto folder = ReadRegistryText(*key, "ProgramFilesDir", kValueBuffer);
    if (!folder) {
        ReportError(prompter, kProgramFilesValueFailed, "Error");
    }
    return folder;
}

}  // namespace

void StartMailProgram(Registry& registry, Shell& shell, Prompter& prompter) {
    std::optional<std::string> registered;
    if (auto key = registry.OpenKey(RegistryRoot::LocalMachine, kMailtoKey, false)) {
        registered = ReadRegistryText(*key, "", kValueBuffer);
        if (!registered) {
            ReportError(prompter, kMailtoValueFailed, kTitleError);
            return;
        }
    } else {
        registered = shell.AssociatedCommand("mailto");
        if (!registered) {
            ReportError(prompter, kMailtoKeyFailed, kTitleError);
            return;
        }
    }
    std::optional<std::string> programFiles;
    if (NeedsProgramFiles(*registered)) {
        programFiles = ProgramFilesFolder(registry, prompter);
        if (!programFiles) {
            return;
        }
    }
    if (const auto command = MailProgramCommand(*registered, programFiles)) {
        shell.Run(*command);  // a failing start is not reported
    }
}

}  // namespace quorlet
