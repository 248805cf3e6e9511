// Resend benchmark: "/sysp" of TiqoraDesk.exe over N pending web tickets,
// against the local vendor services on loopback, beside a floor measured in
// the same session: resend_floor.exe making N bare SendWebdata2 calls
// through the same stand-in WBX.DLL with the same body.
//
//   resend_bench.exe [--runs R] [--files N1,N2,...] [--program EXE]    (defaults 5 and 1000,2000)
//   resend_bench.exe --unreachable refused|silent [--runs R] [--files N] [--program EXE]
//                                                           (defaults 5 and 200)
//
// With --unreachable it times "/sysp" over N pending web tickets and, apart,
// N pending LAN tickets while no server answers: the pending-ticket service
// and the LAN server are named on a loopback port where either nothing
// listens ("refused": every connection is refused at once) or a listener
// whose queue is full never takes a connection ("silent": every connection
// attempt waits for its time-out, as for a server that is down). Every file
// must still be pending afterwards. In either mode --program runs another
// build of TiqoraDesk.exe (copied over the installed one after each
// layout), to compare builds. LAN tickets are laid out with ITTicketServer "L" and
// SendWebRpt "OFF", so that builds which chose the route from SendWebRpt
// alone send them too.
//
// One sample is one process, timed from just before CreateProcessW to its
// end (so both sides pay one process start). Before each "/sysp" sample the
// machine is laid out anew (SuiteMachine::standard(), SendWebRpt "ON") with
// N files W_<n>.txt holding the same ticket body; after it, every file must
// be in the sent folder and the service must have received exactly N
// requests, else the run fails. Floor and "/sysp" samples alternate, their
// order swapped every run.
//
// The table goes to standard output, every sample to standard error.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>

#include "harness/machine.h"
#include "harness/no_server.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "win/wide_text.h"

namespace {

using tiqora::test::SuiteMachine;

constexpr DWORD kRunTimeoutMs = 600000;
// A build that waits out the time-out of every file (3 to 5 s each) over
// hundreds of files takes many minutes.
constexpr DWORD kUnreachableRunTimeoutMs = 7200000;

// A ticket as the IT ticket form leaves it in the pending folder.
const std::string kBody =
    R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"10.0.0.7","ComputerName":"DESK-7","UserName":"asha",)"
    R"("IssueTitle":"Printer offline","Description":"The printer on the second floor shows offline since )"
    R"(this morning. Restarted it twice; the queue still holds 14 jobs.","Priority":"1","Status":"New",)"
    R"("TSubmitDateTime":"2024-03-07 09:05:03"})";

double secondsSince(LONGLONG start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start) / static_cast<double>(frequency.QuadPart);
}

LONGLONG counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

size_t countFiles(const std::wstring& folder) {
    size_t count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

// Runs a program to its end; the elapsed seconds.
double timeProcess(const std::wstring& program, const std::wstring& arguments, const char* label,
                   DWORD timeoutMs = kRunTimeoutMs) {
    const LONGLONG start = counterNow();
    tiqora::test::AppProcess process(program, arguments);
    const DWORD code = process.waitForExit(timeoutMs);
    const double seconds = secondsSince(start);
    if (code != 0) fail(std::string(label) + " ended with code " + std::to_string(code));
    return seconds;
}

double measureResend(size_t files, const std::wstring& program) {
    SuiteMachine machine = SuiteMachine::standard();
    for (size_t i = 0; i < files; ++i) machine.pendingFile(L"W_" + std::to_wstring(100000 + i) + L".txt", kBody);
    if (!program.empty() && !CopyFileW(program.c_str(), SuiteMachine::program().c_str(), FALSE))
        fail("cannot install the program to compare");
    tiqora::test::setVendorScenario("success");
    tiqora::test::clearVendorJournal();

    const double seconds = timeProcess(SuiteMachine::program(), L"/sysp", "/sysp");

    const size_t sent = countFiles(SuiteMachine::sentFolder());
    const size_t left = countFiles(SuiteMachine::pendingFolder());
    const size_t received = tiqora::test::vendorRequests().size();
    if (sent != files || left != 0 || received != files)
        fail("/sysp over " + std::to_string(files) + " files: " + std::to_string(sent) + " sent, " +
             std::to_string(left) + " left, " + std::to_string(received) + " requests received");
    return seconds;
}

double measureFloor(size_t files) {
    SuiteMachine::standard();  // the same installation: WBX.DLL in QXSCAN\, C:\qx
    const std::wstring bodyFile = SuiteMachine::logFolder() + L"\\floor-body.json";
    tiqora::test::writeFileBytes(bodyFile, kBody);
    tiqora::test::setVendorScenario("success");
    tiqora::test::clearVendorJournal();
    const std::wstring host = L"127.0.0.1:" + std::to_wstring(tiqora::test::vendorPort());
    const std::wstring arguments = L"\"" + SuiteMachine::qxscanFolder() + L"\\WBX.DLL\" " + host + L" " +
                                   std::to_wstring(files) + L" \"" + bodyFile + L"\"";
    const double seconds = timeProcess(tiqora::test::buildFile(L"resend_floor.exe"), arguments, "resend_floor");
    const size_t received = tiqora::test::vendorRequests().size();
    if (received != files)
        fail("floor over " + std::to_string(files) + " calls: " + std::to_string(received) + " requests received");
    return seconds;
}

// "/sysp" over `files` pending tickets of `kind` ('W' or 'L') while no
// server answers; every file must stay pending.
double measureUnreachable(size_t files, wchar_t kind, unsigned short port, const std::wstring& program) {
    const std::wstring nowhere = L"127.0.0.1:" + std::to_wstring(port);
    SuiteMachine machine = SuiteMachine::standard();
    machine.vendorHost(L"PendingTickets", nowhere).ini(L"ServerIP.ini", L"Server", L"ACIP", nowhere);
    if (kind == L'L') machine.krlm(L"ITTicketServer", L"L").krlm(L"SendWebRpt", L"OFF");
    for (size_t i = 0; i < files; ++i)
        machine.pendingFile(std::wstring(1, kind) + L"_" + std::to_wstring(100000 + i) + L".txt", kBody);
    if (!program.empty() && !CopyFileW(program.c_str(), SuiteMachine::program().c_str(), FALSE))
        fail("cannot install the program to compare");
    tiqora::test::clearVendorJournal();

    const double seconds = timeProcess(SuiteMachine::program(), L"/sysp", "/sysp", kUnreachableRunTimeoutMs);

    const size_t left = countFiles(SuiteMachine::pendingFolder());
    if (left != files || countFiles(SuiteMachine::sentFolder()) != 0 || !tiqora::test::vendorRequests().empty())
        fail("/sysp with no server over " + std::to_string(files) + " files left " + std::to_string(left));
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

enum class Unreachable { No, Refused, Silent };

struct Options {
    int runs = 5;
    std::vector<size_t> files;  // 1000 and 2000, or 200 with --unreachable, unless given
    Unreachable unreachable = Unreachable::No;
    std::wstring program;  // another TiqoraDesk.exe to time
};

Options parse(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--runs") == 0 && i + 1 < argc) {
            options.runs = static_cast<int>(std::wcstol(argv[++i], nullptr, 10));
        } else if (std::wcscmp(argv[i], L"--unreachable") == 0 && i + 1 < argc) {
            ++i;
            if (std::wcscmp(argv[i], L"refused") == 0) options.unreachable = Unreachable::Refused;
            else if (std::wcscmp(argv[i], L"silent") == 0) options.unreachable = Unreachable::Silent;
            else options.runs = 0;
        } else if (std::wcscmp(argv[i], L"--program") == 0 && i + 1 < argc) {
            options.program = argv[++i];
        } else if (std::wcscmp(argv[i], L"--files") == 0 && i + 1 < argc) {
            options.files.clear();
            for (const wchar_t* p = argv[++i]; *p;) {
                wchar_t* end = nullptr;
                const long n = std::wcstol(p, &end, 10);
                if (end == p || n <= 0) break;
                options.files.push_back(static_cast<size_t>(n));
                p = *end == L',' ? end + 1 : end;
            }
            if (options.files.empty()) options.runs = 0;  // a list without a number
        } else {
            options.runs = 0;
        }
    }
    const bool unreachable = options.unreachable != Unreachable::No;
    if (options.files.empty()) options.files = unreachable ? std::vector<size_t>{200} : std::vector<size_t>{1000, 2000};
    if (options.runs < 1) {
        std::fprintf(stderr, "usage: resend_bench.exe [--runs R] [--files N1,N2,...] [--program EXE]\n"
                             "       resend_bench.exe --unreachable refused|silent [--runs R] [--files N] [--program EXE]\n");
        std::exit(2);
    }
    return options;
}

int runUnreachable(const Options& options) {
    const size_t files = options.files[0];
    const tiqora::test::NoServer server(options.unreachable == Unreachable::Silent ? tiqora::test::NoServer::Kind::Silent
                                                                                  : tiqora::test::NoServer::Kind::Refused);
    const unsigned short port = server.port();
    std::vector<double> web, lan;
    for (int run = 0; run < options.runs; ++run) {
        for (const wchar_t kind : {L'W', L'L'}) {
            const double seconds = measureUnreachable(files, kind, port, options.program);
            (kind == L'W' ? web : lan).push_back(seconds);
            std::fprintf(stderr, "run %d, %zu %s files, no server: %.3f s\n", run + 1, files,
                         kind == L'W' ? "web" : "LAN", seconds);
            std::fflush(stderr);
        }
    }
    std::printf("Resend benchmark: \"/sysp\" over %zu pending tickets while no server answers (%s)%s;\n"
                "median of %d runs.\n\n",
                files,
                options.unreachable == Unreachable::Silent ? "every connection attempt left unanswered"
                                                           : "every connection refused at once",
                options.program.empty() ? "" : ", another build", options.runs);
    std::printf("%8s %12s %12s\n", "files", "web s", "LAN s");
    std::printf("%8zu %12.3f %12.3f\n", files, median(web), median(lan));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const Options options = parse(argc, argv);
    try {
        if (options.unreachable != Unreachable::No) return runUnreachable(options);
        std::vector<std::vector<double>> resend(options.files.size()), floor(options.files.size());
        for (int run = 0; run < options.runs; ++run) {
            for (size_t f = 0; f < options.files.size(); ++f) {
                const size_t n = options.files[f];
                for (int side = 0; side < 2; ++side) {
                    const bool floorFirst = run % 2 == 0;
                    const bool isFloor = (side == 0) == floorFirst;
                    const double seconds = isFloor ? measureFloor(n) : measureResend(n, options.program);
                    (isFloor ? floor : resend)[f].push_back(seconds);
                    std::fprintf(stderr, "run %d, %zu files, %s: %.3f s\n", run + 1, n, isFloor ? "floor" : "/sysp",
                                 seconds);
                    std::fflush(stderr);
                }
            }
        }

        std::printf("Resend benchmark: \"/sysp\" over N pending web tickets against the local vendor services,\n"
                    "beside the floor (N bare SendWebdata2 calls through the same WBX.DLL)%s; median of %d runs.\n\n",
                    options.program.empty() ? "" : ", another build", options.runs);
        std::printf("%8s %10s %10s %14s %14s %8s\n", "files", "floor s", "/sysp s", "floor files/s", "/sysp files/s",
                    "ratio");
        std::vector<double> resendMedians, floorMedians;
        for (size_t f = 0; f < options.files.size(); ++f) {
            const double r = median(resend[f]);
            const double fl = median(floor[f]);
            resendMedians.push_back(r);
            floorMedians.push_back(fl);
            const double n = static_cast<double>(options.files[f]);
            std::printf("%8zu %10.3f %10.3f %14.1f %14.1f %8.2f\n", options.files[f], fl, r, n / fl, n / r, r / fl);
        }
        if (options.files.size() >= 2) {
            const size_t last = options.files.size() - 1;
            const double scale = static_cast<double>(options.files[last]) / static_cast<double>(options.files[0]);
            std::printf("\nlinearity, %zu vs %zu files (ideal x%.2f): /sysp x%.2f, floor x%.2f\n", options.files[last],
                        options.files[0], scale, resendMedians[last] / resendMedians[0],
                        floorMedians[last] / floorMedians[0]);
            std::printf("per file: /sysp %.2f ms at %zu, %.2f ms at %zu; floor %.2f ms at %zu, %.2f ms at %zu\n",
                        1000 * resendMedians[0] / static_cast<double>(options.files[0]), options.files[0],
                        1000 * resendMedians[last] / static_cast<double>(options.files[last]), options.files[last],
                        1000 * floorMedians[0] / static_cast<double>(options.files[0]), options.files[0],
                        1000 * floorMedians[last] / static_cast<double>(options.files[last]), options.files[last]);
        }
        std::printf("goal: ratio <= 1.50 and time linear in the number of files\n");
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "resend_bench: %s\n", error.what());
        return 1;
    }
}
