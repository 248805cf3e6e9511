#include "core/it_ticket/ticket_records.h"

#include <cstdint>
#include <cstdio>

namespace tiqora {

namespace {

constexpr std::string_view kPendingMark = "IT TICKET\\P\\";
constexpr std::string_view kSentMark = "IT TICKET\\S\\";

std::string_view prefixOf(TicketKind kind) { return kind == TicketKind::Lan ? "L_" : "W_"; }

constexpr std::string_view kTemporaryStart = "~record-";
constexpr std::string_view kTemporaryEnd = ".part";
constexpr std::string_view kClaimStart = "~sending-";
constexpr std::string_view kDeliveredStart = "~delivered~";
constexpr size_t kStartDigits = 16;

// The decimal number that makes up all of `digits` and fits 32 bits.
std::optional<std::uint32_t> decimal32(std::string_view digits) {
    if (digits.empty() || digits.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// The number that the 16 hex digits of `digits` (either case) make up.
std::optional<std::uint64_t> hex64(std::string_view digits) {
    if (digits.size() != kStartDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return std::nullopt;
        value = (value << 4) | digit;
    }
    return value;
}

}  // namespace

std::string sentRecordName(TicketKind kind, std::string_view ticketId) {
    std::string name(prefixOf(kind));
    name += ticketId;
    name += ".txt";
    return name;
}

std::string recordNameCandidate(std::string_view fileName, int n) {
    if (n <= 1) return std::string(fileName);
    constexpr std::string_view kExtension = ".txt";
    const bool hasExtension = fileName.size() >= kExtension.size() &&
                              fileName.substr(fileName.size() - kExtension.size()) == kExtension;
    const std::string_view stem = hasExtension ? fileName.substr(0, fileName.size() - kExtension.size()) : fileName;
    std::string name(stem);
    name += " (";
    name += std::to_string(n);
    name += ')';
    if (hasExtension) name += kExtension;
    return name;
}

std::string sentRecordCandidate(TicketKind kind, std::string_view ticketId, int n) {
    return recordNameCandidate(sentRecordName(kind, ticketId), n);
}

std::string pendingRecordName(TicketKind kind, std::uint32_t tickCount) {
    // Written as a signed 32-bit number: after 24.8 days of uptime the name
    // carries a minus sign.
    const auto signedTicks = static_cast<std::int32_t>(tickCount);
    std::string name(prefixOf(kind));
    name += std::to_string(signedTicks);
    name += ".txt";
    return name;
}

std::optional<std::string> sentPathForPending(std::string_view pendingPath) {
    const size_t at = pendingPath.rfind(kPendingMark);
    if (at == std::string_view::npos) return std::nullopt;
    // The mark must start a path component.
    if (at > 0 && pendingPath[at - 1] != '\\') return std::nullopt;
    std::string sent(pendingPath);
    sent.replace(at, kPendingMark.size(), kSentMark);
    return sent;
}

std::string_view fileNameOf(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

PendingRoute pendingRouteFor(std::string_view fileName, DeliveryMode mode, std::string_view sendWebRpt) {
    if (fileName.empty() || (fileName.front() != 'L' && fileName.front() != 'W')) return PendingRoute::NoTicket;
    const bool lanTicket = fileName.front() == 'L';
    bool sendLan = false;
    switch (mode) {
    case DeliveryMode::Lan: sendLan = true; break;
    case DeliveryMode::Web: sendLan = false; break;
    case DeliveryMode::None: sendLan = sendWebRpt != "ON"; break;
    }
    if (lanTicket) return sendLan ? PendingRoute::Lan : PendingRoute::LeaveLan;
    return sendLan ? PendingRoute::LeaveWeb : PendingRoute::Web;
}

std::string leftPendingLine(TicketKind kind, std::size_t count, DeliveryMode mode) {
    // Each line is spelled out whole: a mode leaves only the other kind.
    const std::string left = "Pending resend left " + std::to_string(count);
    if (kind == TicketKind::Lan)
        return left + (mode == DeliveryMode::None ? " LAN ticket file(s): no delivery mode and SendWebRpt=ON"
                                                  : " LAN ticket file(s): the delivery mode is web");
    return left + (mode == DeliveryMode::None ? " web ticket file(s): no delivery mode and SendWebRpt is not ON"
                                              : " web ticket file(s): the delivery mode is LAN");
}

std::string stoppedResendLine(std::size_t waiting) {
    return "Pending resend stopped, the server gave no answer: " + std::to_string(waiting) +
           " pending file(s) wait for the next run";
}

std::string recordTemporaryName(std::uint32_t processId, std::uint32_t serial) {
    std::string name(kTemporaryStart);
    name += std::to_string(processId);
    name += '-';
    name += std::to_string(serial);
    name += kTemporaryEnd;
    return name;
}

std::optional<std::uint32_t> recordTemporaryWriter(std::string_view fileName) {
    if (fileName.size() <= kTemporaryStart.size() + kTemporaryEnd.size()) return std::nullopt;
    if (fileName.substr(0, kTemporaryStart.size()) != kTemporaryStart) return std::nullopt;
    if (fileName.substr(fileName.size() - kTemporaryEnd.size()) != kTemporaryEnd) return std::nullopt;
    const std::string_view middle =
        fileName.substr(kTemporaryStart.size(), fileName.size() - kTemporaryStart.size() - kTemporaryEnd.size());
    const size_t dash = middle.find('-');
    if (dash == std::string_view::npos || !decimal32(middle.substr(dash + 1))) return std::nullopt;
    return decimal32(middle.substr(0, dash));
}

std::string pendingClaimFolderName(const PendingClaim& claim) {
    char start[kStartDigits + 1];
    std::snprintf(start, sizeof start, "%016llx", static_cast<unsigned long long>(claim.processStart));
    std::string name(kClaimStart);
    name += std::to_string(claim.processId);
    name += '-';
    name += start;
    return name;
}

std::optional<PendingClaim> pendingClaimOf(std::string_view folderName) {
    if (folderName.substr(0, kClaimStart.size()) != kClaimStart) return std::nullopt;
    const std::string_view rest = folderName.substr(kClaimStart.size());
    const size_t dash = rest.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const std::optional<std::uint32_t> processId = decimal32(rest.substr(0, dash));
    const std::optional<std::uint64_t> processStart = hex64(rest.substr(dash + 1));
    if (!processId || !processStart) return std::nullopt;
    return PendingClaim{*processId, *processStart};
}

std::string deliveredUnmovedName(std::string_view fileName) { return std::string(kDeliveredStart) + std::string(fileName); }

std::string localDeliveryName(std::string_view licenceCode, const LocalDate& today, std::string_view fileName) {
    char date[48];
    std::snprintf(date, sizeof date, "%4d-%.2d-%.2d", today.year, today.month, today.day);
    std::string name(licenceCode);
    name += '_';
    name += date;
    name += '_';
    constexpr std::string_view from = ".txt";
    constexpr std::string_view to = ".itt";
    size_t start = 0;
    for (size_t at = fileName.find(from); at != std::string_view::npos; at = fileName.find(from, start)) {
        name += fileName.substr(start, at - start);
        name += to;
        start = at + from.size();
    }
    name += fileName.substr(start);
    return name;
}

PendingBody checkPendingBody(std::string_view bytes) {
    if (bytes.empty()) return PendingBody::Empty;
    if (bytes.find('\0') != std::string_view::npos) return PendingBody::HoldsNul;
    return PendingBody::Ready;
}

}  // namespace tiqora
