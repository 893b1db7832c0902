// quorlet-cli's accounting commands; they read the data files of the current directory.
#pragma once

#include <string>
#include <vector>

namespace quorlet::cli {

// price CONNECTION "YYYY-MM-DD HH:MM:SS" "YYYY-MM-DD HH:MM:SS" [--no-round]
int PriceCommand(const std::vector<std::string>& args);

// log YYYY-MM-DD YYYY-MM-DD
int LogCommand(const std::vector<std::string>& args);

}  // namespace quorlet::cli
