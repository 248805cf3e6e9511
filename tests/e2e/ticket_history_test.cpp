// The ticket history of the real TiqoraDesk.exe, opened from the IT ticket
// form's "Ticket History" link over record files and ticket GUIDs laid out
// as the deliveries leave them: which tickets it lists for each setting of
// the delivery flags, the columns and the detail panel, and a click on a row
// with the real pointer opening that ticket's page in the browser while the
// history stays open. The records are never changed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "harness/browser_routes.h"
#include "harness/flat_json.h"
#include "harness/machine.h"
#include "harness/own_message.h"
#include "harness/test_paths.h"
#include "harness/ticket_files.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "resource.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

using Rows = std::vector<std::vector<std::wstring>>;
constexpr int kColumns = 6;

constexpr wchar_t kWebGuid[] = L"6f1c2a9e-0b7d-4c55-9f1e-2d7c8e5a4b10";
constexpr wchar_t kOldWebGuid[] = L"0a0b0c0d-1111-2222-3333-444455556666";
constexpr wchar_t kLanGuid[] = L"9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f";
constexpr wchar_t kCrossGuid[] = L"77777777-aaaa-bbbb-cccc-dddddddddddd";  // of L_77.txt, found under "WEB"
constexpr wchar_t kLanOnlyGuid[] = L"12121212-3434-5656-7878-909090909090";

std::wstring sentPath(const std::wstring& name) { return SuiteMachine::sentFolder() + L"\\" + name; }

// A file of the sent folder (laid out after Tiqora.ini, which makes the
// ticket folders).
void sentFile(const std::wstring& name, const std::string& bytes) { writeFileBytes(sentPath(name), bytes); }

// A record as the IT ticket form writes it, written out here byte for byte
// (not made by the program's own body writers): `description` stands as it
// does in the file, JSON-escaped by hand.
std::string webRecord(const std::string& title, const std::string& description, const std::string& priority) {
    return R"({"CorpId":"CORP-1001","LicNo":"TQ4711-2026-ORV", "Ip":"10.0.0.5","ComputerName":"DESK-7",)"
           R"("UserName":"asha","IssueTitle":")" + title + R"(","Description":")" + description +
           R"(","Priority":")" + priority + R"(","Status":"New","TSubmitDateTime":"2026-12-10 09:05:03"})";
}

std::string lanRecord(const std::string& title, const std::string& description, const std::string& priority) {
    return R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"10.0.0.5","ComputerName":"DESK-7","UserName":"asha",)"
           R"("IssueTitle":")" + title + R"(","Description":")" + description + R"(","Priority":")" + priority +
           R"(","Status":"New","HasScreenShot":"NO","ScreenShotPath":"NA","TSubmitDateTime":"2026-12-10 09:05:03"})";
}

// Both kinds of record, with the GUIDs their deliveries wrote, and files
// that are no records at all.
void layOutRecords() {
    SuiteMachine::existing()
        .ticketIni(L"WEB", L"wt1001", kWebGuid)
        .ticketIni(L"WEB", L"12x", kOldWebGuid)
        .ticketIni(L"WEB", L"big", L"b1")
        .ticketIni(L"WEB", L"bin", L"b2")
        .ticketIni(L"WEB", L"hidden", L"h1")
        .ticketIni(L"WEB", L"77", kCrossGuid)
        .ticketIni(L"LAN", L"lt-1001", kLanGuid)
        .ticketIni(L"LAN", L"5", kLanOnlyGuid)
        .ticketIni(L"LAN", L"6", L"e1")
        .ticketIni(L"LAN", L"8", L"o1")
        .ticketIni(L"LAN", L"9", L"l1")
        .ticketIni(L"WEB", L"wt7", L"o7")
        .ticketIni(L"LAN", L"417", L"o417");
    sentFile(L"W_wt1001.txt", webRecord("Software Issue", R"(Mail: fails, \"always\")", "1"));
    // Records as older versions wrote them, by hand: code page 1252, the
    // description's backslashes doubled and nothing else escaped.
    sentFile(L"W_wt7.txt",
             "{\"CorpId\":\"CORP-1001\",\"LicNo\":\"K\", \"Ip\":\"1\",\"ComputerName\":\"P\",\"UserName\":\"U\","
             "\"IssueTitle\":\"Other Issue\",\"Description\":\"Caf\xe9 printer at C:\\\\qx\",\"Priority\":\"2\","
             "\"Status\":\"Closed\",\"TSubmitDateTime\":\"2019-01-01 10:00:00\"}");
    // An older record that is no valid JSON: read by position, a colon cuts.
    sentFile(L"W_12x.txt",
             R"({"CorpId":"CORP-1001","LicNo":"K", "Ip":"1","ComputerName":"P","UserName":"U","IssueTitle":"Network Issue","Description":"Printer: not working","Priority":"0","Status":"Open",)");
    sentFile(L"W_big.txt", std::string(5 * 1024 * 1024, 'a'));
    sentFile(L"W_bin.txt", std::string("\x00\x01\xff\xfe\x80,:\"", 8));
    sentFile(L"W_nokey.txt", webRecord("Other Issue", "no GUID", "0"));
    // A record an earlier version left hidden is listed like any other.
    sentFile(L"W_hidden.txt", webRecord("Other Issue", "hidden", "0"));
    SetFileAttributesW(sentPath(L"W_hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    // The temporary of a record being written is no record.
    sentFile(L"~record-1-1.part", webRecord("Other Issue", "half written", "0"));
    sentFile(L"W_.txt", webRecord("Other Issue", "no id", "0"));
    sentFile(L"readme.txt", "{}");
    sentFile(L"Lx", "{}");

    sentFile(L"L_lt-1001.txt", lanRecord("Hardware Issue", R"(Fan, loud: \"very\")", "2"));
    sentFile(L"L_417.txt",
             "{\"LicenseNo\":\"K\",\"Ip\":\"1\",\"ComputerName\":\"C\",\"UserName\":\"U\",\"IssueTitle\":\"Network Issue\","
             "\"Description\":\"D\xfcsseldorf link at \\\\\\\\srv\\\\x\",\"Priority\":\"0\",\"Status\":\"New\",\"HasScreenShot\":\"NO\","
             "\"ScreenShotPath\":\"NA\",\"TSubmitDateTime\":\"2019-01-01 10:00:00\"}");
    sentFile(L"L_77.txt", lanRecord("Network Issue", "Cable", "1"));
    sentFile(L"L_5.txt", lanRecord("PC Issue", "read-only record", "0"));
    SetFileAttributesW(sentPath(L"L_5.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    sentFile(L"L_6.txt", "");
    sentFile(L"L_8.txt",
             R"({"LicenseNo":"K","Ip":"1","ComputerName":"C","UserName":"U","IssueTitle":"Other Issue","Description":"Printer: not working","Priority":"1",)");
    sentFile(L"L_9.txt", lanRecord("Other Issue", "locked", "1"));
}

// Every file of the sent folder with its bytes.
std::map<std::string, std::string> sentFolderContents() {
    std::map<std::string, std::string> contents;
    for (const std::string& name : filesIn(SuiteMachine::sentFolder()))
        contents[name] = readFileBytes(sentPath(fromUtf8(name)));
    return contents;
}

const Rows kWebRows = {
    {L"12x", L"Network Issue", L"Printer", L"Open", L"Low"},
    {L"big", L"", L"", L"", L"High"},
    {L"bin", L"", L"", L"", L"High"},
    {L"hidden", L"Other Issue", L"hidden", L"New", L"Low"},
    {L"wt1001", L"Software Issue", L"Mail: fails, \"always\"", L"New", L"Medium"},
    {L"wt7", L"Other Issue", L"Caf\u00e9 printer at C:\\qx", L"Closed", L"High"},
};
const Rows kLanRows = {
    {L"417", L"Network Issue", L"D\u00fcsseldorf link at \\\\srv\\x", L"New", L"Low"},
    {L"5", L"PC Issue", L"read-only record", L"New", L"Low"},
    {L"77", L"Network Issue", L"Cable", L"New", L"Medium"},
    {L"8", L"Other Issue", L"Printer: not working", L"New", L"Medium"},
    {L"lt-1001", L"Hardware Issue", L"Fan, loud: \"very\"", L"New", L"High"},
};

// The rows without their serial numbers, by ticket id; the serial numbers
// must be 1..n in the list's own order.
Rows withoutSerials(const Rows& rows) {
    Rows result;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], std::to_wstring(i + 1));
        result.emplace_back(rows[i].begin() + 1, rows[i].end());
    }
    std::sort(result.begin(), result.end());
    return result;
}

int rowOf(const Rows& rows, const std::wstring& ticketId) {
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i][1] == ticketId) return static_cast<int>(i);
    return -1;
}

HWND waitForForm(const AppProcess& app) { return app.waitForWindow(L"#32770", L"IT TICKET"); }

HWND openHistory(const AppProcess& app, HWND form) {
    EXPECT_TRUE(isVisible(control(form, IDC_TICKET_HISTORY_LINK)));
    EXPECT_TRUE(isVisible(control(form, IDC_TICKET_SCREENSHOT_LINK)));
    clickLink(form, IDC_TICKET_HISTORY_LINK);
    return app.waitForDialogWith(IDC_TRACK_LIST);
}

std::wstring textIn(HWND dialog, int id) { return textOf(control(dialog, id)); }

class TicketHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        setVendorScenario("success");
        clearVendorJournal();
        // A read-only record left by an earlier run must not stop the wipe.
        for (const std::string& name : filesIn(SuiteMachine::sentFolder()))
            SetFileAttributesW(sentPath(fromUtf8(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    // A file that another program holds open without sharing.
    HANDLE lockFile(const std::wstring& name) {
        HANDLE file = CreateFileW(sentPath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        return file;
    }
};

TEST_F(TicketHistoryTest, ARowOpensItsPageWithTheSchemeTheConsoleIsConfiguredWith) {
    const std::string tls = "localhost:" + std::to_string(tlsPort());
    const struct {
        std::string setting, origin;
    } cases[] = {
        {"https://" + tls, "https://" + tls},
        {"http://" + tls, "http://" + tls},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        SuiteMachine::standard().vendorHost(L"WebConsole", fromUtf8(c.setting));
        layOutRecords();
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        HWND history = openHistory(app, form);
        HWND list = control(history, IDC_TRACK_LIST);
        clickListRow(list, rowOf(listRows(list, kColumns), L"wt1001"));
        waitUntil([] { return openedPages().size() == 1; }, "the ticket's page to open");
        const std::string address = c.origin + "/user/it-ticket/ticket-info/Q09SUC0xMDAx/" + toUtf8(kWebGuid);
        EXPECT_NE(openedPages()[0].commandLine.find(address), std::string::npos)
            << openedPages()[0].commandLine;
        EXPECT_EQ(ticketLogLineCount("Web case hit this page SendWebRpt--> " + address), 1u);
        click(history, IDC_TRACK_CLOSE);
        waitUntil([&] { return !IsWindow(history); }, "the history to close");
        click(form, IDC_TICKET_CANCEL);
        EXPECT_EQ(app.waitForExit(), 0u);
    }
}

TEST_F(TicketHistoryTest, WebTicketsAreListedAndARowOpensItsPageWhileTheHistoryStaysOpen) {
    SuiteMachine::standard();
    layOutRecords();
    const auto before = sentFolderContents();
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    HWND history = openHistory(app, form);
    EXPECT_EQ(textOf(history), L"IT TICKET");
    HWND list = control(history, IDC_TRACK_LIST);
    const Rows rows = listRows(list, kColumns);
    EXPECT_EQ(withoutSerials(rows), kWebRows);
    // The web reader leaves the detail panel alone.
    EXPECT_EQ(textIn(history, IDC_TRACK_ID), L"");
    EXPECT_EQ(textIn(history, IDC_TRACK_DESCRIPTION), L"");
    for (int hidden : {IDC_TRACK_SPARE_LIST, IDC_TRACK_BUTTON1, IDC_TRACK_REPLY, IDC_TRACK_REPLY_LABEL})
        EXPECT_FALSE(isVisible(control(history, hidden))) << hidden;
    EXPECT_TRUE(ticketLogHasLinesInOrder({"DoModal ticket history", "OnInitDialog history", "before findfiles",
                                          "finding lan and web file and fill to list control", "after findfiles"}));

    clickListRow(list, rowOf(rows, L"wt1001"));
    waitUntil([] { return openedPages().size() == 1; }, "the ticket's page to open");
    const std::string address = "http://127.0.0.1:" + std::to_string(vendorPort()) +
                                "/user/it-ticket/ticket-info/Q09SUC0xMDAx/" + toUtf8(kWebGuid);
    EXPECT_NE(openedPages()[0].commandLine.find(address), std::string::npos) << openedPages()[0].commandLine;
    EXPECT_EQ(textIn(history, IDC_TRACK_ID), L"wt1001");
    EXPECT_EQ(textIn(history, IDC_TRACK_TITLE), L"Software Issue");
    EXPECT_EQ(textIn(history, IDC_TRACK_STATUS), L"New");
    EXPECT_EQ(textIn(history, IDC_TRACK_DESCRIPTION), L"Mail: fails, \"always\"");
    EXPECT_EQ(ticketLogLineCount("Web case hit this page SendWebRpt--> " + address), 1u);

    // The old record's row opens the page of its own GUID.
    clickListRow(list, rowOf(rows, L"12x"));
    waitUntil([] { return openedPages().size() == 2; }, "the second page to open");
    EXPECT_NE(openedPages()[1].commandLine.find(toUtf8(kOldWebGuid)), std::string::npos);
    EXPECT_TRUE(IsWindowVisible(history));
    EXPECT_TRUE(app.running());

    click(history, IDC_TRACK_CLOSE);
    waitUntil([&] { return !IsWindow(history); }, "the history to close");
    waitUntil([] { return ticketLogLineCount("DoModal close") == 1; }, "the log line of the closed history");
    EXPECT_TRUE(isVisible(form));
    EXPECT_EQ(sentFolderContents(), before);
    click(form, IDC_TICKET_CANCEL);
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST_F(TicketHistoryTest, ASortedRowOpensItsOwnTicketAnEmptyClickNothingAndReopeningNumbersAnew) {
    SuiteMachine::standard();
    layOutRecords();
    const std::map<std::wstring, std::wstring> guids = {
        {L"wt1001", kWebGuid}, {L"12x", kOldWebGuid}, {L"big", L"b1"}, {L"bin", L"b2"}, {L"hidden", L"h1"}, {L"wt7", L"o7"}};
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    HWND history = openHistory(app, form);
    HWND list = control(history, IDC_TRACK_LIST);
    const Rows before = listRows(list, kColumns);
    clickListHeading(list, 2);  // the title column
    Rows sorted;
    waitUntil([&] { sorted = listRows(list, kColumns); return sorted != before; }, "the list to be sorted");
    ASSERT_EQ(sorted.size(), kWebRows.size());

    // Row 0 as it now stands opens its own ticket's page.
    clickListRow(list, 0);
    waitUntil([] { return openedPages().size() == 1; }, "the first page");
    EXPECT_NE(openedPages()[0].commandLine.find(toUtf8(guids.at(sorted[0][1]))), std::string::npos)
        << toUtf8(sorted[0][1]) << ": " << openedPages()[0].commandLine;
    // A click below the rows opens nothing: the click on row 1 after it is
    // the second page opened.
    clickListBelowItsRows(list);
    clickListRow(list, 1);
    waitUntil([] { return openedPages().size() >= 2; }, "the second page");
    const std::vector<OpenedPage> pages = openedPagesOnceSettled();
    EXPECT_EQ(pages.size(), 2u);
    EXPECT_NE(pages[1].commandLine.find(toUtf8(guids.at(sorted[1][1]))), std::string::npos) << pages[1].commandLine;

    click(history, IDC_TRACK_CLOSE);
    waitUntil([&] { return !IsWindow(history); }, "the history to close");
    history = openHistory(app, form);
    // Reopened, the rows are numbered from 1 again in the list's order.
    EXPECT_EQ(withoutSerials(listRows(control(history, IDC_TRACK_LIST), kColumns)), kWebRows);
    click(history, IDC_TRACK_CLOSE);
    waitUntil([&] { return !IsWindow(history); }, "the history to close");
    click(form, IDC_TICKET_CANCEL);
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST_F(TicketHistoryTest, LanTicketsAreListedWithTheFirstInThePanelAndOpenTheirPageOnTheLanServer) {
    SuiteMachine::standard().krlm(L"ITTicketServer", L"L");
    layOutRecords();
    const auto before = sentFolderContents();
    HANDLE locked = lockFile(L"L_9.txt");
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    HWND history = openHistory(app, form);
    HWND list = control(history, IDC_TRACK_LIST);
    const Rows rows = listRows(list, kColumns);
    CloseHandle(locked);
    // The read-only record is listed; the empty and the locked one are not.
    EXPECT_EQ(withoutSerials(rows), kLanRows);
    EXPECT_EQ(ticketLogLineCount("Fail To Map"), 1u);
    EXPECT_TRUE(ticketLogHasLinesInOrder({"Fail to Open File", toUtf8(sentPath(L"L_9.txt"))}));
    // The first row fills the panel, without its status.
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(textIn(history, IDC_TRACK_ID), rows[0][1]);
    EXPECT_EQ(textIn(history, IDC_TRACK_TITLE), rows[0][2]);
    EXPECT_EQ(textIn(history, IDC_TRACK_DESCRIPTION), rows[0][3]);
    EXPECT_EQ(textIn(history, IDC_TRACK_STATUS), L"");

    // L_77.txt's GUID stands under "WEB" only: its page uses it.
    const std::string lanPage = "http://127.0.0.1:" + std::to_string(lanPort()) +
                                "/adminTicketExternal/UserTicket?ticketGuid=";
    const std::pair<std::wstring, std::wstring> clicks[] = {{L"77", kCrossGuid}, {L"lt-1001", kLanGuid}};
    size_t opened = 0;
    for (const auto& [ticketId, guid] : clicks) {
        clickListRow(list, rowOf(rows, ticketId));
        ++opened;
        waitUntil([&] { return openedPages().size() == opened; }, "the page of " + toUtf8(ticketId));
        const std::string address = lanPage + toUtf8(guid);
        EXPECT_NE(openedPages().back().commandLine.find(address), std::string::npos) << openedPages().back().commandLine;
        EXPECT_EQ(ticketLogLineCount("lan case hit this page  L--> " + address), 1u) << toUtf8(ticketId);
        EXPECT_EQ(textIn(history, IDC_TRACK_ID), ticketId);
        EXPECT_EQ(textIn(history, IDC_TRACK_STATUS), L"New");
    }
    EXPECT_EQ(textIn(history, IDC_TRACK_DESCRIPTION), L"Fan, loud: \"very\"");
    EXPECT_TRUE(IsWindowVisible(history));

    click(history, IDC_TRACK_CLOSE);
    waitUntil([&] { return !IsWindow(history); }, "the history to close");
    SetFileAttributesW(sentPath(L"L_5.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(sentFolderContents(), before);
    click(form, IDC_TICKET_CANCEL);
    EXPECT_EQ(app.waitForExit(), 0u);
}

// What the employee typed and what the registry holds reach the LAN server
// and the web console exactly (read back by the test's own JSON reader),
// the record keeps the bytes sent, and the history shows the description as
// typed.
TEST_F(TicketHistoryTest, ValuesArriveAsTypedAndTheHistoryShowsThemSo) {
    const std::wstring licence = L"TQ\\47\"11\u00e9";  // a backslash, a quote, a non-ASCII letter
    const std::wstring corporateId = L"CORP\\\"1\r\n\u00fc";
    const std::wstring typed = L"  C:\\vpn\\log says \"denied\"\r\n\\\\srv\\share \u00e9\u4e2d \r\n";
    const std::wstring described = L"C:\\vpn\\log says \"denied\"\r\n\\\\srv\\share \u00e9\u4e2d";
    struct Case {
        bool lan;
        const char* idKey;
        const char* recordName;
        std::wstring ticketId;
    } cases[] = {{false, "LicNo", "W_wt1001.txt", L"wt1001"}, {true, "LicenseNo", "L_1001.txt", L"1001"}};
    for (const Case& c : cases) {
        SuiteMachine::standard()
            .krlm(L"ITTicketServer", c.lan ? L"L" : L"W")
            .set(RegistrySource::SuiteConfig, L"LicenseCode", licence)
            .set(RegistrySource::SuiteConfig, L"CorporateID", corporateId);
        clearVendorJournal();
        {
            AppProcess app(SuiteMachine::program(), L"/sys");
            HWND form = waitForForm(app);
            typeText(form, IDC_TICKET_DESCRIPTION, typed);
            waitUntil([&] { return textIn(form, IDC_TICKET_DESCRIPTION) == typed; }, "the description to be typed");
            click(form, IDC_TICKET_SUBMIT);
            dismiss(waitForOwnMessage(app, 30000));
            EXPECT_EQ(app.waitForExit(), 0u);
        }
        const std::vector<VendorRequest> requests = vendorRequests();
        ASSERT_EQ(requests.size(), 1u);
        const auto members = parseFlatJson(requests[0].body);
        ASSERT_TRUE(members.has_value()) << requests[0].body;
        std::map<std::string, std::string> values(members->begin(), members->end());
        EXPECT_EQ(values["Description"], toUtf8(described)) << requests[0].body;
        EXPECT_EQ(values[c.idKey], toUtf8(licence)) << requests[0].body;
        if (!c.lan) {
            EXPECT_EQ(values["CorpId"], toUtf8(corporateId)) << requests[0].body;
        }
        // One typed backslash is one JSON escape in the raw body.
        EXPECT_NE(requests[0].body.find(R"(C:\\vpn\\log)"), std::string::npos) << requests[0].body;
        EXPECT_EQ(readFileBytes(sentPath(fromUtf8(c.recordName))), requests[0].body);

        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        HWND history = openHistory(app, form);
        const Rows rows = listRows(control(history, IDC_TRACK_LIST), kColumns);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][1], c.ticketId);
        EXPECT_EQ(rows[0][3], described);
        // The LAN history shows its first ticket in the panel.
        if (c.lan) {
            EXPECT_EQ(textIn(history, IDC_TRACK_DESCRIPTION), described);
        }
        click(history, IDC_TRACK_CLOSE);
        waitUntil([&] { return !IsWindow(history); }, "the history to close");
        click(form, IDC_TICKET_CANCEL);
        EXPECT_EQ(app.waitForExit(), 0u);
    }
}

TEST_F(TicketHistoryTest, TheDeliveryFlagsChooseWhichKindIsListed) {
    struct Case {
        const char* what;
        const wchar_t* itTicketServer;
        const wchar_t* sendLocalRpt;
        const wchar_t* sendWebRpt;
        bool ticketIni;
        const Rows* rows;
    };
    const Rows none;
    const Case cases[] = {
        {"W: web only, whatever the other flags say", L"W", L"ON", L"ON", true, &kWebRows},
        {"no server flag, both ON: LAN only", L"", L"ON", L"ON", true, &kLanRows},
        {"another server flag: nothing", L"X", L"ON", L"ON", true, &none},
        {"no flag ON: nothing", L"", L"OFF", L"OFF", true, &none},
        {"no Tiqora.ini: nothing", L"W", L"", L"ON", false, &none},
    };
    for (const Case& c : cases) {
        SuiteMachine::standard()
            .krlm(L"ITTicketServer", c.itTicketServer)
            .krlm(L"SendLocalRpt", c.sendLocalRpt)
            .krlm(L"SendWebRpt", c.sendWebRpt);
        layOutRecords();
        if (!c.ticketIni) DeleteFileW((SuiteMachine::itTicketFolder() + L"\\Tiqora.ini").c_str());
        HANDLE locked = lockFile(L"L_9.txt");
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND history = openHistory(app, waitForForm(app));
        EXPECT_EQ(withoutSerials(listRows(control(history, IDC_TRACK_LIST), kColumns)), *c.rows) << c.what;
        CloseHandle(locked);
        click(history, IDC_TRACK_CLOSE);
        waitUntil([&] { return !IsWindow(history); }, "the history to close");
    }
}

// Ticket n of a long history: id "wt" + (10000 + n), so ids sort as text in
// the order of n, and a GUID that ends in n.
std::wstring longHistoryId(int n) { return L"wt" + std::to_wstring(10000 + n); }
std::string longHistoryGuid(int n) {
    const std::string digits = std::to_string(n);
    return "aaaaaaaa-0000-4000-8000-" + std::string(12 - digits.size(), '0') + digits;
}

TEST_F(TicketHistoryTest, TenThousandTicketsScrollToTheEndSortAndOpenTheRowClicked) {
    constexpr int kTickets = 10000;
    SuiteMachine::standard().ticketIni(L"WEB", longHistoryId(1), fromUtf8(longHistoryGuid(1)));
    std::string ini = "[WEB]\r\n";
    for (int n = 1; n <= kTickets; ++n) {
        ini += toUtf8(longHistoryId(n)) + "=" + longHistoryGuid(n) + "\r\n";
        sentFile(L"W_" + longHistoryId(n) + L".txt",
                 "{\"CorpId\":\"CORP-1001\",\"LicNo\":\"TQ4711-2026-ORV\",\"Ip\":\"10.0.0.5\",\"ComputerName\":\"DESK-7\","
                 "\"UserName\":\"asha\",\"IssueTitle\":\"Other Issue\",\"Description\":\"ticket " + std::to_string(n) +
                     "\",\"Priority\":\"0\",\"Status\":\"New\",\"TSubmitDateTime\":\"2026-12-10 09:05:03\"}");
    }
    writeFileBytes(SuiteMachine::itTicketFolder() + L"\\Tiqora.ini", ini);
    const auto rowOfTicket = [](int n) {
        return std::vector<std::wstring>{L"Other Issue", L"ticket " + std::to_wstring(n), L"New", L"Low"};
    };

    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    HWND history = openHistory(app, form);
    HWND list = control(history, IDC_TRACK_LIST);
    // The dialog may show while it still reads the records (a busy machine
    // takes seconds for 10,000 files): wait for its answer.
    waitUntil(
        [&] {
            try {
                return listPosition(list).rowCount == kTickets;
            } catch (const DriverError&) {
                return false;
            }
        },
        "the 10,000 rows", 60000);

    // End: the last row, as the folder listed it, in view and readable.
    pressKey(history, VK_END);
    waitUntil([&] { return listPosition(list).focusedRow == kTickets - 1; }, "the last row to take the focus");
    const ListPosition end = listPosition(list);
    EXPECT_GT(end.topRow + end.rowsPerPage, kTickets - 1) << "the last row is not in view";
    const std::vector<std::wstring> last = listRow(list, kTickets - 1, kColumns);
    ASSERT_EQ(last.size(), 6u);
    EXPECT_EQ(last[0], L"10000");
    const int lastTicket = _wtoi(last[1].c_str() + 2) - 10000;
    ASSERT_TRUE(lastTicket >= 1 && lastTicket <= kTickets) << toUtf8(last[1]);
    EXPECT_EQ(std::vector<std::wstring>(last.begin() + 2, last.end()), rowOfTicket(lastTicket));
    clickListRow(list, kTickets - 1);
    waitUntil([] { return openedPages().size() == 1; }, "the last row's page");
    EXPECT_NE(openedPages()[0].commandLine.find(longHistoryGuid(lastTicket)), std::string::npos)
        << openedPages()[0].commandLine;

    // By ticket id: wt10001 .. wt20000; the view stays at the end. The row
    // clicked now is the one above the last (a second click on the same spot
    // would be a double click).
    clickListHeading(list, 1);
    waitUntil([&] { return listRow(list, 0, kColumns)[1] == longHistoryId(1); }, "the rows sorted by ticket id");
    EXPECT_EQ(listRow(list, kTickets - 1, kColumns)[1], longHistoryId(kTickets));
    clickListRow(list, kTickets - 2);
    waitUntil([] { return openedPages().size() == 2; }, "the sorted row's page");
    EXPECT_NE(openedPages()[1].commandLine.find(longHistoryGuid(kTickets - 1)), std::string::npos)
        << openedPages()[1].commandLine;
    EXPECT_EQ(textIn(history, IDC_TRACK_ID), longHistoryId(kTickets - 1));
    EXPECT_EQ(textIn(history, IDC_TRACK_DESCRIPTION), L"ticket 9999");

    clickListHeading(list, 1);  // descending
    waitUntil([&] { return listRow(list, 0, kColumns)[1] == longHistoryId(kTickets); }, "the rows sorted, descending");
    EXPECT_EQ(listRow(list, kTickets - 1, kColumns)[1], longHistoryId(1));

    click(history, IDC_TRACK_CLOSE);
    waitUntil([&] { return !IsWindow(history); }, "the history to close");
    click(form, IDC_TICKET_CANCEL);
    EXPECT_EQ(app.waitForExit(), 0u);
}

}  // namespace
}  // namespace tiqora::test
