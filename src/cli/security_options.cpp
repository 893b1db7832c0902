#include "cli/security_options.h"

#include "cli/cli.h"

namespace quorlet::cli {

std::optional<SecurityOptions> ParseSecurityOptions(const std::vector<std::string>& args,
                                                    const char* upgrade, bool login) {
    SecurityOptions options;
    bool chosen = false;
    std::size_t i = 0;
    for (; i < args.size() && args[i].size() > 2 && args[i].compare(0, 2, "--") == 0; ++i) {
        const std::string& flag = args[i];
        if (flag == "--tls" || flag == upgrade) {
            if (chosen) {
                return std::nullopt;
            }
            chosen = true;
            options.security = flag == "--tls" ? MailSecurity::Tls : MailSecurity::StartTls;
        } else if (flag == "--verbose") {
            options.verbose = true;
        } else if (login && (flag == "--user" || flag == "--password") && i + 1 < args.size()) {
            (flag == "--user" ? options.user.emplace() : options.password) = args[++i];
        } else {
            return std::nullopt;
        }
    }
    options.rest.assign(args.begin() + static_cast<long>(i), args.end());
    return options;
}

void PrintTlsReport(const TlsReport& report, bool verbose) {
    if (!report.attempted) {
        return;
    }
    if (report.failure == TlsFailure::None) {
        if (verbose) {
            PrintLine("tls=" + report.protocol);
        }
        return;
    }
    std::string line = std::string("tls-failure=") + TlsFailureReason(report.failure);
    if (!report.detail.empty()) {
        line += ": " + report.detail;
    }
    PrintLine(line);
}

}  // namespace quorlet::cli
