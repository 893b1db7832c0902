// The checks SChannel leaves to the program once a handshake is done (the credentials ask for
// manual validation): the protocol agreed on, and the server's certificate against the system's
// trust store and the name connected to.
#pragma once

#define SECURITY_WIN32
#include <windows.h>

#include <security.h>
#include <string>

#include "platform/tls.h"

namespace quorlet::win32 {

// "0x80090325 <the system's words>", for the detail of a failure.
std::string SecurityStatusText(long status);

// The negotiated protocol of a completed handshake as "TLSv1.2"; ProtocolTooOld before TLS 1.2.
TlsFailure CheckProtocol(CtxtHandle& context, std::string& protocol, std::string& detail);

// Builds the chain of the server's certificate (with the intermediates it sent), requires a
// chain without any error, then the SSL policy for serverName (GBK).
TlsFailure CheckServerCertificate(CtxtHandle& context, const std::string& serverName,
                                  std::string& detail);

}  // namespace quorlet::win32
