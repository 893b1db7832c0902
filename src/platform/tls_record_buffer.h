// The reading side of a TLS stream whose records the system decrypts in place (SChannel's
// DecryptMessage): ciphertext is gathered until the system has a whole record, the bytes it did
// not consume are kept for the next call, and plaintext beyond what the caller asked for waits
// for the next read. It holds no system types, so that it is tested and fuzzed natively; the
// system's decrypt call comes in through TlsRecordLayer.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/net.h"

namespace quorlet {

class TlsRecordBuffer {
public:
    // Received ciphertext, appended to what is waiting.
    void AppendCipher(std::string_view bytes) { m_cipher.append(bytes); }
    char* CipherData() { return m_cipher.data(); }
    std::size_t CipherSize() const { return m_cipher.size(); }

    // The system consumed the ciphertext but its last `unconsumed` bytes, which move to the
    // front. False when it claims more than there is (the buffer is left as it was).
    bool KeepUnconsumed(std::size_t unconsumed);

    // A decrypt call turned the start of the ciphertext into plaintext at [offset, offset +
    // length) and left its last `unconsumed` bytes alone. The plaintext must lie in what was
    // consumed, and something must have been consumed (a call that takes nothing would be called
    // again for ever); false otherwise, with the buffer left as it was.
    bool TakePlaintext(std::size_t offset, std::size_t length, std::size_t unconsumed);

    bool HasPlaintext() const { return m_plainRead < m_plain.size(); }
    // Appends at most maxBytes of the waiting plaintext to out; the count appended.
    std::size_t DeliverPlaintext(std::string& out, std::size_t maxBytes);

    // The peer closed the TLS session (its close alert): nothing more will be decrypted.
    void MarkClosed() { m_closed = true; }
    bool Closed() const { return m_closed; }

private:
    std::string m_cipher;
    std::string m_plain;
    std::size_t m_plainRead = 0;
    bool m_closed = false;
};

// What one decrypt call did with the ciphertext it was given.
struct TlsDecryptStep {
    enum class Status {
        Plaintext,    // a record was decrypted (its plaintext may be empty)
        NeedMore,     // no whole record yet; nothing was consumed
        Renegotiate,  // a handshake message arrived: the handshake runs again over `unconsumed`
        Closed,       // the peer's close alert
        Failed,
    };
    Status status = Status::Failed;
    std::size_t plainOffset = 0;  // Plaintext: where it lies in the data given
    std::size_t plainLength = 0;
    std::size_t unconsumed = 0;  // Plaintext, Renegotiate: bytes at the end left for later
};

// The system's side of reading: the decrypt call, and the handshake run again when a decrypt
// asks for it.
class TlsRecordLayer {
public:
    virtual ~TlsRecordLayer() = default;
    // Decrypts the first record of data[0, size) in place.
    virtual TlsDecryptStep Decrypt(char* data, std::size_t size) = 0;
    // Runs the handshake over the buffer's ciphertext, reading more until the deadline as it
    // needs; Data when it completed, else why it did not.
    virtual NetStream::Result Renegotiate(std::chrono::steady_clock::time_point deadline) = 0;
};

// Whether bytes can be the start of a TLS record: a record type of TLS (20 to 24) and protocol
// major version 3, as far as the bytes go. A peer that answers the client hello with anything
// else does not speak TLS (a plain-text greeting), and SChannel may otherwise wait for the rest
// of a "record" whose length it read from the greeting.
bool StartsLikeTlsRecord(std::string_view bytes);

// A ciphertext buffer that still has no whole record at this size never will: a TLS record is
// at most 18 KB with its overhead, and no more than 16 KB are read at once.
inline constexpr std::size_t kTlsMaxPendingCipher = 64 * 1024;

// NetStream::Receive over TLS: hands out waiting plaintext first, decrypts what ciphertext is
// there, and reads more from `plain` only when no whole record is waiting, all within
// `timeout`. A close alert gives Closed, now and on every later call.
NetStream::Result ReceiveDecrypted(TlsRecordBuffer& records, TlsRecordLayer& layer,
                                   NetStream& plain, std::string& out, std::size_t maxBytes,
                                   std::chrono::milliseconds timeout);

}  // namespace quorlet
