// Start-up benchmark: time from process start to the first paint of the
// form the user sees, peak working set and private memory of every form of
// TiqoraDesk.exe: no switch (the support request form), "/sys" (the IT ticket
// form), "/SAReply=L,..." (the reply popup) and "/feedback" (the feedback
// form). Each form is compared with its own floor, the same minimal dialog
// program creating that form's dialog from the form's own template
// (startup_floor_form.exe, startup_floor_it_ticket.exe,
// startup_floor_reply_popup.exe, startup_floor_feedback.exe), and all with
// startup_floor.exe, the minimal program with a two-button dialog. All nine
// run in the same session, interleaved.
//
//   startup_bench.exe [--runs N]      (default 36, at least 20)
//
// One sample: the performance counter is read just before CreateProcessW;
// then the harness polls, about once a millisecond, for a visible top-level
// window of the new process with the expected class (and window text or
// control, where one is expected) whose update region is empty, as are those
// of its visible child controls (shown and painted).
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

constexpr int kDefaultRuns = 36;
constexpr int kMinimumRuns = 20;
constexpr DWORD kPaintTimeoutMs = 15000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr int kStartAttempts = 3;
// Goals of each form against its own floor (the form's template without
// the program's code): first paint and peak working set.
constexpr double kTimeGoal = 1.1;
constexpr double kMemoryGoal = 1.15;

// The programs measured: the four forms, their four floors in the same
// order, and last the two-button floor all are also compared with.
constexpr int kForms = 4;
constexpr int kSubjects = 2 * kForms + 1;
constexpr int kFloor = kSubjects - 1;
constexpr int floorOf(int form) { return kForms + form; }

struct Subject {
    const wchar_t* label;
    std::wstring program;
    const wchar_t* arguments;    // after the quoted program name; empty: none
    const wchar_t* windowClass;  // of the top-level window awaited
    const wchar_t* windowText;   // of that window; null: any
    int control;                 // a control that window holds; 0: any
    int closeButton;             // clicked to close; 0: send WM_CLOSE to the dialog
};

struct Sample {
    double shownMs = 0;    // first seen visible
    double paintedMs = 0;  // first seen visible and painted
    SIZE_T peakWorkingSet = 0;
    SIZE_T privateBytes = 0;  // private memory at first paint
    int retriedStarts = 0;    // CreateProcessW calls tried again (error 1359)
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
// The reply popup and the floors of the system class have no window text to
// tell their form by: one of the form's controls does.
HWND paintedWindow(DWORD pid, const Subject& subject, bool& shown) {
    for (HWND window = FindWindowExW(nullptr, nullptr, subject.windowClass, subject.windowText); window;
         window = FindWindowExW(nullptr, window, subject.windowClass, subject.windowText)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != pid || !IsWindowVisible(window)) continue;
        if (subject.control != 0 && !GetDlgItem(window, subject.control)) continue;
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
    // Under Wine CreateProcessW now and then fails with ERROR_INTERNAL_ERROR
    // (1359) with nothing started; only that failure is tried again (the
    // sample's clock starts again with it), and each retry is counted and
    // reported with the figures.
    LONGLONG start = 0;
    for (int attempt = 1;; ++attempt) {
        start = counterNow();
        if (CreateProcessW(subject.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           folder.c_str(), &startup, &child.info))
            break;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kStartAttempts)
            fail(L"cannot start " + subject.program + L" (error " + std::to_wstring(error) + L")");
        ++sample.retriedStarts;
    }

    HWND window = nullptr;
    bool waitedForIdle = false;
    for (;;) {
        bool shown = false;
        window = paintedWindow(child.info.dwProcessId, subject, shown);
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

// The orders of the rounds: a balanced Latin square (rows of the sequence
// 0, 1, n-1, 2, n-2, ... shifted by the row number; with an odd number of
// programs each row is followed by its reverse). Over all its rows (18 for
// nine programs) each program goes first as often as the others, and follows
// each of the others as often: none always runs right after another one's
// end.
std::vector<std::array<int, kSubjects>> balancedOrders() {
    std::array<int, kSubjects> base{};
    for (int j = 1; j < kSubjects; ++j) base[j] = j % 2 ? (j + 1) / 2 : kSubjects - j / 2;
    std::vector<std::array<int, kSubjects>> orders;
    for (int row = 0; row < kSubjects; ++row) {
        std::array<int, kSubjects> order{};
        for (int j = 0; j < kSubjects; ++j) order[j] = (base[j] + row) % kSubjects;
        orders.push_back(order);
        if (kSubjects % 2) {
            std::reverse(order.begin(), order.end());
            orders.push_back(order);
        }
    }
    return orders;
}

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
        const std::wstring folder = SuiteMachine::installFolder() + L"\\";
        for (const wchar_t* floorFile : {L"startup_floor.exe", L"startup_floor_form.exe", L"startup_floor_it_ticket.exe",
                                         L"startup_floor_reply_popup.exe", L"startup_floor_feedback.exe"}) {
            if (!CopyFileW(tiqora::test::buildFile(floorFile).c_str(), (folder + floorFile).c_str(), FALSE))
                fail(L"cannot copy " + std::wstring(floorFile) + L" into " + SuiteMachine::installFolder());
        }

        // The support request form is the main dialog itself. The other
        // forms are dialogs of the system class owned by the main dialog,
        // which stays hidden; their close buttons end the process. The IT
        // ticket and feedback forms set their window texts while they are set
        // up, before they are shown; the reply popup has none (found by its
        // open button, as the end-to-end tests find it). Each floor shows its
        // form's template; they are closed with WM_CLOSE.
        const std::wstring program = SuiteMachine::program();
        const Subject subjects[kSubjects] = {
            {L"TiqoraDesk.exe", program, L"", tiqora::kMainWindowClass, nullptr, 0, IDC_REQUEST_CLOSE},
            {L"TiqoraDesk.exe /sys", program, L"/sys", L"#32770", L"IT TICKET", 0, IDC_TICKET_CANCEL},
            {L"TiqoraDesk.exe /SAReply=L", program, L"/SAReply=L,1234,abc", L"#32770", nullptr, IDC_POPUP_OPEN,
             IDC_POPUP_CLOSE},
            {L"TiqoraDesk.exe /feedback", program, L"/feedback", L"#32770", L"FeedBack", 0, IDCANCEL},
            {L"startup_floor_form.exe", folder + L"startup_floor_form.exe", L"", tiqora::kMainWindowClass, nullptr, 0,
             0},
            {L"startup_floor_it_ticket.exe", folder + L"startup_floor_it_ticket.exe", L"", L"#32770", nullptr,
             IDC_TICKET_SUBMIT, 0},
            {L"startup_floor_reply_popup.exe", folder + L"startup_floor_reply_popup.exe", L"", L"#32770", nullptr,
             IDC_POPUP_OPEN, 0},
            {L"startup_floor_feedback.exe", folder + L"startup_floor_feedback.exe", L"", L"#32770", nullptr,
             IDC_FEEDBACK_X, 0},
            {L"startup_floor.exe", folder + L"startup_floor.exe", L"", L"Startup_Floor", nullptr, 0, 0},
        };
        const Subject& floor = subjects[kFloor];

        // One run of each first, not counted: it brings the files into the
        // page cache and the server's tables to their steady state.
        for (const Subject& subject : subjects) measure(subject);

        std::vector<Sample> samples[kSubjects];
        std::fprintf(stderr, "run program arguments shown_ms painted_ms peak_working_set_bytes private_bytes retried_starts\n");
        const std::vector<std::array<int, kSubjects>> orders = balancedOrders();
        for (int run = 0; run < runs; ++run) {
            for (const int which : orders[static_cast<size_t>(run) % orders.size()]) {
                const Subject& subject = subjects[which];
                const Sample sample = measure(subject);
                samples[which].push_back(sample);
                std::fprintf(stderr, "%d %ls %ls %.2f %.2f %llu %llu %d\n", run + 1,
                             subject.program.substr(subject.program.find_last_of(L'\\') + 1).c_str(),
                             *subject.arguments ? subject.arguments : L"-", sample.shownMs, sample.paintedMs,
                             static_cast<unsigned long long>(sample.peakWorkingSet),
                             static_cast<unsigned long long>(sample.privateBytes), sample.retriedStarts);
            }
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
        std::printf("%-29s | %-26s | %-26s | %-26s\n", "", "first paint (ms)", "peak working set (MiB)",
                    "private at first paint (MiB)");
        std::printf("%-29s | %8s %8s %8s | %8s %8s %8s | %8s %8s %8s\n", "program", "median", "min", "max", "median",
                    "min", "max", "median", "min", "max");
        for (int which = 0; which < kSubjects; ++which)
            std::printf("%-29ls | %8.1f %8.1f %8.1f | %8.2f %8.2f %8.2f | %8.2f %8.2f %8.2f\n", subjects[which].label,
                        time[which].median, time[which].min, time[which].max, peak[which].median, peak[which].min,
                        peak[which].max, own[which].median, own[which].min, own[which].max);

        // Other work on the machine only ever adds time, so on a busy machine
        // the minima show the programs' own cost best.
        const auto ratioRow = [&](int which, int against) {
            std::printf("%-29ls | %-29ls | %7.2fx %7.2fx | %7.2fx %7.2fx | %13.2fx\n", subjects[which].label,
                        subjects[against].label, time[which].median / time[against].median,
                        time[which].min / time[against].min, peak[which].median / peak[against].median,
                        peak[which].min / peak[against].min, own[which].median / own[against].median);
        };
        const auto ratioHeader = [] {
            std::printf("%-29s | %-29s | %-17s | %-17s | %-14s\n", "", "", "first paint", "peak working set",
                        "private memory");
            std::printf("%-29s | %-29s | %8s %8s | %8s %8s | %14s\n", "program", "against", "medians", "minima",
                        "medians", "minima", "medians");
        };
        std::printf("\neach form against its own floor (the form's template without the program's code)\n");
        ratioHeader();
        for (int form = 0; form < kForms; ++form) ratioRow(form, floorOf(form));
        std::printf("goal: at most %.2fx its own floor in first paint, %.2fx in peak working set\n", kTimeGoal,
                    kMemoryGoal);
        for (int form = 0; form < kForms; ++form) {
            const double timeRatio = time[form].median / time[floorOf(form)].median;
            const double memoryRatio = peak[form].median / peak[floorOf(form)].median;
            std::printf("  %-29ls first paint %s, peak working set %s\n", subjects[form].label,
                        timeRatio <= kTimeGoal ? "met" : "not met", memoryRatio <= kMemoryGoal ? "met" : "not met");
        }

        std::printf("\nevery program against %ls (a two-button dialog)\n", floor.label);
        ratioHeader();
        for (int which = 0; which < kFloor; ++which) ratioRow(which, kFloor);

        std::printf("\nstarts tried again after error 1359:");
        int retried = 0;
        for (int which = 0; which < kSubjects; ++which) {
            int count = 0;
            for (const Sample& sample : samples[which]) count += sample.retriedStarts;
            if (count > 0) std::printf(" %ls (%d)", subjects[which].label, count);
            retried += count;
        }
        std::printf("%s\n", retried ? "" : " none");
        std::fflush(stdout);
        return 0;
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "startup_bench: %s\n", error.what());
        return 1;
    }
}
