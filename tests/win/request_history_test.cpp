// The request history read in one go must give exactly the rows that one
// profile lookup per record gives, whatever the file holds.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/support_request/request_history.h"
#include "features/support_request/call_tracking.h"
#include "features/support_request/request_details.h"
#include "harness/machine.h"
#include "harness/test_paths.h"
#include "win/config_sources.h"

namespace tiqora {
namespace {

using test::SuiteMachine;
using Row = std::array<std::wstring, 5>;

const std::wstring kFile = L"C:\\ProgramData\\Orvantis\\Tiqora.ini";

// The rows as one lookup per key reads them.
std::vector<Row> rowsKeyByKey(const std::wstring& file) {
    std::vector<Row> rows;
    const int count = static_cast<int>(GetPrivateProfileIntW(L"Tiqora", L"CNT", 0, file.c_str()));
    for (int n = 1; n <= count; ++n) {
        const std::wstring key = std::to_wstring(n);
        wchar_t record[1024] = {};
        GetPrivateProfileStringW(L"Tiqora", key.c_str(), L"NULL", record, 1024, file.c_str());
        const auto fields = splitHistoryRecord<wchar_t>(record);
        rows.push_back({key, fields[0], fields[1], fields[2], fields[3]});
    }
    return rows;
}

std::vector<Row> rowsInOneRead(const std::wstring& file) {
    return historyRows(ProfileSection<wchar_t>(readProfileSection(file, L"Tiqora")));
}

TEST(RequestHistoryFile, OneReadGivesTheRowsOfOneLookupPerKey) {
    const std::string longRecord = "9/12/2026 10:00#CT : 1#" + std::string(2000, 'p') + "#9000000000";
    const std::vector<std::pair<const char*, std::string>> files = {
        {"plain", "[Tiqora]\r\nCNT=3\r\n1=7/12/2026 05:26#CT : 4711#VIRUS - slow#9876543210\r\n"
                  "2=8/12/2026 06:00#CT : 4712#PC - fan#9876543211\r\n3=8/12/2026 06:01#CT : 4713#UPDATE - x#9876543212\r\n"},
        {"missing keys and written records", "[Tiqora]\r\nCNT=5\r\n2=a#b#c#d\n\r\n\r\n5=e#f\r\n"},
        {"quotes, blanks and case", "[tiqora]\r\ncnt = 4\r\n 1 = \"quoted#CT : 1#P#M\" \r\n2=\"half#quoted\r\n3=\"\"\r\n4 =  spaced  \r\n"},
        {"duplicates: the first wins", "[Tiqora]\r\nCNT=2\r\n1=first#a\r\n1=second#b\r\n2=x\r\n2=y\r\n"},
        {"a long record", "[Tiqora]\r\nCNT=1\r\n1=" + longRecord + "\r\n"},
        {"hashes", "[Tiqora]\r\nCNT=3\r\n1=no hash\r\n2=#a###b#\r\n3=a#b#c#d#e#f\r\n"},
        {"CNT -1", "[Tiqora]\r\nCNT=-1\r\n1=a\r\n"},
        {"CNT abc", "[Tiqora]\r\nCNT=abc\r\n1=a\r\n"},
        {"CNT 12x", "[Tiqora]\r\nCNT=2x\r\n1=a\r\n"},
        {"another section first", "[Other]\r\nCNT=9\r\n1=wrong\r\n[Tiqora]\r\nCNT=1\r\n1=right#r\r\n"},
        {"no section", "[Other]\r\nCNT=2\r\n"},
        {"CNT 99999 with three keys", "[Tiqora]\r\nCNT=99999\r\n1=a\r\n2=b\r\n3=c\r\n"},
    };
    for (const auto& [what, content] : files) {
        SuiteMachine::bare();
        test::writeFileBytes(kFile, content);
        const auto expected = rowsKeyByKey(kFile);
        const auto actual = rowsInOneRead(kFile);
        ASSERT_EQ(actual.size(), expected.size()) << what;
        for (size_t i = 0; i < actual.size(); ++i) ASSERT_EQ(actual[i], expected[i]) << what << ", row " << i + 1;
    }
    SuiteMachine::bare();
    EXPECT_TRUE(rowsInOneRead(kFile).empty()) << "no file";
}

std::wstring iniValue(const wchar_t* key) {
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(L"Tiqora", key, L"<none>", value, 1024, kFile.c_str());
    return value;
}

TEST(RequestHistoryFile, ARecordIsAddedUnderTheKeyAfterTheCountAndNeverOverflowsIt) {
    struct Case {
        const wchar_t* storedCount;  // null: no CNT
        const wchar_t* key;          // the record's key; null: none is written
        const wchar_t* countAfter;
    } cases[] = {
        {nullptr, L"1", L"1"},
        {L"41", L"42", L"42"},
        {L"2147483646", L"2147483647", L"2147483647"},
        // A damaged count: at or past the integer limit no key follows it,
        // and nothing wraps round to a negative key.
        {L"2147483647", nullptr, L"2147483647"},
        {L"99999999999", nullptr, L"99999999999"},
        {L"-5", L"1", L"1"},
    };
    for (const auto& c : cases) {
        test::SuiteMachine::standard();
        DeleteFileW(kFile.c_str());
        if (c.storedCount) WritePrivateProfileStringW(L"Tiqora", L"CNT", c.storedCount, kFile.c_str());
        appendRequestHistory(kFile, L"7/12/2026 05:26#CT : 4711#VIRUS - slow#9876543210\n");
        EXPECT_EQ(iniValue(L"CNT"), c.countAfter ? c.countAfter : L"<none>") << c.countAfter;
        if (c.key) {
            EXPECT_EQ(iniValue(c.key), L"7/12/2026 05:26#CT : 4711#VIRUS - slow#9876543210");
        }
        EXPECT_EQ(iniValue(L"-2147483648"), L"<none>");
        EXPECT_EQ(iniValue(L"0"), L"<none>");
    }
}

TEST(RequestDetails, ComeFromTheConfigurationKeyThenItsThirtyTwoBitView) {
    SuiteMachine::bare()
        .set(RegistrySource::SuiteConfig, L"InstallationUserName", std::wstring(129, L'n') )
        .set(RegistrySource::SuiteConfig, L"City", std::wstring(128, L'c'))
        .set(RegistrySource::SuiteConfig32, L"City", L"Nashik")
        .set(RegistrySource::SuiteConfig32, L"state", L"Goa ")
        .set(RegistrySource::LegacyUser, L"LicenseCode", L"LEGACY-ONLY");
    const RequestDetails details = readRequestDetails();
    EXPECT_EQ(details.customerName, std::wstring(129, L'n'));
    EXPECT_EQ(details.city, L"Nashik");      // too long in the first source
    EXPECT_EQ(details.state, L"Goa ");       // kept as stored, blanks and all
    EXPECT_EQ(details.licenceCode, L"");     // the request form never reads the legacy key

    SuiteMachine::bare().set(RegistrySource::SuiteConfig, L"InstallationUserName", std::wstring(130, L'n'));
    EXPECT_EQ(readRequestDetails().customerName, L"");
}

}  // namespace
}  // namespace tiqora
