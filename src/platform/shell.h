// Handing work to the rest of the system: opening a document or URL with its program, and
// starting a command line (the system mail program).
#pragma once

#include <string>

namespace quorlet {

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecute "open", shown normally; false when it fails.
    virtual bool Open(const std::string& document) = 0;
    // WinExec-style start of a command line, shown normally; false when it fails.
    virtual bool Run(const std::string& commandLine) = 0;
};

}  // namespace quorlet
