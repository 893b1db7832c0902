#include "cli/cli.h"

#include <cstdio>

#include "cli/accounting_commands.h"
#include "cli/mail_commands.h"
#include "platform/charsets.h"
#include "quorlet_version.h"

namespace quorlet::cli {
namespace {

void Write(std::FILE* stream, const std::string& gbkText) {
    const std::string utf8 = SystemCharsets().FromGbk("utf-8", gbkText) + "\n";
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

int Version(const std::vector<std::string>&) {
    PrintLine("quorlet-cli " QUORLET_VERSION);
    return 0;
}

// The subcommands, in the order the usage text lists them.
const Command kCommands[] = {
    {"--version", "", Version},
    {"check", kCheckSynopsis, CheckCommand},
    {"send", kSendSynopsis, SendCommand},
    {"decode-header", "RAW", DecodeHeaderCommand},
    {"date", "RAW", DateCommand},
    {"price", "CONNECTION START END [--no-round]", PriceCommand},
    {"log", "YYYY-MM-DD YYYY-MM-DD", LogCommand},
};

void Usage() {
    PrintError("usage: quorlet-cli COMMAND [ARGUMENTS]");
    for (const Command& command : kCommands) {
        PrintError(std::string("  quorlet-cli ") + command.name + (*command.synopsis ? " " : "") +
                   command.synopsis);
    }
}

}  // namespace

void PrintLine(const std::string& gbkText) {
    Write(stdout, gbkText);
}
void PrintError(const std::string& gbkText) {
    Write(stderr, gbkText);
}

std::string Utf8ToGbk(const std::string& utf8) {
    return SystemCharsets().ToGbk("utf-8", utf8);
}

int Run(const std::vector<std::string>& args) {
    if (args.empty()) {
        Usage();
        return 2;
    }
    for (const Command& command : kCommands) {
        if (args[0] == command.name) {
            return command.run(std::vector<std::string>(args.begin() + 1, args.end()));
        }
    }
    PrintError("unknown command: " + args[0]);
    Usage();
    return 2;
}

}  // namespace quorlet::cli
