// TLS of the Windows build: SChannel through SSPI. SChannel is asked to validate nothing
// (SCH_CRED_MANUAL_CRED_VALIDATION), because the program checks the protocol and the whole
// certificate chain itself once the handshake is done (platform/win32/schannel_certificate.h):
// that way the same rules hold wherever SChannel is more lenient than Windows' own. The
// buffering around DecryptMessage is the portable platform/tls_record_buffer.h.
#define SECURITY_WIN32
#define SCHANNEL_USE_BLACKLISTS
#include <windows.h>

#include <winternl.h>

#include <schannel.h>
#include <security.h>

#include <algorithm>
#include <cstring>

#include "platform/tls.h"
#include "platform/tls_record_buffer.h"
#include "platform/win32/schannel_certificate.h"
#include "platform/win32/wide_text.h"

namespace quorlet {
namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                           ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                           ISC_REQ_EXTENDED_ERROR;

// A handshake that needs more than this much unconsumed input is not a handshake.
constexpr std::size_t kMaxHandshakeInput = 1024 * 1024;

constexpr DWORD kCredentialFlags =
    SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS | SCH_USE_STRONG_CRYPTO;

// Credentials for one connection. SCH_CREDENTIALS is the only way to TLS 1.3 (Windows 10 1809
// and later know it; TLS 1.3 itself came with Windows 11); a system that refuses it gets
// SCHANNEL_CRED, with TLS 1.2 alone, since SCHANNEL_CRED with TLS 1.3 fails the handshake.
SECURITY_STATUS AcquireClientCredentials(CredHandle& handle) {
    TimeStamp expiry{};
    TLS_PARAMETERS limits{};
    limits.grbitDisabledProtocols =
        ~static_cast<DWORD>(SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT);
    SCH_CREDENTIALS current{};
    current.dwVersion = SCH_CREDENTIALS_VERSION;
    current.dwFlags = kCredentialFlags;
    current.cTlsParameters = 1;
    current.pTlsParameters = &limits;
    SECURITY_STATUS status =
        AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND,
                                  nullptr, &current, nullptr, nullptr, &handle, &expiry);
    if (status == SEC_E_OK) {
        return status;
    }
    SCHANNEL_CRED older{};
    older.dwVersion = SCHANNEL_CRED_VERSION;
    older.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
    older.dwFlags = kCredentialFlags;
    return AcquireCredentialsHandleW(nullptr, const_cast<wchar_t*>(UNISP_NAME_W),
                                     SECPKG_CRED_OUTBOUND, nullptr, &older, nullptr, nullptr,
                                     &handle, &expiry);
}

// A token SChannel allocated (ISC_REQ_ALLOCATE_MEMORY), freed however the step ends.
struct OutputToken {
    SecBuffer buffer{0, SECBUFFER_TOKEN, nullptr};
    ~OutputToken() {
        if (buffer.pvBuffer != nullptr) {
            FreeContextBuffer(buffer.pvBuffer);
        }
    }
    std::string_view Bytes() const {
        return {static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer};
    }
};

TlsFailure ReadFailure(NetStream::Result r, std::string& detail) {
    switch (r) {
        case NetStream::Result::TimedOut:
            detail = "the handshake took too long";
            return TlsFailure::TimedOut;
        case NetStream::Result::Aborted:
            detail = "aborted";
            return TlsFailure::Aborted;
        default:
            detail = "the connection ended during the handshake";
            return TlsFailure::Handshake;
    }
}

// What a failed handshake call means. A server that offers only protocols the credentials left
// out gets "no common algorithm" from SChannel.
TlsFailure HandshakeFailure(SECURITY_STATUS status) {
    return status == SEC_E_ALGORITHM_MISMATCH ? TlsFailure::ProtocolTooOld : TlsFailure::Handshake;
}

class SchannelStream final : public NetStream, private TlsRecordLayer {
public:
    SchannelStream(std::unique_ptr<NetStream> plain, const std::string& serverName)
        : m_plain(std::move(plain)), m_name(win32::ToWide(serverName)) {}

    ~SchannelStream() override {
        if (m_established) {
            SendCloseNotify();
        }
        if (m_haveContext) {
            DeleteSecurityContext(&m_context);
        }
        if (m_haveCredentials) {
            FreeCredentialsHandle(&m_credentials);
        }
    }

    SchannelStream(const SchannelStream&) = delete;
    SchannelStream& operator=(const SchannelStream&) = delete;

    // The handshake and the checks after it.
    TlsFailure Start(const std::string& serverName, Clock::time_point deadline,
                     std::string& protocol, std::string& detail) {
        const SECURITY_STATUS status = AcquireClientCredentials(m_credentials);
        if (status != SEC_E_OK) {
            detail = "credentials: " + win32::SecurityStatusText(status);
            return TlsFailure::Unavailable;
        }
        m_haveCredentials = true;
        TlsFailure failure = Handshake(true, deadline, detail);
        if (failure != TlsFailure::None) {
            return failure;
        }
        m_established = true;
        failure = win32::CheckProtocol(m_context, protocol, detail);
        if (failure != TlsFailure::None) {
            return failure;
        }
        failure = win32::CheckServerCertificate(m_context, serverName, detail);
        if (failure != TlsFailure::None) {
            return failure;
        }
        const SECURITY_STATUS sizes =
            QueryContextAttributesW(&m_context, SECPKG_ATTR_STREAM_SIZES, &m_sizes);
        if (sizes != SEC_E_OK || m_sizes.cbMaximumMessage == 0) {
            detail = "stream sizes: " + win32::SecurityStatusText(sizes);
            return TlsFailure::Handshake;
        }
        return TlsFailure::None;
    }

    bool SendAll(std::string_view data) override {
        // EncryptMessage takes at most cbMaximumMessage bytes of plaintext at a time.
        std::string message;
        while (!data.empty()) {
            const std::size_t n = std::min<std::size_t>(data.size(), m_sizes.cbMaximumMessage);
            message.assign(m_sizes.cbHeader + n + m_sizes.cbTrailer, '\0');
            std::memcpy(message.data() + m_sizes.cbHeader, data.data(), n);
            SecBuffer buffers[4] = {
                {m_sizes.cbHeader, SECBUFFER_STREAM_HEADER, message.data()},
                {static_cast<unsigned long>(n), SECBUFFER_DATA, message.data() + m_sizes.cbHeader},
                {m_sizes.cbTrailer, SECBUFFER_STREAM_TRAILER,
                 message.data() + m_sizes.cbHeader + n},
                {0, SECBUFFER_EMPTY, nullptr},
            };
            SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
            if (EncryptMessage(&m_context, 0, &desc, 0) != SEC_E_OK) {
                return false;
            }
            // The trailer may come out shorter than its maximum.
            const std::size_t length =
                buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer;
            if (!m_plain->SendAll(std::string_view(message.data(), length))) {
                return false;
            }
            data.remove_prefix(n);
        }
        return true;
    }

    Result Receive(std::string& out, std::size_t maxBytes,
                   std::chrono::milliseconds timeout) override {
        return ReceiveDecrypted(m_records, *this, *m_plain, out, maxBytes, timeout);
    }

    std::optional<std::array<std::uint8_t, 4>> LocalIPv4() const override {
        return m_plain->LocalIPv4();
    }

    Clock::time_point Now() const override { return m_plain->Now(); }

private:
    TlsDecryptStep Decrypt(char* data, std::size_t size) override {
        SecBuffer buffers[4] = {
            {static_cast<unsigned long>(size), SECBUFFER_DATA, data},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
        };
        SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
        const SECURITY_STATUS status = DecryptMessage(&m_context, &desc, 0, nullptr);
        TlsDecryptStep step;
        const SecBuffer* plaintext = nullptr;
        for (int i = 1; i < 4; ++i) {
            if (buffers[i].BufferType == SECBUFFER_DATA) {
                plaintext = &buffers[i];
            } else if (buffers[i].BufferType == SECBUFFER_EXTRA) {
                step.unconsumed = buffers[i].cbBuffer;
            }
        }
        switch (status) {
            case SEC_E_OK:
                // Some SChannels report the peer's close alert as a record without plaintext
                // rather than SEC_I_CONTEXT_EXPIRED; TLS stacks do not send empty records.
                if (plaintext == nullptr || plaintext->cbBuffer == 0) {
                    step.status = TlsDecryptStep::Status::Closed;
                    return step;
                }
                step.status = TlsDecryptStep::Status::Plaintext;
                // An offset from outside the data is caught by TakePlaintext as out of range.
                step.plainOffset =
                    static_cast<std::size_t>(static_cast<const char*>(plaintext->pvBuffer) - data);
                step.plainLength = plaintext->cbBuffer;
                return step;
            case SEC_E_INCOMPLETE_MESSAGE:
                step.status = TlsDecryptStep::Status::NeedMore;
                return step;
            case SEC_I_RENEGOTIATE:
                // TLS 1.3 session tickets arrive this way: the rest goes back to the handshake.
                step.status = TlsDecryptStep::Status::Renegotiate;
                return step;
            case SEC_I_CONTEXT_EXPIRED:
                step.status = TlsDecryptStep::Status::Closed;
                return step;
            default:
                step.status = TlsDecryptStep::Status::Failed;
                return step;
        }
    }

    Result Renegotiate(Clock::time_point deadline) override {
        std::string detail;
        switch (Handshake(false, deadline, detail)) {
            case TlsFailure::None:
                return Result::Data;
            case TlsFailure::TimedOut:
                return Result::TimedOut;
            case TlsFailure::Aborted:
                return Result::Aborted;
            default:
                return Result::Failed;
        }
    }

    NetStream::Result ReadMore(Clock::time_point deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return Result::TimedOut;
        }
        std::string chunk;
        const Result r = m_plain->Receive(chunk, 16384, left);
        if (r == Result::Data) {
            m_records.AppendCipher(chunk);
        }
        return r;
    }

    // The InitializeSecurityContextW loop: the first call of a new connection (initial) sends
    // the client hello without input; later calls take the ciphertext waiting in m_records.
    // Whatever SChannel leaves unconsumed stays there: more handshake for the next call, or,
    // once the handshake is done, the first records of data.
    TlsFailure Handshake(bool initial, Clock::time_point deadline, std::string& detail) {
        DWORD request = kRequest;
        bool first = initial;
        bool needInput = false;
        bool retriedCredentials = false;
        for (;;) {
            if (needInput) {
                if (m_records.CipherSize() >= kMaxHandshakeInput) {
                    detail = "the handshake does not end";
                    return TlsFailure::Handshake;
                }
                const Result r = ReadMore(deadline);
                if (r != Result::Data) {
                    return ReadFailure(r, detail);
                }
            }
            SecBuffer input[2] = {
                {static_cast<unsigned long>(m_records.CipherSize()), SECBUFFER_TOKEN,
                 m_records.CipherData()},
                {0, SECBUFFER_EMPTY, nullptr},
            };
            SecBufferDesc inputDesc{SECBUFFER_VERSION, 2, input};
            OutputToken output;
            SecBufferDesc outputDesc{SECBUFFER_VERSION, 1, &output.buffer};
            ULONG attributes = 0;
            const SECURITY_STATUS status = InitializeSecurityContextW(
                &m_credentials, first ? nullptr : &m_context, m_name.data(), request, 0, 0,
                first ? nullptr : &inputDesc, 0, first ? &m_context : nullptr, &outputDesc,
                &attributes, nullptr);
            if (first && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) {
                m_haveContext = true;
            }
            first = false;
            // With ISC_REQ_EXTENDED_ERROR a failure may come with an alert for the server.
            if (output.buffer.cbBuffer > 0 && output.buffer.pvBuffer != nullptr &&
                !m_plain->SendAll(output.Bytes()) &&
                (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) {
                detail = "the connection ended during the handshake";
                return TlsFailure::Handshake;
            }
            const std::size_t unconsumed =
                input[1].BufferType == SECBUFFER_EXTRA ? input[1].cbBuffer : 0;
            switch (status) {
                case SEC_E_INCOMPLETE_MESSAGE:
                    if (!StartsLikeTlsRecord(
                            std::string_view(m_records.CipherData(), m_records.CipherSize()))) {
                        detail = "the server does not answer in TLS";
                        return TlsFailure::Handshake;
                    }
                    needInput = true;
                    break;
                case SEC_I_CONTINUE_NEEDED:
                    m_records.KeepUnconsumed(unconsumed);
                    needInput = m_records.CipherSize() == 0;
                    break;
                case SEC_E_OK:
                    m_records.KeepUnconsumed(unconsumed);
                    return TlsFailure::None;
                case SEC_I_INCOMPLETE_CREDENTIALS:
                    // The server asks for a client certificate; the program has none, so the
                    // handshake goes on without one, over the same input.
                    if (retriedCredentials) {
                        detail = win32::SecurityStatusText(status);
                        return TlsFailure::Handshake;
                    }
                    retriedCredentials = true;
                    request |= ISC_REQ_USE_SUPPLIED_CREDS;
                    needInput = false;
                    break;
                default:
                    detail = win32::SecurityStatusText(status);
                    return HandshakeFailure(status);
            }
        }
    }

    // The close alert, best-effort: SChannel makes it when asked to shut down.
    void SendCloseNotify() {
        DWORD type = SCHANNEL_SHUTDOWN;
        SecBuffer control{sizeof type, SECBUFFER_TOKEN, &type};
        SecBufferDesc controlDesc{SECBUFFER_VERSION, 1, &control};
        if (ApplyControlToken(&m_context, &controlDesc) != SEC_E_OK) {
            return;
        }
        OutputToken output;
        SecBufferDesc outputDesc{SECBUFFER_VERSION, 1, &output.buffer};
        ULONG attributes = 0;
        const SECURITY_STATUS status =
            InitializeSecurityContextW(&m_credentials, &m_context, m_name.data(), kRequest, 0, 0,
                                       nullptr, 0, nullptr, &outputDesc, &attributes, nullptr);
        if ((status == SEC_E_OK || status == SEC_I_CONTEXT_EXPIRED) && output.buffer.cbBuffer > 0 &&
            output.buffer.pvBuffer != nullptr) {
            m_plain->SendAll(output.Bytes());
        }
    }

    std::unique_ptr<NetStream> m_plain;
    std::wstring m_name;
    CredHandle m_credentials{};
    CtxtHandle m_context{};
    bool m_haveCredentials = false;
    bool m_haveContext = false;
    bool m_established = false;
    SecPkgContext_StreamSizes m_sizes{};
    TlsRecordBuffer m_records;
};

class SchannelTls final : public Tls {
public:
    TlsOutcome Secure(std::unique_ptr<NetStream> plain, const std::string& serverName,
                      std::chrono::milliseconds limit) override {
        TlsOutcome outcome;
        if (plain == nullptr) {
            outcome.failure = TlsFailure::Handshake;
            outcome.detail = "no connection";
            return outcome;
        }
        auto stream = std::make_unique<SchannelStream>(std::move(plain), serverName);
        outcome.failure =
            stream->Start(serverName, Clock::now() + limit, outcome.protocol, outcome.detail);
        if (outcome.failure == TlsFailure::None) {
            outcome.stream = std::move(stream);
        } else {
            outcome.protocol.clear();  // named only once the connection is secure
        }
        return outcome;
    }
};

}  // namespace

Tls& SystemTls() {
    static SchannelTls tls;
    return tls;
}

}  // namespace quorlet
