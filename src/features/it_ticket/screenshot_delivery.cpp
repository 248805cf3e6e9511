#include "features/it_ticket/screenshot_delivery.h"

#include <windows.h>

#include <curl/curl.h>

#include <memory>

#include "core/it_ticket/screenshot_names.h"
#include "win/server_certificate.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr size_t kNarrowPathBytes = 260;
constexpr char kUploadPath[] = "/api/it-ticket/save-image-screenshot";
constexpr long kConnectSeconds = 10;
constexpr ULONGLONG kStallMs = 30000;

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The text in the system code page, when it converts back to exactly `text`.
std::optional<std::string> exactAnsi(const std::wstring& text) {
    std::string narrow = toAnsi(text);
    if (narrow.size() >= kNarrowPathBytes || fromAnsi(narrow) != text) return std::nullopt;
    return narrow;
}

// The remote name in the system code page, within its buffer: characters
// are dropped from the end until it fits.
std::string ansiRemoteName(const std::wstring& path) {
    std::wstring name = fromUtf8(screenshotRemoteName(toUtf8(path)));
    std::string narrow = toAnsi(name);
    while (narrow.size() > kRemoteNameBytes - 1 && !name.empty()) {
        name.pop_back();
        narrow = toAnsi(name);
    }
    return narrow;
}

size_t appendTo(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// Watches a transfer for progress: libcurl calls it about once a second, and
// a transfer whose byte counts have not moved for kStallMs is abandoned.
struct StallWatch {
    curl_off_t sent = 0, received = 0;
    ULONGLONG lastMove = GetTickCount64();

    static int check(void* self, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
        auto* watch = static_cast<StallWatch*>(self);
        const ULONGLONG now = GetTickCount64();
        if (sent != watch->sent || received != watch->received) {
            watch->sent = sent;
            watch->received = received;
            watch->lastMove = now;
            return 0;
        }
        return now - watch->lastMove >= kStallMs ? 1 : 0;
    }
};

// Runs once the connection is made and before the request goes out: over
// TLS, the server's certificate must pass, or the transfer ends with nothing
// sent.
struct CertificateGate {
    CURL* handle = nullptr;
    std::wstring hostName;
    std::optional<CertificateCheck> refused;

    static int check(void* self, char*, char*, int, int) {
        auto* gate = static_cast<CertificateGate*>(self);
        curl_tlssessioninfo* session = nullptr;
        void* context = nullptr;
        if (curl_easy_getinfo(gate->handle, CURLINFO_TLS_SSL_PTR, &session) == CURLE_OK && session &&
            session->backend == CURLSSLBACKEND_SCHANNEL)
            context = session->internals;
        const CertificateCheck result = checkServerCertificate(context, gate->hostName);
        if (result.verdict == CertificateVerdict::Trusted) return CURL_PREREQFUNC_OK;
        gate->refused = result;
        return CURL_PREREQFUNC_ABORT;
    }
};

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

std::optional<std::string> narrowScreenshotPath(const std::wstring& path) {
    if (auto narrow = exactAnsi(path)) return narrow;
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::wstring shortPath(needed, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    if (length == 0 || length >= needed) return std::nullopt;
    shortPath.resize(length);
    return exactAnsi(shortPath);
}

std::optional<std::string> sendScreenShotToLanSrv(const std::wstring& path, const LanScreenshotLibraries& libraries) {
    if (path.empty() || !fileExists(path)) {
        writeTicketLog("Screenshot file not found, the ticket goes without it: " + toAnsi(path));
        return std::nullopt;
    }
    const std::string remoteName = ansiRemoteName(path);
    const std::optional<std::string> narrow = narrowScreenshotPath(path);
    if (!narrow) {
        writeTicketLog("Screenshot path not expressible for the suite libraries, not delivered: " + toAnsi(path));
        return toUtf8(fromAnsi(remoteName));
    }

    unsigned result = 0;
    if (libraries.receiveClientReports) {
        result = libraries.receiveClientReports(narrow->c_str()) & 0xFFu;
        if (result == 1) {
            writeTicketLog(*narrow);
            writeTicketLog("DPXIntraPol.dll send Scr Success");
            DeleteFileW(path.c_str());
        }
    }
    if (result == 0) {
        if (libraries.sendLocalData && libraries.sendLocalData(narrow->c_str(), remoteName.c_str()) == 0) {
            writeTicketLog(*narrow);
            writeTicketLog("Screen shot Send Sucessfully to Local Server");
            DeleteFileW(path.c_str());
        } else {
            writeTicketLog("Screen shot Send Fail to Local Server");
        }
    }
    return toUtf8(fromAnsi(remoteName));
}

int sendScreenShotToWebSrv(const WebConsoleAddress& console, std::string corpId, std::string ticketGuid,
                           std::string filePath) {
    curl_global_init(CURL_GLOBAL_ALL);
    std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
    if (!handle) return -1;

    std::unique_ptr<curl_mime, CurlDeleter> form(curl_mime_init(handle.get()));
    if (!form) return -1;
    const struct {
        const char* name;
        const std::string& value;
    } texts[] = {{"CorpId", corpId}, {"TicketGuid", ticketGuid}};
    for (const auto& text : texts) {
        curl_mimepart* part = curl_mime_addpart(form.get());
        curl_mime_name(part, text.name);
        curl_mime_data(part, text.value.c_str(), CURL_ZERO_TERMINATED);
        curl_mime_type(part, "multipart/form-data");
    }
    curl_mimepart* file = curl_mime_addpart(form.get());
    curl_mime_name(file, "ScreenShot");
    curl_mime_filedata(file, filePath.c_str());

    std::unique_ptr<curl_slist, CurlDeleter> headers(curl_slist_append(nullptr, "Expect:"));
    std::string body, responseHeaders;
    const std::string url = console.origin() + kUploadPath;
    const bool overTls = console.scheme == WebScheme::Https;
    curl_easy_setopt(handle.get(), CURLOPT_URL, url.c_str());
    // The scheme asked for is the only one allowed: no redirect or proxy can
    // turn an https upload into plain HTTP.
    curl_easy_setopt(handle.get(), CURLOPT_PROTOCOLS_STR, overTls ? "https" : "http");
    char transferError[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(handle.get(), CURLOPT_ERRORBUFFER, transferError);
    CertificateGate gate{handle.get(), fromAnsi(console.hostName()), std::nullopt};
    if (overTls) {
        // Schannel verifies the peer and the host by default; only a
        // revocation status that cannot be learned is let pass.
        curl_easy_setopt(handle.get(), CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
        curl_easy_setopt(handle.get(), CURLOPT_PREREQFUNCTION, &CertificateGate::check);
        curl_easy_setopt(handle.get(), CURLOPT_PREREQDATA, &gate);
    }
    curl_easy_setopt(handle.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle.get(), CURLOPT_MIMEPOST, form.get());
    curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, appendTo);
    curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(handle.get(), CURLOPT_HEADERDATA, &responseHeaders);
    // No upload may hold the form for ever: the connection must be made in
    // time, and a transfer that stops moving is given up.
    curl_easy_setopt(handle.get(), CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    StallWatch watch;
    curl_easy_setopt(handle.get(), CURLOPT_XFERINFOFUNCTION, &StallWatch::check);
    curl_easy_setopt(handle.get(), CURLOPT_XFERINFODATA, &watch);
    curl_easy_setopt(handle.get(), CURLOPT_NOPROGRESS, 0L);
    const CURLcode outcome = curl_easy_perform(handle.get());
    if (gate.refused) {
        writeTicketLog("Screenshot not sent, the web console's certificate was refused: " +
                       certificateRefusalReason(gate.refused->verdict, console.hostName(), gate.refused->chainErrors,
                                                gate.refused->policyError));
    } else if (outcome != CURLE_OK) {
        writeTicketLog("Screenshot upload to " + url + " ended without an answer: " +
                       (transferError[0] ? std::string(transferError) : std::string(curl_easy_strerror(outcome))));
    }

    long status = 0;
    curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status == 200) {
        writeTicketLog(uploadSuccessLine(body));
        DeleteFileA(filePath.c_str());
    } else {
        writeTicketLog(uploadFailureLine(body));
    }
    return static_cast<int>(status);
}

}  // namespace tiqora
