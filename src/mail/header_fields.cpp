#include "mail/header_fields.h"

#include <string_view>

#include "base/line_input.h"
#include "mail/header_decoder.h"

namespace quorlet {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// One unfolded header line: trimmed, then a stray CR inside costs the last character (an old
// rule of the program that readers of its spool files keep), trimmed again, and matched.
void ReadField(std::string_view line, HeaderFields& fields) {
    line = TrimSpace(line);
    if (line.find('\r') != std::string_view::npos) {
        line.remove_suffix(1);
    }
    line = TrimSpace(line);
    auto take = [line](std::string_view prefix) {
        return BlankControlBytes(std::string(line.substr(prefix.size())));
    };
    if (StartsWith(line, "From:")) {
        fields.from = take("From:");
    }
    if (StartsWith(line, "Subject:")) {
        fields.subject = take("Subject:");
    }
    if (StartsWith(line, "Date:")) {
        fields.date = take("Date:");
    }
    if (StartsWith(line, "Content-Transfer-Encoding: base64")) {
        fields.encoding = 'B';
    }
    if (StartsWith(line, "Content-Transfer-Encoding: quoted-printable")) {
        fields.encoding = 'Q';
    }
}

bool StartsWithSpace(std::string_view line) {
    return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

}  // namespace

HeaderFields ExtractHeaderFields(std::istream& in) {
    HeaderFields fields;
    std::string line;
    std::string logical;
    bool first = true;
    while (ReadBoundedLine(in, line, kMaxHeaderLine)) {
        std::string_view physical = line;
        if (!physical.empty() && physical.back() == '\r') {
            physical.remove_suffix(1);
        }
        if (first) {
            first = false;
            if (physical.empty() || StartsWithSpace(physical)) {
                continue;  // the status line's remnant
            }
        }
        if (TrimSpace(physical).empty()) {
            break;  // the blank line that ends the header
        }
        if (StartsWithSpace(physical)) {
            if (!logical.empty() && logical.size() < kMaxHeaderLine) {
                logical.append(physical.substr(0, kMaxHeaderLine - logical.size()));
            }
            continue;
        }
        ReadField(logical, fields);
        logical.assign(physical);
    }
    ReadField(logical, fields);
    return fields;
}

}  // namespace quorlet
