// The configuration readers against the real private-profile functions and
// registry of the Wine machine.
#include "win/config_sources.h"

#include <gtest/gtest.h>

#include "harness/machine.h"
#include "harness/system_identity.h"
#include "win/wide_text.h"

namespace tiqora {
namespace {

using test::SuiteMachine;

TEST(IniReaders, MissingFilesGiveTheDefaults) {
    SuiteMachine::bare();
    const std::wstring folder = SuiteMachine::productDataFolder();
    const KrlmFlags flags = readKrlmFlags(folder);
    EXPECT_EQ(flags.sendWebRpt, L"N/A");
    EXPECT_EQ(flags.sendLocalRpt, L"");
    EXPECT_EQ(flags.itTicketServer, L"");
    EXPECT_EQ(readQxPath(folder), L"N/A");
    EXPECT_EQ(readAdminTicketUserName(folder), L"N/A");
    EXPECT_EQ(readIniStringA("C:\\ProgramData\\Orvantis\\ServerIP.ini", "Server", "ACIP", "N/A", 64), "N/A");
}

TEST(IniReaders, ValuesAreReadAndCutToTheirBuffers) {
    const std::wstring longValue(300, L'v');
    SuiteMachine::bare()
        .krlm(L"SendWebRpt", longValue)
        .krlm(L"SendLocalRpt", longValue)
        .krlm(L"ITTicketServer", L"L")
        .ini(L"QXPath.ini", L"QXPATH", L"QXPATH", longValue)
        .ini(L"DPX_AdminTicket.ini", L"Name", L"UserName", longValue + longValue)
        .ini(L"ServerIP.ini", L"Server", L"ACIP", L"10.1.2.3:81");
    const std::wstring folder = SuiteMachine::productDataFolder();
    const KrlmFlags flags = readKrlmFlags(folder);
    EXPECT_EQ(flags.sendWebRpt, longValue.substr(0, 199));
    EXPECT_EQ(flags.sendLocalRpt, longValue.substr(0, 39));
    EXPECT_EQ(flags.itTicketServer, L"L");
    EXPECT_EQ(readQxPath(folder), longValue.substr(0, 99));
    EXPECT_EQ(readAdminTicketUserName(folder), (longValue + longValue).substr(0, 511));
    EXPECT_EQ(readIniStringA("C:\\ProgramData\\Orvantis\\ServerIP.ini", "Server", "ACIP", "", 64), "10.1.2.3:81");
    EXPECT_EQ(readIniStringA("C:\\ProgramData\\Orvantis\\ServerIP.ini", "Server", "ACIP", "", 5), "10.1");
}

TEST(IniWriter, OnlyTextThatReadsBackExactlyIsWritten) {
    SuiteMachine::bare();
    const std::wstring file = SuiteMachine::productDataFolder() + L"\\write-test.ini";
    const struct {
        std::wstring key, value;
        bool written;
    } cases[] = {
        {L"Email", L"asha@corp.example", true},
        {L"Email", L"ravi.kum\u00e4r@qu\u00f6rra.co.in", true},  // in code page 1252
        {L"Email", L"\u0101sha@corp.example", false},             // a-macron: "?" or "a" on disk
        {L"Email", L"\u4e2d@corp.example", false},
        {L"wt\u00e91", L"guid", true},
        {L"wt\u01011", L"guid", false},  // a key that could never be found again
        {L"wt2", L"g\u0101id", false},
    };
    for (const auto& c : cases) {
        DeleteFileW(file.c_str());
        EXPECT_EQ(writeIniStringExactly(file, L"contact", c.key, c.value), c.written) << toUtf8(c.key) << "=" << toUtf8(c.value);
        EXPECT_EQ(readIniString(file, L"contact", c.key.c_str(), L"<none>", 256), c.written ? c.value : L"<none>");
        // Nothing at all lands in the file for a value that would change.
        if (!c.written) {
            EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
        }
    }
    // A file in UTF-16 (with its byte-order mark) holds any text.
    DeleteFileW(file.c_str());
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    const wchar_t unicodeFile[] = L"\xFEFF[contact]\r\n";
    DWORD written = 0;
    WriteFile(handle, unicodeFile, sizeof unicodeFile - sizeof(wchar_t), &written, nullptr);
    CloseHandle(handle);
    EXPECT_TRUE(writeIniStringExactly(file, L"contact", L"Email", L"\u0101sha@corp.example"));
    EXPECT_EQ(readIniString(file, L"contact", L"Email", L"<none>", 256), L"\u0101sha@corp.example");
    DeleteFileW(file.c_str());
}

TEST(IniReaders, VendorHostsHaveDefaultsThatTheInstallFolderCanOverride) {
    SuiteMachine::bare();
    const std::wstring folder = SuiteMachine::installFolder();
    VendorHosts hosts = readVendorHosts(folder);
    EXPECT_EQ(hosts.callTracking, L"calltrack.tiqora.example");
    EXPECT_EQ(hosts.helpDeskMail, L"helpdesk.tiqora.example");
    EXPECT_EQ(hosts.feedbackPage, L"www.tiqora.example");
    EXPECT_EQ(hosts.webConsole, L"console.tiqora.example");
    EXPECT_EQ(hosts.pendingTickets, L"tickets.tiqora.example");

    WritePrivateProfileStringW(L"Hosts", L"WebConsole", L"127.0.0.1:8123", (folder + L"\\TiqoraDesk.ini").c_str());
    hosts = readVendorHosts(folder);
    EXPECT_EQ(hosts.webConsole, L"127.0.0.1:8123");
    EXPECT_EQ(hosts.callTracking, L"calltrack.tiqora.example");
}

TEST(RegistryReaders, TheFirstSourceThatYieldsTheValueWins) {
    const std::wstring fits(127, L'n');      // 127 characters and the terminator fill 256 bytes
    const std::wstring tooLong(128, L'n');
    struct Case {
        const char* what;
        const wchar_t* first;   // value in the suite configuration key, or null
        const wchar_t* second;  // value in its 32-bit view, or null
        std::wstring expected;
    } cases[] = {
        {"both present", L"Pune", L"Nashik", L"Pune"},
        {"only the 32-bit view", nullptr, L"Nashik", L"Nashik"},
        {"only the first", L"Pune", nullptr, L"Pune"},
        {"neither", nullptr, nullptr, L""},
        {"127 characters fit", fits.c_str(), L"Nashik", fits},
        {"128 characters count as missing", tooLong.c_str(), L"Nashik", L"Nashik"},
        {"too long everywhere", tooLong.c_str(), tooLong.c_str(), L""},
        {"empty value is a value", L"", L"Nashik", L""},
    };
    for (const auto& c : cases) {
        auto machine = SuiteMachine::bare();
        if (c.first) machine.set(RegistrySource::SuiteConfig, L"City", c.first);
        if (c.second) machine.set(RegistrySource::SuiteConfig32, L"City", c.second);
        EXPECT_EQ(readRegistryString(registry_order::kRequestForm, L"City"), c.expected) << c.what;
    }
}

TEST(RegistryReaders, EachReaderHasItsOwnOrder) {
    SuiteMachine::bare()
        .set(RegistrySource::LegacyUser, L"InstallationUserName", L"Legacy Only")
        .set(RegistrySource::SuiteConfig32, L"CorporateID", L"CORP-32")
        .set(RegistrySource::LegacyUser, L"ProductName", L"Legacy OS");
    // A value only in the legacy per-user key: the feedback finds it, the
    // request form does not.
    EXPECT_EQ(readRegistryString(registry_order::kFeedbackDetails, L"InstallationUserName"), L"Legacy Only");
    EXPECT_EQ(readRegistryString(registry_order::kRequestForm, L"InstallationUserName"), L"");
    EXPECT_EQ(readRegistryString(registry_order::kCorporateId, L"CorporateID"), L"CORP-32");
    EXPECT_EQ(readRegistryString(registry_order::kTicketFormLicence, L"CorporateID"), L"");
    // The Windows key comes before the legacy key: the name is the one
    // Windows holds.
    const std::wstring windowsName = test::systemOsName();
    ASSERT_FALSE(windowsName.empty());
    EXPECT_EQ(readRegistryString(registry_order::kOperatingSystemName, L"ProductName"), windowsName);
    EXPECT_EQ(readRegistryString(RegistrySource::OperatingSystem, L"ProductName"), windowsName);
}

TEST(RegistryReaders, BufferSizeDecidesWhatFitsAndOtherTypesAreMissing) {
    SuiteMachine::bare()
        .set(RegistrySource::SuiteConfig, L"InstallationUserName", std::wstring(129, L'a'))
        .set(RegistrySource::SuiteConfig, L"City", std::wstring(130, L'c'))
        .setDword(RegistrySource::SuiteConfig, L"state", 7)
        .set(RegistrySource::SuiteConfig32, L"state", L"Goa");
    // The request form reads the customer name into 260 bytes: 129 characters.
    EXPECT_EQ(readRegistryString(registry_order::kRequestForm, L"InstallationUserName", 260), std::wstring(129, L'a'));
    EXPECT_EQ(readRegistryString(registry_order::kRequestForm, L"City", 260), L"");
    EXPECT_EQ(readRegistryString(registry_order::kRequestForm, L"state"), L"Goa");
}

}  // namespace
}  // namespace tiqora
