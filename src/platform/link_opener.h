// Opening a web or mail link: through the shell, and where the shell cannot, with the command
// line of the program that opens ".htm" files. Used by the link labels.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/shell.h"

namespace quorlet {

// The shell's code (above kShellFailedAtMost on success), or the fallback start's code.
int GotoUrl(Shell& shell, Registry& registry, const std::string& url);

// The browser's open command with the URL in place of its "%1": the command is cut before the
// first quoted "%1" (at its opening quote), or else before the first bare %1; then a blank and
// the URL follow.
std::string BrowserCommandLine(std::string_view openCommand, std::string_view url);

// The message of a link that could not be opened, for the code GotoUrl returned.
std::string HyperlinkErrorText(int code);

}  // namespace quorlet
