#include "itticket/ticket_records.h"

#include <cstdio>

namespace tiqora {

namespace {

constexpr std::string_view kPendingMark = "IT TICKET\\P\\";
constexpr std::string_view kSentMark = "IT TICKET\\S\\";

std::string_view prefixOf(TicketKind kind) { return kind == TicketKind::Lan ? "L_" : "W_"; }

}  // namespace

std::string sentRecordName(TicketKind kind, std::string_view ticketId) {
    std::string name(prefixOf(kind));
    name += ticketId;
    name += ".txt";
    return name;
}

std::string sentRecordCandidate(TicketKind kind, std::string_view ticketId, int n) {
    if (n <= 1) return sentRecordName(kind, ticketId);
    std::string name(prefixOf(kind));
    name += ticketId;
    name += " (";
    name += std::to_string(n);
    name += ").txt";
    return name;
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

PendingRoute pendingRouteFor(std::string_view fileName, std::string_view sendWebRpt) {
    if (fileName.empty()) return PendingRoute::LeaveAlone;
    const bool webOn = sendWebRpt == "ON";
    if (fileName.front() == 'W' && webOn) return PendingRoute::Web;
    if (fileName.front() == 'L' && !webOn) return PendingRoute::Lan;
    return PendingRoute::LeaveAlone;
}

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
