// Handing work to the rest of the system: opening a document or URL with its program, and
// starting a command line (the system mail program).
#pragma once

#include <optional>
#include <string>

namespace quorlet {

// Both calls answer as the system's ShellExecute and WinExec do: a code above 32 is success, a
// lower one says why it failed (2: file not found, 3: path not found, 31: no association, ...).
inline constexpr int kShellFailedAtMost = 32;

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecute "open", shown normally.
    virtual int Open(const std::string& document) = 0;
    // WinExec-style start of a command line, shown normally.
    virtual int Run(const std::string& commandLine) = 0;
    // The open command the user's own choice associates with a URL scheme ("mailto"), as the
    // system reports it; nullopt when there is none.
    virtual std::optional<std::string> AssociatedCommand(const std::string& scheme) = 0;
};

}  // namespace quorlet
