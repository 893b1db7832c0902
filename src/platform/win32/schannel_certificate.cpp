#include "platform/win32/schannel_certificate.h"

#include <schannel.h>
#include <wincrypt.h>

#include <cstdio>

#include "platform/win32/wide_text.h"

namespace quorlet::win32 {
namespace {

// The chain and policy objects go back to crypt32 however the check ends.
struct CertificateRef {
    PCCERT_CONTEXT cert = nullptr;
    ~CertificateRef() {
        if (cert != nullptr) {
            CertFreeCertificateContext(cert);
        }
    }
};

struct ChainRef {
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    ~ChainRef() {
        if (chain != nullptr) {
            CertFreeCertificateChain(chain);
        }
    }
};

std::string Hex(DWORD code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

// The chain's own error bits. The SSL policy alone is not enough: some implementations of it
// accept a chain that still carries errors (a partial chain, a CA that is not one).
TlsFailure ChainFailure(DWORD errors, std::string& detail) {
    detail = "certificate chain error status " + Hex(errors);
    constexpr DWORD kTrust = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN |
                             CERT_TRUST_INVALID_BASIC_CONSTRAINTS |
                             CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_CYCLIC |
                             CERT_TRUST_IS_REVOKED;
    if ((errors & kTrust) != 0) {
        return TlsFailure::Untrusted;
    }
    if ((errors & (CERT_TRUST_IS_NOT_TIME_VALID | CERT_TRUST_CTL_IS_NOT_TIME_VALID)) != 0) {
        return TlsFailure::Expired;
    }
    return TlsFailure::Untrusted;
}

TlsFailure PolicyFailure(DWORD error, std::string& detail) {
    detail = SecurityStatusText(static_cast<long>(error));
    switch (error) {
        case static_cast<DWORD>(CERT_E_CN_NO_MATCH):
            return TlsFailure::WrongName;
        case static_cast<DWORD>(CERT_E_EXPIRED):
            return TlsFailure::Expired;
        default:
            return TlsFailure::Untrusted;
    }
}

}  // namespace

std::string SecurityStatusText(long status) {
    const DWORD code = static_cast<DWORD>(status);
    std::string text = Hex(code);
    wchar_t* words = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    if (n > 0 && words != nullptr) {
        std::wstring line(words, n);
        while (!line.empty() && (line.back() == L'\r' || line.back() == L'\n' ||
                                 line.back() == L' ' || line.back() == L'.')) {
            line.pop_back();
        }
        text += " " + FromWide(line);
    }
    if (words != nullptr) {
        LocalFree(words);
    }
    return text;
}

TlsFailure CheckProtocol(CtxtHandle& context, std::string& protocol, std::string& detail) {
    SecPkgContext_ConnectionInfo info{};
    const SECURITY_STATUS status =
        QueryContextAttributesW(&context, SECPKG_ATTR_CONNECTION_INFO, &info);
    if (status != SEC_E_OK) {
        detail = "connection info: " + SecurityStatusText(status);
        return TlsFailure::Handshake;
    }
    const DWORD p = info.dwProtocol;
    if ((p & SP_PROT_TLS1_3) != 0) {
        protocol = "TLSv1.3";
    } else if ((p & SP_PROT_TLS1_2) != 0) {
        protocol = "TLSv1.2";
    } else {
        // The credentials ask for TLS 1.2 at least, but not every SChannel keeps to that.
        if ((p & SP_PROT_TLS1_1) != 0) {
            protocol = "TLSv1.1";
        } else if ((p & SP_PROT_TLS1_0) != 0) {
            protocol = "TLSv1";
        } else {
            protocol = "protocol " + Hex(p);
        }
        detail = "the server agreed on " + protocol + " only";
        return TlsFailure::ProtocolTooOld;
    }
    return TlsFailure::None;
}

TlsFailure CheckServerCertificate(CtxtHandle& context, const std::string& serverName,
                                  std::string& detail) {
    CertificateRef remote;
    SECURITY_STATUS status =
        QueryContextAttributesW(&context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &remote.cert);
    if (status != SEC_E_OK || remote.cert == nullptr) {
        detail = "the server sent no certificate: " + SecurityStatusText(status);
        return TlsFailure::Untrusted;
    }

    // The certificate's own store holds the intermediates the server sent, so the chain can
    // reach a trusted root through them. Revocation is not asked for: the lists are often out
    // of reach (on a dial-up line, always before the line is up).
    LPSTR serverAuth = const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH);
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = &serverAuth;
    ChainRef chain;
    if (!CertGetCertificateChain(nullptr, remote.cert, nullptr, remote.cert->hCertStore, &para, 0,
                                 nullptr, &chain.chain) ||
        chain.chain == nullptr) {
        detail = "certificate chain: " + SecurityStatusText(static_cast<long>(GetLastError()));
        return TlsFailure::Untrusted;
    }
    if (chain.chain->TrustStatus.dwErrorStatus != CERT_TRUST_NO_ERROR) {
        return ChainFailure(chain.chain->TrustStatus.dwErrorStatus, detail);
    }

    std::wstring name = ToWide(serverName);
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.fdwChecks = 0;
    ssl.pwszServerName = name.data();
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS result{};
    result.cbSize = sizeof result;
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.chain, &policy, &result)) {
        detail = "certificate policy: " + SecurityStatusText(static_cast<long>(GetLastError()));
        return TlsFailure::Untrusted;
    }
    if (result.dwError != 0) {
        return PolicyFailure(result.dwError, detail);
    }
    return TlsFailure::None;
}

}  // namespace quorlet::win32
