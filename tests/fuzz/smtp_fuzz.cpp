// SMTP replies come from any server and recipient texts from the user: reading a reply must end
// on any bytes however they arrive, and no address that could break the dialogue may be taken.
// The first byte picks the chunk size of the reply stream; the rest is used as both inputs.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/line_reader.h"
#include "send/mail_message.h"
#include "send/smtp_reply.h"

namespace {

class MemoryStream final : public quorlet::NetStream {
public:
    MemoryStream(std::string data, std::size_t chunk) : m_data(std::move(data)), m_chunk(chunk) {}

    bool SendAll(std::string_view) override { return true; }

    Result Receive(std::string& out, std::size_t maxBytes, std::chrono::milliseconds) override {
        if (m_next >= m_data.size()) {
            return Result::Closed;
        }
        const std::size_t n = std::min({m_chunk, maxBytes, m_data.size() - m_next});
        out.append(m_data, m_next, n);
        m_next += n;
        return Result::Data;
    }

private:
    std::string m_data;
    std::size_t m_chunk;
    std::size_t m_next = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    MemoryStream stream(input, 1 + data[0] % 64);
    quorlet::LineReader reader(stream, 1 + data[0] % 40, std::chrono::milliseconds(10));
    for (int i = 0; i < 4; ++i) {
        const quorlet::SmtpReply reply =
            quorlet::ReadSmtpReply(reader, std::chrono::milliseconds(10));
        if (reply.code < 0 || reply.code > 999) {
            std::abort();
        }
        if (reply.outcome != quorlet::SmtpReply::Outcome::Whole) {
            break;
        }
    }

    quorlet::CMailMessage message;
    message.AddRecipients(input);
    for (const quorlet::MailRecipient& r : message.m_arrRecipients) {
        if (!quorlet::IsSafeMailAddress(r.m_strAddress) ||
            r.m_strAddress.find(';') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
