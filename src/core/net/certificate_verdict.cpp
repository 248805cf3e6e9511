#include "core/net/certificate_verdict.h"

#include <cstdio>

namespace tiqora {

CertificateVerdict certificateVerdict(std::uint32_t chainErrors, std::uint32_t policyError) {
    using namespace chain_error;
    // Revocation that could not be checked is no reason to refuse.
    const std::uint32_t errors = chainErrors & ~(kRevocationStatusUnknown | kOfflineRevocation);
    if (errors & kRevoked) return CertificateVerdict::Revoked;
    if (errors & (kUntrustedRoot | kPartialChain)) return CertificateVerdict::UntrustedAuthority;
    if (errors & (kNotSignatureValid | kCyclic)) return CertificateVerdict::Invalid;
    if (errors & kNotTimeValid) return CertificateVerdict::NotTimeValid;
    if (errors & kNotValidForUsage) return CertificateVerdict::WrongUsage;
    if (errors != 0) return CertificateVerdict::Invalid;

    switch (policyError) {
    case 0:
    case policy_error::kRevocationFailure: return CertificateVerdict::Trusted;
    case policy_error::kHostMismatch: return CertificateVerdict::HostMismatch;
    case policy_error::kUntrustedRoot:
    case policy_error::kChaining: return CertificateVerdict::UntrustedAuthority;
    case policy_error::kExpired: return CertificateVerdict::NotTimeValid;
    case policy_error::kRevoked: return CertificateVerdict::Revoked;
    case policy_error::kWrongUsage: return CertificateVerdict::WrongUsage;
    default: return CertificateVerdict::Invalid;
    }
}

std::string certificateRefusalReason(CertificateVerdict verdict, std::string_view hostName, std::uint32_t chainErrors,
                                     std::uint32_t policyError) {
    switch (verdict) {
    case CertificateVerdict::HostMismatch:
        return "the certificate's host does not match " + std::string(hostName);
    case CertificateVerdict::UntrustedAuthority:
        return "the certificate's authority is not trusted by this machine";
    case CertificateVerdict::NotTimeValid: return "the certificate has expired or is not yet valid";
    case CertificateVerdict::Revoked: return "the certificate has been revoked";
    case CertificateVerdict::WrongUsage: return "the certificate is not made out for a web server";
    case CertificateVerdict::Trusted:  // never refused; told by its codes should it ever be
    case CertificateVerdict::Invalid: break;
    }
    char codes[64];
    std::snprintf(codes, sizeof codes, "chain status 0x%08X, policy error 0x%08X", static_cast<unsigned>(chainErrors),
                  static_cast<unsigned>(policyError));
    return std::string("the certificate is not valid (") + codes + ")";
}

}  // namespace tiqora
