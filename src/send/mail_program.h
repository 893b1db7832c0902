// The command line that starts the system's mail program, made from the open command registered
// for "mailto" links: switches and the link placeholder are dropped, and a "%ProgramFiles%"
// folder is filled in. Nothing is run when the command cannot be made whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace quorlet {

// The command is assembled in a buffer of this many bytes, terminator included.
inline constexpr std::size_t kMailProgramCommandBuffer = 256;

// programFiles is the Program Files folder, nullopt when it could not be found. Returns nullopt
// when the command needs that folder and does not have it, or would not fit the buffer.
std::optional<std::string> MailProgramCommand(std::string_view registered,
                                              const std::optional<std::string>& programFiles);

inline constexpr const char* kMailtoKeyFailed = "打开相关主键失败 !";
inline constexpr const char* kMailtoValueFailed = "读相关串值失败 !";
inline constexpr const char* kProgramFilesKeyFailed = "Can't open key(Program Files) !";
inline constexpr const char* kProgramFilesValueFailed = "Can't read key(Program Files) !";

// Starts the mail program registered for "mailto" links, without an address or a message: the
// machine's open command, or where the machine has none (usual on current Windows, where the
// choice is the user's) the command the system associates with "mailto" for this user. Failures
// to read the registry are reported; a command that cannot be made whole is not run; a failing
// start is not reported.
void StartMailProgram(Registry& registry, Shell& shell, Prompter& prompter);

}  // namespace quorlet
