// quorlet-cli: a small command-line companion built from the program's core, for checking that
// an account works and for black-box tests. Arguments arrive converted to GBK; everything
// printed is GBK converted to UTF-8 at the output.
#pragma once

#include <string>
#include <vector>

namespace quorlet::cli {

// Prints one line of GBK text (converted to UTF-8, ended by "\n") to standard output.
void PrintLine(const std::string& gbkText);
// The same on standard error.
void PrintError(const std::string& gbkText);

// UTF-8 text (a file given on the command line) as GBK.
std::string Utf8ToGbk(const std::string& utf8);

// Runs the command line (without the program name); returns the exit status: 0 on success,
// 1 on failure, 2 on a usage error.
int Run(const std::vector<std::string>& args);

// One subcommand: its name, its argument synopsis and what runs it (args without the name).
struct Command {
    const char* name;
    const char* synopsis;
    int (*run)(const std::vector<std::string>& args);
};

}  // namespace quorlet::cli
