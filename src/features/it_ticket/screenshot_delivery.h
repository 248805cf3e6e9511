// Delivering the IT ticket form's screenshot with the ticket: to the LAN
// server through the suite's libraries (before the LAN ticket, which names
// the picture), or to the web console by an HTTP multipart upload (after the
// web ticket, with the ticket's GUID). A delivered picture is deleted; one
// that was not stays in C:\qx\. Nothing here is shown to the user: every
// step goes to the IT ticket log.
#pragma once

#include <optional>
#include <string>

#include "core/net/service_address.h"
#include "win/suite_exports.h"

namespace tiqora {

// The path as the suite's 8-bit libraries (and the C runtime's fopen) can
// take it: the path in the system code page when that holds it exactly,
// else its short (8.3) form when that converts exactly. Empty when neither
// does, or when the result would not fit the 260-byte buffer of the
// libraries: a converted path that names another file is never handed on.
std::optional<std::string> narrowScreenshotPath(const std::wstring& path);

// The suite libraries' entry points the LAN delivery may use; either may be
// missing.
struct LanScreenshotLibraries {
    ReceiveClientReportsFn receiveClientReports = nullptr;  // DPXIntraPol.dll
    SendLocalDataFn sendLocalData = nullptr;                // WBX.DLL
};

// Hands the picture at `path` to the LAN server: DPXIntraPol.dll first (1:
// delivered and deleted; 0: WBX.DLL's SendLocalData is tried; any other
// value: kept, nothing more tried). Returns the remote name the ticket
// carries (UTF-8, e.g. "L_2024-03-07_ 9- 5- 3_ITTKT.SCR"), also when no
// library took the picture; nothing when the picture is gone, so the ticket
// goes without one.
std::optional<std::string> sendScreenShotToLanSrv(const std::wstring& path, const LanScreenshotLibraries& libraries);

// Uploads the file `filePath` (system code page) to the web console as a
// multipart form with the parts "CorpId", "TicketGuid" and "ScreenShot",
// over plain HTTP or, for an "https://" console, over TLS whose certificate
// must pass checkServerCertificate before any byte of the form is sent (no
// fallback to HTTP). Returns the HTTP status, 0 when no answer arrived (a
// connection not made within 10 s, a refused certificate, a transfer
// without progress for 30 s, or one not done within 60 s, is given up; the
// log says why), -1 when no transfer could be set up (the log names a system
// library the upload needs that did not load). On status 200 the file is
// deleted; otherwise it stays.
int sendScreenShotToWebSrv(const ServiceAddress& console, std::string corpId, std::string ticketGuid,
                           std::string filePath);

}  // namespace tiqora
