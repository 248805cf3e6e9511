#include "itticket/pending_resend.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "environment/config_sources.h"
#include "text/wide_text.h"
#include "itticket/get_url.h"
#include "itticket/lan_reply.h"
#include "itticket/ticket_log.h"
#include "itticket/ticket_records.h"

namespace tiqora {

namespace {

constexpr char kPendingTicketPath[] = "/velmora/api/SubmitTicket.aspx";
constexpr char kWebAgent[] = "Tiqora";
constexpr char kLanAgent[] = "SystemAdmin-Ticket";
// Reply buffers handed to the transport library.
constexpr size_t kReplyBytes = 8192;
// Paths are handed to the libraries as 8-bit texts of at most this many
// characters.
constexpr size_t kMaxPathBytes = 259;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// The whole file, or none when it cannot be opened or read. Nobody may write
// it while it is read, so a file still being written is left for a later run.
std::optional<std::string> readWholeFile(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    try {
        // Reads of one byte more than the size the file had: one read takes
        // a whole file, and the end shows in the same call.
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
        constexpr LONGLONG kLargestRead = 1 << 30;
        std::string bytes;
        std::vector<char> buffer(static_cast<size_t>(std::min(size.QuadPart, kLargestRead - 1)) + 1);
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
                return std::nullopt;
            if (bytes.empty() && got < buffer.size()) return std::string(buffer.data(), got);
            if (got == 0) return bytes;
            bytes.append(buffer.data(), got);
        }
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // too large to hold: left for a machine with more room
    }
}

// The body of a pending file, or none when there is nothing to send.
std::optional<std::string> readPendingBody(const std::string& pendingPath) {
    std::optional<std::string> bytes = readWholeFile(fromAnsi(pendingPath));
    if (!bytes) return std::nullopt;
    switch (checkPendingBody(*bytes)) {
    case PendingBody::Empty:
        return std::nullopt;
    case PendingBody::HoldsNul:
        writeTicketLog("Pending file skipped, it holds a NUL byte: " + pendingPath);
        return std::nullopt;
    case PendingBody::Ready:
        break;
    }
    return bytes;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(fromAnsi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Moves a delivered file to the sent folder (replacing a file of the same
// name there) and logs the outcome.
void moveDelivered(const std::string& pendingPath, const char* movedLine, const char* failedLine) {
    const std::optional<std::string> sentPath = sentPathForPending(pendingPath);
    const bool moved = sentPath && MoveFileExW(fromAnsi(pendingPath).c_str(), fromAnsi(*sentPath).c_str(),
                                               MOVEFILE_REPLACE_EXISTING) != 0;
    writeTicketLog(moved ? std::string(movedLine) : std::string(failedLine) + pendingPath);
}

std::string replyText(const std::vector<char>& reply) {
    return std::string(reply.data(), strnlen(reply.data(), reply.size()));
}

LocalDate today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalDate{now.wYear, now.wMonth, now.wDay};
}

}  // namespace

void resendPendingWeb(const std::string& pendingPath, const TransportLibrary& transport,
                      const std::string& pendingTicketHost) {
    const std::optional<std::string> body = readPendingBody(pendingPath);
    if (!body || !transport.sendWebdata2) return;

    std::vector<char> reply(kReplyBytes, '\0');
    transport.sendWebdata2(pendingTicketHost.c_str(), kPendingTicketPath, body->c_str(), kWebAgent, reply.data());
    if (replyText(reply).find("VEXO-OK") == std::string::npos) return;  // tried again next run
    if (!fileExists(pendingPath)) return;
    moveDelivered(pendingPath, "Pending Data Send Sucessfully to Web", "Pending Data Send to Web but the move failed: ");
}

void resendPendingLan(const std::string& pendingPath, TransportLibrary& transport,
                      const std::wstring& transportLibraryPath, const std::wstring& productDataFolder) {
    std::wstring lanUrl;  // the resend has no use for the page address
    const LanServerAddress address = GetUrl(lanUrl, productDataFolder);
    const std::string host = toAnsi(address.host);

    const std::optional<std::string> body = readPendingBody(pendingPath);
    if (!body) return;

    if (!transport.loaded()) transport = loadTransportLibrary(transportLibraryPath);
    int result = -1;
    std::vector<char> reply(kReplyBytes, '\0');
    if (transport.loaded() && transport.sendWebdata3)
        result = transport.sendWebdata3(host.c_str(), address.apiPath.c_str(), body->c_str(), kLanAgent, 0, 1, 2,
                                        reply.data());

    if (!fileExists(pendingPath)) return;
    if (result == 0 && lanReplyDelivered(replyText(reply))) {
        // The LAN server confirmed the ticket; the line names the web as it
        // always has.
        moveDelivered(pendingPath, "Pending Data Send Sucessfully to Web",
                      "Pending Data Send to Web but the move failed: ");
        return;
    }

    // The server did not confirm it: hand the file over as a file instead.
    const auto sendLocalData = transport.module.find<SendLocalDataFn>("SendLocalData");
    const std::wstring licence =
        readRegistryString(registry_order::kPendingResendLicence, L"LicenseCode", kRegistryBufferBytes);
    const std::string localName =
        localDeliveryName(toAnsi(licence), today(), std::string(fileNameOf(pendingPath)));
    if (!sendLocalData || sendLocalData(pendingPath.c_str(), localName.c_str()) != 0) return;  // stays pending
    moveDelivered(pendingPath, "Pending Data Send Sucessfully to Local",
                  "Pending Data Send to Local but the move failed: ");
}

void resendPendingTickets(ProcessValues& values) {
    if (!values.startupTransport.loaded())
        values.startupTransport = loadTransportLibrary(values.transportLibraryPath);

    // Names first, then the work: moving files out of the folder while it is
    // enumerated could make the enumeration skip or repeat a file.
    std::vector<std::wstring> names;
    const std::wstring& folder = values.folders.pending;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((folder + L"\\*.*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name.empty() || name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY)) continue;
            names.push_back(name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }

    if (!names.empty()) {
        // A delivered file needs the sent folder to move into; without it
        // every run would deliver the same tickets again.
        CreateDirectoryW((values.folders.itTicket + L"\\S").c_str(), nullptr);
        const std::string pendingTicketHost = toAnsi(readVendorHosts(installFolder()).pendingTickets);
        // Compared exactly: no code-page mapping may turn another text into "ON".
        const std::string sendWebRpt = toUtf8(values.flags.sendWebRpt);
        for (const std::wstring& name : names) {
            const std::wstring widePath = folder + L"\\" + name;
            const std::string path = toAnsi(widePath);
            // The libraries take 8-bit paths: a path the code page cannot
            // hold exactly, or one that would be cut, would name another file.
            if (path.size() > kMaxPathBytes || fromAnsi(path) != widePath) continue;
            switch (pendingRouteFor(toUtf8(name), sendWebRpt)) {
            case PendingRoute::Web:
                resendPendingWeb(path, values.startupTransport, pendingTicketHost);
                break;
            case PendingRoute::Lan:
                resendPendingLan(path, values.startupTransport, values.transportLibraryPath,
                                 values.folders.productData);
                break;
            case PendingRoute::LeaveAlone:
                break;
            }
        }
    }

    values.startupTransport.unload();
}

}  // namespace tiqora
