// Opening an IT ticket's page in a browser: the LAN server's page of a ticket
// delivered to it, or the web console's page of a web ticket. Reached from a
// row of the ticket history (the dialog stays open) and from the reply popup
// (the program then ends). Every address and every attempt goes to the IT ticket
// log.
#pragma once

#include <cstddef>
#include <string>

#include "core/reply_popup/reply_argument.h"

namespace tiqora {

// What the ticket history knows when a row is clicked: the LAN server as
// GetUrl resolved it when the IT ticket form opened (empty outside the LAN
// modes), the corporate id the form read, the web console host.
struct HistoryPageContext {
    std::wstring ticketIni;       // IT ticket folder\Tiqora.ini
    std::wstring lanHost;         // may be empty
    std::wstring lanPortText;     // e.g. L"7777" or L"81:7777"
    std::wstring corporateId;
    std::wstring webConsole;  // the WebConsole setting: host[:port], maybe with "http://" or "https://"
};

// The history's LAN page of a ticket whose GUID the listing found;
// `logFormat` is the log line with "%S" where the address goes ("lan case hit
// this page  L--> %S" or "lan case hit this page SendLanRpt--> %S").
void openLanTicketPage(const HistoryPageContext& context, const std::wstring& ticketGuid, const char* logFormat);

// The history's web page of a ticket whose GUID the listing found.
void openWebTicketPage(const HistoryPageContext& context, const std::wstring& ticketGuid);

// The reply popup's page: `replyKind` from the reply argument (web for
// "/SAReply=C", LAN for "/SAReply=L"), `ticketGuid` its third field. The
// popup ends the program afterwards, whatever happened.
void openReplyTicketPage(ReplyKind replyKind, const std::wstring& ticketGuid, const std::wstring& productDataFolder);

// Hands `address` to a browser by the first of four routes that works (chrome
// through the shell, chrome as a process, msedge through the shell, the
// address's own handler) and logs which one did, or that none did.
void launchInBrowser(const std::wstring& address);

// How step 2 of the chain builds its command line: as wide text in a buffer
// of 1,024 characters (the LAN page, and the default above) or as 8-bit text
// in a buffer of 260 bytes (the web page). A command line that does not fit
// skips step 2.
enum class BrowserCommandLine { Wide, Narrow };
inline constexpr size_t kWideCommandLineChars = 1024;
inline constexpr size_t kNarrowCommandLineBytes = 260;
void launchInBrowser(const std::wstring& address, BrowserCommandLine commandLine);

// Step 2 of the chain on its own: starts "chrome.exe -- "<address>"" as a
// process (found as a process start finds it: the program's folder first).
// True when it started; false, with nothing started, when the command line
// does not fit its buffer.
bool startChromeProcess(const std::wstring& address, BrowserCommandLine commandLine);

}  // namespace tiqora
