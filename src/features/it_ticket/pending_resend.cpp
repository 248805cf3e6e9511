#include "features/it_ticket/pending_resend.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "core/it_ticket/lan_reply.h"
#include "core/it_ticket/ticket_records.h"
#include "core/it_ticket/ticket_rules.h"
#include "features/it_ticket/get_url.h"
#include "features/it_ticket/record_files.h"
#include "features/it_ticket/ticket_delivery.h"
#include "win/config_sources.h"
#include "win/files.h"
#include "win/process_stamp.h"
#include "win/service_post.h"
#include "win/ticket_log.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

constexpr char kPendingTicketPath[] = "/velmora/api/SubmitTicket.aspx";
constexpr ServiceCall kPendingTicketCall{kPendingTicketsKey, kPendingTicketPath, kWebTicketAgent, false,
                                         kPendingTicketReplyBytes};
// Paths are handed to the libraries as 8-bit texts of at most this many
// characters.
constexpr size_t kMaxPathBytes = 259;
// Files in a row that got no answer at all before a run stops: a server that
// is down costs two files' time-outs, while one file that never gets an
// answer (a body a filter drops) does not hold up the files after it.
constexpr int kSilentFilesToStop = 2;

// The whole file, or none when it cannot be opened or read. Nobody may write
// it while it is read, so a file still being written is left for a later run;
// one too large to hold is left for a machine with more room.
std::optional<std::string> readPendingFile(const std::wstring& path) {
    KernelHandle file;
    retryWhileHeld([&] {
        file.reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        return file.valid();
    });
    if (!file) return std::nullopt;
    return readWholeFile(file.get());
}

// The body of a pending ticket, or none when there is nothing to send.
std::optional<std::string> readPendingBody(const PendingTicket& ticket) {
    std::optional<std::string> bytes = readPendingFile(fromAnsi(ticket.path));
    if (!bytes) return std::nullopt;
    switch (checkPendingBody(*bytes)) {
    case PendingBody::Empty:
        return std::nullopt;
    case PendingBody::HoldsNul: {
        const std::string& pendingPath = ticket.ownPath;
        writeTicketLog("Pending file skipped, it holds a NUL byte: " + pendingPath);
        return std::nullopt;
    }
    case PendingBody::Ready:
        break;
    }
    return bytes;
}

bool fileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(fromAnsi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether a call of the transport library got no answer at all: it did not
// report an answer and left the reply empty.
bool noAnswer(int result, const std::vector<char>& reply) { return result != 0 && reply[0] == '\0'; }

LocalDate today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalDate{now.wYear, now.wMonth, now.wDay};
}

// The route a ticket was delivered by, as its log line names it.
enum class Delivery { Web, Local };

// Moves a delivered ticket to the sent folder under its own name, or the
// first free one after it ("W_101 (2).txt") when a record of that name is
// there. A ticket that cannot move there is delivered all the same: it
// stays in the pending folder under a name no run sends again, and the log
// says where.
void finishDelivered(const PendingTicket& ticket, Delivery delivery) {
    const bool web = delivery == Delivery::Web;
    const std::optional<std::string> sentPath = sentPathForPending(ticket.ownPath);
    if (sentPath && moveRecordUnderFirstFreeName(fromAnsi(ticket.path), fromAnsi(*sentPath))) {
        writeTicketLog(web ? "Pending Data Send Sucessfully to Web" : "Pending Data Send Sucessfully to Local");
        return;
    }
    const std::wstring kept = fromAnsi(ticket.folder + "\\" + deliveredUnmovedName(ticket.name));
    const std::optional<std::wstring> keptAt = moveRecordUnderFirstFreeName(fromAnsi(ticket.path), kept);
    const std::string keptPath = keptAt ? toAnsi(*keptAt) : ticket.path;
    writeTicketLog(web ? "Pending Data Send to Web but the move failed, the ticket stays as: " + keptPath
                       : "Pending Data Send to Local but the move failed, the ticket stays as: " + keptPath);
}

// Gives a ticket this run did not deliver its own name back (or the first
// free one after it), so the next run sends it again.
void release(const PendingTicket& ticket) {
    if (!fileExists(ticket.path)) return;
    if (moveRecordUnderFirstFreeName(fromAnsi(ticket.path), fromAnsi(ticket.ownPath))) return;
    // Still in this run's folder, and this run ends: the next run takes it up.
    const std::string& claimedPath = ticket.path;
    writeTicketLog("Pending file stays in this run's folder until the next run: " + claimedPath);
}

// A pending file as the folder lists it, and what to do with it.
struct PendingEntry {
    std::wstring listedPath;  // where it lies: the pending folder, or an ended run's claim folder
    std::wstring ownName;
    PendingRoute route;
};

// What the pending folder holds for a run: the files to consider, in the
// order NTFS lists them (by name, letter case ignored; pending files first,
// then those that ended runs left), so every run takes them in the same
// order on any file system, and the claim folders of ended runs. The files
// of a live run's claim folder are not listed.
struct PendingListing {
    std::vector<PendingEntry> entries;
    std::vector<std::wstring> endedClaimFolders;
};

void sortByName(std::vector<std::wstring>& names) {
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
}

// The names of the files directly in `folder`, hidden ones included (an
// earlier version left a record hidden when it was stopped while writing
// it), and, apart, of its sub-folders.
void listFolder(const std::wstring& folder, std::vector<std::wstring>& files, std::vector<std::wstring>* folders) {
    forEachFound(folder + L"\\*.*", [&](const WIN32_FIND_DATAW& found) {
        const std::wstring name = found.cFileName;
        if (name.empty() || name == L"." || name == L"..") return;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(name);
        else if (folders) folders->push_back(name);
    });
    sortByName(files);
    if (folders) sortByName(*folders);
}

PendingListing listPendingFolder(const std::wstring& folder, DeliveryMode mode, std::string_view sendWebRpt) {
    PendingListing listing;
    std::vector<std::wstring> files, folders;
    listFolder(folder, files, &folders);
    const auto add = [&](const std::wstring& inFolder, const std::wstring& name) {
        listing.entries.push_back(
            PendingEntry{inFolder + L"\\" + name, name, pendingRouteFor(toUtf8(name), mode, sendWebRpt)});
    };
    for (const std::wstring& name : files) add(folder, name);
    for (const std::wstring& name : folders) {
        const std::optional<PendingClaim> claim = pendingClaimOf(toUtf8(name));
        if (!claim || processStillRuns(ProcessStamp{claim->processId, claim->processStart})) continue;
        const std::wstring claimFolder = folder + L"\\" + name;
        listing.endedClaimFolders.push_back(claimFolder);
        std::vector<std::wstring> left;
        listFolder(claimFolder, left, nullptr);
        for (const std::wstring& file : left) add(claimFolder, file);
    }
    return listing;
}

// The 8-bit form of a path the libraries are handed, or none when the code
// page cannot hold it exactly or it would be cut: it would name another file.
std::optional<std::string> libraryPath(const std::wstring& path) {
    std::string narrow = toAnsi(path);
    if (narrow.size() > kMaxPathBytes || fromAnsi(narrow) != path) return std::nullopt;
    return narrow;
}

// This run's claim folder in the pending folder, made at its first claim and
// removed, empty, when the run ends.
class ClaimFolder {
public:
    explicit ClaimFolder(const std::wstring& pendingFolder) {
        const ProcessStamp run = currentProcessStamp();
        path_ = pendingFolder + L"\\" + fromUtf8(pendingClaimFolderName(PendingClaim{run.id, run.started}));
    }
    ~ClaimFolder() {
        if (made_) RemoveDirectoryW(path_.c_str());
    }
    ClaimFolder(const ClaimFolder&) = delete;
    ClaimFolder& operator=(const ClaimFolder&) = delete;

    const std::wstring& path() const { return path_; }
    bool make() {
        if (!made_) made_ = CreateDirectoryW(path_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
        return made_;
    }

private:
    std::wstring path_;
    bool made_ = false;
};

// Moves the pending file into this run's claim folder, so no other run sends
// it meanwhile. None when the file is gone (another run took it) or cannot be
// moved (another program holds it, or this user may not move it: it waits
// for a run that may).
std::optional<PendingTicket> claim(const std::wstring& pendingFolder, const PendingEntry& entry, ClaimFolder& claims) {
    const std::wstring claimPath = claims.path() + L"\\" + entry.ownName;
    const std::optional<std::string> path = libraryPath(claimPath);
    const std::optional<std::string> ownPath = libraryPath(pendingFolder + L"\\" + entry.ownName);
    const std::optional<std::string> folder = libraryPath(pendingFolder);
    if (!path || !ownPath || !folder || !claims.make()) return std::nullopt;

    if (!retryWhileHeld([&] { return MoveFileExW(entry.listedPath.c_str(), claimPath.c_str(), 0) != 0; })) {
        const DWORD error = GetLastError();
        const std::string pendingPath = toAnsi(entry.listedPath);
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            writeTicketLog("Pending file left for the next run, it cannot be moved (error " + std::to_string(error) +
                           "): " + pendingPath);
        return std::nullopt;
    }
    return PendingTicket{*path, *ownPath, *folder, toAnsi(entry.ownName)};
}

}  // namespace

ResendOutcome resendPendingWeb(const PendingTicket& ticket, const TransportLibrary& transport,
                               const ServiceAddress& service) {
    const std::optional<std::string> body = readPendingBody(ticket);
    if (!body) return ResendOutcome::NotDelivered;

    std::string replyText;
    if (service.scheme == WebScheme::Https) {
        const TlsReply reply = postOverTls(service, kPendingTicketCall, *body);
        if (!reply.answered) {
            writeTicketLog(tlsFailureLine(kPendingTicketCall, service, reply));
            return ResendOutcome::NoAnswer;
        }
        replyText = reply.received;
    } else {
        if (!transport.sendWebdata2) return ResendOutcome::NotDelivered;
        std::vector<char> reply(kPendingTicketReplyBytes, '\0');
        const int result = transport.sendWebdata2(service.hostAndPort.c_str(), kPendingTicketPath, body->c_str(),
                                                  kWebTicketAgent, reply.data());
        if (noAnswer(result, reply)) return ResendOutcome::NoAnswer;
        replyText = writtenReply(reply);
    }
    if (replyText.find("VEXO-OK") == std::string::npos) return ResendOutcome::NotDelivered;
    if (!fileExists(ticket.path)) return ResendOutcome::NotDelivered;
    finishDelivered(ticket, Delivery::Web);
    return ResendOutcome::Delivered;
}

ResendOutcome resendPendingLan(const PendingTicket& ticket, const LanServerAddress& address,
                               TransportLibrary& transport, const std::wstring& transportLibraryPath) {
    const std::string host = toAnsi(address.host);
    const std::optional<std::string> body = readPendingBody(ticket);
    if (!body) return ResendOutcome::NotDelivered;

    if (!transport.loaded()) transport = loadTransportLibrary(transportLibraryPath);
    int result = -1;
    std::vector<char> reply(kLanResendReplyBytes, '\0');
    if (transport.loaded() && transport.sendWebdata3)
        result = transport.sendWebdata3(host.c_str(), address.apiPath.c_str(), body->c_str(), kLanTicketAgent,
                                        kPlainAnswerCall.mode, kPlainAnswerCall.attempts,
                                        kPlainAnswerCall.connectSeconds, reply.data());
    const bool serverSilent = transport.sendWebdata3 && noAnswer(result, reply);

    if (!fileExists(ticket.path)) return ResendOutcome::NotDelivered;
    if (result == 0 && lanReplyDelivered(writtenReply(reply))) {
        // The LAN server confirmed the ticket; the line names the web as it
        // always has.
        finishDelivered(ticket, Delivery::Web);
        return ResendOutcome::Delivered;
    }

    // The server did not confirm it: hand the file over as a file instead,
    // under the name its own name gives.
    const auto sendLocalData = transport.module.find<SendLocalDataFn>("SendLocalData");
    const std::wstring licence =
        readRegistryString(registry_order::kPendingResendLicence, L"LicenseCode", kRegistryBufferBytes);
    const std::string localName = localDeliveryName(toAnsi(licence), today(), ticket.name);
    if (!sendLocalData || sendLocalData(ticket.path.c_str(), localName.c_str()) != 0)  // stays pending
        return serverSilent ? ResendOutcome::NoAnswer : ResendOutcome::NotDelivered;
    finishDelivered(ticket, Delivery::Local);
    return ResendOutcome::Delivered;
}

void resendPendingTickets(ProcessValues& values) {
    if (!values.startupTransport.loaded())
        values.startupTransport = loadTransportLibrary(values.transportLibraryPath);

    // Names first, then the work: moving files out of the folder while it is
    // enumerated could make the enumeration skip or repeat a file.
    const std::wstring& folder = values.folders.pending;
    const DeliveryFlagsText flags(values.flags);
    const DeliveryMode mode = deliveryBranchFor(flags.flags()).mode;
    const PendingListing listing = listPendingFolder(folder, mode, flags.sendWebRpt());

    if (!listing.entries.empty()) {
        // A delivered file needs the sent folder to move into; without it
        // every run would deliver the same tickets again.
        CreateDirectoryW(values.folders.sent.c_str(), nullptr);
        // A [Hosts] value that is no usable address sends no web ticket: they
        // stay, and the log says so once.
        const auto readService = serviceAddressOf(toAnsi(readVendorHosts(installFolder()).pendingTickets));
        const ServiceAddress* pendingService = std::get_if<ServiceAddress>(&readService);
        bool serviceRefusalTold = false;
        // The tickets to send, in the folder's order, and what stays.
        std::vector<const PendingEntry*> toSend;
        size_t leftLan = 0, leftWeb = 0;
        for (const PendingEntry& entry : listing.entries) {
            if (entry.route == PendingRoute::LeaveLan) ++leftLan;
            if (entry.route == PendingRoute::LeaveWeb) ++leftWeb;
            if (entry.route == PendingRoute::Lan || entry.route == PendingRoute::Web) toSend.push_back(&entry);
        }
        if (leftLan > 0) writeTicketLog(leftPendingLine(TicketKind::Lan, leftLan, mode));
        if (leftWeb > 0) writeTicketLog(leftPendingLine(TicketKind::Web, leftWeb, mode));

        ClaimFolder claims(folder);
        std::optional<LanServerAddress> lanAddress;  // resolved at the first LAN ticket, once
        int silentInARow = 0;
        for (size_t i = 0; i < toSend.size(); ++i) {
            const PendingEntry& entry = *toSend[i];
            if (entry.route == PendingRoute::Web && !pendingService) {
                if (!serviceRefusalTold)
                    writeTicketLog(refusedAddressLine(kPendingTicketsKey, std::get<AddressFault>(readService)));
                serviceRefusalTold = true;
                continue;
            }
            if (entry.route == PendingRoute::Lan && !lanAddress) {
                std::wstring lanUrl;  // the resend has no use for the page address
                lanAddress = GetUrl(lanUrl, values.folders.productData);
                // No usable LAN server: the run ends here, before this file
                // is touched (GetUrl's lines say why).
                if (!lanAddress) break;
            }
            const std::optional<PendingTicket> ticket = claim(folder, entry, claims);
            if (!ticket) continue;
            const ResendOutcome outcome =
                entry.route == PendingRoute::Web
                    ? resendPendingWeb(*ticket, values.startupTransport, *pendingService)
                    : resendPendingLan(*ticket, *lanAddress, values.startupTransport, values.transportLibraryPath);
            if (outcome != ResendOutcome::Delivered) release(*ticket);
            silentInARow = outcome == ResendOutcome::NoAnswer ? silentInARow + 1 : 0;
            if (silentInARow == kSilentFilesToStop) {
                // These files and every one after them wait for the next run.
                writeTicketLog(stoppedResendLine(toSend.size() - i - 1 + kSilentFilesToStop));
                break;
            }
        }
    }
    // The folders of ended runs go once they are empty; files left in them
    // wait for the next run.
    for (const std::wstring& ended : listing.endedClaimFolders) RemoveDirectoryW(ended.c_str());

    values.startupTransport.unload();
}

}  // namespace tiqora
