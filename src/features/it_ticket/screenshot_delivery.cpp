#include "features/it_ticket/screenshot_delivery.h"

#include <windows.h>

#include "core/it_ticket/screenshot_names.h"
#include "win/ticket_log.h"
#include "win/http_client.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr size_t kNarrowPathBytes = 260;
constexpr char kUploadPath[] = "/api/it-ticket/save-image-screenshot";
constexpr long kConnectSeconds = 10;
constexpr unsigned long long kStallMs = 30000;
// Room for a large picture over a slow line, and still a bound: twice the
// stall limit, above the connection and stall limits together.
constexpr long kTotalMs = 60000;

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

int sendScreenShotToWebSrv(const ServiceAddress& console, std::string corpId, std::string ticketGuid,
                           std::string filePath) {
    const HttpResult upload = uploadForm(console, kUploadPath,
                                           {{"CorpId", std::move(corpId)},
                                            {"TicketGuid", std::move(ticketGuid)},
                                            {"ScreenShot", filePath, true}},
                                           HttpLimits{kConnectSeconds, kStallMs, kTotalMs});
    if (upload.missingLibrary) {
        writeTicketLog("Screenshot not sent, the system library " + upload.missingLibrary->library +
                       " cannot be loaded (error " + std::to_string(upload.missingLibrary->error) + ")");
        return -1;
    }
    if (!upload.setUp) return -1;
    if (upload.refusedCertificate) {
        writeTicketLog("Screenshot not sent, the web console's certificate was refused: " +
                       certificateRefusalReason(upload.refusedCertificate->verdict, console.hostName,
                                                upload.refusedCertificate->chainErrors,
                                                upload.refusedCertificate->policyError));
    } else if (!upload.transferError.empty()) {
        const std::string url = console.origin() + kUploadPath;
        writeTicketLog("Screenshot upload to " + url + " ended without an answer: " + upload.transferError);
    }

    if (upload.status == 200) {
        writeTicketLog(uploadSuccessLine(upload.body));
        DeleteFileA(filePath.c_str());
    } else {
        writeTicketLog(uploadFailureLine(upload.body));
    }
    return static_cast<int>(upload.status);
}

}  // namespace tiqora
