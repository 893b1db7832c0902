// quorlet-cli decode-header RAW: the display text of a raw sender or subject field.
#include "cli/cli.h"
#include "cli/mail_commands.h"
#include "mail/header_decoder.h"

namespace quorlet::cli {

int DecodeHeaderCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        PrintError("usage: quorlet-cli decode-header RAW");
        return 2;
    }
    PrintLine(DecodeHeaderText(args[0], 0, SystemCharsets()));
    return 0;
}

}  // namespace quorlet::cli
