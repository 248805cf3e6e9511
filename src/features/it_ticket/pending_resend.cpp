#include "features/it_ticket/pending_resend.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/it_ticket/lan_reply.h"
#include "core/it_ticket/ticket_records.h"
#include "core/it_ticket/ticket_rules.h"
#include "features/it_ticket/get_url.h"
#include "features/it_ticket/record_files.h"
#include "features/it_ticket/ticket_delivery.h"
#include "win/config_sources.h"
#include "win/files.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr char kPendingTicketPath[] = "/velmora/api/SubmitTicket.aspx";
// Paths are handed to the libraries as 8-bit texts of at most this many
// characters.
constexpr size_t kMaxPathBytes = 259;

// The whole file, or none when it cannot be opened or read. Nobody may write
// it while it is read, so a file still being written is left for a later run;
// one too large to hold is left for a machine with more room.
std::optional<std::string> readPendingFile(const std::wstring& path) {
    const KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    return readWholeFile(file.get());
}

// The body of a pending file, or none when there is nothing to send.
std::optional<std::string> readPendingBody(const std::string& pendingPath) {
    std::optional<std::string> bytes = readPendingFile(fromAnsi(pendingPath));
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

// Moves a delivered file to the sent folder under its own name, or the first
// free one after it ("W_101 (2).txt") when a record of that name is there,
// and logs the outcome.
void moveDelivered(const std::string& pendingPath, const char* movedLine, const char* failedLine) {
    const std::optional<std::string> sentPath = sentPathForPending(pendingPath);
    const bool moved =
        sentPath && moveRecordUnderFirstFreeName(fromAnsi(pendingPath), fromAnsi(*sentPath)).has_value();
    writeTicketLog(moved ? std::string(movedLine) : std::string(failedLine) + pendingPath);
}

// Whether a call of the transport library got no answer at all: it did not
// report an answer and left the reply empty.
bool noAnswer(int result, const std::vector<char>& reply) { return result != 0 && reply[0] == '\0'; }

LocalDate today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalDate{now.wYear, now.wMonth, now.wDay};
}

}  // namespace

ResendOutcome resendPendingWeb(const std::string& pendingPath, const TransportLibrary& transport,
                               const std::string& pendingTicketHost) {
    const std::optional<std::string> body = readPendingBody(pendingPath);
    if (!body || !transport.sendWebdata2) return ResendOutcome::NotDelivered;

    std::vector<char> reply(kSendWebdata2ReplyBytes, '\0');
    const int result =
        transport.sendWebdata2(pendingTicketHost.c_str(), kPendingTicketPath, body->c_str(), kWebTicketAgent, reply.data());
    if (noAnswer(result, reply)) return ResendOutcome::NoAnswer;
    if (writtenReply(reply).find("VEXO-OK") == std::string::npos) return ResendOutcome::NotDelivered;
    if (!fileExists(pendingPath)) return ResendOutcome::NotDelivered;
    moveDelivered(pendingPath, "Pending Data Send Sucessfully to Web", "Pending Data Send to Web but the move failed: ");
    return ResendOutcome::Delivered;
}

ResendOutcome resendPendingLan(const std::string& pendingPath, const LanServerAddress& address,
                               TransportLibrary& transport, const std::wstring& transportLibraryPath) {
    const std::string host = toAnsi(address.host);
    const std::optional<std::string> body = readPendingBody(pendingPath);
    if (!body) return ResendOutcome::NotDelivered;

    if (!transport.loaded()) transport = loadTransportLibrary(transportLibraryPath);
    int result = -1;
    std::vector<char> reply(kSendWebdata3ReplyBytes, '\0');
    if (transport.loaded() && transport.sendWebdata3)
        result = transport.sendWebdata3(host.c_str(), address.apiPath.c_str(), body->c_str(), kLanTicketAgent,
                                        kPlainAnswerCall.mode, kPlainAnswerCall.attempts,
                                        kPlainAnswerCall.connectSeconds, reply.data());
    const bool serverSilent = transport.sendWebdata3 && noAnswer(result, reply);

    if (!fileExists(pendingPath)) return ResendOutcome::NotDelivered;
    if (result == 0 && lanReplyDelivered(writtenReply(reply))) {
        // The LAN server confirmed the ticket; the line names the web as it
        // always has.
        moveDelivered(pendingPath, "Pending Data Send Sucessfully to Web",
                      "Pending Data Send to Web but the move failed: ");
        return ResendOutcome::Delivered;
    }

    // The server did not confirm it: hand the file over as a file instead.
    const auto sendLocalData = transport.module.find<SendLocalDataFn>("SendLocalData");
    const std::wstring licence =
        readRegistryString(registry_order::kPendingResendLicence, L"LicenseCode", kRegistryBufferBytes);
    const std::string localName =
        localDeliveryName(toAnsi(licence), today(), std::string(fileNameOf(pendingPath)));
    if (!sendLocalData || sendLocalData(pendingPath.c_str(), localName.c_str()) != 0)  // stays pending
        return serverSilent ? ResendOutcome::NoAnswer : ResendOutcome::NotDelivered;
    moveDelivered(pendingPath, "Pending Data Send Sucessfully to Local",
                  "Pending Data Send to Local but the move failed: ");
    return ResendOutcome::Delivered;
}

void resendPendingTickets(ProcessValues& values) {
    if (!values.startupTransport.loaded())
        values.startupTransport = loadTransportLibrary(values.transportLibraryPath);

    // Names first, then the work: moving files out of the folder while it is
    // enumerated could make the enumeration skip or repeat a file.
    std::vector<std::wstring> names;
    const std::wstring& folder = values.folders.pending;
    forEachFound(folder + L"\\*.*", [&](const WIN32_FIND_DATAW& found) {
        const std::wstring name = found.cFileName;
        if (name.empty() || name == L"." || name == L"..") return;
        // Hidden files are pending tickets too: an earlier version left a
        // record hidden when it was stopped while writing it.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
        names.push_back(name);
    });

    if (!names.empty()) {
        // A delivered file needs the sent folder to move into; without it
        // every run would deliver the same tickets again.
        CreateDirectoryW(values.folders.sent.c_str(), nullptr);
        const std::string pendingTicketHost = toAnsi(readVendorHosts(installFolder()).pendingTickets);
        const DeliveryFlagsText flags(values.flags);
        const DeliveryMode mode = deliveryBranchFor(flags.flags()).mode;
        // The tickets to send, in the folder's order, and what stays.
        std::vector<std::pair<std::string, PendingRoute>> toSend;
        size_t leftLan = 0, leftWeb = 0;
        for (const std::wstring& name : names) {
            const PendingRoute route = pendingRouteFor(toUtf8(name), mode, flags.sendWebRpt());
            if (route == PendingRoute::LeaveLan) ++leftLan;
            if (route == PendingRoute::LeaveWeb) ++leftWeb;
            if (route != PendingRoute::Lan && route != PendingRoute::Web) continue;
            const std::wstring widePath = folder + L"\\" + name;
            const std::string path = toAnsi(widePath);
            // The libraries take 8-bit paths: a path the code page cannot
            // hold exactly, or one that would be cut, would name another file.
            if (path.size() > kMaxPathBytes || fromAnsi(path) != widePath) continue;
            toSend.emplace_back(path, route);
        }
        if (leftLan > 0) writeTicketLog(leftPendingLine(TicketKind::Lan, leftLan, mode));
        if (leftWeb > 0) writeTicketLog(leftPendingLine(TicketKind::Web, leftWeb, mode));

        std::optional<LanServerAddress> lanAddress;  // resolved at the first LAN ticket, once
        for (size_t i = 0; i < toSend.size(); ++i) {
            const auto& [path, route] = toSend[i];
            ResendOutcome outcome;
            if (route == PendingRoute::Web) {
                outcome = resendPendingWeb(path, values.startupTransport, pendingTicketHost);
            } else {
                if (!lanAddress) {
                    std::wstring lanUrl;  // the resend has no use for the page address
                    lanAddress = GetUrl(lanUrl, values.folders.productData);
                }
                outcome = resendPendingLan(path, *lanAddress, values.startupTransport, values.transportLibraryPath);
            }
            if (outcome == ResendOutcome::NoAnswer) {
                // This file and every one after it wait for the next run.
                writeTicketLog(stoppedResendLine(toSend.size() - i));
                break;
            }
        }
    }

    values.startupTransport.unload();
}

}  // namespace tiqora
