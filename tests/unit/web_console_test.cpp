#include <gtest/gtest.h>

#include <string>

#include "core/it_ticket/certificate_verdict.h"
#include "core/it_ticket/web_console_address.h"
#include "core/ticket_history/ticket_addresses.h"

namespace tiqora {
namespace {

TEST(WebConsole, TheSettingNamesTheSchemeTheHostAndThePort) {
    struct Case {
        const char* setting;
        WebScheme scheme;
        const char *hostAndPort, *origin, *hostName;
    } cases[] = {
        // Without a scheme the value is a host as it stands, as before.
        {"console.example.com", WebScheme::Http, "console.example.com", "http://console.example.com",
         "console.example.com"},
        {"127.0.0.1:8080", WebScheme::Http, "127.0.0.1:8080", "http://127.0.0.1:8080", "127.0.0.1"},
        {"http://console.example.com:81", WebScheme::Http, "console.example.com:81", "http://console.example.com:81",
         "console.example.com"},
        {"https://console.example.com", WebScheme::Https, "console.example.com", "https://console.example.com",
         "console.example.com"},
        {"HTTPS://localhost:8443/", WebScheme::Https, "localhost:8443", "https://localhost:8443", "localhost"},
        {"https://[::1]:8443", WebScheme::Https, "[::1]:8443", "https://[::1]:8443", "::1"},
        {"Http://h//", WebScheme::Http, "h", "http://h", "h"},
        // No other scheme is read: such a value stays a host (and fails to
        // connect) rather than turning into plain HTTP.
        {"ftp://h", WebScheme::Http, "ftp://h", "http://ftp://h", "ftp"},
        {"https:/h", WebScheme::Http, "https:/h", "http://https:/h", "https"},
        {"", WebScheme::Http, "", "http://", ""},
        {"https://", WebScheme::Https, "", "https://", ""},
    };
    for (const auto& c : cases) {
        const WebConsoleAddress address = webConsoleAddressOf(c.setting);
        EXPECT_EQ(address.scheme, c.scheme) << c.setting;
        EXPECT_EQ(address.hostAndPort, c.hostAndPort) << c.setting;
        EXPECT_EQ(address.origin(), c.origin) << c.setting;
        EXPECT_EQ(address.hostName(), c.hostName) << c.setting;
    }
}

TEST(WebConsole, TicketPagesOpenWithTheConfiguredScheme) {
    EXPECT_EQ(webTicketPageAddress("https://console.example.com", "CORP-1001", "6f1c-2d3e"),
              "https://console.example.com/user/it-ticket/ticket-info/Q09SUC0xMDAx/6f1c-2d3e");
    EXPECT_EQ(webTicketPageAddress("https://localhost:8443/", "K", "g"),
              "https://localhost:8443/user/it-ticket/ticket-info/Sw==/g");
    EXPECT_EQ(webTicketPageAddress("http://localhost:8080", "K", "g"),
              "http://localhost:8080/user/it-ticket/ticket-info/Sw==/g");
}

TEST(WebConsole, ACertificateIsRefusedForEachFaultWindowsReports) {
    // Values as Windows documents them (wincrypt.h, winerror.h).
    constexpr std::uint32_t kNotTimeValid = 0x1, kRevoked = 0x4, kBadSignature = 0x8, kWrongUsage = 0x10,
                            kUntrustedRoot = 0x20, kRevocationUnknown = 0x40, kPartialChain = 0x10000,
                            kOfflineRevocation = 0x1000000;
    constexpr std::uint32_t kCnNoMatch = 0x800B010F, kRevocationFailure = 0x800B010E, kCertExpired = 0x800B0101,
                            kCertUntrustedRoot = 0x800B0109, kCertChaining = 0x800B010A;
    struct Case {
        std::uint32_t chain, policy;
        CertificateVerdict verdict;
    } cases[] = {
        {0, 0, CertificateVerdict::Trusted},
        // Revocation that cannot be checked (a company authority without a
        // revocation list) does not refuse; a known revocation does.
        {kRevocationUnknown | kOfflineRevocation, kRevocationFailure, CertificateVerdict::Trusted},
        {kRevoked | kRevocationUnknown, 0, CertificateVerdict::Revoked},
        {0, kCnNoMatch, CertificateVerdict::HostMismatch},
        {kRevocationUnknown | kOfflineRevocation, kCnNoMatch, CertificateVerdict::HostMismatch},
        // A chain that ends at an unknown authority fails even where the
        // policy says nothing of it (Wine's policy passes a partial chain).
        {kPartialChain, 0, CertificateVerdict::UntrustedAuthority},
        {kUntrustedRoot, kCertUntrustedRoot, CertificateVerdict::UntrustedAuthority},
        {0, kCertChaining, CertificateVerdict::UntrustedAuthority},
        {kNotTimeValid, kCertExpired, CertificateVerdict::NotTimeValid},
        {kWrongUsage, 0, CertificateVerdict::WrongUsage},
        {kBadSignature, 0, CertificateVerdict::Invalid},
        {0x200, 0, CertificateVerdict::Invalid},
        {0, 0x80004005, CertificateVerdict::Invalid},
    };
    for (const auto& c : cases)
        EXPECT_EQ(certificateVerdict(c.chain, c.policy), c.verdict) << std::hex << c.chain << " " << c.policy;
}

TEST(WebConsole, ARefusalSaysWhyInWords) {
    EXPECT_EQ(certificateRefusalReason(CertificateVerdict::HostMismatch, "localhost", 0, 0x800B010F),
              "the certificate's host does not match localhost");
    EXPECT_EQ(certificateRefusalReason(CertificateVerdict::UntrustedAuthority, "h", 0x10000, 0),
              "the certificate's authority is not trusted by this machine");
    EXPECT_EQ(certificateRefusalReason(CertificateVerdict::Invalid, "h", 0x8, 0x80004005),
              "the certificate is not valid (chain status 0x00000008, policy error 0x80004005)");
}

}  // namespace
}  // namespace tiqora
