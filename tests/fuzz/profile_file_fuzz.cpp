// Profile files are edited by hand and by other programs: any bytes must parse, answer
// queries, and survive a rewrite without losing the lines that were not changed.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/profile_file.h"

namespace {

bool IsPlainName(std::string_view s) {
    if (s.empty() || s.front() == ' ' || s.back() == ' ' || s.front() == '[' || s.front() == ';') {
        return false;
    }
    for (unsigned char c : s) {
        if (c < 0x20 || c == '=' || c == ']' || c == ' ' || c == 0x7f) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line names a section, a key and a value to write; the rest is the file.
    const std::size_t nl = input.find('\n');
    std::string_view header =
        nl == std::string_view::npos ? std::string_view() : input.substr(0, nl);
    const std::string_view content = nl == std::string_view::npos ? input : input.substr(nl + 1);

    quorlet::ProfileFile file(content);
    if (file.Text() != content) {
        std::abort();  // reading alone must keep every byte
    }
    const std::size_t a = header.find('|');
    const std::size_t b = a == std::string_view::npos ? a : header.find('|', a + 1);
    if (b == std::string_view::npos) {
        return 0;
    }
    const std::string_view section = header.substr(0, a);
    const std::string_view key = header.substr(a + 1, b - a - 1);
    const std::string_view value = header.substr(b + 1);
    for (std::size_t bufferSize : {0u, 1u, 5u, 10u, 255u}) {
        const std::string got = file.GetString(section, key, "\x10", bufferSize);
        if (bufferSize > 0 && got.size() > bufferSize - 1) {
            std::abort();
        }
    }
    file.SetString(section, key, value);
    quorlet::ProfileFile reread(file.Text());
    if (IsPlainName(section) && IsPlainName(key) && IsPlainName(value) && value.front() != '"' &&
        value.front() != '\'') {
        const auto stored = reread.Find(section, key);
        if (!stored || *stored != value) {
            std::abort();  // a written value must read back
        }
    }
    reread.DeleteKey(section, key);
    reread.DeleteSection(section);
    return 0;
}
