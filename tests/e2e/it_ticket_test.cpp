// The IT ticket form ("/sys") of the real TiqoraDesk.exe, driven through its
// windows against the local vendor services: what the LAN server and the web
// console receive, the message the employee sees for every kind of reply,
// the ticket list of Tiqora.ini, the record left in the sent or pending
// folder, the log, the checks of the form and the ways out.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "harness/flat_json.h"
#include "harness/machine.h"
#include "harness/own_message.h"
#include "harness/system_identity.h"
#include "harness/test_paths.h"
#include "harness/ticket_files.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "resource.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

constexpr char kCreateTicketPath[] = "/api/it-ticket/create-ticket";
constexpr char kLanTicketPath[] = "/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1";
constexpr char kLicence[] = "TQ4711-2026-ORV";  // the standard machine's licence code
constexpr char kWebGuid[] = "6f1c2a9e-0b7d-4c55-9f1e-2d7c8e5a4b10";
constexpr char kLanGuid[] = "9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f";
// A reply that never comes costs the transport library its time-out.
constexpr DWORD kOutcomeTimeoutMs = 30000;

using Names = std::vector<std::string>;
using IniEntries = std::vector<std::pair<std::string, std::string>>;

std::wstring ticketIni() { return SuiteMachine::itTicketFolder() + L"\\Tiqora.ini"; }

// The entries of a section of the IT ticket folder's Tiqora.ini, in order.
IniEntries iniSection(const wchar_t* section) {
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetPrivateProfileSectionW(section, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   ticketIni().c_str());
    IniEntries entries;
    for (size_t at = 0; at < length;) {
        const std::wstring entry(buffer.c_str() + at);
        at += entry.size() + 1;
        const size_t equals = entry.find(L'=');
        entries.emplace_back(toUtf8(entry.substr(0, equals)),
                             equals == std::wstring::npos ? std::string() : toUtf8(entry.substr(equals + 1)));
    }
    return entries;
}

std::string sentBytes(const std::string& name) {
    return readFileBytes(SuiteMachine::sentFolder() + L"\\" + fromUtf8(name));
}
std::string pendingBytes(const std::string& name) {
    return readFileBytes(SuiteMachine::pendingFolder() + L"\\" + fromUtf8(name));
}

// "L_<tick>.txt" or "W_<tick>.txt", the tick a signed decimal.
bool isPendingName(const std::string& name, char kind) {
    if (name.size() < 7 || name[0] != kind || name[1] != '_' || name.substr(name.size() - 4) != ".txt") return false;
    std::string digits = name.substr(2, name.size() - 6);
    if (!digits.empty() && digits[0] == '-') digits.erase(0, 1);
    if (digits.empty()) return false;
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}


std::wstring successText(bool lan, const std::string& ticketId) {
    return std::wstring(L"Thank You !!.\r\n") +
           (lan ? L"Ticket submitted to LAN Server. " : L"Ticket Submitted to Web Server. ") +
           L"\r\nYour Request has been submitted.\r\nTicket ID =  " + fromUtf8(ticketId) +
           L"\r\nSystem Admin Team will contact you soon.\r\n";
}
constexpr wchar_t kFailureText[] = L"Ticket Submission Failed..!!";

HWND waitForForm(const AppProcess& app) { return app.waitForWindow(L"#32770", L"IT TICKET"); }

std::wstring textIn(HWND dialog, int id) { return textOf(control(dialog, id)); }

// Presses Submit and returns the message that answers.
OwnMessage submit(const AppProcess& app, HWND form) {
    click(form, IDC_TICKET_SUBMIT);
    return waitForOwnMessage(app, kOutcomeTimeoutMs);
}

// The one request the services received, or a failure.
VendorRequest onlyRequest() {
    const std::vector<VendorRequest> requests = vendorRequests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? VendorRequest{} : requests[0];
}

class ItTicketTest : public ::testing::Test {
protected:
    void SetUp() override {
        setVendorScenario("success");
        clearVendorJournal();
    }
    void TearDown() override { setVendorScenario("success"); }
};

TEST_F(ItTicketTest, TheWebConsoleReceivesTheTicketAsTypedAndTheRecordHoldsItsBytes) {
    SuiteMachine::standard();
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    EXPECT_EQ(textIn(form, IDC_TICKET_MODE), L"WEB");
    EXPECT_EQ(textIn(form, IDC_TICKET_LICENCE), fromUtf8(kLicence));
    EXPECT_EQ(textIn(form, IDC_TICKET_CORP_ID), L"CORP-1001");
    EXPECT_EQ(textIn(form, IDC_TICKET_USER_NAME), systemUserName());
    EXPECT_EQ(textIn(form, IDC_TICKET_COUNTER), L"0/500");
    EXPECT_FALSE(isVisible(control(form, IDC_TICKET_EMAIL)));
    EXPECT_FALSE(isVisible(control(form, IDC_TICKET_MOBILE)));

    setText(form, IDC_TICKET_USER_NAME, L"asha.k");
    selectComboItem(form, IDC_TICKET_ISSUE, 2);
    selectComboItem(form, IDC_TICKET_PRIORITY, 0);
    // What broke the body before its values were escaped: a quote, a
    // backslash, a line break, text in other scripts.
    const std::wstring typed = L"  Printer says \"offline\"\r\nQueue at C:\\qx\\print \u00e9\u4e2d  ";
    typeText(form, IDC_TICKET_DESCRIPTION, typed);
    waitUntil([&] { return textIn(form, IDC_TICKET_DESCRIPTION) == typed; }, "the description to be typed");
    EXPECT_EQ(textIn(form, IDC_TICKET_COUNTER), std::to_wstring(typed.size()) + L"/500");

    const SYSTEMTIME before = localTimeNow();
    const OwnMessage thanks = submit(app, form);
    const SYSTEMTIME after = localTimeNow();
    EXPECT_TRUE(thanks.smallText);
    EXPECT_EQ(thanks.text, successText(false, "wt1001"));
    dismiss(thanks);
    EXPECT_EQ(app.waitForExit(), 0u);

    const VendorRequest request = onlyRequest();
    EXPECT_EQ(request.path, kCreateTicketPath);
    EXPECT_EQ(request.port, vendorPort());
    EXPECT_EQ(request.header("User-Agent"), "Tiqora");
    const auto members = parseFlatJson(request.body);
    ASSERT_TRUE(members.has_value()) << request.body;
    ASSERT_EQ(members->size(), 10u) << request.body;
    // The machine as the system itself names it.
    const std::string ip = systemMachineIp();
    EXPECT_NE(ip, "0.0.0.0");
    const FlatJsonMembers expected = {
        {"CorpId", "CORP-1001"},
        {"LicNo", kLicence},
        {"Ip", ip},
        {"ComputerName", systemHostName()},
        {"UserName", "asha.k"},
        {"IssueTitle", "Hardware Issue"},
        // Trimmed, and otherwise exactly as typed: backslashes, CR LF.
        {"Description", "Printer says \"offline\"\r\nQueue at C:\\qx\\print \xC3\xA9\xE4\xB8\xAD"},
        {"Priority", "2"},
        {"Status", "New"},
        {"TSubmitDateTime", (*members)[9].second},
    };
    EXPECT_EQ(*members, expected);
    // Local time of the submission, year first, then month and day.
    EXPECT_TRUE(isLocalTimeBetween((*members)[9].second, before, after)) << (*members)[9].second;
    // The body keeps its one blank after LicNo's comma.
    EXPECT_NE(request.body.find(std::string("\"LicNo\":\"") + kLicence + "\", \"Ip\""), std::string::npos);

    EXPECT_EQ(iniSection(L"WEB"), (IniEntries{{"wt1001", kWebGuid}}));
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{"W_wt1001.txt"});
    EXPECT_EQ(sentBytes("W_wt1001.txt"), request.body);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{});
    EXPECT_EQ(readIniString(SuiteMachine::productDataFolder() + L"\\DPX_AdminTicket.ini", L"Name", L"UserName",
                            L"", 256),
              L"asha.k");
    EXPECT_TRUE(ticketLogHasLinesInOrder({
        "------------------------START---------------------------------",
        "WBX is Load ",
        "SendWebRpt=ON Strict WEB Mode",
        "SendWebRpt=ON Then Strict web Moad\n",
        "SendWebRpt=ON  START sendDataTOWebSrv()",
        request.body,
        "127.0.0.1:" + std::to_string(vendorPort()) + kCreateTicketPath,
        "calculate Ticket ID",
        "Write GUID in Tiqora.ini ",
        "Write Success File in IT Ticket S",
        "SendWebRpt=ON Then Strict web End",
        "IT Ticket Find",
        "Free wbx.dll",
    })) << SuiteMachine::ticketLog();
}

TEST_F(ItTicketTest, TheLanServerReceivesTheTicketOnItsPort) {
    SuiteMachine::standard().krlm(L"ITTicketServer", L"L");
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    EXPECT_EQ(textIn(form, IDC_TICKET_MODE), L"LAN");
    setText(form, IDC_TICKET_DESCRIPTION, L"VPN drops every hour \\ since Monday");

    const SYSTEMTIME before = localTimeNow();
    const OwnMessage thanks = submit(app, form);
    const SYSTEMTIME after = localTimeNow();
    EXPECT_EQ(thanks.text, successText(true, "1001"));
    dismiss(thanks);
    EXPECT_EQ(app.waitForExit(), 0u);

    const VendorRequest request = onlyRequest();
    EXPECT_EQ(request.path, kLanTicketPath);
    EXPECT_EQ(request.port, lanPort());
    EXPECT_EQ(request.header("User-Agent"), "SystemAdmin-Ticket");
    const auto members = parseFlatJson(request.body);
    ASSERT_TRUE(members.has_value()) << request.body;
    ASSERT_EQ(members->size(), 11u) << request.body;
    const FlatJsonMembers expected = {
        {"LicenseNo", kLicence},
        {"Ip", systemMachineIp()},
        {"ComputerName", systemHostName()},
        {"UserName", toUtf8(systemUserName())},
        {"IssueTitle", "Network Issue"},
        {"Description", "VPN drops every hour \\ since Monday"},
        {"Priority", "1"},
        {"Status", "New"},
        {"HasScreenShot", "NO"},
        {"ScreenShotPath", "NA"},
        {"TSubmitDateTime", (*members)[10].second},
    };
    EXPECT_EQ(*members, expected);
    EXPECT_TRUE(isLocalTimeBetween((*members)[10].second, before, after)) << (*members)[10].second;

    EXPECT_EQ(iniSection(L"LAN"), (IniEntries{{"1001", kLanGuid}}));
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{"L_1001.txt"});
    EXPECT_EQ(sentBytes("L_1001.txt"), request.body);
    EXPECT_TRUE(ticketLogHasLinesInOrder({
        "ITTicketServer flag L Strict LAN Mode",
        "GetUrl function start",
        "Flag ITticketServer L  check Case start Lan\n",
        "Enter Lan function sendDataTOLanSrv()",
        "Screenshot Not",
        "String to send",
        request.body,
        "WBX is Not  Null ",
        "127.0.0.1",
        kLanTicketPath,
        "----------before _SndWebData4-----",
        "---------after _SndWebData4-------",
        "request added successfully",
        "calculate Ticket ID",
        "Write Success File in IT Ticket S",
        "Lan return",
        "Flag ITticketServer Lan End",
        "IT Ticket Find",
    })) << SuiteMachine::ticketLog();
}

// --- every kind of reply -------------------------------------------------------

struct ReplyCase {
    const char* name;  // the test's name
    bool lan;
    const char* scenario;
    bool delivered;
    const char* ticketId;  // shown, and the record's name (delivered only)
    const char* listedGuid;  // the Tiqora.ini entry; null: none
    bool recorded = true;    // a record in the sent folder (delivered only)
    const char* logged = nullptr;  // a line the IT ticket log holds once (delivered only)
};

std::ostream& operator<<(std::ostream& out, const ReplyCase& c) { return out << c.name; }

class ItTicketReplyTest : public ItTicketTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ItTicketReplyTest, TheReplyDecidesTheMessageTheListAndTheRecord) {
    const ReplyCase& c = GetParam();
    SuiteMachine::standard().krlm(L"ITTicketServer", c.lan ? L"L" : L"W");
    setVendorScenario(c.scenario);
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    setText(form, IDC_TICKET_DESCRIPTION, L"Shared drive S: is not mapped");
    const OwnMessage message = submit(app, form);
    dismiss(message);
    EXPECT_EQ(app.waitForExit(), 0u);

    const VendorRequest request = onlyRequest();
    EXPECT_EQ(request.path, c.lan ? kLanTicketPath : kCreateTicketPath);
    const wchar_t* section = c.lan ? L"LAN" : L"WEB";
    const std::string prefix = c.lan ? "L_" : "W_";
    if (!c.delivered) {
        EXPECT_EQ(message.text, kFailureText);
        EXPECT_EQ(iniSection(section), IniEntries{});
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{});
        const Names pending = filesIn(SuiteMachine::pendingFolder());
        ASSERT_EQ(pending.size(), 1u);
        EXPECT_TRUE(isPendingName(pending[0], prefix[0])) << pending[0];
        EXPECT_EQ(pendingBytes(pending[0]), request.body);
        // The log says the ticket was not delivered and waits, each route in
        // its own words.
        const std::vector<std::string> failed =
            c.lan ? std::vector<std::string>{"Fail Ticket", "Failed To send data. Please check Server Connection\n", "",
                                             "Write Fail File in IT Ticket P", "Fail Ticket end "}
                  : std::vector<std::string>{"Fail To send data\n", request.body, "Write Fail File in IT Ticket P"};
        EXPECT_TRUE(ticketLogHasLinesInOrder(failed)) << SuiteMachine::ticketLog();
        return;
    }
    EXPECT_EQ(message.text, successText(c.lan, c.ticketId));
    const IniEntries listed = c.listedGuid ? IniEntries{{c.ticketId, c.listedGuid}} : IniEntries{};
    EXPECT_EQ(iniSection(section), listed);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{});
    if (c.logged) {
        EXPECT_EQ(ticketLogLineCount(c.logged), 1u) << SuiteMachine::ticketLog();
    }
    const std::string record = prefix + c.ticketId + ".txt";
    if (c.recorded) {
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{record});
        EXPECT_EQ(sentBytes(record), request.body);
    } else {
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{});
        // An id that cannot name a file is neither listed nor recorded, and
        // the log names it for both.
        EXPECT_EQ(ticketLogLineCount(std::string("Ticket ID or GUID not usable as a record, not written to Tiqora.ini: ") +
                                     c.ticketId),
                  1u)
            << SuiteMachine::ticketLog();
        EXPECT_EQ(ticketLogLineCount(std::string("Ticket ID names no file, no record written: ") + c.ticketId), 1u)
            << SuiteMachine::ticketLog();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ItTicketReplyTest,
    ::testing::Values(
        // LAN server: the phrase in any letter case; ids and GUIDs kept in
        // lower case, without quotes or braces.
        ReplyCase{"LanDataLastLosesTheBrace", true, "data-last", true, "1001", kLanGuid},
        ReplyCase{"LanSixteenCharacterIdIsNotListed", true, "long-id", true, "1001000000000016", nullptr},
        ReplyCase{"LanIdHoldingNullIsNotListed", true, "null-id", true, "null7", nullptr},
        ReplyCase{"LanPhraseInCapitals", true, "phrase-case", true, "tk-1001", kLanGuid},
        ReplyCase{"LanPhraseTwiceAndBlanksAroundTheId", true, "phrase-twice", true, "1001", kLanGuid},
        ReplyCase{"LanNoDataIsDeliveredWithoutId", true, "no-data", true, "", nullptr},
        ReplyCase{"LanUnsafeIdNamesNoFile", true, "unsafe-id", true, "../1001", nullptr, false},
        // A reply as long as the buffer the site promises the suite's
        // library (20999 bytes and the NUL), the phrase after 3 KB.
        ReplyCase{"LanReplyFillingItsWholeBuffer", true, "full-reply", true, "1001", kLanGuid},
        ReplyCase{"LanFailureText", true, "ticket-failed", false, "", nullptr},
        ReplyCase{"LanHtmlErrorPage", true, "html-error", false, "", nullptr},
        ReplyCase{"LanEmptyReply", true, "empty-reply", false, "", nullptr},
        ReplyCase{"LanSilence", true, "silence", false, "", nullptr},
        ReplyCase{"LanServerError", true, "error-500", false, "", nullptr},
        // Web console: the exact phrase only; every id is listed.
        ReplyCase{"WebDataLast", false, "data-last", true, "wt1001", kWebGuid},
        ReplyCase{"WebSixteenCharacterIdIsListed", false, "long-id", true, "wt10010000000016", kWebGuid},
        ReplyCase{"WebIdHoldingNullIsListed", false, "null-id", true, "wtnull7", kWebGuid},
        ReplyCase{"WebNoDataListsNothing", false, "no-data", true, "", nullptr},
        ReplyCase{"WebUnsafeIdNamesNoFile", false, "unsafe-id", true, "..\\\\evil", nullptr, false},
        // Tiqora.ini (code page 1252) cannot hold the id: it goes unlisted,
        // and the record takes its name.
        ReplyCase{"WebIdOutsideTheCodePageIsNotListed", false, "foreign-id", true, "wt\xC4\x81" "1001", nullptr, true,
                  "Ticket ID or GUID not storable in Tiqora.ini, not written: wt\xC4\x81" "1001"},
        ReplyCase{"WebPhraseInCapitalsIsNoSuccess", false, "phrase-case", false, "", nullptr},
        ReplyCase{"WebReplyFillingItsWholeBuffer", false, "full-reply", true, "wt1001", kWebGuid},
        ReplyCase{"WebFailureText", false, "ticket-failed", false, "", nullptr},
        ReplyCase{"WebHtmlErrorPage", false, "html-error", false, "", nullptr},
        ReplyCase{"WebEmptyReply", false, "empty-reply", false, "", nullptr},
        ReplyCase{"WebSilence", false, "silence", false, "", nullptr}),
    [](const ::testing::TestParamInfo<ReplyCase>& param) { return std::string(param.param.name); });

// --- records -------------------------------------------------------------------

TEST_F(ItTicketTest, AnEarlierRecordOfTheSameIdIsNeverChanged) {
    SuiteMachine::standard().pendingFile(L"W_1.txt", "an older pending ticket");
    writeFileBytes(SuiteMachine::sentFolder() + L"\\W_wt1001.txt", "an earlier ticket");
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    setText(form, IDC_TICKET_DESCRIPTION, L"Teams has no sound");
    dismiss(submit(app, form));
    EXPECT_EQ(app.waitForExit(), 0u);

    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), (Names{"W_wt1001 (2).txt", "W_wt1001.txt"}));
    EXPECT_EQ(sentBytes("W_wt1001.txt"), "an earlier ticket");
    EXPECT_EQ(sentBytes("W_wt1001 (2).txt"), onlyRequest().body);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{"W_1.txt"});
    EXPECT_EQ(pendingBytes("W_1.txt"), "an older pending ticket");
}

TEST_F(ItTicketTest, AConfirmedTicketIsDeliveredEvenWhenItsRecordCannotBeWritten) {
    // The sent folder's name is taken by a plain file.
    SuiteMachine::standard().krlm(L"ITTicketServer", L"L").pendingFile(L"L_5.txt", "older");
    deleteTree(SuiteMachine::sentFolder());
    writeFileBytes(SuiteMachine::sentFolder(), "not a folder");
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    setText(form, IDC_TICKET_DESCRIPTION, L"Printer offline");
    const OwnMessage thanks = submit(app, form);
    EXPECT_EQ(thanks.text, successText(true, "1001"));
    dismiss(thanks);
    EXPECT_EQ(app.waitForExit(), 0u);

    EXPECT_EQ(vendorRequests().size(), 1u);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{"L_5.txt"});  // nothing to send twice
    EXPECT_EQ(iniSection(L"LAN"), (IniEntries{{"1001", kLanGuid}}));
    EXPECT_TRUE(ticketLogHasLinesInOrder({"request added successfully",
                                          "Fail to open file while creating Sucess Report:", "Lan return"}))
        << SuiteMachine::ticketLog();
}

// A record that cannot be written where it belongs: the employee is told the
// ticket's own outcome, and the log says what became of the record. A ticket
// the service did not take and that cannot wait in the pending folder is
// lost; a delivered one whose every record name is taken stays whole under
// its temporary name, read-only, for the administrator to rename.
TEST_F(ItTicketTest, ARecordThatCannotBeWrittenIsLoggedAndTheEmployeeToldTheTicketsOutcome) {
    const struct {
        const char* what;
        bool lan;
        const char* scenario;
        bool fullSentFolder;  // else the pending folder's name is taken by a plain file
        std::vector<std::string> lines;  // in this order in the log, after the line of a kept record
    } cases[] = {
        {"a web ticket the console refused, no pending folder", false, "ticket-failed", false,
         {"Fail To send data\n", "Fail to write the ticket to IT Ticket P"}},
        {"a LAN ticket the server refused, no pending folder", true, "ticket-failed", false,
         {"Fail Ticket", "Fail to open file while creating Sucess Report:", "Fail Ticket end "}},
        {"a delivered web ticket, every record name taken", false, "success", true,
         {"Fail to open file while creating Sucess Report:"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SuiteMachine::standard().krlm(L"ITTicketServer", c.lan ? L"L" : L"W");
        setVendorScenario(c.scenario);
        clearVendorJournal();
        for (const std::wstring& folder : {SuiteMachine::itTicketFolder(), SuiteMachine::sentFolder()})
            CreateDirectoryW(folder.c_str(), nullptr);
        Names taken;
        if (c.fullSentFolder) {
            // Every name a record of ticket wt1001 may take: its own and
            // "(2)" to "(1000)" after it.
            for (int n = 1; n <= 1000; ++n) {
                const std::string name = n == 1 ? "W_wt1001.txt" : "W_wt1001 (" + std::to_string(n) + ").txt";
                writeFileBytes(SuiteMachine::sentFolder() + L"\\" + fromUtf8(name), "an earlier ticket");
                taken.push_back(name);
            }
            std::sort(taken.begin(), taken.end());
        } else {
            ASSERT_TRUE(deleteTree(SuiteMachine::pendingFolder()));
            writeFileBytes(SuiteMachine::pendingFolder(), "not a folder");
        }
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        setText(form, IDC_TICKET_DESCRIPTION, L"Docking station not charging");
        const OwnMessage message = submit(app, form);
        EXPECT_EQ(message.text, c.fullSentFolder ? successText(false, "wt1001") : std::wstring(kFailureText));
        dismiss(message);
        const DWORD pid = app.pid();
        EXPECT_EQ(app.waitForExit(), 0u);

        const VendorRequest request = onlyRequest();
        std::vector<std::string> lines;
        if (c.fullSentFolder) {
            // The process's first record file: "~record-<process id>-1.part".
            const std::string temporary = "~record-" + std::to_string(pid) + "-1.part";
            const std::wstring temporaryPath = SuiteMachine::sentFolder() + L"\\" + fromUtf8(temporary);
            Names expected = taken;
            expected.push_back(temporary);
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), expected);
            EXPECT_EQ(readFileBytes(temporaryPath), request.body);
            EXPECT_NE(GetFileAttributesW(temporaryPath.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
            EXPECT_EQ(iniSection(L"WEB"), (IniEntries{{"wt1001", kWebGuid}}));
            lines.push_back("Ticket record kept under its temporary name, it could not take its own: " +
                            toUtf8(temporaryPath));
        } else {
            EXPECT_EQ(readFileBytes(SuiteMachine::pendingFolder()), "not a folder");
            EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{});
        }
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        EXPECT_TRUE(ticketLogHasLinesInOrder(lines)) << SuiteMachine::ticketLog();
    }
}

// Submits a ticket that no service can receive on the machine laid out: the
// form reports the failure, nothing reaches the services, and the ticket
// waits as the one pending file; its members, or none when there is no such
// file or it is no flat JSON object.
std::optional<std::vector<std::pair<std::string, std::string>>> submitTicketThatWaits() {
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    setText(form, IDC_TICKET_DESCRIPTION, L"Laptop will not dock");
    const OwnMessage message = submit(app, form);
    EXPECT_EQ(message.text, kFailureText);
    dismiss(message);
    EXPECT_EQ(app.waitForExit(), 0u);

    EXPECT_EQ(vendorRequests().size(), 0u);
    const Names pending = filesIn(SuiteMachine::pendingFolder());
    EXPECT_EQ(pending.size(), 1u);
    if (pending.size() != 1) return std::nullopt;
    return parseFlatJson(pendingBytes(pending[0]));
}

TEST_F(ItTicketTest, WithoutTransportLibraryTheTicketWaitsInThePendingFolder) {
    SuiteMachine::standard().transportLibrary(L"");
    const auto members = submitTicketThatWaits();
    ASSERT_TRUE(members.has_value());
    EXPECT_EQ((*members)[6], (std::pair<std::string, std::string>{"Description", "Laptop will not dock"}));
}

TEST_F(ItTicketTest, WithoutTheSocketLibraryTheTicketWaitsWithoutAHostNameAndTheLogSaysWhy) {
    // Without Windows' socket library the suite's WBX.DLL, which needs it,
    // does not load either: the ticket waits as without the library.
    SuiteMachine::standard().systemLibraryMissing(L"ws2_32");
    const auto members = submitTicketThatWaits();
    ASSERT_TRUE(members.has_value());
    EXPECT_EQ((*members)[3], (std::pair<std::string, std::string>{"ComputerName", ""}));
    EXPECT_EQ(ticketLogLineCount("Host name not known, the system library ws2_32.dll cannot be loaded (error 126)"), 1u)
        << SuiteMachine::ticketLog();
}

// The KRLM.ini flags choose the route: the form's label, where the ticket
// goes, the message and the log's account of the mode.
TEST_F(ItTicketTest, TheDeliveryFlagsChooseTheRouteTheLabelAndTheLog) {
    enum class Route { Lan, Web, None };
    const struct {
        const char* what;
        const wchar_t *itTicketServer, *sendLocalRpt, *sendWebRpt;
        Route route;
        std::vector<std::string> logLines;
    } cases[] = {
        {"ITTicketServer L", L"L", L"", L"ON", Route::Lan,
         {"ITTicketServer flag L Strict LAN Mode", "Flag ITticketServer L  check Case start Lan\n",
          "Enter Lan function sendDataTOLanSrv()", "request added successfully", "Flag ITticketServer Lan End"}},
        {"SendLocalRpt and SendWebRpt ON", L"", L"ON", L"ON", Route::Lan,
         {"Call to GetUrl Function", "GetUrl function start",
          "Flag SendLocalRpt=ON and SendWebRpt=ON Then Strict Lan Moad\n", "Enter Lan function sendDataTOLanSrv()",
          "request added successfully", "Flag SendLocalRpt=ON and SendWebRpt=ON Then Strict Lan End"}},
        {"SendWebRpt ON alone", L"", L"", L"ON", Route::Web,
         {"SendWebRpt=ON Strict WEB Mode", "SendWebRpt=ON Then Strict web Moad\n",
          "SendWebRpt=ON  START sendDataTOWebSrv()", "SendWebRpt=ON Then Strict web End"}},
        // A lower-case "l" is no mode: nothing is sent.
        {"ITTicketServer l", L"l", L"", L"ON", Route::None, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SuiteMachine::standard()
            .krlm(L"ITTicketServer", c.itTicketServer)
            .krlm(L"SendLocalRpt", c.sendLocalRpt)
            .krlm(L"SendWebRpt", c.sendWebRpt);
        clearVendorJournal();
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        EXPECT_EQ(textIn(form, IDC_TICKET_MODE), c.route == Route::Lan ? L"LAN" : c.route == Route::Web ? L"WEB" : L"");
        setText(form, IDC_TICKET_DESCRIPTION, L"Shared drive gone");
        const OwnMessage message = submit(app, form);
        dismiss(message);
        // Once the program has ended, all it sent has been journaled.
        EXPECT_EQ(app.waitForExit(), 0u);
        const std::vector<VendorRequest> requests = vendorRequests();
        switch (c.route) {
        case Route::Lan:
            EXPECT_EQ(message.text, successText(true, "1001"));
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].path, kLanTicketPath);
            EXPECT_EQ(requests[0].port, lanPort());
            break;
        case Route::Web:
            EXPECT_EQ(message.text, successText(false, "wt1001"));
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].path, kCreateTicketPath);
            EXPECT_EQ(requests[0].port, vendorPort());
            break;
        case Route::None:
            EXPECT_EQ(message.text, kFailureText);
            EXPECT_EQ(requests.size(), 0u);
            break;
        }
        EXPECT_TRUE(ticketLogHasLinesInOrder(c.logLines)) << SuiteMachine::ticketLog();
    }
}

TEST_F(ItTicketTest, ALanAddressThatCannotBeUsedEndsTheProgramBeforeTheFormShows) {
    SuiteMachine::standard().krlm(L"ITTicketServer", L"L").ini(L"ServerIP.ini", L"Server", L"ACIP", L"server01");
    AppProcess app(SuiteMachine::program(), L"/sys");
    EXPECT_FALSE(windowSeenVisibleUntilExit(app, L"#32770"));
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_TRUE(ticketLogHasLinesInOrder({"ITTicketServer flag L Strict LAN Mode", "Wrong URL", "exit 2 "}))
        << SuiteMachine::ticketLog();
}

// --- the form's checks ---------------------------------------------------------

TEST_F(ItTicketTest, SubmitSendsOneTicketHoweverOftenItIsPressed) {
    SuiteMachine::standard();
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    setText(form, IDC_TICKET_DESCRIPTION, L"Keyboard types double letters");
    clickInside(form, IDC_TICKET_USER_NAME);
    // Three clicks and a Return, all queued before the first is handled.
    click(form, IDC_TICKET_SUBMIT);
    click(form, IDC_TICKET_SUBMIT);
    pressKey(form, VK_RETURN);
    click(form, IDC_TICKET_SUBMIT);
    const OwnMessage thanks = waitForOwnMessage(app, kOutcomeTimeoutMs);
    EXPECT_FALSE(IsWindowEnabled(control(form, IDC_TICKET_SUBMIT)));
    dismiss(thanks);
    // Every send blocks the program until the service has answered (and
    // journaled it): once the program has ended, all it sent is there.
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_EQ(vendorRequests().size(), 1u);
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{"W_wt1001.txt"});
}

TEST_F(ItTicketTest, TheContactCustomerIsAskedForEachFieldInTurnAndTheFormStaysOpen) {
    SuiteMachine::standard().set(RegistrySource::SuiteConfig, L"CorporateID", L"QRS-T2002");
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    EXPECT_TRUE(isVisible(control(form, IDC_TICKET_EMAIL)));
    EXPECT_TRUE(isVisible(control(form, IDC_TICKET_MOBILE)));
    EXPECT_EQ(SendMessageW(control(form, IDC_TICKET_ISSUE), CB_GETCOUNT, 0, 0), 5);

    const auto refused = [&](const std::wstring& expected) {
        const OwnMessage message = submit(app, form);
        EXPECT_EQ(message.text, expected);
        EXPECT_FALSE(message.smallText);
        dismiss(message);
        waitUntil([&] { return IsWindowEnabled(control(form, IDC_TICKET_SUBMIT)) != FALSE; }, "Submit to come back");
        EXPECT_TRUE(app.running());
    };
    const std::wstring email100 = L"a" + std::wstring(88, L'b') + L"@corp.co.in";  // 100 characters
    ASSERT_EQ(email100.size(), 100u);

    setText(form, IDC_TICKET_MOBILE, L"987654321");  // 9 characters
    setText(form, IDC_TICKET_EMAIL, email100);
    setText(form, IDC_TICKET_DESCRIPTION, L"   \r\n\t ");
    refused(L"Please enter valid Mobile Number..!");
    setText(form, IDC_TICKET_MOBILE, L"98765 4321");  // 10 characters of any kind
    refused(L"Please enter valid Email ID..!");
    EXPECT_EQ(readIniString(ticketIni(), L"contact", L"Mobile", L"", 520), L"98765 4321");
    setText(form, IDC_TICKET_EMAIL, L"ravi.kum\u00e4r@qu\u00f6rra.co.in");  // letters of any script count
    refused(L"Please Enter the Issue Description..!");
    EXPECT_EQ(textIn(form, IDC_TICKET_DESCRIPTION), L"");
    EXPECT_EQ(vendorRequests().size(), 0u);

    setText(form, IDC_TICKET_DESCRIPTION, L"POS terminal 3 frozen");
    const OwnMessage thanks = submit(app, form);
    EXPECT_EQ(thanks.text, successText(false, "wt1001"));
    dismiss(thanks);
    EXPECT_EQ(app.waitForExit(), 0u);

    const auto members = parseFlatJson(onlyRequest().body);
    ASSERT_TRUE(members.has_value());
    ASSERT_EQ(members->size(), 12u);
    EXPECT_EQ((*members)[10], (std::pair<std::string, std::string>{"Mobile", "98765 4321"}));
    EXPECT_EQ((*members)[11], (std::pair<std::string, std::string>{"Email", "ravi.kum\xC3\xA4r@qu\xC3\xB6rra.co.in"}));
    EXPECT_EQ(readIniString(ticketIni(), L"contact", L"Email", L"", 520), L"ravi.kum\u00e4r@qu\u00f6rra.co.in");
}

// The ini files are kept in the system code page (1252 here): a value that
// would come back as "?" or a look-alike is sent as typed but not stored.
TEST_F(ItTicketTest, TextTheIniFilesCannotHoldIsSentButNeverStoredChanged) {
    SuiteMachine::standard().set(RegistrySource::SuiteConfig, L"CorporateID", L"QRS-T2002");
    const std::wstring adminIni = SuiteMachine::productDataFolder() + L"\\DPX_AdminTicket.ini";
    const std::wstring userNameBefore = readIniString(adminIni, L"Name", L"UserName", L"<none>", 256);
    const std::wstring email = L"\u0101sha@corp.example";  // a-macron: not in code page 1252
    const std::wstring userName = L"\u0101sha.k";
    {
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        setText(form, IDC_TICKET_USER_NAME, userName);
        setText(form, IDC_TICKET_MOBILE, L"9876543210");
        setText(form, IDC_TICKET_EMAIL, email);
        setText(form, IDC_TICKET_DESCRIPTION, L"Badge reader offline");
        const OwnMessage thanks = submit(app, form);
        EXPECT_EQ(thanks.text, successText(false, "wt1001"));
        dismiss(thanks);
        EXPECT_EQ(app.waitForExit(), 0u);
    }
    const auto members = parseFlatJson(onlyRequest().body);
    ASSERT_TRUE(members.has_value());
    ASSERT_EQ(members->size(), 12u);
    EXPECT_EQ((*members)[4], (std::pair<std::string, std::string>{"UserName", toUtf8(userName)}));
    EXPECT_EQ((*members)[11], (std::pair<std::string, std::string>{"Email", toUtf8(email)}));

    EXPECT_EQ(readIniString(ticketIni(), L"contact", L"Mobile", L"<none>", 520), L"9876543210");
    EXPECT_EQ(readIniString(ticketIni(), L"contact", L"Email", L"<none>", 520), L"<none>");
    EXPECT_EQ(readIniString(adminIni, L"Name", L"UserName", L"<none>", 256), userNameBefore);
    EXPECT_EQ(ticketLogLineCount("Email ID not stored, Tiqora.ini cannot hold its characters"), 1u)
        << SuiteMachine::ticketLog();
    EXPECT_EQ(ticketLogLineCount("User name not stored, DPX_AdminTicket.ini cannot hold its characters"), 1u);

    // Next time the e-mail address is asked for again, never offered as "?sha@...".
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    EXPECT_TRUE(isVisible(control(form, IDC_TICKET_EMAIL)));
    EXPECT_EQ(textIn(form, IDC_TICKET_EMAIL), L"");
    EXPECT_EQ(textIn(form, IDC_TICKET_MOBILE), L"9876543210");
    click(form, IDC_TICKET_CANCEL);
    EXPECT_EQ(app.waitForExit(), 0u);

    // A mobile number it cannot hold likewise: sent as typed, not stored, and
    // asked for again next time.
    ASSERT_TRUE(WritePrivateProfileStringW(L"contact", L"Mobile", nullptr, ticketIni().c_str()));
    clearVendorJournal();
    const std::wstring mobile = L"98765\u01014321";
    {
        AppProcess third(SuiteMachine::program(), L"/sys");
        HWND thirdForm = waitForForm(third);
        EXPECT_EQ(textIn(thirdForm, IDC_TICKET_MOBILE), L"");
        setText(thirdForm, IDC_TICKET_MOBILE, mobile);
        setText(thirdForm, IDC_TICKET_EMAIL, L"asha@corp.example");
        setText(thirdForm, IDC_TICKET_DESCRIPTION, L"Badge reader offline again");
        const OwnMessage thanks = submit(third, thirdForm);
        EXPECT_EQ(thanks.text, successText(false, "wt1001"));
        dismiss(thanks);
        EXPECT_EQ(third.waitForExit(), 0u);
    }
    const auto sent = parseFlatJson(onlyRequest().body);
    ASSERT_TRUE(sent.has_value());
    ASSERT_EQ(sent->size(), 12u);
    EXPECT_EQ((*sent)[10], (std::pair<std::string, std::string>{"Mobile", "98765\xC4\x81" "4321"}));
    EXPECT_EQ(readIniString(ticketIni(), L"contact", L"Mobile", L"<none>", 520), L"<none>");
    EXPECT_EQ(ticketLogLineCount("Mobile number not stored, Tiqora.ini cannot hold its characters"), 1u)
        << SuiteMachine::ticketLog();
}

TEST_F(ItTicketTest, StoredContactValuesAreSentWhateverTheFieldsHold) {
    SuiteMachine::standard()
        .set(RegistrySource::SuiteConfig, L"CorporateID", L"QRS-T2002")
        .ticketIni(L"contact", L"Mobile", L"9123456780")
        .ticketIni(L"contact", L"Email", L"stored@corp.example");
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    EXPECT_EQ(textIn(form, IDC_TICKET_MOBILE), L"9123456780");
    EXPECT_EQ(textIn(form, IDC_TICKET_EMAIL), L"stored@corp.example");
    setText(form, IDC_TICKET_MOBILE, L"1");
    setText(form, IDC_TICKET_EMAIL, L"not an address");
    setText(form, IDC_TICKET_DESCRIPTION, L"Scanner not found");
    dismiss(submit(app, form));
    EXPECT_EQ(app.waitForExit(), 0u);

    const auto members = parseFlatJson(onlyRequest().body);
    ASSERT_TRUE(members.has_value());
    ASSERT_EQ(members->size(), 12u);
    EXPECT_EQ((*members)[10].second, "9123456780");
    EXPECT_EQ((*members)[11].second, "stored@corp.example");
}

// The texts of a combo box's items, in their order.
std::vector<std::wstring> comboItems(HWND dialog, int id) {
    HWND combo = control(dialog, id);
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(text);
    }
    return items;
}

TEST_F(ItTicketTest, TheListsOfferTheirItemsInOrderAndEachSendsItsValue) {
    const std::vector<std::wstring> issues = {L"Network Issue", L"Software Issue", L"Hardware Issue", L"Other Issue",
                                              L"PC Issue"};
    const std::vector<std::wstring> priorities = {L"High", L"Medium", L"Low"};
    const char* const priorityCodes[] = {"2", "1", "0"};
    for (int issue = 0; issue < 5; ++issue) {
        const int priority = issue % 3;
        SuiteMachine::standard();
        clearVendorJournal();
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        if (issue == 0) {
            EXPECT_EQ(comboItems(form, IDC_TICKET_ISSUE), issues);
            EXPECT_EQ(comboItems(form, IDC_TICKET_PRIORITY), priorities);
        }
        selectComboItem(form, IDC_TICKET_ISSUE, issue);
        selectComboItem(form, IDC_TICKET_PRIORITY, priority);
        setText(form, IDC_TICKET_DESCRIPTION, L"Which item went");
        dismiss(submit(app, form));
        EXPECT_EQ(app.waitForExit(), 0u);
        const auto members = parseFlatJson(onlyRequest().body);
        ASSERT_TRUE(members.has_value());
        EXPECT_EQ((*members)[5], (std::pair<std::string, std::string>{"IssueTitle", toUtf8(issues[issue])}));
        EXPECT_EQ((*members)[7], (std::pair<std::string, std::string>{"Priority", priorityCodes[priority]}));
    }
}

TEST_F(ItTicketTest, TheDescriptionTakes500CharactersAndTheMobileNumber12) {
    SuiteMachine::standard().set(RegistrySource::SuiteConfig, L"CorporateID", L"QRS-T2002");
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    const std::wstring typed(501, L'd');
    typeText(form, IDC_TICKET_DESCRIPTION, typed);
    typeText(form, IDC_TICKET_MOBILE, L"987654321012345");
    setText(form, IDC_TICKET_EMAIL, L"asha@corp.example");
    // Typed characters are handled in order: once the last digit has been
    // handled, every character before it has.
    waitUntil([&] { return textIn(form, IDC_TICKET_MOBILE).size() == 12; }, "the digits to be typed");
    EXPECT_EQ(textIn(form, IDC_TICKET_DESCRIPTION), std::wstring(500, L'd'));
    EXPECT_EQ(textIn(form, IDC_TICKET_COUNTER), L"500/500");
    EXPECT_EQ(textIn(form, IDC_TICKET_MOBILE), L"987654321012");
    dismiss(submit(app, form));
    EXPECT_EQ(app.waitForExit(), 0u);
    const auto members = parseFlatJson(onlyRequest().body);
    ASSERT_TRUE(members.has_value());
    ASSERT_EQ(members->size(), 12u);
    EXPECT_EQ((*members)[6], (std::pair<std::string, std::string>{"Description", std::string(500, 'd')}));
    EXPECT_EQ((*members)[10], (std::pair<std::string, std::string>{"Mobile", "987654321012"}));
}

TEST_F(ItTicketTest, TheLogStampIsTheLocalTimeDayFirst) {
    SuiteMachine::standard();
    const SYSTEMTIME before = localTimeNow();
    AppProcess app(SuiteMachine::program(), L"/sys");
    HWND form = waitForForm(app);
    click(form, IDC_TICKET_CANCEL);
    EXPECT_EQ(app.waitForExit(), 0u);
    const SYSTEMTIME after = localTimeNow();
    // "d/mm/yyyy hh:mm  :  " before every message: day unpadded, then month.
    const std::string log = SuiteMachine::ticketLog();
    int day = 0, month = 0, year = 0, hour = 0, minute = 0;
    ASSERT_EQ(std::sscanf(log.c_str(), "%d/%d/%d %d:%d  :  ", &day, &month, &year, &hour, &minute), 5) << log;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, 0);
    SYSTEMTIME fromMinute = before;
    fromMinute.wSecond = 0;
    EXPECT_TRUE(isLocalTimeBetween(stamp, fromMinute, after)) << log.substr(0, 40);
    EXPECT_EQ(log.substr(0, std::to_string(day).size() + 1), std::to_string(before.wDay) + "/")
        << "the day comes first, unpadded";
}

TEST_F(ItTicketTest, TheLogStartsAnewOnlyPastItsLimit) {
    for (const size_t size : {size_t{153000}, size_t{153001}}) {
        SuiteMachine::standard();
        const std::string earlier(size, 'o');
        writeFileBytes(SuiteMachine::ticketLogPath(), earlier);
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        click(form, IDC_TICKET_CANCEL);
        EXPECT_EQ(app.waitForExit(), 0u);
        const std::string log = SuiteMachine::ticketLog();
        const std::string start = "------------------------START---------------------------------";
        if (size == 153000) {
            EXPECT_EQ(log.substr(0, size), earlier) << "the log of 153,000 bytes keeps its bytes";
        } else {
            EXPECT_EQ(log.find(std::string(64, 'o')), std::string::npos) << "the log of 153,001 bytes starts anew";
            EXPECT_EQ(log.find(start), log.find("  :  ") + 5) << log.substr(0, 200);
        }
    }
}

TEST_F(ItTicketTest, TheIssueListHasNoPcIssueForOneCustomer) {
    for (const auto& [corporateId, items] : {std::pair<const wchar_t*, LRESULT>{L"CORP-QRS-T1001-7", 4},
                                             {L"", 5}}) {
        SuiteMachine::standard().set(RegistrySource::SuiteConfig, L"CorporateID", corporateId);
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        EXPECT_EQ(SendMessageW(control(form, IDC_TICKET_ISSUE), CB_GETCOUNT, 0, 0), items) << toUtf8(corporateId);
        EXPECT_EQ(SendMessageW(control(form, IDC_TICKET_ISSUE), CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(SendMessageW(control(form, IDC_TICKET_PRIORITY), CB_GETCURSEL, 0, 0), 1);
        click(form, IDC_TICKET_CANCEL);
        EXPECT_EQ(app.waitForExit(), 0u);
    }
}

TEST_F(ItTicketTest, CancelXAndEscapeLeaveWithoutSending) {
    const std::pair<const char*, std::function<void(HWND)>> ways[] = {
        {"Cancel", [](HWND form) { click(form, IDC_TICKET_CANCEL); }},
        {"X", [](HWND form) { click(form, IDC_TICKET_X); }},
        {"Escape",
         [](HWND form) {
             clickInside(form, IDC_TICKET_USER_NAME);
             pressKey(form, VK_ESCAPE);
         }},
    };
    for (const auto& [name, leave] : ways) {
        SuiteMachine::standard();
        clearVendorJournal();
        AppProcess app(SuiteMachine::program(), L"/sys");
        HWND form = waitForForm(app);
        setText(form, IDC_TICKET_DESCRIPTION, L"never sent");
        leave(form);
        EXPECT_EQ(app.waitForExit(), 0u) << name;
        EXPECT_EQ(vendorRequests().size(), 0u) << name;
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{}) << name;
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{}) << name;
    }
}

}  // namespace
}  // namespace tiqora::test
