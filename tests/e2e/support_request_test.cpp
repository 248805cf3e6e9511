// The support request form of the real program, driven as a customer uses
// it, against the local call-tracking service: what the service receives,
// what the customer is told, what the request history keeps.
#include <gtest/gtest.h>

#include <regex>

#include "harness/machine.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "resource.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

constexpr wchar_t kMainClass[] = L"Tiqora_Desk";
const std::wstring kHistoryFile = L"C:\\ProgramData\\Orvantis\\Tiqora.ini";

struct Typed {
    std::wstring name = L"Asha Verma";
    std::wstring mobile = L"9876543210";
    std::wstring email = L"asha.verma@example.com";
    std::wstring city = L"Pune";
    std::wstring state = L"Maharashtra";
    int customerType = 0;
    int issueType = 3;  // "Virus"
    std::wstring description = L"Scan stops at 40%";
};

class SupportRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        SuiteMachine::standard();
        setVendorScenario("success");
        clearVendorJournal();
    }

    HWND openForm(AppProcess& app) { return app.waitForWindow(kMainClass, L"Tiqora Desk"); }

    void fill(HWND form, const Typed& typed) {
        setText(form, IDC_REQUEST_NAME, typed.name);
        setText(form, IDC_REQUEST_MOBILE, typed.mobile);
        setText(form, IDC_REQUEST_EMAIL, typed.email);
        setText(form, IDC_REQUEST_CITY, typed.city);
        setText(form, IDC_REQUEST_STATE, typed.state);
        if (typed.customerType >= 0) selectComboItem(form, IDC_REQUEST_CUSTOMER, typed.customerType);
        if (typed.issueType >= 0) selectComboItem(form, IDC_REQUEST_ISSUE, typed.issueType);
        setText(form, IDC_REQUEST_DESCRIPTION, typed.description);
    }

    // Submits and returns the message box the form answers with.
    MessageBoxInfo submit(AppProcess& app, HWND form) {
        click(form, IDC_REQUEST_SUBMIT);
        return waitForMessageBox(app.pid());
    }
};

TEST_F(SupportRequestTest, AValidRequestReachesTheServiceAndIsRecorded) {
    for (int round = 1; round <= 2; ++round) {
        AppProcess app(SuiteMachine::program(), L"");
        HWND form = openForm(app);
        // The form starts from the customer's details.
        EXPECT_EQ(textOf(control(form, IDC_REQUEST_NAME)), L"Asha Verma");
        EXPECT_EQ(textOf(control(form, IDC_REQUEST_CITY)), L"Pune");
        EXPECT_EQ(textOf(control(form, IDC_REQUEST_STATE)), L"Maharashtra");
        // History is offered once a request has been recorded.
        EXPECT_EQ(isVisible(control(form, IDC_REQUEST_HISTORY)), round == 2);

        Typed typed;
        typed.name = L"R&D = Asha + Co % \u00c9lise";  // reaches the service as typed
        typed.city = L"";
        typed.state = L"Goa";
        typed.customerType = 1;
        typed.description = L"  Scan stops at 40%\r\nthen hangs & freezes  ";
        fill(form, typed);
        const MessageBoxInfo box = submit(app, form);
        EXPECT_EQ(box.caption, L"Tiqora Desk");
        EXPECT_EQ(box.text, L"Thank You.\nYour Request has been submitted.\nCallTrack ID =  CT : 4711\n"
                            L"VEXO Help Desk Team will contact you soon.\nTiming: 9.30am to 9.30pm.");
        dismissMessageBox(box);
        EXPECT_EQ(app.waitForExit(), 0u);

        const VendorRequest request = waitForVendorRequest(static_cast<size_t>(round - 1));
        EXPECT_EQ(request.path, "/Android/SaveNewCall.aspx");
        EXPECT_EQ(request.header("user-agent"), "Tiqora");
        const std::vector<std::pair<std::string, std::string>> expected = {
            {"CustName", toUtf8(typed.name)}, {"CustMobNo", "9876543210"},
            {"CustEmailID", "asha.verma@example.com"}, {"CustType", "O"}, {"State", "Goa"}, {"Dist", "N.A"},
            {"City", "N.A"}, {"Problem", "VIRUS - Scan stops at 40%then hangs & freezes"}, {"UserID", "241"},
            {"AssignToDept", "TS-SSO"}, {"POC", "12"}, {"LicenseKey", "TQ4711-2026-ORV"}, {"ReceivedVia", "11"},
        };
        EXPECT_EQ(request.form, expected);

        const std::string history = readFileBytes(kHistoryFile);
        EXPECT_NE(history.find("CNT=" + std::to_string(round)), std::string::npos) << history;
        const std::regex record("(^|\\n)" + std::to_string(round) +
                                R"(=\d{1,2}/\d{2}/\d{4} \d{2}:\d{2}#CT : 4711#VIRUS - Scan stops at 40%then hangs & freezes#9876543210\r?\n)");
        EXPECT_TRUE(std::regex_search(history, record)) << history;
    }
}

TEST_F(SupportRequestTest, EveryOtherOutcomeIsToldAndEndsTheProcess) {
    struct Case {
        const char* what;
        std::function<void()> machine;
        std::wstring caption;
        std::wstring text;
        size_t requests;
        std::string logged;  // the one line of the IT ticket log after its stamp; empty: no log
    };
    const std::wstring noConnection = L"Internet Connection is not available....\nPlease try after some time";
    const std::string noLibrary =
        "QXPath.ini names no absolute folder on this machine, the support request loads no WBX.DLL: ";
    // QXPath.ini naming a folder that is no absolute folder on this machine:
    // nothing is loaded from it (the relative, drive-relative and device
    // paths name the suite's real QXSCAN folder from the program's current
    // folder, its install folder).
    const auto qxPath = [](const wchar_t* folder) {
        return [folder] { SuiteMachine::existing().ini(L"QXPath.ini", L"QXPATH", L"QXPATH", folder); };
    };
    // A [Hosts] CallTracking value that is no usable address.
    const auto callTrackingAt = [](const std::wstring& setting) {
        return [setting] { SuiteMachine::existing().vendorHost(L"CallTracking", setting); };
    };
    const std::wstring port = std::to_wstring(vendorPort());
    const std::string unusable = "TiqoraDesk.ini [Hosts] CallTracking is no usable address, nothing is sent to it: ";
    const Case cases[] = {
        {"no QXPath.ini: no library", [] { SuiteMachine::standard().removeProductFile(L"QXPath.ini"); },
         L"TiqoraDesk", noConnection, 0, noLibrary + "N/A"},
        {"a UNC QXPath", qxPath(L"\\\\127.0.0.1\\share\\QX"), L"TiqoraDesk", noConnection, 0,
         noLibrary + "\\\\127.0.0.1\\share\\QX"},
        {"a relative QXPath", qxPath(L"QXSCAN"), L"TiqoraDesk", noConnection, 0, noLibrary + "QXSCAN"},
        {"a drive-relative QXPath", qxPath(L"C:QXSCAN"), L"TiqoraDesk", noConnection, 0, noLibrary + "C:QXSCAN"},
        {"a device path QXPath", qxPath(L"\\\\?\\C:\\Program Files\\Kelvane\\Orvantis\\QXSCAN"), L"TiqoraDesk",
         noConnection, 0, noLibrary + "\\\\?\\C:\\Program Files\\Kelvane\\Orvantis\\QXSCAN"},
        {"an HTML error page", [] { setVendorScenario("html-error"); }, L"TiqoraDesk",
         L" Error while sending message\n Please try after some time...", 1, ""},
        {"a reply without CT", [] { setVendorScenario("error-500"); }, L"TiqoraDesk", noConnection, 1, ""},
        // "CT" alone is no confirmation: a proxy's refusal holds the letters.
        {"a proxy's refusal", [] { setVendorScenario("ct-refused"); }, L"TiqoraDesk", noConnection, 1, ""},
        {"the marker without an id", [] { setVendorScenario("no-data"); }, L"Tiqora Desk",
         L"Thank You.\nYour Request has been submitted.\nCallTrack ID =  CT:pending\n"
         L"VEXO Help Desk Team will contact you soon.\nTiming: 9.30am to 9.30pm.", 1, ""},
        // An https service the program cannot trust, or an address that says
        // more than a host and a port, is a service that did not answer.
        {"an https service with an expired certificate",
         [] { SuiteMachine::existing().vendorHost(L"CallTracking", L"https://localhost:" + std::to_wstring(tlsExpiredPort())); },
         L"TiqoraDesk", noConnection, 0,
         "CallTracking request to https://localhost:" + std::to_string(tlsExpiredPort()) +
             "/Android/SaveNewCall.aspx got no answer over TLS, the certificate was refused: the certificate has "
             "expired or is not yet valid"},
        {"a path in the address",
         [] { SuiteMachine::existing().vendorHost(L"CallTracking", L"https://localhost:" + std::to_wstring(tlsPort()) + L"/calls"); },
         L"TiqoraDesk", noConnection, 0,
         "TiqoraDesk.ini [Hosts] CallTracking is no usable address, nothing is sent to it: it holds a path"},
        {"no host after the scheme", callTrackingAt(L"https://"), L"TiqoraDesk", noConnection, 0,
         unusable + "it names no host"},
        {"another scheme", callTrackingAt(L"ftp://localhost:" + port), L"TiqoraDesk", noConnection, 0,
         unusable + "its scheme is neither http:// nor https://"},
        {"a query in the address", callTrackingAt(L"localhost:" + port + L"?line=2"), L"TiqoraDesk", noConnection, 0,
         unusable + "it holds a query"},
        {"a blank in the host", callTrackingAt(L"call tracking:" + port), L"TiqoraDesk", noConnection, 0,
         unusable + "its host is no valid host name"},
        {"port 70000", callTrackingAt(L"localhost:70000"), L"TiqoraDesk", noConnection, 0,
         unusable + "its port is not a number from 1 to 65535"},
        {"an address of 301 characters", callTrackingAt(std::wstring(301, L'a')), L"TiqoraDesk", noConnection, 0,
         unusable + "it is longer than any address"},
    };
    for (const Case& c : cases) {
        SuiteMachine::standard();
        clearVendorJournal();
        setVendorScenario("success");
        c.machine();
        AppProcess app(SuiteMachine::program(), L"");
        HWND form = openForm(app);
        fill(form, Typed());
        const MessageBoxInfo box = submit(app, form);
        EXPECT_EQ(box.caption, c.caption) << c.what;
        EXPECT_EQ(box.text, c.text) << c.what;
        dismissMessageBox(box);
        EXPECT_EQ(app.waitForExit(), 0u) << c.what;
        EXPECT_EQ(vendorRequests().size(), c.requests) << c.what;
        EXPECT_FALSE(fileExists(kHistoryFile)) << c.what << ": nothing may be recorded";
        const std::string log = SuiteMachine::ticketLog();
        if (c.logged.empty()) {
            EXPECT_EQ(log, "") << c.what;
        } else {
            const std::string stamp = log.substr(0, log.find("  :  "));
            EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2})"))) << c.what << ": " << log;
            EXPECT_EQ(log, stamp + "  :  " + c.logged + "\r\n") << c.what;
        }
    }
}

TEST_F(SupportRequestTest, AnHttpsKeySendsTheRequestOverTlsAndAPlainOneThroughTheLibrary) {
    std::vector<VendorRequest> received;
    for (const int port : {tlsPort(), vendorPort()}) {
        const bool overTls = port == tlsPort();
        const std::wstring setting = (overTls ? L"https://localhost:" : L"localhost:") + std::to_wstring(port);
        SCOPED_TRACE(toUtf8(setting));
        SuiteMachine::standard().vendorHost(L"CallTracking", setting);
        clearVendorJournal();
        AppProcess app(SuiteMachine::program(), L"");
        HWND form = openForm(app);
        fill(form, Typed());
        const MessageBoxInfo box = submit(app, form);
        EXPECT_EQ(box.text, L"Thank You.\nYour Request has been submitted.\nCallTrack ID =  CT : 4711\n"
                            L"VEXO Help Desk Team will contact you soon.\nTiming: 9.30am to 9.30pm.");
        dismissMessageBox(box);
        EXPECT_EQ(app.waitForExit(), 0u);

        const std::vector<VendorRequest> requests = vendorRequests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].port, port);
        EXPECT_EQ(requests[0].overTls, overTls);
        received.push_back(requests[0]);
        const std::string history = readFileBytes(kHistoryFile);
        EXPECT_NE(history.find("#CT : 4711#VIRUS - Scan stops at 40%#9876543210"), std::string::npos) << history;
    }
    ASSERT_EQ(received.size(), 2u);
    // Over TLS the request is what the suite's library sends in the clear.
    const VendorRequest &overTls = received[0], &throughLibrary = received[1];
    expectSameRequestAsTheLibrarys(overTls, throughLibrary);
    EXPECT_EQ(overTls.path, "/Android/SaveNewCall.aspx");
    EXPECT_EQ(throughLibrary.header("user-agent"), "Tiqora");
    EXPECT_EQ(throughLibrary.contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(overTls.body, throughLibrary.body);
}

TEST_F(SupportRequestTest, AReplyOfSeveralLinesIsRecordedAsOneLineOfFourFields) {
    setVendorScenario("ct-two-lines");
    AppProcess app(SuiteMachine::program(), L"");
    HWND form = openForm(app);
    fill(form, Typed());
    const MessageBoxInfo box = submit(app, form);
    EXPECT_EQ(box.caption, L"Tiqora Desk");
    EXPECT_EQ(box.text, L"Thank You.\nYour Request has been submitted.\nCallTrack ID =  CT : 4711\r\nX#Y\n"
                        L"VEXO Help Desk Team will contact you soon.\nTiming: 9.30am to 9.30pm.");
    dismissMessageBox(box);
    EXPECT_EQ(app.waitForExit(), 0u);

    // The reply's line break became blanks and its "#" went: the record is
    // one line, and the history reads back the mobile number as its fourth
    // field.
    wchar_t count[16] = {}, record[1024] = {};
    GetPrivateProfileStringW(L"Tiqora", L"CNT", L"", count, 16, kHistoryFile.c_str());
    GetPrivateProfileStringW(L"Tiqora", L"1", L"", record, 1024, kHistoryFile.c_str());
    EXPECT_STREQ(count, L"1");
    const std::wstring text = record;
    const std::wregex shape(LR"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2}#CT : 4711  XY#VIRUS - [^#\r\n]+#9876543210)");
    EXPECT_TRUE(std::regex_match(text, shape)) << toUtf8(text);
    const std::string history = readFileBytes(kHistoryFile);
    EXPECT_EQ(history.find("X#Y"), std::string::npos) << history;
}

// The colour a form's field shows at its right end, away from its text.
COLORREF fieldColour(HWND form, int id) {
    RECT rect;
    GetWindowRect(control(form, id), &rect);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, rect.right - 6, (rect.top + rect.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST_F(SupportRequestTest, TheFirstFailingCheckIsToldAndItsFieldMarked) {
    const COLORREF paleYellow = RGB(251, 253, 168);
    struct Case {
        const char* what;
        std::function<void(Typed&)> change;
        std::wstring message;
        int markedField;  // 0: none
    };
    const Case cases[] = {
        {"all empty", [](Typed& t) { t = Typed{L"", L"", L"", L"", L"", -1, -1, L""}; }, L"Invalid issue Description", 0},
        {"a digit in the name", [](Typed& t) { t.name = L"Asha 2"; }, L"Enter valid name", 0},
        {"9 digits", [](Typed& t) { t.mobile = L"987654321"; }, L"Please enter valid Mobile no", IDC_REQUEST_MOBILE},
        {"five characters", [](Typed& t) { t.email = L"a@b.c"; }, L"Please enter valid EmailId ", IDC_REQUEST_EMAIL},
        {"a blank in the address", [](Typed& t) { t.email = L"asha @example.com"; }, L"Please enter valid EmailId ", 0},
        {"no issue type", [](Typed& t) { t.issueType = -1; }, L"Select the Issue Type", 0},
    };
    AppProcess app(SuiteMachine::program(), L"");
    HWND form = openForm(app);
    for (const Case& c : cases) {
        Typed typed;
        c.change(typed);
        fill(form, typed);
        if (typed.issueType < 0) selectComboItem(form, IDC_REQUEST_ISSUE, -1);
        const MessageBoxInfo box = submit(app, form);
        EXPECT_EQ(box.caption, L"TiqoraDesk") << c.what;
        EXPECT_EQ(box.text, c.message) << c.what;
        dismissMessageBox(box);
        waitUntil([&] { return IsWindowEnabled(control(form, IDC_REQUEST_SUBMIT)) != FALSE; }, "Submit to be enabled again");
        // A field's mark changes with its next repaint, which may follow
        // the message box by a moment.
        for (int field : {IDC_REQUEST_MOBILE, IDC_REQUEST_EMAIL}) {
            const bool markExpected = field == c.markedField;
            bool settled = true;
            try {
                waitUntil([&] { return (fieldColour(form, field) == paleYellow) == markExpected; }, "the field's mark", 3000);
            } catch (const DriverError&) {
                settled = false;
            }
            EXPECT_TRUE(settled) << c.what << ", field " << field << (markExpected ? " not marked" : " still marked");
        }
    }
    // "ab@c.d" passes, and Return in a field submits.
    Typed typed;
    typed.email = L"ab@c.d";
    fill(form, typed);
    pressKey(control(form, IDC_REQUEST_NAME), VK_RETURN);
    const MessageBoxInfo box = waitForMessageBox(app.pid());
    EXPECT_NE(box.text.find(L"CallTrack ID =  CT : 4711"), std::wstring::npos);
    dismissMessageBox(box);
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_EQ(waitForVendorRequest(0).form[2].second, "ab@c.d");
}

TEST_F(SupportRequestTest, TheCounterCountsDownToZeroAndStopsTheTyping) {
    AppProcess app(SuiteMachine::program(), L"");
    HWND form = openForm(app);
    EXPECT_EQ(textOf(control(form, IDC_REQUEST_COUNTER)), L"256 Characters Remaining");
    // Set text raises no change notice in a multi-line edit; typing does.
    setText(form, IDC_REQUEST_DESCRIPTION, std::wstring(250, L'a'));
    HWND description = control(form, IDC_REQUEST_DESCRIPTION);
    PostMessageW(description, WM_CHAR, L'b', 1);
    waitUntil([&] { return textOf(control(form, IDC_REQUEST_COUNTER)) == L"5 Characters Remaining"; }, "the counter at 5");
    for (wchar_t c : std::wstring(L"cdefghij")) PostMessageW(description, WM_CHAR, c, 1);
    waitUntil([&] { return textOf(control(form, IDC_REQUEST_COUNTER)) == L"0 Characters Remaining"; }, "the counter at 0");
    const std::wstring kept = textOf(description);  // typed at the caret, which set text leaves at the start
    EXPECT_EQ(kept.size(), 256u);
    EXPECT_NE(kept.find(L"bcdefg"), std::wstring::npos);
    EXPECT_EQ(kept.find(L'h'), std::wstring::npos);
    click(form, IDC_REQUEST_CLOSE);
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST_F(SupportRequestTest, TheHistoryListsTheRecordsAndSortsThem) {
    writeFileBytes(kHistoryFile,
                   "[Tiqora]\r\nCNT=4\r\n"
                   "1=7/12/2026 05:26#CT : 4711#VIRUS - slow#9876543210\r\n"
                   "3=9/12/2026 10:00#CT : 99#PC - fan#9123456780\r\n"
                   "4=8/12/2026 11:30#CT : 100#UPDATE - a#b#9000000000\r\n");
    AppProcess app(SuiteMachine::program(), L"");
    HWND form = openForm(app);
    click(form, IDC_REQUEST_HISTORY);
    HWND history = app.waitForDialogWith(IDC_HISTORY_LIST);
    HWND list = control(history, IDC_HISTORY_LIST);
    using Rows = std::vector<std::vector<std::wstring>>;
    const Rows inFileOrder = {
        {L"1", L"7/12/2026 05:26", L"CT : 4711", L"VIRUS - slow", L"9876543210"},
        {L"2", L"NULL", L"", L"", L""},
        {L"3", L"9/12/2026 10:00", L"CT : 99", L"PC - fan", L"9123456780"},
        {L"4", L"8/12/2026 11:30", L"CT : 100", L"UPDATE - a", L"b"},
    };
    EXPECT_EQ(listRows(list, 5), inFileOrder);

    clickListHeading(list, 0);  // ascending: as in the file
    clickListHeading(list, 0);  // descending
    waitUntil([&] { return listRows(list, 5).front()[0] == L"4"; }, "the rows sorted by number, descending");
    clickListHeading(list, 1);  // dates with times sort as text, ascending
    waitUntil([&] { return listRows(list, 5)[3][1] == L"NULL"; }, "the rows sorted by date text");
    EXPECT_EQ(listRows(list, 5)[0][1], L"7/12/2026 05:26");

    click(history, IDC_HISTORY_CLOSE);
    waitUntil([&] { return !IsWindow(history); }, "the history to close");
    EXPECT_TRUE(app.running());
    click(form, IDC_REQUEST_CLOSE);
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST_F(SupportRequestTest, AHistoryOfTwentyThousandRecordsScrollsToItsEndAndSortsThemAll) {
    // Record n: call "CT : 4000+n", mobile number 100000000 + (n * 7919) mod
    // 20000, so every mobile number comes once, in shuffled order. By hand:
    // n = 20000 has the smallest (7919 * 20000 is a multiple of 20000) and
    // n = 2321 the largest (2321 * 7919 = 18,379,999).
    constexpr int kRecords = 20000;
    std::string file = "[Tiqora]\r\nCNT=20000\r\n";
    for (int n = 1; n <= kRecords; ++n)
        file += std::to_string(n) + "=7/12/2026 05:26#CT : " + std::to_string(4000 + n) + "#VIRUS - scan " +
                std::to_string(n) + "#" + std::to_string(100000000 + n * 7919 % kRecords) + "\r\n";
    writeFileBytes(kHistoryFile, file);
    using Row = std::vector<std::wstring>;
    const Row first = {L"1", L"7/12/2026 05:26", L"CT : 4001", L"VIRUS - scan 1", L"100007919"};
    const Row smallestMobile = {L"20000", L"7/12/2026 05:26", L"CT : 24000", L"VIRUS - scan 20000", L"100000000"};
    const Row largestMobile = {L"2321", L"7/12/2026 05:26", L"CT : 6321", L"VIRUS - scan 2321", L"100019999"};

    AppProcess app(SuiteMachine::program(), L"");
    HWND form = openForm(app);
    click(form, IDC_REQUEST_HISTORY);
    HWND history = app.waitForDialogWith(IDC_HISTORY_LIST);
    HWND list = control(history, IDC_HISTORY_LIST);
    EXPECT_EQ(listPosition(list).rowCount, kRecords);
    EXPECT_EQ(listRow(list, 0, 5), first);

    // End goes to the last row, selects it and scrolls it into view.
    pressKey(history, VK_END);
    waitUntil([&] { return listPosition(list).focusedRow == kRecords - 1; }, "the last row to take the focus");
    const ListPosition end = listPosition(list);
    EXPECT_EQ(end.selectedRow, kRecords - 1);
    EXPECT_GT(end.rowsPerPage, 0);
    EXPECT_LE(end.topRow, kRecords - 1);
    EXPECT_GT(end.topRow + end.rowsPerPage, kRecords - 1) << "the last row is not in view";
    EXPECT_EQ(listRow(list, kRecords - 1, 5), smallestMobile);

    // Sorted by mobile number; the selected row moves with its record.
    clickListHeading(list, 4);
    waitUntil([&] { return listRow(list, 0, 5) == smallestMobile; }, "the rows sorted by mobile number");
    EXPECT_EQ(listRow(list, kRecords - 1, 5), largestMobile);
    EXPECT_EQ(listPosition(list).selectedRow, 0);
    clickListHeading(list, 4);  // descending
    waitUntil([&] { return listRow(list, 0, 5) == largestMobile; }, "the rows sorted by mobile number, descending");
    EXPECT_EQ(listRow(list, kRecords - 1, 5), smallestMobile);
    EXPECT_EQ(listPosition(list).selectedRow, kRecords - 1);
    clickListHeading(list, 0);  // by number again: the file's order
    waitUntil([&] { return listRow(list, 0, 5) == first; }, "the rows sorted by number");
    EXPECT_EQ(listRow(list, kRecords - 1, 5), smallestMobile);

    click(history, IDC_HISTORY_CLOSE);
    waitUntil([&] { return !IsWindow(history); }, "the history to close");
    click(form, IDC_REQUEST_CLOSE);
    EXPECT_EQ(app.waitForExit(), 0u);
}

}  // namespace
}  // namespace tiqora::test
