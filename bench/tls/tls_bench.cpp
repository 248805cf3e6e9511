// TLS benchmark, run under Wine against the local vendor services
// (tools/bench-tls.sh): the time from the click on Submit to the outcome
// message on screen, for the support request (its [Hosts] key CallTracking)
// and the web IT ticket without screenshot (WebConsole), each with the key
// plain ("localhost:<vendor port>": the request goes through the suite's
// WBX.DLL in plain HTTP) and https ("https://localhost:<TLS port>": the
// program posts it itself over verified TLS).
//
// Every run is a fresh process: the machine is laid out anew, the form
// filled, and after a pause that lets the program settle the clock starts
// just before Submit is clicked and stops when the message shows its text.
// A run counts only when the message is the success message and the one
// request the services received came over TLS, or not, as the key said.
// Each round runs the four rows once; which form goes first and whether
// plain or TLS goes first within a form alternate from round to round, so
// a slower spell of the machine hits both sides alike.
//
// Then the post alone: tls_probe.exe (a fresh process per run) times its
// first post and its later ones through the program's own post, in plain
// HTTP, over TLS, and over TLS with the machine's store of trusted roots
// opened before the first post. That tells the one-time cost of a process's
// first TLS post from the cost paid per connection, and how much of the
// one-time cost is the root store.
//
//   tls_bench.exe [--runs R]      (R at least 10, default 15)
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
#include "harness/own_message.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "resource.h"
#include "win/wide_text.h"

namespace {

using namespace tiqora::test;
using tiqora::toUtf8;

// After the form is filled: the program's start-up work and the posted
// selections are behind it before the clock starts.
constexpr DWORD kSettleMs = 300;
// Either path gives up on a silent service within about 10 s.
constexpr DWORD kOutcomeTimeoutMs = 30000;
// Posts of one tls_probe.exe run: the first, and the later ones.
constexpr int kProbePosts = 6;

enum class Form { Request, Ticket };

struct Row {
    Form form;
    bool overTls;
    const char* label;
    std::vector<double> samples;  // ms, one per round
};

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

double msSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int portOf(bool overTls) { return overTls ? tlsPort() : vendorPort(); }

std::wstring hostSetting(bool overTls) {
    return (overTls ? L"https://localhost:" : L"localhost:") + std::to_wstring(portOf(overTls));
}

// The support request form, filled as the end-to-end tests fill it.
void fillRequest(HWND form) {
    setText(form, IDC_REQUEST_NAME, L"Asha Verma");
    setText(form, IDC_REQUEST_MOBILE, L"9876543210");
    setText(form, IDC_REQUEST_EMAIL, L"asha.verma@example.com");
    setText(form, IDC_REQUEST_CITY, L"Pune");
    setText(form, IDC_REQUEST_STATE, L"Maharashtra");
    selectComboItem(form, IDC_REQUEST_CUSTOMER, 0);
    selectComboItem(form, IDC_REQUEST_ISSUE, 3);
    setText(form, IDC_REQUEST_DESCRIPTION, L"Scan stops at 40%");
}

// One run of a row in a fresh process: the milliseconds from the click on
// Submit to the outcome message; throws when the run went otherwise.
double measure(const Row& row) {
    const bool request = row.form == Form::Request;
    SuiteMachine::standard().vendorHost(request ? L"CallTracking" : L"WebConsole", hostSetting(row.overTls));
    clearVendorJournal();

    AppProcess app(SuiteMachine::program(), request ? L"" : L"/sys");
    HWND form = request ? app.waitForWindow(L"Tiqora_Desk", L"Tiqora Desk")
                        : app.waitForWindow(L"#32770", L"IT TICKET");
    if (request) fillRequest(form);
    else setText(form, IDC_TICKET_DESCRIPTION, L"Printer offline since this morning");
    Sleep(kSettleMs);

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    std::wstring text;
    double ms = 0;
    if (request) {
        click(form, IDC_REQUEST_SUBMIT);
        const MessageBoxInfo box = waitForMessageBox(app.pid(), kOutcomeTimeoutMs);
        ms = msSince(start);
        text = box.text;
        dismissMessageBox(box);
    } else {
        click(form, IDC_TICKET_SUBMIT);
        const OwnMessage message = waitForOwnMessage(app, kOutcomeTimeoutMs);
        ms = msSince(start);
        text = message.text;
        dismiss(message);
    }
    const DWORD code = app.waitForExit();

    const std::wstring success = request ? L"Thank You." : L"Thank You !!.";
    if (text.rfind(success, 0) != 0) fail(std::string(row.label) + ": the message was \"" + toUtf8(text) + "\"");
    if (code != 0) fail(std::string(row.label) + ": the program ended with code " + std::to_string(code));
    waitForVendorRequest(0);
    const std::vector<VendorRequest> received = vendorRequests();
    if (received.size() != 1)
        fail(std::string(row.label) + ": the services received " + std::to_string(received.size()) + " requests");
    if (received[0].overTls != row.overTls || received[0].port != portOf(row.overTls))
        fail(std::string(row.label) + ": the request came on port " + std::to_string(received[0].port) +
             (received[0].overTls ? " over TLS" : " in plain HTTP"));
    return ms;
}

// Quantile q of sorted values, interpolated between neighbours.
double quantile(const std::vector<double>& sorted, double q) {
    const double at = q * static_cast<double>(sorted.size() - 1);
    const size_t below = static_cast<size_t>(at);
    const size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return quantile(values, 0.5);
}

// The runs of tls_probe.exe of one kind: each run's first post, the median
// of its later posts, and (with the root store opened first) that opening.
struct ProbeSeries {
    const char* label;
    bool overTls;
    bool openRootStore;
    std::vector<double> rootStore, first, later;
    size_t roots = 0;  // certificates in the root store, as the last run read it
};

// One run of the probe in a fresh process, its times added to `series`;
// throws when a post went otherwise than meant.
void probe(ProbeSeries& series) {
    const std::wstring setting = (series.overTls ? L"https://localhost:" : L"http://localhost:") +
                                 std::to_wstring(portOf(series.overTls));
    const std::wstring out = SuiteMachine::logFolder() + L"\\tls_probe.txt";
    DeleteFileW(out.c_str());
    clearVendorJournal();
    AppProcess process(buildFile(L"tls_probe.exe"), setting + L" " + std::to_wstring(kProbePosts) + L" \"" + out +
                                                        L"\"" + (series.openRootStore ? L" --open-root-store" : L""));
    const DWORD code = process.waitForExit(kOutcomeTimeoutMs);
    if (code != 0) fail("tls_probe.exe " + toUtf8(setting) + " ended with code " + std::to_string(code));

    // Lines "post <ms>" and "root-store <ms> <certificates>".
    const std::string written = readFileBytes(out);
    std::vector<double> posts;
    for (size_t at = 0; at < written.size();) {
        const size_t end = written.find('\n', at);
        const std::string line = written.substr(at, end - at);
        at = end == std::string::npos ? written.size() : end + 1;
        const size_t blank = line.find(' ');
        char* after = nullptr;
        const double ms = std::strtod(line.c_str() + blank + 1, &after);
        if (line.rfind("post ", 0) == 0) {
            posts.push_back(ms);
        } else if (line.rfind("root-store ", 0) == 0) {
            series.rootStore.push_back(ms);
            series.roots = static_cast<size_t>(std::strtoul(after, nullptr, 10));
        }
    }
    const std::vector<VendorRequest> received = vendorRequests();
    const bool allAsMeant = std::all_of(received.begin(), received.end(),
                                        [&](const VendorRequest& r) { return r.overTls == series.overTls; });
    if (posts.size() != static_cast<size_t>(kProbePosts) || received.size() != posts.size() || !allAsMeant ||
        series.rootStore.size() != (series.openRootStore ? series.first.size() + 1 : 0))
        fail("tls_probe.exe " + toUtf8(setting) + ": " + std::to_string(posts.size()) + " posts timed, " +
             std::to_string(received.size()) + " received");
    series.first.push_back(posts[0]);
    series.later.push_back(median(std::vector<double>(posts.begin() + 1, posts.end())));
}

constexpr char kHeading[] = "%-44s | %8s %8s %8s %8s %8s\n";

void printSpread(const std::string& label, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("%-44s | %8.1f %8.1f %8.1f %8.1f %8.1f\n", label.c_str(), quantile(values, 0.5),
                quantile(values, 0.25), quantile(values, 0.75), values.front(), values.back());
}

// Every round runs each row once: which form goes first turns every two
// rounds, whether plain or TLS goes first within a form every round.
void runForms(std::vector<Row>& rows, int runs) {
    for (int round = 0; round < runs; ++round) {
        const bool ticketFirst = (round / 2) % 2 == 1;
        const bool tlsFirst = round % 2 == 1;
        for (const int form : {ticketFirst ? 2 : 0, ticketFirst ? 0 : 2}) {
            for (const int side : {tlsFirst ? 1 : 0, tlsFirst ? 0 : 1}) {
                Row& row = rows[static_cast<size_t>(form + side)];
                row.samples.push_back(measure(row));
                std::fprintf(stderr, "round %d, %s: %.1f ms\n", round + 1, row.label, row.samples.back());
                std::fflush(stderr);
            }
        }
    }
}

// Every round runs each kind of probe once, the order turning each round.
void runProbes(std::vector<ProbeSeries>& probes, int runs) {
    for (int round = 0; round < runs; ++round) {
        for (size_t i = 0; i < probes.size(); ++i) {
            ProbeSeries& series = probes[(i + static_cast<size_t>(round)) % probes.size()];
            probe(series);
            std::fprintf(stderr, "round %d, probe %s: first post %.1f ms, later posts %.1f ms", round + 1,
                         series.label, series.first.back(), series.later.back());
            if (series.openRootStore) std::fprintf(stderr, ", root store %.1f ms", series.rootStore.back());
            std::fprintf(stderr, "\n");
            std::fflush(stderr);
        }
    }
}

// rows: plain and TLS of the request, then of the ticket.
void printForms(const std::vector<Row>& rows, int runs) {
    std::printf("TLS benchmark: from the click on Submit to the outcome message on screen, under Wine,\n"
                "against the local vendor services on loopback. %d runs of each row, each a fresh process,\n"
                "plain and TLS interleaved (the first of each pair alternating), after one uncounted run "
                "of each.\n\n",
                runs);
    std::printf(kHeading, "click to message (ms)", "median", "q1", "q3", "min", "max");
    for (const Row& row : rows) printSpread(row.label, row.samples);

    std::printf("\n%-44s | %14s | %22s\n", "TLS minus plain (ms)", "of the medians", "paired by round: median");
    for (const size_t form : {size_t{0}, size_t{2}}) {
        const Row &plain = rows[form], &tls = rows[form + 1];
        std::vector<double> paired;
        for (size_t round = 0; round < tls.samples.size(); ++round)
            paired.push_back(tls.samples[round] - plain.samples[round]);
        std::sort(paired.begin(), paired.end());
        std::printf("%-44s | %14.1f | %22.1f  (q1 %.1f, q3 %.1f)\n", form == 0 ? "support request" : "IT ticket (web)",
                    median(tls.samples) - median(plain.samples), quantile(paired, 0.5), quantile(paired, 0.25),
                    quantile(paired, 0.75));
    }
}

// probes: plain, TLS, TLS with the root store opened first.
void printProbes(const std::vector<ProbeSeries>& probes, int runs) {
    const ProbeSeries &plain = probes[0], &tls = probes[1], &storeFirst = probes[2];
    std::printf("\nThe post alone: tls_probe.exe, %d runs of each kind, each a fresh process making %d posts in\n"
                "turn through the program's own post (a new connection each); \"later\" is the median of a\n"
                "run's posts after its first.\n\n",
                runs, kProbePosts);
    std::printf(kHeading, "post (ms)", "median", "q1", "q3", "min", "max");
    for (const ProbeSeries* series : {&plain, &tls, &storeFirst}) {
        if (series->openRootStore) printSpread(std::string(series->label) + ": opening it", series->rootStore);
        printSpread(std::string(series->label) + ": first post", series->first);
        printSpread(std::string(series->label) + ": later post", series->later);
    }
    // A first post's extra over the later posts of its own process: what a
    // process pays once. Plain HTTP's first post pays too (the client,
    // Winsock, the name lookup); TLS's extra beyond that is its own.
    const auto extras = [](const ProbeSeries& series) {
        std::vector<double> values;
        for (size_t run = 0; run < series.first.size(); ++run) values.push_back(series.first[run] - series.later[run]);
        return values;
    };
    std::printf("\n");
    std::printf(kHeading, "a run's first post minus its later (ms)", "median", "q1", "q3", "min", "max");
    for (const ProbeSeries* series : {&plain, &tls, &storeFirst}) printSpread(series->label, extras(*series));

    const double plainOnce = median(extras(plain));
    std::printf("\n%-80s %8.1f ms\n", "per connection, TLS minus plain (later posts): handshake and certificate check",
                median(tls.later) - median(plain.later));
    std::printf("%-80s %8.1f ms\n", "once per process, TLS's first-post extra minus plain HTTP's",
                median(extras(tls)) - plainOnce);
    const std::string store = "  opening the machine's root store (" + std::to_string(storeFirst.roots) +
                              " certificates), timed apart";
    std::printf("%-80s %8.1f ms\n", store.c_str(), median(storeFirst.rootStore));
    std::printf("%-80s %8.1f ms\n", "  the same extra once the root store was opened",
                median(extras(storeFirst)) - plainOnce);
}

int parseRuns(int argc, wchar_t** argv) {
    int runs = 15;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--runs") == 0 && i + 1 < argc) {
            runs = static_cast<int>(std::wcstol(argv[++i], nullptr, 10));
        } else {
            runs = 0;
            break;
        }
    }
    if (runs < 10) {
        std::fprintf(stderr, "usage: tls_bench.exe [--runs R]   (R at least 10, default 15)\n");
        std::exit(2);
    }
    return runs;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = parseRuns(argc, argv);
    try {
        std::vector<Row> rows = {
            {Form::Request, false, "support request, CallTracking plain", {}},
            {Form::Request, true, "support request, CallTracking https", {}},
            {Form::Ticket, false, "IT ticket (web), WebConsole plain", {}},
            {Form::Ticket, true, "IT ticket (web), WebConsole https", {}},
        };
        // One uncounted run of each: the page cache, the services' first
        // handshake, the server's tables.
        for (const Row& row : rows) measure(row);

        runForms(rows, runs);
        std::vector<ProbeSeries> probes = {
            {"plain HTTP", false, false, {}, {}, {}},
            {"TLS", true, false, {}, {}, {}},
            {"TLS, root store opened first", true, true, {}, {}, {}},
        };
        // One uncounted run of each kind, its times dropped.
        for (ProbeSeries scratch : probes) probe(scratch);
        runProbes(probes, runs);
        printForms(rows, runs);
        printProbes(probes, runs);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tls_bench: %s\n", error.what());
        return 1;
    }
}
