// The LAN server's address as the program resolves it from the real
// ServerIP.ini, and the WinINet check that makes handles and sends nothing.
// (A server GetUrl cannot resolve ends the program:
// tests/e2e/pending_resend_test.cpp checks that on the real program.)
#include "features/it_ticket/get_url.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "harness/machine.h"
#include "harness/vendor_journal.h"
#include "win/wide_text.h"

namespace tiqora {
namespace {

using test::SuiteMachine;

constexpr char kApiPath[] = "/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1";

TEST(GetUrl, ResolvesTheLanServerOfServerIpIni) {
    struct Case {
        std::optional<std::wstring> acip, ip;  // none: the key is missing
        const wchar_t* host;
        const wchar_t* portText;
        const wchar_t* url;
    } cases[] = {
        {L"192.168.1.20", std::nullopt, L"192.168.1.20", L"7777",
         L"http://192.168.1.20:7777/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1"},
        {L"N/A", L"10.1.2.3", L"10.1.2.3", L"7777",
         L"http://10.1.2.3:7777/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1"},
        {std::nullopt, L"10.1.2.3", L"10.1.2.3", L"7777",
         L"http://10.1.2.3:7777/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1"},
        {L"10.1.2.3", std::nullopt, L"10.1.2.3", L"7777",
         L"http://10.1.2.3:7777/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1"},
        // A value with its own port keeps it in front of the default one.
        {L"10.1.2.3:81", L"10.9.9.9", L"10.1.2.3", L"81:7777",
         L"http://10.1.2.3:81:7777/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1"},
    };
    for (const auto& c : cases) {
        auto machine = SuiteMachine::standard().removeProductFile(L"ServerIP.ini");
        if (c.acip) machine.ini(L"ServerIP.ini", L"Server", L"ACIP", *c.acip);
        if (c.ip) machine.ini(L"ServerIP.ini", L"Server", L"IP", *c.ip);
        const std::string what = toUtf8(c.acip.value_or(L"-")) + " / " + toUtf8(c.ip.value_or(L"-"));

        std::wstring lanUrl = L"earlier|";
        const std::optional<LanServerAddress> resolved = GetUrl(lanUrl, SuiteMachine::productDataFolder());
        ASSERT_TRUE(resolved) << what;
        const LanServerAddress& address = *resolved;

        EXPECT_EQ(address.host, c.host) << what;
        EXPECT_EQ(address.portText, c.portText) << what;
        EXPECT_EQ(address.apiPath, kApiPath) << what;
        EXPECT_EQ(lanUrl, std::wstring(L"earlier|") + c.url) << what;  // appended to
        const std::string log = SuiteMachine::ticketLog();
        EXPECT_NE(log.find("  :  Working URL IS:\r\n"), std::string::npos) << what << "\n" << log;
        EXPECT_NE(log.find("  :    GetUrl function END\r\n\r\n"), std::string::npos) << what << "\n" << log;
    }
}

TEST(GetUrl, GivesNoneWhenNoServerIsNamedOrItsAddressHasNoDot) {
    struct Case {
        std::optional<std::wstring> acip;
        const char* lastLine;
    } cases[] = {
        {std::nullopt, "  :  exit Not found ACIP and IP\r\n"},
        {L"fileserver", "  :  exit 2 \r\n"},
    };
    for (const auto& c : cases) {
        auto machine = SuiteMachine::standard().removeProductFile(L"ServerIP.ini");
        if (c.acip) machine.ini(L"ServerIP.ini", L"Server", L"ACIP", *c.acip);
        std::wstring lanUrl;
        EXPECT_FALSE(GetUrl(lanUrl, SuiteMachine::productDataFolder())) << c.lastLine;
        const std::string log = SuiteMachine::ticketLog();
        ASSERT_GE(log.size(), std::string(c.lastLine).size()) << log;
        EXPECT_EQ(log.substr(log.size() - std::string(c.lastLine).size()), c.lastLine) << log;
    }
}

TEST(ValidateLink, MakesTheHandlesWithoutSendingAnything) {
    SuiteMachine::standard();
    test::clearVendorJournal();
    const std::wstring lanServer = L"127.0.0.1:" + std::to_wstring(test::lanPort());
    for (const std::wstring& hostAndPort : {lanServer + L":7777", lanServer, std::wstring(L"10.1.2.3:7777")})
        EXPECT_TRUE(validateLink(kApiPath, hostAndPort)) << toUtf8(hostAndPort);
    EXPECT_TRUE(test::vendorRequests().empty());
    const std::string log = SuiteMachine::ticketLog();
    EXPECT_NE(log.find("  :  check serverIP and Url is validateLink()\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("  :  //api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1\r\n"), std::string::npos)
        << log;
}

}  // namespace
}  // namespace tiqora
