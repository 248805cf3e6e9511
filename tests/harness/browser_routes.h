// The ways a program can reach a browser on the test machine, each offered
// or withheld on its own, and the pages the browser stand-in (chrome.exe,
// tests/fakes/browser_standin.cpp) was asked to open.
//
//     offerBrowserRoutes(AppPaths, SuiteMachine::installFolder());
//     ... the program opens a page ...
//     waitUntil([] { return openedPages().size() == 1; }, "the page to open");
//
// The stand-in always lies in C:\browser\chrome.exe (offered as msedge.exe,
// a copy lies beside it) and records its runs in C:\browser\opened.log.
#pragma once

#include <string>
#include <vector>

namespace tiqora::test {

enum BrowserRoute : unsigned {
    AppPaths = 1,       // HKLM ...\App Paths\chrome.exe names C:\browser\chrome.exe
    InstallFolder = 2,  // chrome.exe beside the program, in the install folder
    HttpHandler = 4,    // HKLM\Software\Classes\http(s)\shell\open\command start it
    EdgeAppPaths = 8,   // HKLM ...\App Paths\msedge.exe names C:\browser\msedge.exe (the stand-in)
    AllRoutes = 15,
};

inline constexpr wchar_t kBrowserStandinFolder[] = L"C:\\browser";
inline constexpr wchar_t kBrowserStandin[] = L"C:\\browser\\chrome.exe";
inline constexpr wchar_t kEdgeStandin[] = L"C:\\browser\\msedge.exe";
inline constexpr wchar_t kOpenedPagesLog[] = L"C:\\browser\\opened.log";

// Withholds every route, then offers those in `routes` (a set of
// BrowserRoute bits). The log of opened pages starts empty.
void offerBrowserRoutes(unsigned routes, const std::wstring& installFolder);

// Takes every route away and empties the log. Wine's own handler of http and
// https addresses goes too: with no route there is no browser at all.
void withholdBrowserRoutes(const std::wstring& installFolder);

// One run of the stand-in: the file it ran from and its command line (UTF-8).
struct OpenedPage {
    std::wstring program;
    std::string commandLine;
};
std::vector<OpenedPage> openedPages();

// True while a browser stand-in (as chrome.exe or msedge.exe) started by
// anyone still runs.
bool browserStandinRuns();
// The pages opened, once every stand-in the program started has ended (a
// page asked for before the program ended is recorded by then).
std::vector<OpenedPage> openedPagesOnceSettled();

}  // namespace tiqora::test
