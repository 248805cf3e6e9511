// How a service's TLS certificate is judged, from what Windows says of
// it: the trust error bits of its chain (CertGetCertificateChain) and the
// error of the SSL chain policy (CertVerifyCertificateChainPolicy), with the
// values wincrypt.h gives them (the Windows side checks that they agree).
// Revocation is checked where it can be: a certificate known to be revoked
// is refused, one whose revocation status cannot be learned (no revocation
// list named, or none reachable) is not, as a company's own authority often
// publishes none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tiqora {

namespace chain_error {
inline constexpr std::uint32_t kNotTimeValid = 0x00000001;
inline constexpr std::uint32_t kRevoked = 0x00000004;
inline constexpr std::uint32_t kNotSignatureValid = 0x00000008;
inline constexpr std::uint32_t kNotValidForUsage = 0x00000010;
inline constexpr std::uint32_t kUntrustedRoot = 0x00000020;
inline constexpr std::uint32_t kRevocationStatusUnknown = 0x00000040;
inline constexpr std::uint32_t kCyclic = 0x00000080;
inline constexpr std::uint32_t kPartialChain = 0x00010000;
inline constexpr std::uint32_t kOfflineRevocation = 0x01000000;
}  // namespace chain_error

namespace policy_error {
inline constexpr std::uint32_t kExpired = 0x800B0101;
inline constexpr std::uint32_t kUntrustedRoot = 0x800B0109;
inline constexpr std::uint32_t kChaining = 0x800B010A;
inline constexpr std::uint32_t kRevoked = 0x800B010C;
inline constexpr std::uint32_t kRevocationFailure = 0x800B010E;
inline constexpr std::uint32_t kHostMismatch = 0x800B010F;  // CERT_E_CN_NO_MATCH
inline constexpr std::uint32_t kWrongUsage = 0x800B0110;
}  // namespace policy_error

enum class CertificateVerdict {
    Trusted,
    HostMismatch,        // made out for another host
    UntrustedAuthority,  // its chain ends at no root this machine trusts
    NotTimeValid,        // expired, or not yet valid
    Revoked,
    WrongUsage,          // not made out for a TLS server
    Invalid,             // a bad signature, a loop, anything else
};

CertificateVerdict certificateVerdict(std::uint32_t chainErrors, std::uint32_t policyError);

// Why the certificate was refused, in words, for the logs; `hostName`
// is the host the request asked for.
std::string certificateRefusalReason(CertificateVerdict verdict, std::string_view hostName, std::uint32_t chainErrors,
                                     std::uint32_t policyError);

}  // namespace tiqora
