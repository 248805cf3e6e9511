// The browser routes of the test machine: each one, offered alone, brings
// the launch that uses it to the stand-in, which records the exact command
// line; without it the same launch finds no browser at all.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "harness/browser_routes.h"
#include "harness/machine.h"
#include "harness/ui_driver.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

constexpr wchar_t kUrl[] = L"http://127.0.0.1:1234/adminTicketExternal/UserTicket?ticketGuid=abc";
constexpr char kUrlUtf8[] = "http://127.0.0.1:1234/adminTicketExternal/UserTicket?ticketGuid=abc";

// The ways the program opens a page.
enum class Launch {
    ShellExecuteChrome,   // ShellExecuteW "open" chrome.exe with the address as parameters
    ShellExecuteEdge,     // ShellExecuteW "open" msedge.exe with the address as parameters
    CreateProcessChrome,  // CreateProcessW "chrome.exe <address>" from the install folder
    ShellExecuteAddress,  // ShellExecuteW "open" on the address itself
};

// Starts the launch; true when it reports success. A started process has
// been handed over (ShellExecuteW) or has ended (CreateProcessW).
bool launch(Launch how, std::string& outcome) {
    if (how == Launch::CreateProcessChrome) {
        InInstallFolder inInstallFolder;
        std::wstring commandLine = L"chrome.exe " + std::wstring(kUrl);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            SuiteMachine::installFolder().c_str(), &startup, &process)) {
            outcome = "CreateProcessW error " + std::to_string(GetLastError());
            return false;
        }
        const DWORD waited = WaitForSingleObject(process.hProcess, kDefaultWaitMs);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        outcome = waited == WAIT_OBJECT_0 ? "started and ended" : "started, still running";
        return true;
    }
    const wchar_t* program = how == Launch::ShellExecuteChrome ? L"chrome.exe"
                             : how == Launch::ShellExecuteEdge ? L"msedge.exe"
                                                               : nullptr;
    const HINSTANCE result = program ? ShellExecuteW(nullptr, L"open", program, kUrl, nullptr, SW_SHOWNORMAL)
                                     : ShellExecuteW(nullptr, L"open", kUrl, nullptr, nullptr, SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    outcome = "ShellExecuteW returned " + std::to_string(code);
    return code > 32;
}

struct RouteCase {
    const char* name;
    BrowserRoute route;
    Launch launch;
    std::wstring (*program)();  // where the stand-in must run from
    std::string commandLine;    // exactly what it must receive
};

std::wstring standinInBrowserFolder() { return kBrowserStandin; }
std::wstring standinInInstallFolder() { return SuiteMachine::installFolder() + L"\\chrome.exe"; }
std::wstring standinAsEdge() { return kEdgeStandin; }

const RouteCase kCases[] = {
    {"AppPaths", AppPaths, Launch::ShellExecuteChrome, standinInBrowserFolder,
     std::string("\"C:\\browser\\chrome.exe\" ") + kUrlUtf8},
    {"InstallFolder", InstallFolder, Launch::CreateProcessChrome, standinInInstallFolder,
     std::string("chrome.exe ") + kUrlUtf8},
    {"EdgeAppPaths", EdgeAppPaths, Launch::ShellExecuteEdge, standinAsEdge,
     std::string("\"C:\\browser\\msedge.exe\" ") + kUrlUtf8},
    {"HttpHandler", HttpHandler, Launch::ShellExecuteAddress, standinInBrowserFolder,
     std::string("\"C:\\browser\\chrome.exe\" \"") + kUrlUtf8 + "\""},
};

// Short test names in ctest's listing.
void PrintTo(const RouteCase& c, std::ostream* out) { *out << c.name; }

bool samePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

class BrowserRouteTest : public ::testing::TestWithParam<RouteCase> {
protected:
    void SetUp() override { SuiteMachine::bare(); }
    void TearDown() override { withholdBrowserRoutes(SuiteMachine::installFolder()); }
};

TEST_P(BrowserRouteTest, ItsRouteAloneBringsTheLaunchToTheStandin) {
    const RouteCase& c = GetParam();
    offerBrowserRoutes(c.route, SuiteMachine::installFolder());
    std::string outcome;
    ASSERT_TRUE(launch(c.launch, outcome)) << outcome;
    waitUntil([] { return !openedPages().empty(); }, "the stand-in to record its start");
    const std::vector<OpenedPage> pages = openedPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(samePath(pages[0].program, c.program())) << toUtf8(pages[0].program);
    EXPECT_EQ(pages[0].commandLine, c.commandLine);
}

TEST_P(BrowserRouteTest, TheOtherRoutesDoNotServeTheLaunch) {
    const RouteCase& c = GetParam();
    offerBrowserRoutes(AllRoutes & ~static_cast<unsigned>(c.route), SuiteMachine::installFolder());
    std::string outcome;
    EXPECT_FALSE(launch(c.launch, outcome)) << outcome;
    EXPECT_TRUE(openedPages().empty());
}

INSTANTIATE_TEST_SUITE_P(Routes, BrowserRouteTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<RouteCase>& each) { return std::string(each.param.name); });

}  // namespace
}  // namespace tiqora::test
