#include "features/ticket_history/ticket_pages.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "core/ticket_history/ticket_addresses.h"
#include "features/it_ticket/get_url.h"
#include "win/config_sources.h"
#include "win/handles.h"
#include "win/process_values.h"
#include "win/service_post.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

// A shell request succeeds when its result is greater than 32.
bool shellOpen(const wchar_t* file, const wchar_t* parameters) {
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", file, parameters, nullptr, SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// Starts a process from a command line held in a buffer of the given size;
// a command line that does not fit starts nothing. The process is not
// waited for; only its handles are released.
bool startProcessWide(const std::wstring& commandLine, size_t capacity) {
    if (!fitsBuffer(commandLine.size(), capacity)) return false;
    std::vector<wchar_t> buffer(capacity, L'\0');
    commandLine.copy(buffer.data(), commandLine.size());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                        &process))
        return false;
    const KernelHandle thread(process.hThread);
    const KernelHandle started(process.hProcess);
    return true;
}

bool startProcessNarrow(const std::string& commandLine, size_t capacity) {
    if (!fitsBuffer(commandLine.size(), capacity)) return false;
    std::vector<char> buffer(capacity, '\0');
    commandLine.copy(buffer.data(), commandLine.size());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup,
                        &process))
        return false;
    const KernelHandle thread(process.hThread);
    const KernelHandle started(process.hProcess);
    return true;
}

// The log line of the history's LAN page: the format with the address in
// place of its "%S".
std::string lanLogLine(const char* format, const std::string& address) {
    std::string line = format ? format : "";
    const size_t mark = line.find("%S");
    if (mark != std::string::npos) line.replace(mark, 2, address);
    return line;
}

bool fileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool startChromeProcess(const std::wstring& address, BrowserCommandLine kind) {
    const std::string commandLine = browserCommandLine("chrome.exe", toUtf8(address));
    if (kind == BrowserCommandLine::Wide) return startProcessWide(fromUtf8(commandLine), kWideCommandLineChars);
    return startProcessNarrow(toAnsi(fromUtf8(commandLine)), kNarrowCommandLineBytes);
}

void launchInBrowser(const std::wstring& address) { launchInBrowser(address, BrowserCommandLine::Wide); }

void launchInBrowser(const std::wstring& address, BrowserCommandLine commandLine) {
    // Where a browser is started with arguments, "--" ends its switches and
    // the address follows as one quoted argument: a ticket GUID from a
    // command line can never become a browser switch.
    const std::wstring arguments = fromUtf8(browserArguments(toUtf8(address)));
    if (shellOpen(L"chrome.exe", arguments.c_str())) {
        writeTicketLog("1. Default browser Success");
    } else if (startChromeProcess(address, commandLine)) {
        writeTicketLog("2. chrome.exe Success");
    } else if (shellOpen(L"msedge.exe", arguments.c_str())) {
        writeTicketLog("3. chrome.exe Success");
    } else if (shellOpen(address.c_str(), nullptr)) {
        writeTicketLog("4. Other browser Success");
    } else {
        writeTicketLog("5. Failed all browswer");
    }
}

void openLanTicketPage(const HistoryPageContext& context, const std::wstring& ticketGuid, const char* logFormat) {
    const std::string address =
        lanTicketPageAddress(toUtf8(context.lanHost), toUtf8(context.lanPortText), toUtf8(ticketGuid));
    const std::wstring wideAddress = fromUtf8(address);
    writeTicketLog(lanLogLine(logFormat, toAnsi(wideAddress)));
    if (fileExists(context.ticketIni) && !context.lanHost.empty()) shellOpen(wideAddress.c_str(), nullptr);
}

void openWebTicketPage(const HistoryPageContext& context, const std::wstring& ticketGuid) {
    const auto console = serviceAddressOf(toUtf8(context.webConsole));
    if (const auto* fault = std::get_if<AddressFault>(&console)) {
        writeTicketLog(refusedAddressLine(kWebConsoleKey, *fault));
        return;
    }
    const std::wstring address = fromUtf8(webTicketPageAddress(std::get<ServiceAddress>(console),
                                                               toAnsi(context.corporateId), toUtf8(ticketGuid)));
    writeTicketLog("Web case hit this page SendWebRpt--> " + toAnsi(address));
    shellOpen(address.c_str(), nullptr);
}

void openReplyTicketPage(ReplyKind replyKind, const std::wstring& ticketGuid, const std::wstring& productDataFolder) {
    if (replyKind == ReplyKind::Web) {
        writeTicketLog("web ticket is applied /SAReply=C");
        const std::wstring corporateId = readRegistryString(registry_order::kCorporateId, L"CorporateID");
        const auto console = serviceAddressOf(toUtf8(readVendorHosts(installFolder()).webConsole));
        if (const auto* fault = std::get_if<AddressFault>(&console)) {
            writeTicketLog(refusedAddressLine(kWebConsoleKey, *fault));
            return;
        }
        const std::wstring address = fromUtf8(
            webTicketPageAddress(std::get<ServiceAddress>(console), toAnsi(corporateId), toUtf8(ticketGuid)));
        writeTicketLog(toAnsi(address));
        launchInBrowser(address, BrowserCommandLine::Narrow);
        return;
    }
    if (replyKind == ReplyKind::Lan) {
        writeTicketLog("lan ticket is applied /SAReply=L");
        std::wstring lanUrl;
        // Without a working server there is no page: the program ends.
        const std::optional<LanServerAddress> server = GetUrl(lanUrl, productDataFolder);
        if (!server) return;
        const std::wstring address =
            fromUtf8(lanTicketPageAddress(toUtf8(server->host), toUtf8(server->portText), toUtf8(ticketGuid)));
        writeTicketLog("After Ticket Creation");
        writeTicketLog(toAnsi(address));
        launchInBrowser(address, BrowserCommandLine::Wide);
    }
}

}  // namespace tiqora
