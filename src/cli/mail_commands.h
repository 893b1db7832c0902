// quorlet-cli's mail commands: check one mailbox, send one message, and show how a header field
// and a date look in the preview.
#pragma once

#include <string>
#include <vector>

namespace quorlet::cli {

inline constexpr const char* kCheckSynopsis =
    "[--tls | --stls] [--verbose] SERVER[:PORT] USER PASSWORD";
inline constexpr const char* kSendSynopsis =
    "[--tls | --starttls] [--user U --password P] [--verbose] SERVER[:PORT] FROM TO SUBJECT "
    "BODY-FILE";

int CheckCommand(const std::vector<std::string>& args);
int SendCommand(const std::vector<std::string>& args);
int DecodeHeaderCommand(const std::vector<std::string>& args);
int DateCommand(const std::vector<std::string>& args);

}  // namespace quorlet::cli
