#include "harness/leftover_processes.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "harness/browser_routes.h"
#include "harness/machine.h"
#include "harness/test_paths.h"
#include "win/handles.h"
#include "win/wide_text.h"

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

// A process as a snapshot saw it. The id alone could name a later process
// that got the same id; with the creation time it names one process.
struct SeenProcess {
    DWORD pid = 0;
    DWORD parent = 0;
    ULONGLONG created = 0;
    bool operator<(const SeenProcess& other) const {
        return std::pair(pid, created) < std::pair(other.pid, other.created);
    }
};

ULONGLONG creationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (ULONGLONG{created.dwHighDateTime} << 32) | created.dwLowDateTime;
}

// Every process but this one and those that started it (a test that runs
// a test binary of its own must not see that binary end its parent).
std::vector<SeenProcess> runningProcesses() {
    std::vector<SeenProcess> all;
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return all;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == 0) continue;
        const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        all.push_back({entry.th32ProcessID, entry.th32ParentProcessID, process ? creationTime(process.get()) : 0});
    }
    std::set<DWORD> lineage{GetCurrentProcessId()};
    for (DWORD pid = GetCurrentProcessId();;) {
        const auto self = std::find_if(all.begin(), all.end(), [&](const SeenProcess& p) { return p.pid == pid; });
        if (self == all.end() || !lineage.insert(self->parent).second) break;
        pid = self->parent;
    }
    std::vector<SeenProcess> seen;
    for (const SeenProcess& process : all)
        if (!lineage.count(process.pid)) seen.push_back(process);
    return seen;
}

// Ends `pids` that still run and lie in `folders` (any folder when empty) and
// waits for their end; what it ended.
std::vector<EndedProcess> endProcesses(const std::vector<DWORD>& pids, const std::vector<std::wstring>& folders) {
    std::vector<std::pair<KernelHandle, EndedProcess>> ending;
    for (DWORD pid : pids) {
        KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
        if (!process) continue;
        std::wstring image = imageOf(process.get());
        if (!folders.empty() && !liesIn(image, folders)) continue;
        if (TerminateProcess(process.get(), 1)) ending.emplace_back(std::move(process), EndedProcess{std::move(image), pid});
    }
    std::vector<EndedProcess> ended;
    for (auto& [process, which] : ending) {
        WaitForSingleObject(process.get(), 10000);
        ended.push_back(std::move(which));
    }
    return ended;
}

std::string described(const std::vector<EndedProcess>& processes) {
    std::string text;
    for (const EndedProcess& process : processes)
        text += (text.empty() ? "" : ", ") + toUtf8(process.image) + " (process " + std::to_string(process.pid) + ")";
    return text;
}

// The test in progress, in a file of the Wine machine: a test that ctest
// ended at its time-out never reaches OnTestEnd, and the next test's start
// reads from here which test left what it finds.
std::wstring testInProgressFile() { return tempFile(L"tiqora-test-in-progress.txt"); }

std::string fullName(const ::testing::TestInfo& test) {
    return std::string(test.test_suite_name()) + "." + test.name();
}

// How long a process the test started may take to end by itself after the
// test's last step (a program closing its last window writes its log and
// unloads its libraries first). Waited for on the processes themselves: a
// program that keeps running costs this once, in the test that failed.
constexpr DWORD kEndingByItselfMs = 3000;

class LeftoverProcesses : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override {
        const std::wstring marker = testInProgressFile();
        std::string previous = readFileBytes(marker);
        if (const size_t end = previous.find_first_of("\r\n"); end != std::string::npos) previous.resize(end);
        const std::vector<EndedProcess> ended = endProcessesIn(testProgramFolders());
        if (!ended.empty()) {
            const std::string said = "ended " + described(ended) + ", left running by " +
                                     (previous.empty() ? "an earlier test" : previous + ", which did not reach its end");
            std::printf("[ leftover ] %s\n", said.c_str());
            std::fflush(stdout);
            // Also in GoogleTest's result file of this test.
            ::testing::Test::RecordProperty("leftover", said);
        }
        try {
            writeFileBytes(marker, fullName(test) + "\n");
        } catch (const std::exception& error) {
            ADD_FAILURE() << "the test in progress cannot be noted: " << error.what();
        }
        const std::vector<SeenProcess> running = runningProcesses();
        atStart_ = std::set<SeenProcess>(running.begin(), running.end());
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        const std::vector<EndedProcess> ended = endProcesses(startedByTheTest(), {});
        if (!ended.empty())
            ADD_FAILURE() << "the test left running, and the listener ended: " << described(ended);
        DeleteFileW(testInProgressFile().c_str());
    }

    // The processes that run now and did not when the test started, and that
    // the test started: this process is their parent, or their parent too
    // was started during the test, or they are one of the test's programs
    // (whose parent may have ended). Wine's own services, which a program's
    // call may start at any time, have a parent that ran before the test.
    // Those still running after kEndingByItselfMs.
    std::vector<DWORD> startedByTheTest() const {
        std::set<DWORD> runningAtStart;
        for (const SeenProcess& process : atStart_) runningAtStart.insert(process.pid);
        const std::vector<std::wstring> folders = testProgramFolders();
        std::vector<KernelHandle> handles;
        std::vector<DWORD> pids;
        for (const SeenProcess& process : runningProcesses()) {
            if (atStart_.count(process)) continue;
            KernelHandle handle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, process.pid));
            if (!handle) continue;
            const bool ours = process.parent == GetCurrentProcessId() || !runningAtStart.count(process.parent) ||
                              liesIn(imageOf(handle.get()), folders);
            if (!ours) continue;
            handles.push_back(std::move(handle));
            pids.push_back(process.pid);
        }
        // Each wait returns as soon as its process ends.
        const ULONGLONG deadline = GetTickCount64() + kEndingByItselfMs;
        std::vector<DWORD> stillRunning;
        for (size_t i = 0; i < handles.size(); ++i) {
            const ULONGLONG now = GetTickCount64();
            const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
            if (WaitForSingleObject(handles[i].get(), left) == WAIT_TIMEOUT) stillRunning.push_back(pids[i]);
        }
        return stillRunning;
    }

    std::set<SeenProcess> atStart_;
};

// Registered by every test binary that has this file among its sources.
[[maybe_unused]] const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new LeftoverProcesses);
    return true;
}();

}  // namespace

bool processRunning(const wchar_t* image) {
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        if (lstrcmpiW(entry.szExeFile, image) == 0) return true;
    return false;
}

std::vector<EndedProcess> endProcessesIn(const std::vector<std::wstring>& folders) {
    std::vector<DWORD> pids;
    for (const SeenProcess& process : runningProcesses()) pids.push_back(process.pid);
    return endProcesses(pids, folders);
}

std::vector<std::wstring> testProgramFolders() {
    // The browser stand-ins run from their own folder as well.
    return {SuiteMachine::installFolder(), buildBinFolder(), kBrowserStandinFolder};
}

}  // namespace tiqora::test
