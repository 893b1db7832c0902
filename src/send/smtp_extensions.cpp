#include "send/smtp_extensions.h"

#include <string_view>

#include "base/gbk_text.h"

namespace quorlet {
namespace {

// The words of a line, split at blanks and, for the old "AUTH=..." form, at "=".
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t=", i);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = line.find_first_of(" \t=", start);
        words.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        i = end == std::string_view::npos ? line.size() : end;
    }
    return words;
}

bool Is(std::string_view word, std::string_view keyword) {
    return gbk::EqualsIgnoreAsciiCase(word, keyword);
}

}  // namespace

SmtpExtensions ParseEhloReply(const std::vector<std::string>& lines) {
    SmtpExtensions extensions;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::vector<std::string_view> words = Words(lines[n]);
        if (words.empty()) {
            continue;
        }
        if (words.size() == 1 && Is(words[0], "STARTTLS")) {
            extensions.startTls = true;
        } else if (Is(words[0], "AUTH")) {
            for (std::size_t w = 1; w < words.size(); ++w) {
                extensions.authPlain = extensions.authPlain || Is(words[w], "PLAIN");
                extensions.authLogin = extensions.authLogin || Is(words[w], "LOGIN");
            }
        }
    }
    return extensions;
}

}  // namespace quorlet
