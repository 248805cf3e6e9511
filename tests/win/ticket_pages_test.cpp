// The ticket history's two page openers against the real shell, ini file
// and IT ticket log: the address each opens through the address's own
// handler (the browser stand-in) and the line each writes.
#include <gtest/gtest.h>

#include <windows.h>

#include "features/ticket_history/ticket_pages.h"
#include "harness/browser_routes.h"
#include "harness/machine.h"
#include "harness/ticket_files.h"
#include "harness/ui_driver.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

constexpr char kLanFormat[] = "lan case hit this page  L--> %S";

// The addresses handed to the stand-in, once it has ended.
std::vector<std::string> openedAddresses() {
    std::vector<std::string> addresses;
    const std::string prefix = "\"C:\\browser\\chrome.exe\" \"";
    for (const OpenedPage& page : openedPagesOnceSettled()) {
        const std::string& line = page.commandLine;
        const bool quoted = line.rfind(prefix, 0) == 0 && line.size() > prefix.size() && line.back() == '"';
        addresses.push_back(quoted ? line.substr(prefix.size(), line.size() - prefix.size() - 1) : line);
    }
    return addresses;
}

HistoryPageContext historyContext() {
    return {SuiteMachine::itTicketFolder() + L"\\Tiqora.ini", L"10.1.2.3", L"81:7777", L"CORP-1001",
            L"console.example.com:8080"};
}

class TicketPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SuiteMachine::bare().withLogFolder().ticketIni(L"LAN", L"1001", L"g").browserRoutes(HttpHandler);
    }
    void TearDown() override { withholdBrowserRoutes(SuiteMachine::installFolder()); }
};

TEST_F(TicketPagesTest, HistoryLanPageOpensWhenTheIniAndTheHostAreThere) {
    struct Case {
        const char* name;
        bool iniPresent;
        const wchar_t* host;
        const char* format;
        bool opens;
    } cases[] = {
        {"both there", true, L"10.1.2.3", kLanFormat, true},
        {"other format", true, L"10.1.2.3", "lan case hit this page SendLanRpt--> %S", true},
        {"no Tiqora.ini", false, L"10.1.2.3", kLanFormat, false},
        {"no LAN host", true, L"", kLanFormat, false},
    };
    for (const Case& c : cases) {
        SetUp();
        if (!c.iniPresent) DeleteFileW((SuiteMachine::itTicketFolder() + L"\\Tiqora.ini").c_str());
        HistoryPageContext context = historyContext();
        context.lanHost = c.host;
        openLanTicketPage(context, L"6f1c {x}&y", c.format);

        // The port number, not the port text; the GUID percent-encoded.
        const std::string address = "http://" + toUtf8(c.host) +
                                    ":81/adminTicketExternal/UserTicket?ticketGuid=6f1c%20%7Bx%7D%26y";
        std::string line = c.format;
        line.replace(line.find("%S"), 2, address);
        EXPECT_EQ(ticketLogLineCount(line), 1u) << c.name << "\n" << SuiteMachine::ticketLog();
        const std::vector<std::string> opened = openedAddresses();
        if (c.opens) {
            ASSERT_EQ(opened.size(), 1u) << c.name;
            EXPECT_EQ(opened[0], address) << c.name;
        } else {
            EXPECT_TRUE(opened.empty()) << c.name;
        }
    }
}

TEST_F(TicketPagesTest, HistoryWebPageEncodesTheCorporateIdOnOneLine) {
    struct Case {
        std::wstring corporateId;
        const char* segment;
    } cases[] = {
        {L"CORP-1001", "Q09SUC0xMDAx"},
        {L"", ""},
        // 73 bytes: cut into lines and then emptied by the history's former
        // encoder; now the same single line as the popup's.
        {L"Kelvane Orvantis corporate customer 0001 / branch office Pune, Maharashtr",
         "S2VsdmFuZSBPcnZhbnRpcyBjb3Jwb3JhdGUgY3VzdG9tZXIgMDAwMSAvIGJyYW5jaCBvZmZpY2UgUHVuZSwgTWFoYXJhc2h0cg=="},
    };
    for (const Case& c : cases) {
        SetUp();
        HistoryPageContext context = historyContext();
        context.corporateId = c.corporateId;
        openWebTicketPage(context, L"6f1c-2d3e");
        const std::string address =
            std::string("http://console.example.com:8080/user/it-ticket/ticket-info/") + c.segment + "/6f1c-2d3e";
        EXPECT_EQ(ticketLogLineCount("Web case hit this page SendWebRpt--> " + address), 1u)
            << SuiteMachine::ticketLog();
        const std::vector<std::string> opened = openedAddresses();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], address);
    }
}

TEST_F(TicketPagesTest, ChromeProcessStepStartsOnlyACommandLineThatFitsItsBuffer) {
    // "chrome.exe -- "<address>"" in 260 bytes (web page) or 1,024
    // characters (LAN page), terminator included: what does not fit is not
    // started, neither cut nor overflowing.
    const size_t quoting = std::string("chrome.exe -- \"\"").size();
    const std::string base = "http://127.0.0.1/x?ticketGuid=";
    struct Case {
        BrowserCommandLine kind;
        size_t commandLineLength;
        bool starts;
    } cases[] = {
        {BrowserCommandLine::Narrow, 259, true},
        {BrowserCommandLine::Narrow, 260, false},
        {BrowserCommandLine::Narrow, 5000, false},
        {BrowserCommandLine::Wide, 1023, true},
        {BrowserCommandLine::Wide, 1024, false},
        {BrowserCommandLine::Wide, 40000, false},
    };
    for (const Case& c : cases) {
        SuiteMachine::bare().browserRoutes(InstallFolder);
        const std::string address = base + std::string(c.commandLineLength - quoting - base.size(), 'g');
        InInstallFolder inInstallFolder;
        EXPECT_EQ(startChromeProcess(fromUtf8(address), c.kind), c.starts) << c.commandLineLength;
        const std::vector<OpenedPage> pages = [] {
            waitUntil([] { return !browserStandinRuns(); }, "the browser stand-in to end");
            return openedPages();
        }();
        if (c.starts) {
            ASSERT_EQ(pages.size(), 1u) << c.commandLineLength;
            EXPECT_EQ(pages[0].commandLine, "chrome.exe -- \"" + address + "\"");
        } else {
            EXPECT_TRUE(pages.empty()) << c.commandLineLength;
        }
    }
}

}  // namespace
}  // namespace tiqora::test
