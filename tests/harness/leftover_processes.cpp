#include "harness/leftover_processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "harness/browser_routes.h"
#include "harness/machine.h"
#include "harness/test_paths.h"

namespace tiqora::test {

namespace {

std::wstring folded(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool liesIn(const std::wstring& path, const std::vector<std::wstring>& folders) {
    const std::wstring file = folded(path);
    for (const std::wstring& folder : folders) {
        const std::wstring prefix = folded(folder) + L"\\";
        if (file.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

std::wstring imageOf(HANDLE process) {
    std::wstring image(32768, L'\0');
    DWORD size = static_cast<DWORD>(image.size());
    if (!QueryFullProcessImageNameW(process, 0, image.data(), &size)) return {};
    image.resize(size);
    return image;
}

class EndLeftoversBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { endProcessesIn(testProgramFolders()); }
};

// Registered by every test binary that has this file among its sources.
[[maybe_unused]] const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new EndLeftoversBeforeEachTest);
    return true;
}();

}  // namespace

size_t endProcessesIn(const std::vector<std::wstring>& folders) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    std::vector<HANDLE> ending;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId() || entry.th32ProcessID == 0) continue;
        HANDLE process =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (!process) continue;
        if (liesIn(imageOf(process), folders) && TerminateProcess(process, 1)) {
            ending.push_back(process);
        } else {
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
    for (HANDLE process : ending) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    return ending.size();
}

std::vector<std::wstring> testProgramFolders() {
    // The browser stand-ins run from their own folder as well.
    return {SuiteMachine::installFolder(), buildBinFolder(), kBrowserStandinFolder};
}

}  // namespace tiqora::test
