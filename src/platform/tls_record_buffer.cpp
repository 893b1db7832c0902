#include "platform/tls_record_buffer.h"

#include <algorithm>

namespace quorlet {

bool TlsRecordBuffer::KeepUnconsumed(std::size_t unconsumed) {
    if (unconsumed > m_cipher.size()) {
        return false;
    }
    m_cipher.erase(0, m_cipher.size() - unconsumed);
    return true;
}

bool TlsRecordBuffer::TakePlaintext(std::size_t offset, std::size_t length,
                                    std::size_t unconsumed) {
    if (unconsumed >= m_cipher.size()) {
        return false;
    }
    const std::size_t consumed = m_cipher.size() - unconsumed;
    if (offset > consumed || length > consumed - offset) {
        return false;
    }
    // Read plaintext is dropped before more is added, so the buffer never grows past what the
    // caller has not taken yet.
    if (m_plainRead == m_plain.size()) {
        m_plain.clear();
        m_plainRead = 0;
    }
    m_plain.append(m_cipher, offset, length);
    return KeepUnconsumed(unconsumed);
}

std::size_t TlsRecordBuffer::DeliverPlaintext(std::string& out, std::size_t maxBytes) {
    const std::size_t n = std::min(maxBytes, m_plain.size() - m_plainRead);
    out.append(m_plain, m_plainRead, n);
    m_plainRead += n;
    if (m_plainRead == m_plain.size()) {
        m_plain.clear();
        m_plainRead = 0;
    }
    return n;
}

bool StartsLikeTlsRecord(std::string_view bytes) {
    if (!bytes.empty()) {
        const auto type = static_cast<unsigned char>(bytes[0]);
        if (type < 20 || type > 24) {
            return false;
        }
    }
    return bytes.size() < 2 || bytes[1] == 3;
}

NetStream::Result ReceiveDecrypted(TlsRecordBuffer& records, TlsRecordLayer& layer,
                                   NetStream& plain, std::string& out, std::size_t maxBytes,
                                   std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    using Status = TlsDecryptStep::Status;
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        if (records.HasPlaintext()) {
            records.DeliverPlaintext(out, maxBytes);
            return NetStream::Result::Data;
        }
        if (records.Closed()) {
            return NetStream::Result::Closed;
        }
        if (records.CipherSize() > 0) {
            const TlsDecryptStep step = layer.Decrypt(records.CipherData(), records.CipherSize());
            switch (step.status) {
                case Status::Plaintext:
                    if (!records.TakePlaintext(step.plainOffset, step.plainLength,
                                               step.unconsumed)) {
                        return NetStream::Result::Failed;
                    }
                    continue;
                case Status::Renegotiate: {
                    if (!records.KeepUnconsumed(step.unconsumed)) {
                        return NetStream::Result::Failed;
                    }
                    const NetStream::Result r = layer.Renegotiate(deadline);
                    if (r != NetStream::Result::Data) {
                        return r;
                    }
                    continue;
                }
                case Status::Closed:
                    records.MarkClosed();
                    continue;
                case Status::Failed:
                    return NetStream::Result::Failed;
                case Status::NeedMore:
                    if (records.CipherSize() >= kTlsMaxPendingCipher) {
                        return NetStream::Result::Failed;
                    }
                    break;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return NetStream::Result::TimedOut;
        }
        std::string chunk;
        const NetStream::Result r = plain.Receive(chunk, 16384, left);
        if (r != NetStream::Result::Data) {
            return r;
        }
        records.AppendCipher(chunk);
    }
}

}  // namespace quorlet
