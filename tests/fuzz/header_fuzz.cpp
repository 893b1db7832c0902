// TOP replies come from any server: picking the fields out of them, decoding the sender and
// subject and rewriting the date must take any bytes, and nothing shown may hold a control byte.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "mail/header_decoder.h"
#include "mail/header_fields.h"
#include "mail/mail_date.h"
#include "platform/charsets.h"

namespace {

void CheckShown(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            std::abort();
        }
    }
}

void CheckDate(const std::string& raw) {
    std::string out;
    if (!quorlet::NormaliseDate(raw, out) && out != raw) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    const quorlet::HeaderFields fields = quorlet::ExtractHeaderFields(in);
    for (const std::string* raw : {&fields.from, &fields.subject, &fields.date}) {
        CheckShown(*raw);
        if (raw->size() > quorlet::kMaxHeaderLine) {
            std::abort();
        }
    }
    CheckShown(quorlet::DecodeHeaderText(fields.from, fields.encoding, quorlet::SystemCharsets()));
    CheckShown(
        quorlet::DecodeHeaderText(fields.subject, fields.encoding, quorlet::SystemCharsets()));
    CheckShown(quorlet::DecodeHeaderText(input, 0, quorlet::SystemCharsets()));
    CheckDate(fields.date);
    CheckDate(input);
    quorlet::DecodeBase64(input);
    quorlet::DecodeQuoted(input);
    return 0;
}
