#include "harness/browser_routes.h"

#include <windows.h>
#include <tlhelp32.h>

#include <stdexcept>

#include "harness/test_paths.h"
#include "harness/ui_driver.h"
#include "win/wide_text.h"

namespace tiqora::test {

namespace {

constexpr wchar_t kAppPathsKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\chrome.exe";
constexpr wchar_t kEdgeAppPathsKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msedge.exe";
constexpr const wchar_t* kHandlerKeys[] = {L"Software\\Classes\\http\\shell\\open\\command",
                                           L"Software\\Classes\\https\\shell\\open\\command"};
// A stand-in of the last test may still be ending while its file is
// replaced or removed: such steps are retried for a while.
constexpr DWORD kFileBusyMs = 5000;

// The stand-in as built. It lies in a folder of its own: beside the test
// binaries it would be found by every CreateProcessW and ShellExecuteW of a
// test, whatever route the test offers.
std::wstring builtStandin() { return buildFile(L"browser\\chrome.exe"); }

std::wstring installedCopy(const std::wstring& installFolder) { return installFolder + L"\\chrome.exe"; }

void removeFile(const std::wstring& path) {
    waitUntil([&] { return DeleteFileW(path.c_str()) || !fileExists(path); }, "removal of " + toUtf8(path),
              kFileBusyMs);
}

void copyStandin(const std::wstring& destination) {
    const std::wstring source = builtStandin();
    if (!fileExists(source)) throw std::runtime_error("the browser stand-in is not built: " + toUtf8(source));
    waitUntil([&] { return CopyFileW(source.c_str(), destination.c_str(), FALSE) != 0; },
              "a copy of the browser stand-in at " + toUtf8(destination), kFileBusyMs);
}

void setDefaultValue(const wchar_t* keyPath, const std::wstring& value) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot set HKLM\\" + toUtf8(keyPath) + " (error " + std::to_string(status) + ")");
}

void deleteKey(const wchar_t* keyPath) {
    const LONG status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, keyPath);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw std::runtime_error("cannot delete HKLM\\" + toUtf8(keyPath) + " (error " + std::to_string(status) + ")");
}

}  // namespace

void withholdBrowserRoutes(const std::wstring& installFolder) {
    deleteKey(kAppPathsKey);
    deleteKey(kEdgeAppPathsKey);
    removeFile(installedCopy(installFolder));
    removeFile(kEdgeStandin);
    // Wine registers its own winebrowser here; it goes with ours, so that an
    // http address finds no browser unless a test offers one.
    for (const wchar_t* key : kHandlerKeys) deleteKey(key);
    removeFile(kOpenedPagesLog);
}

void offerBrowserRoutes(unsigned routes, const std::wstring& installFolder) {
    withholdBrowserRoutes(installFolder);
    if (!CreateDirectoryW(L"C:\\browser", nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create C:\\browser");
    copyStandin(kBrowserStandin);
    if (routes & AppPaths) setDefaultValue(kAppPathsKey, kBrowserStandin);
    if (routes & InstallFolder) copyStandin(installedCopy(installFolder));
    if (routes & EdgeAppPaths) {
        copyStandin(kEdgeStandin);
        setDefaultValue(kEdgeAppPathsKey, kEdgeStandin);
    }
    if (routes & HttpHandler) {
        const std::wstring command = L"\"" + std::wstring(kBrowserStandin) + L"\" \"%1\"";
        for (const wchar_t* key : kHandlerKeys) setDefaultValue(key, command);
    }
}

std::vector<OpenedPage> openedPages() {
    std::vector<OpenedPage> pages;
    const std::string log = readFileBytes(kOpenedPagesLog);
    size_t start = 0;
    while (start < log.size()) {
        const size_t end = log.find("\r\n", start);
        if (end == std::string::npos) break;  // a line still being written
        const std::string line = log.substr(start, end - start);
        start = end + 2;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        pages.push_back({fromUtf8(line.substr(0, tab)), line.substr(tab + 1)});
    }
    return pages;
}

bool browserStandinRuns() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = lstrcmpiW(entry.szExeFile, L"chrome.exe") == 0 || lstrcmpiW(entry.szExeFile, L"msedge.exe") == 0;
    CloseHandle(snapshot);
    return found;
}

std::vector<OpenedPage> openedPagesOnceSettled() {
    waitUntil([] { return !browserStandinRuns(); }, "the browser stand-ins to end");
    return openedPages();
}

}  // namespace tiqora::test
