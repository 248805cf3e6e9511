// Start-up benchmark: time from process start to the first paint of the
// form the user sees, peak working set and private memory of TiqoraDesk.exe
// with no switch (the support request form) and of TiqoraDesk.exe "/sys" (the
// IT ticket form), each against startup_floor.exe, a minimal dialog program of
// the same kind, and the request form also against startup_floor_form.exe, the
// same minimal program creating the form's dialog from the form's own
// template. All four run in the same session, interleaved.
//
//   startup_bench.exe [--runs N]      (default 25, at least 20)
//
// One sample: the performance counter is read just before CreateProcessW;
// then the harness polls, about once a millisecond, for a visible top-level
// window of the new process with the expected class (and window text, where
// one is expected) whose update region is empty, as are those of its visible
// child controls (shown and painted).
// The elapsed time is the sample. Then the memory figures of the process
// are read, the program is closed the way a user closes it, and the harness
// waits for it to end before the next start (only one form of the program
// may run at a time).
//
// The table goes to standard output; every sample, one per line, to
// standard error.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/vandrel_app.h"
#include "harness/machine.h"
#include "harness/test_paths.h"
#include "resource.h"
#include "win/wide_text.h"

namespace {

using tiqora::test::SuiteMachine;

constexpr int kDefaultRuns = 25;
constexpr int kMinimumRuns = 20;
constexpr DWORD kPaintTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr double kGoalRatio = 1.3;

// The programs measured; the last is the floor the others are compared with,
// the one before it the floor with the request form's template.
constexpr int kSubjects = 4;
constexpr int kRequestForm = 0;
constexpr int kFormFloor = kSubjects - 2;
constexpr int kFloor = kSubjects - 1;

struct Subject {
    const wchar_t* label;
    std::wstring program;
    const wchar_t* arguments;    // after the quoted program name; empty: none
    const wchar_t* windowClass;  // of the top-level window awaited
    const wchar_t* windowText;   // of that window; null: any
    int closeButton;             // clicked to close; 0: send WM_CLOSE to the dialog
};

struct Sample {
    double shownMs = 0;    // first seen visible
    double paintedMs = 0;  // first seen visible and painted
    SIZE_T peakWorkingSet = 0;
    SIZE_T privateBytes = 0;  // private memory at first paint
};

double counterMs(LONGLONG ticks) {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency);
}

LONGLONG counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Empty update region: everything invalidated so far has been painted.
bool painted(HWND window) { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }

// The painted form of the process, or null. FindWindowExW filters by class
// inside the server, so a poll before the window exists costs one request
// (the window text is compared only for windows of that class); the harness
// must not load the single-threaded wineserver the starting program needs.
HWND paintedWindow(DWORD pid, const wchar_t* windowClass, const wchar_t* windowText, bool& shown) {
    for (HWND window = FindWindowExW(nullptr, nullptr, windowClass, windowText); window;
         window = FindWindowExW(nullptr, window, windowClass, windowText)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != pid || !IsWindowVisible(window)) continue;
        shown = true;
        if (!painted(window)) return nullptr;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (IsWindowVisible(child) && !painted(child)) return nullptr;
        return window;
    }
    return nullptr;
}

[[noreturn]] void fail(const std::wstring& what) { throw std::runtime_error(tiqora::toUtf8(what)); }

// A started program; one that is still running when this goes (a failed
// sample) is ended, so it holds neither the install folder nor the
// single-instance guard.
struct Child {
    PROCESS_INFORMATION info{};
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (!info.hProcess) return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info.hProcess, 999);
            WaitForSingleObject(info.hProcess, kExitTimeoutMs);
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    DWORD exitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
};

Sample measure(const Subject& subject) {
    std::wstring commandLine = L"\"" + subject.program + L"\"";
    if (*subject.arguments) commandLine += std::wstring(L" ") + subject.arguments;
    const std::wstring folder = subject.program.substr(0, subject.program.find_last_of(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    Child child;

    Sample sample;
    const LONGLONG start = counterNow();
    if (!CreateProcessW(subject.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &child.info))
        fail(L"cannot start " + subject.program + L" (error " + std::to_wstring(GetLastError()) + L")");

    HWND window = nullptr;
    bool waitedForIdle = false;
    for (;;) {
        bool shown = false;
        window = paintedWindow(child.info.dwProcessId, subject.windowClass, subject.windowText, shown);
        const double elapsed = counterMs(counterNow() - start);
        if (shown && sample.shownMs == 0) sample.shownMs = elapsed;
        if (window) {
            sample.paintedMs = elapsed;
            break;
        }
        if (WaitForSingleObject(child.info.hProcess, 0) == WAIT_OBJECT_0)
            fail(std::wstring(subject.label) + L" ended (exit code " + std::to_wstring(child.exitCode()) +
                 L") before its dialog was painted");
        if (elapsed > kPaintTimeoutMs)
            fail(std::wstring(subject.label) + L": no painted window of class " + subject.windowClass);
        if (shown && !waitedForIdle) {
            // Shown but not painted yet: wait, once, until the program's
            // thread has handled all it has (its paints included) and waits
            // for input, rather than asking the single-threaded wineserver
            // about every control each millisecond, which slows the program
            // being measured down the more controls it has. Polling goes on
            // after it, in case the program was idle before its form.
            WaitForInputIdle(child.info.hProcess, kPaintTimeoutMs);
            waitedForIdle = true;
        } else {
            Sleep(1);
        }
    }

    // Under Wine these are the Linux process's own figures, read from
    // /proc/<pid>/status: the peak working set is VmHWM (peak resident set,
    // the shared pages of Wine's own libraries included) and the page-file
    // usage is RssAnon + VmSwap, the process's private memory at this moment.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(child.info.hProcess, &memory, sizeof memory))
        fail(L"cannot read the memory figures of " + std::wstring(subject.label) + L" (error " +
             std::to_wstring(GetLastError()) + L")");
    sample.peakWorkingSet = memory.PeakWorkingSetSize;
    sample.privateBytes = memory.PagefileUsage;

    if (subject.closeButton != 0) {
        PostMessageW(GetDlgItem(window, subject.closeButton), BM_CLICK, 0, 0);
    } else {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(child.info.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0)
        fail(std::wstring(subject.label) + L" did not end when closed");
    if (child.exitCode() != 0)
        fail(std::wstring(subject.label) + L" ended with code " + std::to_wstring(child.exitCode()));
    return sample;
}

struct Summary {
    double median = 0, min = 0, max = 0;
};

Summary summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

constexpr double kMiB = 1024.0 * 1024.0;

int parseRuns(int argc, wchar_t** argv) {
    int runs = kDefaultRuns;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--runs") == 0 && i + 1 < argc) {
            runs = static_cast<int>(std::wcstol(argv[++i], nullptr, 10));
        } else {
            std::fprintf(stderr, "usage: startup_bench.exe [--runs N]   (N >= %d, default %d)\n", kMinimumRuns,
                         kDefaultRuns);
            std::exit(2);
        }
    }
    if (runs < kMinimumRuns) {
        std::fprintf(stderr, "at least %d runs are needed for stable medians\n", kMinimumRuns);
        std::exit(2);
    }
    return runs;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = parseRuns(argc, argv);
    try {
        // The desktop window first: under Wine the desktop process starts
        // with the first window call of a session; that start belongs to no
        // sample.
        GetDesktopWindow();

        // The sample suite installation (it delivers IT tickets by web, so
        // the IT ticket form makes no network call when it opens); the floor
        // sits beside the program, so all start from the same folder of the
        // same drive.
        SuiteMachine::standard();
        for (const wchar_t* floorFile : {L"startup_floor.exe", L"startup_floor_form.exe"}) {
            const std::wstring copy = SuiteMachine::installFolder() + L"\\" + floorFile;
            if (!CopyFileW(tiqora::test::buildFile(floorFile).c_str(), copy.c_str(), FALSE))
                fail(L"cannot copy " + std::wstring(floorFile) + L" into " + SuiteMachine::installFolder());
        }

        // The support request form is the main dialog itself. The IT ticket
        // form is a dialog of the system class owned by the main dialog,
        // which stays hidden; its Cancel button ends the process.
        const Subject subjects[kSubjects] = {
            {L"TiqoraDesk.exe", SuiteMachine::program(), L"", tiqora::kMainWindowClass, nullptr, IDC_REQUEST_CLOSE},
            {L"TiqoraDesk.exe /sys", SuiteMachine::program(), L"/sys", L"#32770", L"IT TICKET", IDC_TICKET_CANCEL},
            {L"startup_floor_form.exe", SuiteMachine::installFolder() + L"\\startup_floor_form.exe", L"",
             tiqora::kMainWindowClass, nullptr, 0},
            {L"startup_floor.exe", SuiteMachine::installFolder() + L"\\startup_floor.exe", L"", L"Startup_Floor",
             nullptr, 0},
        };
        const Subject& floor = subjects[kFloor];

        // One run of each first, not counted: it brings the files into the
        // page cache and the server's tables to their steady state.
        for (const Subject& subject : subjects) measure(subject);

        std::vector<Sample> samples[kSubjects];
        std::fprintf(stderr, "run program arguments shown_ms painted_ms peak_working_set_bytes private_bytes\n");
        // The order of the four changes from one round to the next, going
        // through all 24 orders in turn: over 24 rounds each program goes
        // first as often as the others and follows each of them as often.
        std::array<int, kSubjects> order{};
        std::iota(order.begin(), order.end(), 0);
        for (int run = 0; run < runs; ++run) {
            for (const int which : order) {
                const Subject& subject = subjects[which];
                const Sample sample = measure(subject);
                samples[which].push_back(sample);
                std::fprintf(stderr, "%d %ls %ls %.2f %.2f %llu %llu\n", run + 1,
                             subject.program.substr(subject.program.find_last_of(L'\\') + 1).c_str(),
                             *subject.arguments ? subject.arguments : L"-", sample.shownMs, sample.paintedMs,
                             static_cast<unsigned long long>(sample.peakWorkingSet),
                             static_cast<unsigned long long>(sample.privateBytes));
            }
            std::next_permutation(order.begin(), order.end());
        }

        Summary time[kSubjects], peak[kSubjects], own[kSubjects];
        for (int which = 0; which < kSubjects; ++which) {
            std::vector<double> ms, peakMiB, ownMiB;
            for (const Sample& sample : samples[which]) {
                ms.push_back(sample.paintedMs);
                peakMiB.push_back(static_cast<double>(sample.peakWorkingSet) / kMiB);
                ownMiB.push_back(static_cast<double>(sample.privateBytes) / kMiB);
            }
            time[which] = summarise(ms);
            peak[which] = summarise(peakMiB);
            own[which] = summarise(ownMiB);
        }

        std::printf("Start-up to first paint, peak working set and private memory under Wine\n");
        std::printf("%d runs of each program, interleaved (order changing every round), after one uncounted run of"
                    " each\n\n",
                    runs);
        std::printf("%-22s | %-26s | %-26s | %-26s\n", "", "first paint (ms)", "peak working set (MiB)",
                    "private at first paint (MiB)");
        std::printf("%-22s | %8s %8s %8s | %8s %8s %8s | %8s %8s %8s\n", "program", "median", "min", "max", "median",
                    "min", "max", "median", "min", "max");
        for (int which = 0; which < kSubjects; ++which)
            std::printf("%-22ls | %8.1f %8.1f %8.1f | %8.2f %8.2f %8.2f | %8.2f %8.2f %8.2f\n", subjects[which].label,
                        time[which].median, time[which].min, time[which].max, peak[which].median, peak[which].min,
                        peak[which].max, own[which].median, own[which].min, own[which].max);

        // Other work on the machine only ever adds time, so on a busy machine
        // the minima show the programs' own cost best.
        std::printf("\nratios to %ls\n", floor.label);
        std::printf("%-22s | %-17s | %-16s | %-14s\n", "", "first paint", "peak working set", "private memory");
        std::printf("%-22s | %8s %8s | %16s | %14s\n", "program", "medians", "minima", "medians", "medians");
        for (int which = 0; which < kSubjects; ++which) {
            if (which == kFloor) continue;
            std::printf("%-22ls | %7.2fx %7.2fx | %15.2fx | %13.2fx\n", subjects[which].label,
                        time[which].median / time[kFloor].median, time[which].min / time[kFloor].min,
                        peak[which].median / peak[kFloor].median, own[which].median / own[kFloor].median);
        }
        std::printf("goal: at most %.1fx the floor in first paint and in peak working set\n", kGoalRatio);
        std::printf("\n%ls against %ls (the same controls, without the program): %.2fx (medians), %.2fx (minima)"
                    " in first paint, %.2fx in peak working set\n",
                    subjects[kRequestForm].label, subjects[kFormFloor].label,
                    time[kRequestForm].median / time[kFormFloor].median, time[kRequestForm].min / time[kFormFloor].min,
                    peak[kRequestForm].median / peak[kFormFloor].median);
        std::fflush(stdout);
        return 0;
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "startup_bench: %s\n", error.what());
        return 1;
    }
}
