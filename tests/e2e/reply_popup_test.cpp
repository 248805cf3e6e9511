// The reply notification popup of the real TiqoraDesk.exe ("/SAReply=L,..."
// and "/SAReply=C,..."), driven through its window: what it says, that it
// blinks and where it stands, its close button, and its open button all the
// way to the browser stand-in, by each route of the browser chain in turn,
// with the address and the log lines that a user's machine would keep.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "harness/browser_routes.h"
#include "harness/machine.h"
#include "harness/picture.h"
#include "harness/ticket_files.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "resource.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

constexpr char kBase64Of_CORP_1001[] = "Q09SUC0xMDAx";
const std::vector<std::string> kChainLines = {"1. Default browser Success", "2. chrome.exe Success",
                                              "3. chrome.exe Success", "4. Other browser Success",
                                              "5. Failed all browswer"};

std::string lanPage(const std::string& encodedGuid) {
    return "http://127.0.0.1:" + std::to_string(lanPort()) + "/adminTicketExternal/UserTicket?ticketGuid=" +
           encodedGuid;
}

std::string webPage(const std::string& corporateSegment, const std::string& encodedGuid) {
    return "http://127.0.0.1:" + std::to_string(vendorPort()) + "/user/it-ticket/ticket-info/" + corporateSegment +
           "/" + encodedGuid;
}


bool samePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// The arguments a program reads back from its command line.
std::vector<std::string> argumentsOf(const std::string& commandLine) {
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(fromUtf8(commandLine).c_str(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; list && i < count; ++i) arguments.push_back(toUtf8(list[i]));
    LocalFree(list);
    return arguments;
}

size_t chainLinesWritten() {
    size_t count = 0;
    for (const std::string& line : kChainLines) count += ticketLogLineCount(line);
    return count;
}

class ReplyPopupTest : public ::testing::Test {
protected:
    void SetUp() override { SuiteMachine::standard(); }
    void TearDown() override { withholdBrowserRoutes(SuiteMachine::installFolder()); }
};

// --- the window ----------------------------------------------------------------

TEST_F(ReplyPopupTest, TellsOfTheReplyBlinksAndStandsAboveTheTaskbar) {
    AppProcess app(SuiteMachine::program(), L"/SAReply=L,1234,abc");
    HWND popup = app.waitForDialogWith(IDC_POPUP_OPEN);

    EXPECT_EQ(textOf(control(popup, IDC_POPUP_TEXT)), L"You have reply to Ticket ID : 1234");
    EXPECT_EQ(textOf(control(popup, IDC_POPUP_BANNER)), L"New Message");
    EXPECT_TRUE(isVisible(control(popup, IDC_POPUP_OPEN)));
    EXPECT_TRUE(isVisible(control(popup, IDC_POPUP_CLOSE)));
    EXPECT_FALSE(isVisible(control(popup, IDC_POPUP_BLINK)));
    EXPECT_TRUE(GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Where the shell's taskbar is, the popup stands on it at the right of
    // the screen, one pixel from the edge.
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(SHAppBarMessage(ABM_GETTASKBARPOS, &bar));
    ASSERT_EQ(bar.uEdge, static_cast<UINT>(ABE_BOTTOM));
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    RECT placed{};
    GetWindowRect(popup, &placed);
    EXPECT_EQ(placed.right, desktop.right - 1);
    // The bottom edge stands on the taskbar, which is where the work area
    // the system reports ends (the unit table of the popup position checks
    // the rule for every edge). Under Wine the taskbar's window is hidden
    // and 0x0: a height of 0, so the work area is the whole screen and the
    // popup ends at the screen's bottom.
    RECT workArea{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0));
    EXPECT_EQ(placed.bottom, workArea.bottom);

    // The banner's background turns from dark red to red and back, once a
    // second.
    RECT banner{};
    GetWindowRect(control(popup, IDC_POPUP_BANNER), &banner);
    std::set<COLORREF> seen;
    const ULONGLONG until = GetTickCount64() + 2600;
    while (GetTickCount64() < until && seen.size() < 2) {
        const COLORREF colour = screenPixel(banner.left + 2, banner.top + 2);
        if (colour == RGB(128, 0, 0) || colour == RGB(189, 32, 35)) seen.insert(colour);
        Sleep(50);
    }
    EXPECT_EQ(seen.size(), 2u) << "the banner should show both of its background colours";

    click(popup, IDC_POPUP_CLOSE);
    EXPECT_EQ(app.waitForExit(), 0u);
    EXPECT_TRUE(openedPagesOnceSettled().empty());
    EXPECT_EQ(SuiteMachine::ticketLog(), "");
}

TEST_F(ReplyPopupTest, ShowsTheTicketIdOfAnyReplyArgument) {
    struct Case {
        std::wstring arguments;
        std::wstring ticketId;
    } cases[] = {
        {L"/SAReply=C,,77,,6f1c,extra", L"77"},  // consecutive commas count as one
        {L"/SAReply=L", L""},
        {L"/SAReply=L,1\u00e92,\u00fc", L"1\u00e92"},
        {L"/SAReply=C,\"Q-9\",g", L"\"Q-9\""},
        {L"/SAReply=L," + std::wstring(2000, L'7') + L",g", std::wstring(2000, L'7')},
    };
    for (const Case& c : cases) {
        AppProcess app(SuiteMachine::program(), c.arguments);
        HWND popup = app.waitForDialogWith(IDC_POPUP_OPEN);
        EXPECT_EQ(textOf(control(popup, IDC_POPUP_TEXT)), L"You have reply to Ticket ID : " + c.ticketId)
            << toUtf8(c.arguments).substr(0, 40);
        // Escape ends the popup as well; nothing is opened.
        pressKey(popup, VK_ESCAPE);
        EXPECT_EQ(app.waitForExit(), 0u);
    }
    EXPECT_TRUE(openedPagesOnceSettled().empty());
}

// The switch's letter case is ignored, for the page as for the mode: the
// lower-case LAN reply opens the LAN ticket page.
TEST_F(ReplyPopupTest, ALowerCaseSwitchOpensTheLanPageOfItsTicket) {
    AppProcess app(SuiteMachine::program(), L"/sareply=l,1,g");
    HWND popup = app.waitForDialogWith(IDC_POPUP_OPEN);
    EXPECT_EQ(textOf(control(popup, IDC_POPUP_TEXT)), L"You have reply to Ticket ID : 1");
    click(popup, IDC_POPUP_OPEN);
    EXPECT_EQ(app.waitForExit(), 0u);
    const std::vector<OpenedPage> pages = openedPagesOnceSettled();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].commandLine.find(lanPage("g")), std::string::npos) << pages[0].commandLine;
}

// --- the open button ---------------------------------------------------------

// Clicks the open button of the popup for `arguments` and waits for the
// process to end (it always ends with 0).
void openFromPopup(const std::wstring& arguments) {
    AppProcess app(SuiteMachine::program(), arguments);
    click(app.waitForDialogWith(IDC_POPUP_OPEN), IDC_POPUP_OPEN);
    EXPECT_EQ(app.waitForExit(), 0u);
}

struct ChainCase {
    const char* name;
    unsigned routes;
    std::wstring (*program)();    // where the stand-in runs from; null: nothing opens
    std::string commandPrefix;    // its command line up to the address
    std::string commandSuffix;    // ... and after it
    const char* logLine;          // the chain's one line
};

std::wstring standinInBrowserFolder() { return kBrowserStandin; }
std::wstring standinInInstallFolder() { return SuiteMachine::installFolder() + L"\\chrome.exe"; }
std::wstring standinAsEdge() { return kEdgeStandin; }

const ChainCase kChainCases[] = {
    {"ChromeThroughTheShell", AppPaths, standinInBrowserFolder, "\"C:\\browser\\chrome.exe\" -- \"", "\"",
     "1. Default browser Success"},
    // Step 2 starts the chrome.exe beside the program as a process. Wine's
    // shell (unlike Windows') already runs a program found beside its caller,
    // so under Wine step 1 takes this route; step 2 alone is tested in
    // tests/win/ticket_pages_test.cpp.
    {"ChromeBesideTheProgram", InstallFolder, standinInInstallFolder, "\"chrome.exe\" -- \"", "\"",
     "1. Default browser Success"},
    {"EdgeThroughTheShell", EdgeAppPaths, standinAsEdge, "\"C:\\browser\\msedge.exe\" -- \"", "\"",
     "3. chrome.exe Success"},
    {"TheAddressOwnHandler", HttpHandler, standinInBrowserFolder, "\"C:\\browser\\chrome.exe\" \"", "\"",
     "4. Other browser Success"},
    {"FirstRouteWins", AppPaths | EdgeAppPaths | HttpHandler, standinInBrowserFolder,
     "\"C:\\browser\\chrome.exe\" -- \"", "\"", "1. Default browser Success"},
    {"NoBrowser", 0, nullptr, "", "", "5. Failed all browswer"},
};

void PrintTo(const ChainCase& c, std::ostream* out) { *out << c.name; }

// Checks the one page the chain opened (or that none opened) and the log.
void expectChainOutcome(const ChainCase& c, const std::string& address, std::vector<std::string> leadingLines) {
    const std::vector<OpenedPage> pages = openedPagesOnceSettled();
    if (!c.program) {
        EXPECT_TRUE(pages.empty());
    } else {
        ASSERT_EQ(pages.size(), 1u) << SuiteMachine::ticketLog();
        EXPECT_TRUE(samePath(pages[0].program, c.program())) << toUtf8(pages[0].program);
        EXPECT_EQ(pages[0].commandLine, c.commandPrefix + address + c.commandSuffix);
    }
    leadingLines.push_back(address);
    leadingLines.push_back(c.logLine);
    EXPECT_TRUE(ticketLogHasLinesInOrder(leadingLines)) << SuiteMachine::ticketLog();
    EXPECT_EQ(chainLinesWritten(), 1u) << SuiteMachine::ticketLog();
}

class BrowserChainTest : public ReplyPopupTest, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(BrowserChainTest, LanTicketPage) {
    const ChainCase& c = GetParam();
    SuiteMachine::existing().browserRoutes(c.routes);
    openFromPopup(L"/SAReply=L,1234,9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f");
    // The LAN server's value "127.0.0.1:<port>" has the port text
    // "<port>:7777": the page takes the port number.
    expectChainOutcome(c, lanPage("9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f"),
                       {"lan ticket is applied /SAReply=L", "GetUrl function start", "After Ticket Creation"});
}

TEST_P(BrowserChainTest, WebTicketPage) {
    const ChainCase& c = GetParam();
    // The reply kind picks the web page even where the flags deliver by LAN.
    SuiteMachine::existing().browserRoutes(c.routes).krlm(L"ITTicketServer", L"L");
    openFromPopup(L"/SAReply=C,WT1001,6f1c2a9e-0b7d-4c55-9f1e-2d7c8e5a4b10");
    expectChainOutcome(c, webPage(kBase64Of_CORP_1001, "6f1c2a9e-0b7d-4c55-9f1e-2d7c8e5a4b10"),
                       {"web ticket is applied /SAReply=C"});
}

INSTANTIATE_TEST_SUITE_P(Steps, BrowserChainTest, ::testing::ValuesIn(kChainCases),
                         [](const ::testing::TestParamInfo<ChainCase>& each) { return std::string(each.param.name); });

TEST_F(ReplyPopupTest, LanPageWithoutAWorkingServerOpensNothing) {
    SuiteMachine::existing().removeProductFile(L"ServerIP.ini");
    openFromPopup(L"/SAReply=L,1234,abc");
    EXPECT_TRUE(openedPagesOnceSettled().empty());
    EXPECT_TRUE(ticketLogHasLinesInOrder({"lan ticket is applied /SAReply=L", "exit Not found ACIP and IP"}))
        << SuiteMachine::ticketLog();
    EXPECT_EQ(ticketLogLineCount("After Ticket Creation"), 0u);
    EXPECT_EQ(chainLinesWritten(), 0u);
}

TEST_F(ReplyPopupTest, AnArgumentNeverBecomesABrowserSwitch) {
    // The GUID field of "/SAReply=L,1,x --renderer-cmd-prefix=calc" is
    // "x --renderer-cmd-prefix=calc": it reaches every browser as part of one
    // address, after "--".
    struct Case {
        const wchar_t* arguments;
        unsigned routes;
        std::string address;
    } cases[] = {
        {L"/SAReply=L,1,x --renderer-cmd-prefix=calc", AppPaths, lanPage("x%20--renderer-cmd-prefix%3Dcalc")},
        {L"/SAReply=L,1,x --renderer-cmd-prefix=calc", InstallFolder, lanPage("x%20--renderer-cmd-prefix%3Dcalc")},
        {L"/SAReply=L,1,x --renderer-cmd-prefix=calc", EdgeAppPaths, lanPage("x%20--renderer-cmd-prefix%3Dcalc")},
        {L"/SAReply=C,1,x \"--incognito\" --x=\"1 2\"", InstallFolder,
         webPage(kBase64Of_CORP_1001, "x%20%22--incognito%22%20--x%3D%221%202%22")},
    };
    for (const Case& c : cases) {
        SuiteMachine::existing().browserRoutes(c.routes);
        openFromPopup(c.arguments);
        const std::vector<OpenedPage> pages = openedPagesOnceSettled();
        ASSERT_EQ(pages.size(), 1u) << toUtf8(c.arguments) << "\n" << SuiteMachine::ticketLog();
        const std::vector<std::string> arguments = argumentsOf(pages[0].commandLine);
        ASSERT_EQ(arguments.size(), 3u) << pages[0].commandLine;
        EXPECT_EQ(arguments[1], "--");
        EXPECT_EQ(arguments[2], c.address);
        SuiteMachine::standard();
    }
}

// The address that reaches the browser, from the reply's arguments and the
// suite's settings; an address that cannot be trusted opens nothing.
TEST_F(ReplyPopupTest, ThePageAddressComesWholeFromTheArgumentsAndTheSettings) {
    const std::string guid(1500, 'g');
    // 73 bytes: the longest ids were cut into lines (or emptied) by one of
    // the two encoders; both now give the whole id on one line.
    const std::wstring longCorporateId = L"Kelvane Orvantis corporate customer 0001 / branch office Pune, Maharashtr";
    ASSERT_EQ(longCorporateId.size(), 73u);
    const std::string tls = "localhost:" + std::to_string(tlsPort());
    const std::string tlsPage = "/user/it-ticket/ticket-info/" + std::string(kBase64Of_CORP_1001) + "/g";
    const auto console = [](const std::string& value) {
        return [value](SuiteMachine& machine) { machine.vendorHost(L"WebConsole", fromUtf8(value)); };
    };
    const auto unchanged = [](SuiteMachine&) {};
    const std::string longCorporatePage = webPage(
        "S2VsdmFuZSBPcnZhbnRpcyBjb3Jwb3JhdGUgY3VzdG9tZXIgMDAwMSAvIGJyYW5jaCBvZmZpY2UgUHVuZSwgTWFoYXJhc2h0cg==", "g");

    const struct {
        std::string what;
        std::function<void(SuiteMachine&)> configure;
        std::wstring arguments;
        std::string address;  // empty: no page opens
        std::string logLine;  // a line the log holds once, or empty
    } cases[] = {
        // Longer than both command-line buffers of step 2 (260 bytes, 1,024
        // characters): the shell's step takes the whole address, nothing is cut.
        {"a very long GUID, web page", unchanged, fromUtf8("/SAReply=C,7," + guid), webPage(kBase64Of_CORP_1001, guid),
         "1. Default browser Success"},
        {"a very long GUID, LAN page", unchanged, fromUtf8("/SAReply=L,7," + guid), lanPage(guid),
         "1. Default browser Success"},
        {"a 73-byte corporate id",
         [&](SuiteMachine& machine) { machine.set(RegistrySource::SuiteConfig, L"CorporateID", longCorporateId); },
         L"/SAReply=C,7,g", longCorporatePage, longCorporatePage /* the log names the page, on one line */},
        {"no corporate id: an empty segment",
         [](SuiteMachine& machine) { machine.remove(RegistrySource::SuiteConfig, L"CorporateID"); }, L"/SAReply=C,7,g",
         webPage("", "g"), ""},
        // The page opens with the scheme the console is configured with.
        {"https console", console("https://" + tls), L"/SAReply=C,7,g", "https://" + tls + tlsPage, ""},
        {"HTTPS console with a slash", console("HTTPS://" + tls + "/"), L"/SAReply=C,7,g", "https://" + tls + tlsPage,
         ""},
        {"http console", console("http://" + tls), L"/SAReply=C,7,g", "http://" + tls + tlsPage, ""},
        {"console without a scheme", console(tls), L"/SAReply=C,7,g", "http://" + tls + tlsPage, ""},
        // A value that says more than a host and a port opens nothing rather
        // than a page built from part of it.
        {"a user name in the console's value", console("https://ops:secret@" + tls), L"/SAReply=C,7,g", "",
         "TiqoraDesk.ini [Hosts] WebConsole is no usable address, nothing is sent to it: it holds a user name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SuiteMachine machine = SuiteMachine::standard();
        c.configure(machine);
        machine.browserRoutes(AppPaths);
        openFromPopup(c.arguments);
        const std::vector<OpenedPage> pages = openedPagesOnceSettled();
        if (c.address.empty()) {
            EXPECT_TRUE(pages.empty());
        } else {
            ASSERT_EQ(pages.size(), 1u) << SuiteMachine::ticketLog();
            EXPECT_EQ(argumentsOf(pages[0].commandLine).back(), c.address);
        }
        if (!c.logLine.empty()) {
            EXPECT_EQ(ticketLogLineCount(c.logLine), 1u) << SuiteMachine::ticketLog();
        }
    }
}

}  // namespace
}  // namespace tiqora::test
