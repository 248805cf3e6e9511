// The feedback's Windows-facing pieces against the real registry and files:
// the customer details it reads (with their log lines), the feedback log
// itself, and the support phone number of TiqoraDesk.ini.
#include <gtest/gtest.h>

#include "features/feedback/feedback_details.h"
#include "harness/machine.h"
#include "harness/system_identity.h"
#include "harness/test_paths.h"
#include "win/config_sources.h"
#include "win/feedback_log.h"

namespace tiqora {
namespace {

using test::SuiteMachine;

TEST(FeedbackLog, AppendsEachLineInTextModeAsGiven) {
    SuiteMachine::bare().withLogFolder();
    for (const char* line : {"in OnBnClickedOk()", "WBX Path:C:\\x\\%S %s %n", "", "reply\nwith its own break"})
        EXPECT_TRUE(writeFeedbackLog(line)) << line;
    EXPECT_EQ(SuiteMachine::feedbackLog(),
              "in OnBnClickedOk()\r\nWBX Path:C:\\x\\%S %s %n\r\n\r\nreply\r\nwith its own break\r\n");
}

TEST(FeedbackLog, WithoutTheFolderTheLineIsLostQuietly) {
    SuiteMachine::bare().withoutLogFolder();
    EXPECT_FALSE(writeFeedbackLog("lost"));
    EXPECT_FALSE(test::fileExists(SuiteMachine::logFolder()));
}

TEST(FeedbackDetails, EachValueFromItsFirstSourceWithoutTrailingWhiteSpace) {
    const std::wstring tooLong(128, L'n');  // does not fit 256 bytes with its terminator
    SuiteMachine::bare()
        .withLogFolder()
        // Both keys: the suite configuration key wins; trailing blanks go.
        .set(RegistrySource::SuiteConfig, L"LicenseCode", L"TQ-1  ")
        .set(RegistrySource::LegacyUser, L"LicenseCode", L"LEGACY")
        // Only the legacy per-user key.
        .set(RegistrySource::LegacyUser, L"Logstr1", L"31/12/2027\t \r\n")
        // Too long in the first source: the second one is read.
        .set(RegistrySource::SuiteConfig, L"InstallationUserName", tooLong)
        .set(RegistrySource::LegacyUser, L"InstallationUserName", L"Asha Verma ")
        // The 32-bit view is no source of the feedback.
        .set(RegistrySource::SuiteConfig32, L"City", L"Nashik")
        // Leading blanks stay; the log holds the system code page.
        .set(RegistrySource::SuiteConfig, L"District", L"  B\u00e9ed")
        .set(RegistrySource::SuiteConfig, L"InstallationEmailID", L"asha@example.com")
        // MobileNo nowhere. The operating-system key comes before the legacy key.
        .set(RegistrySource::LegacyUser, L"ProductName", L"Legacy OS");

    const CustomerDetails details = readFeedbackDetails();
    const std::wstring os = test::systemOsName();
    ASSERT_FALSE(os.empty());
    EXPECT_EQ(details.licenceCode, L"TQ-1");
    EXPECT_EQ(details.expiryDate, L"31/12/2027");
    EXPECT_EQ(details.customerName, L"Asha Verma");
    EXPECT_EQ(details.city, L"");
    EXPECT_EQ(details.district, L"  B\u00e9ed");
    EXPECT_EQ(details.email, L"asha@example.com");
    EXPECT_EQ(details.mobile, L"");
    EXPECT_EQ(details.osName, os);

    std::string osAnsi;
    for (wchar_t c : os) osAnsi += static_cast<char>(c);  // the name is plain ASCII
    EXPECT_EQ(SuiteMachine::feedbackLog(),
              "in GetPCDetails\r\n"
              "LicKey:TQ-1\r\n"
              "KeyExpiryDate:31/12/2027\r\n"
              "CustName:Asha Verma\r\n"
              "City:\r\n"
              "District:  B\xe9" "ed\r\n"
              "EMail:asha@example.com\r\n"
              "MobNo:\r\n"
              "OSName:" + osAnsi + "\r\n"
              "out GetPCDetails()\r\n");
}

TEST(SupportPhone, ACompiledInNumberThatTheInstallFoldersIniCanChange) {
    SuiteMachine::bare();
    const std::wstring folder = SuiteMachine::installFolder();
    const std::wstring compiledIn = readSupportPhone(folder);
    EXPECT_FALSE(compiledIn.empty());
    WritePrivateProfileStringW(L"Support", L"Phone", L"+91 20 5555 0100", (folder + L"\\TiqoraDesk.ini").c_str());
    EXPECT_EQ(readSupportPhone(folder), L"+91 20 5555 0100");
    WritePrivateProfileStringW(L"Support", L"Phone", std::wstring(80, L'9').c_str(),
                               (folder + L"\\TiqoraDesk.ini").c_str());
    EXPECT_EQ(readSupportPhone(folder), std::wstring(63, L'9'));
}

}  // namespace
}  // namespace tiqora
