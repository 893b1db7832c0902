// The command line arrives as UTF-8 on POSIX systems.
#include "cli/cli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(quorlet::cli::Utf8ToGbk(argv[i]));
    }
    return quorlet::cli::Run(args);
}
