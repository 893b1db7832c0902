// The command line arrives as UTF-16 on Windows, whatever the system code page.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "cli/cli.h"
#include "platform/win32/wide_text.h"

int wmain(int argc, wchar_t** argv) {
    // Output is UTF-8 bytes ended by "\n", the same as on POSIX systems.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(quorlet::win32::FromWide(argv[i]));
    }
    return quorlet::cli::Run(args);
}
