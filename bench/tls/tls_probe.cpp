// The post alone, for the TLS benchmark (bench/tls/tls_bench.cpp): posts a
// support request's body COUNT times in turn to ADDRESS ("http://host:port"
// or "https://host:port") through the program's own post (postOverTls: the
// same client, limits, headers and certificate check as the program's), a
// new connection each, and writes the milliseconds of each post to OUT, a
// line "post <ms>" each. The first post of the process also pays for loading
// the libraries it needs; the later ones only for their connection and
// exchange.
//
// With --open-root-store it first opens the machine's store of trusted roots
// and reads every certificate in it (what a process's first certificate
// check makes Wine do), and writes "root-store <ms> <certificates>" before
// the posts: the first post then pays for the rest of its one-time work
// alone.
//
//   tls_probe.exe ADDRESS COUNT OUT [--open-root-store]
//
// Exit code 0 when every post was answered with the service's confirmation,
// 1 otherwise, 2 for a wrong command line.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <variant>

#include "core/net/service_address.h"
#include "core/support_request/request_rules.h"
#include "features/support_request/call_tracking.h"
#include "win/service_post.h"
#include "win/wide_text.h"

namespace {

double msBetween(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// "<what> <ms>[ <count>]" and a line break.
std::string line(const char* what, double ms, const std::string& count = "") {
    char text[48];
    std::snprintf(text, sizeof text, "%s %.3f", what, ms);
    return text + (count.empty() ? "" : " " + count) + "\n";
}

// Opens the trusted roots and reads them all; how many there are (0 when the
// store cannot be opened). crypt32 is loaded here rather than imported, so
// that without --open-root-store nothing of it is loaded before the first
// post.
size_t readRootStore() {
    HMODULE crypt32 = LoadLibraryW(L"crypt32.dll");
    if (!crypt32) return 0;
    const auto open = reinterpret_cast<decltype(&CertOpenSystemStoreW)>(
        reinterpret_cast<void*>(GetProcAddress(crypt32, "CertOpenSystemStoreW")));
    const auto next = reinterpret_cast<decltype(&CertEnumCertificatesInStore)>(
        reinterpret_cast<void*>(GetProcAddress(crypt32, "CertEnumCertificatesInStore")));
    const auto close = reinterpret_cast<decltype(&CertCloseStore)>(
        reinterpret_cast<void*>(GetProcAddress(crypt32, "CertCloseStore")));
    if (!open || !next || !close) return 0;
    HCERTSTORE store = open(0, L"ROOT");
    if (!store) return 0;
    size_t roots = 0;
    for (PCCERT_CONTEXT certificate = next(store, nullptr); certificate; certificate = next(store, certificate))
        ++roots;
    close(store, 0);
    return roots;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool openRootStore = argc == 5 && std::wcscmp(argv[4], L"--open-root-store") == 0;
    const bool wellFormed = argc == 4 || openRootStore;
    const int count = wellFormed ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 0;
    const auto parsed = wellFormed ? tiqora::serviceAddressOf(tiqora::toUtf8(argv[1])) : tiqora::AddressFault::NoHost;
    if (count < 1 || !std::holds_alternative<tiqora::ServiceAddress>(parsed)) {
        std::fprintf(stderr, "usage: tls_probe.exe http[s]://host:port COUNT OUT [--open-root-store]\n");
        return 2;
    }
    const tiqora::ServiceAddress& address = std::get<tiqora::ServiceAddress>(parsed);

    std::string times;
    if (openRootStore) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const size_t roots = readRootStore();
        QueryPerformanceCounter(&end);
        if (roots == 0) return 1;
        times += line("root-store", msBetween(start, end), std::to_string(roots));
    }

    tiqora::CallTrackingRequest request;
    request.name = "Asha Verma";
    request.mobile = "9876543210";
    request.email = "asha.verma@example.com";
    request.city = "Pune";
    request.state = "Maharashtra";
    request.description = "Scan stops at 40%";
    request.licenceCode = "TQ4711-2026-ORV";
    request.customerTypeIndex = 0;
    request.issueTypeIndex = 3;
    request.issueTypeText = "Virus";
    const std::string body = tiqora::callTrackingBody(request);
    const tiqora::ServiceCall call{L"CallTracking", tiqora::kCallTrackingPath, "Tiqora", false, 1024};

    bool confirmed = true;
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const tiqora::TlsReply reply = tiqora::postOverTls(address, call, body);
        QueryPerformanceCounter(&end);
        confirmed = confirmed && reply.answered && reply.received.rfind("CT : 4711", 0) == 0;
        times += line("post", msBetween(start, end));
    }

    FILE* out = _wfopen(argv[3], L"wb");
    if (!out) return 1;
    std::fwrite(times.data(), 1, times.size(), out);
    std::fclose(out);
    return confirmed ? 0 : 1;
}
