// A stand-in for the system's record layer under platform/tls_record_buffer.h, keeping to the
// contract SChannel's DecryptMessage keeps: whole records only, decrypted in place, the rest
// reported as unconsumed. A record is a type byte, a 16-bit big-endian length and its payload:
//   'D' data (payload stored with every byte XOR 0x20), 'R' a renegotiation request, after
//   which the handshake wants one whole 'H' record, 'C' the close alert; anything else fails.
// With a scripted plain stream that hands out given chunks, tests and the fuzzer run the
// program's own buffering against it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <string>

#include "platform/net.h"
#include "platform/tls_record_buffer.h"

namespace quorlet::testing {

inline std::string FakeRecord(char type, const std::string& payload) {
    std::string record{type, static_cast<char>((payload.size() >> 8) & 0xFF),
                       static_cast<char>(payload.size() & 0xFF)};
    for (char c : payload) {
        record += type == 'D' ? static_cast<char>(c ^ 0x20) : c;
    }
    return record;
}

// Hands out its chunks one per Receive (cut at maxBytes), then `end`.
class ScriptedStream final : public NetStream {
public:
    explicit ScriptedStream(std::deque<std::string> chunks, Result end = Result::Closed)
        : m_chunks(std::move(chunks)), m_end(end) {}

    bool SendAll(std::string_view) override { return true; }

    Result Receive(std::string& out, std::size_t maxBytes, std::chrono::milliseconds) override {
        ++reads;
        while (!m_chunks.empty() && m_chunks.front().empty()) {
            m_chunks.pop_front();
        }
        if (m_chunks.empty() || maxBytes == 0) {
            return m_end;
        }
        std::string& chunk = m_chunks.front();
        const std::size_t n = std::min(maxBytes, chunk.size());
        out.append(chunk, 0, n);
        chunk.erase(0, n);
        return Result::Data;
    }

    int reads = 0;

private:
    std::deque<std::string> m_chunks;
    Result m_end;
};

class FakeRecordLayer final : public TlsRecordLayer {
public:
    FakeRecordLayer(TlsRecordBuffer& records, NetStream& plain)
        : m_records(records), m_plain(plain) {}

    TlsDecryptStep Decrypt(char* data, std::size_t size) override {
        TlsDecryptStep step;
        const std::size_t whole = WholeRecord(data, size);
        if (whole == 0) {
            step.status = TlsDecryptStep::Status::NeedMore;
            return step;
        }
        step.unconsumed = size - whole;
        switch (data[0]) {
            case 'D':
                for (std::size_t i = 3; i < whole; ++i) {
                    data[i] = static_cast<char>(data[i] ^ 0x20);
                }
                step.status = TlsDecryptStep::Status::Plaintext;
                step.plainOffset = 3;
                step.plainLength = whole - 3;
                return step;
            case 'R':
                step.status = TlsDecryptStep::Status::Renegotiate;
                return step;
            case 'C':
                step.status = TlsDecryptStep::Status::Closed;
                return step;
            default:
                step.status = TlsDecryptStep::Status::Failed;
                return step;
        }
    }

    NetStream::Result Renegotiate(std::chrono::steady_clock::time_point) override {
        ++renegotiations;
        for (;;) {
            const std::size_t whole = WholeRecord(m_records.CipherData(), m_records.CipherSize());
            if (whole > 0) {
                if (m_records.CipherData()[0] != 'H') {
                    return NetStream::Result::Failed;
                }
                m_records.KeepUnconsumed(m_records.CipherSize() - whole);
                return NetStream::Result::Data;
            }
            std::string more;
            const NetStream::Result r = m_plain.Receive(more, 16384, std::chrono::seconds(1));
            if (r != NetStream::Result::Data) {
                return r;
            }
            m_records.AppendCipher(more);
        }
    }

    int renegotiations = 0;

private:
    // The length of the whole first record, or 0 while it is incomplete.
    static std::size_t WholeRecord(const char* data, std::size_t size) {
        if (size < 3) {
            return 0;
        }
        const std::size_t length =
            (static_cast<std::uint8_t>(data[1]) << 8) | static_cast<std::uint8_t>(data[2]);
        return size < 3 + length ? 0 : 3 + length;
    }

    TlsRecordBuffer& m_records;
    NetStream& m_plain;
};

}  // namespace quorlet::testing
