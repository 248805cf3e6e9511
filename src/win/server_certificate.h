// Judges the certificate a web server presented on a TLS connection that
// libcurl made with Schannel: its chain must end at a root this machine
// trusts (the Windows certificate store), it must be made out for a TLS
// server and for the host asked for, and it must not be known to be
// revoked. Every request the program sends itself over TLS
// (win/http_client.h) runs it after the handshake and before any byte of the
// request is sent. Windows' Schannel checks the same on its own during the
// handshake; Wine's does not, which is why the program checks itself.
#pragma once

#include <cstdint>
#include <string>

#include "core/net/certificate_verdict.h"

namespace tiqora {

struct CertificateCheck {
    CertificateVerdict verdict = CertificateVerdict::Invalid;
    std::uint32_t chainErrors = 0;  // trust error bits of the chain
    std::uint32_t policyError = 0;  // the SSL policy's error, or the status of a step that failed
};

// `schannelContext` is the CtxtHandle libcurl reports for the connection
// (CURLINFO_TLS_SSL_PTR); `hostName` the host without port or brackets. The
// check calls crypt32 and secur32 through delay-loaded imports: its caller
// has them loaded first (win/http_client.cpp does, win/system_libraries.h).
CertificateCheck checkServerCertificate(void* schannelContext, const std::wstring& hostName);

}  // namespace tiqora
