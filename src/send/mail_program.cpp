#include "send/mail_program.h"

namespace quorlet {

std::optional<std::string> MailProgramCommand(std::string_view registered,
                                              const std::optional<std::string>& programFiles) {
    std::string_view text = registered.substr(0, registered.find('/'));
    std::string command;
    if (text.find("%ProgramFiles%") != std::string_view::npos) {
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

}  // namespace quorlet
