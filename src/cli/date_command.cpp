// quorlet-cli date RAW: a raw Date field as the preview shows it.
#include "cli/cli.h"
#include "cli/mail_commands.h"
#include "mail/mail_date.h"

namespace quorlet::cli {

int DateCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        PrintError("usage: quorlet-cli date RAW");
        return 2;
    }
    std::string shown;
    NormaliseDate(args[0], shown);
    PrintLine(shown);
    return 0;
}

}  // namespace quorlet::cli
