// The ticket history's listing on a real folder and a real Tiqora.ini: how a
// LAN record is read (opened for reading only, never through a mapping that
// another program named, bounded by the file's size), and the listing of
// empty, missing and large folders and of large or missing GUID sections,
// of hidden records, later records of an id and temporaries.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "features/ticket_history/sent_tickets.h"
#include "harness/machine.h"
#include "harness/test_paths.h"
#include "win/wide_text.h"

namespace tiqora {
namespace {

const std::wstring kTicketFolder = L"C:\\ProgramData\\Orvantis\\IT TICKET";
const std::wstring kSent = kTicketFolder + L"\\S";
const std::wstring kIni = kTicketFolder + L"\\Tiqora.ini";

std::wstring sentPath(const std::wstring& name) { return kSent + L"\\" + name; }

class SentTicketsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::SuiteMachine::standard();
        CreateDirectoryW(kTicketFolder.c_str(), nullptr);
        CreateDirectoryW(kSent.c_str(), nullptr);
    }
    void TearDown() override {
        for (const wchar_t* name : {L"L_ro.txt"}) SetFileAttributesW(sentPath(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
};

TEST_F(SentTicketsTest, LanRecordsAreReadForReadingOnlyAndNeverThroughAMappingOfAnotherProgram) {
    const std::string page(4096, 'p');  // exactly one page, no NUL after it
    struct Case {
        const char* what;
        std::wstring name;
        std::string bytes;
        DWORD attributes;
        bool read;
        std::string expected;
    } cases[] = {
        {"a record", L"L_1.txt", R"({"IssueTitle":"t"})", FILE_ATTRIBUTE_NORMAL, true, R"({"IssueTitle":"t"})"},
        {"a read-only record", L"L_ro.txt", "{}", FILE_ATTRIBUTE_READONLY, true, "{}"},
        {"a record of exactly one page", L"L_page.txt", page, FILE_ATTRIBUTE_NORMAL, true, page},
        {"a record with a NUL inside", L"L_nul.txt", std::string("ab\0cd", 5), FILE_ATTRIBUTE_NORMAL, true, "ab"},
        {"an empty record cannot be mapped", L"L_empty.txt", "", FILE_ATTRIBUTE_NORMAL, false, ""},
    };
    // Another program's mapping under the name records were once mapped by.
    const std::string other = "another program's data";
    HANDLE foreign = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"MAP1");
    ASSERT_NE(foreign, nullptr);
    void* view = MapViewOfFile(foreign, FILE_MAP_WRITE, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    memcpy(view, other.c_str(), other.size() + 1);

    for (const Case& c : cases) {
        test::writeFileBytes(sentPath(c.name), c.bytes);
        SetFileAttributesW(sentPath(c.name).c_str(), c.attributes);
        std::string bytes = "left over";
        EXPECT_EQ(readLanRecordBytes(sentPath(c.name), bytes), c.read) << c.what;
        EXPECT_EQ(bytes, c.expected) << c.what;
        SetFileAttributesW(sentPath(c.name).c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(test::readFileBytes(sentPath(c.name)), c.bytes) << c.what << ": the record changed";
    }
    UnmapViewOfFile(view);
    CloseHandle(foreign);

    // A record another program holds open without sharing: logged, not read.
    test::writeFileBytes(sentPath(L"L_locked.txt"), "{}");
    HANDLE locked = CreateFileW(sentPath(L"L_locked.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    std::string bytes;
    EXPECT_FALSE(readLanRecordBytes(sentPath(L"L_locked.txt"), bytes));
    CloseHandle(locked);
    const std::string log = test::SuiteMachine::ticketLog();
    EXPECT_NE(log.find("Fail to Open File\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(toAnsi(sentPath(L"L_locked.txt")) + "\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Fail To Map\r\n"), std::string::npos) << log;
}

TEST_F(SentTicketsTest, OlderRecordsInTheSystemCodePageAreConverted) {
    EXPECT_EQ(recordTextAsUtf8("caf\xe9"), "caf\xc3\xa9");  // code page 1252
    EXPECT_EQ(recordTextAsUtf8("caf\xc3\xa9"), "caf\xc3\xa9");
}

TEST_F(SentTicketsTest, HiddenRecordsAndLaterRecordsOfAnIdAreListedTemporariesAreNot) {
    test::writeFileBytes(kIni, "[WEB]\r\nwt101=guid-101\r\nwt5=guid-5\r\n");
    test::writeFileBytes(sentPath(L"W_wt101.txt"), R"({"IssueTitle":"first","Priority":"0","Status":"New"})");
    test::writeFileBytes(sentPath(L"W_wt101 (2).txt"), R"({"IssueTitle":"second","Priority":"1","Status":"New"})");
    // A record an earlier version left hidden when it was stopped while
    // writing it.
    test::writeFileBytes(sentPath(L"W_wt5.txt"), R"({"IssueTitle":"hidden","Priority":"2","Status":"New"})");
    ASSERT_TRUE(SetFileAttributesW(sentPath(L"W_wt5.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    // The temporary of a record being written.
    test::writeFileBytes(sentPath(L"~record-12-1.part"), R"({"IssueTitle":"half","Priority":"2","Status":"New"})");

    std::vector<std::wstring> rows;
    for (const SentTicket& ticket : scanSentTickets(kSent, kIni, DeliveryMode::Web).tickets)
        rows.push_back(ticket.ticketId + L" " + ticket.guid + L" " + ticket.issueTitle);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"wt101 guid-101 first", L"wt101 guid-101 second", L"wt5 guid-5 hidden"}));
    SetFileAttributesW(sentPath(L"W_wt5.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SentTicketsTest, EmptyMissingAndLargeListings) {
    // No sent folder, an empty one, no Tiqora.ini, an empty Tiqora.ini.
    RemoveDirectoryW(kSent.c_str());
    EXPECT_TRUE(scanSentTickets(kSent, kIni, DeliveryMode::Web).tickets.empty());
    CreateDirectoryW(kSent.c_str(), nullptr);
    EXPECT_TRUE(scanSentTickets(kSent, kIni, DeliveryMode::Web).tickets.empty());
    test::writeFileBytes(sentPath(L"W_1.txt"), "{}");
    EXPECT_TRUE(scanSentTickets(kSent, kIni, DeliveryMode::Web).tickets.empty());
    test::writeFileBytes(kIni, "");
    EXPECT_TRUE(scanSentTickets(kSent, kIni, DeliveryMode::Web).tickets.empty());

    // Many records and keys (the benchmark lists 10,000 of each), every one
    // found under its own id; a GUID longer than a lookup takes is cut as a
    // lookup cuts it.
    constexpr int kRecords = 2000;
    std::string ini = "[WEB]\r\n";
    for (int n = 1; n <= kRecords; ++n) {
        const std::string id = "wt" + std::to_string(n);
        ini += id + "=guid-" + std::to_string(n) + (n == 1 ? std::string(300, 'g') : std::string()) + "\r\n";
        test::writeFileBytes(sentPath(L"W_" + fromUtf8(id) + L".txt"),
                             R"({"IssueTitle":"t)" + std::to_string(n) + R"(","Priority":"1","Status":"New"})");
    }
    test::writeFileBytes(kIni, ini);
    const SentTicketScan scan = scanSentTickets(kSent, kIni, DeliveryMode::Web);
    ASSERT_EQ(scan.tickets.size(), static_cast<size_t>(kRecords));
    EXPECT_EQ(scan.lanRecordsMet, 0u);
    for (const SentTicket& ticket : scan.tickets) {
        const std::wstring n = ticket.ticketId.substr(2);
        EXPECT_EQ(ticket.issueTitle, L"t" + n);
        if (n == L"1") {
            EXPECT_EQ(ticket.guid.size(), 259u);
        } else {
            ASSERT_EQ(ticket.guid, L"guid-" + n);
        }
        ASSERT_EQ(ticket.priority, L"Medium");
    }
    EXPECT_TRUE(scanSentTickets(kSent, kIni, DeliveryMode::Lan).tickets.empty());
    EXPECT_TRUE(scanSentTickets(kSent, kIni, DeliveryMode::None).tickets.empty());
}

}  // namespace
}  // namespace tiqora
