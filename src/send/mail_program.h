// The command line that starts the system's mail program, made from the open command registered
// for "mailto" links: switches and the link placeholder are dropped, and a "%ProgramFiles%"
// folder is filled in. Nothing is run when the command cannot be made whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorlet {

// The command is assembled in a buffer of this many bytes, terminator included.
inline constexpr std::size_t kMailProgramCommandBuffer = 256;

// programFiles is the Program Files folder, nullopt when it could not be found. Returns nullopt
// when the command needs that folder and does not have it, or would not fit the buffer.
std::optional<std::string> MailProgramCommand(std::string_view registered,
                                              const std::optional<std::string>& programFiles);

}  // namespace quorlet
