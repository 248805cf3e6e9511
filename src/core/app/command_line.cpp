#include "core/app/command_line.h"

#include "core/reply_popup/reply_argument.h"
#include "core/text/ascii_case.h"

namespace tiqora {

std::string commandLineTail(std::string_view commandLine) {
    const auto slash = commandLine.rfind('/');
    if (slash == std::string_view::npos) return {};
    return std::string(commandLine.substr(slash));
}

Mode modeForTail(std::string_view tail) {
    if (equalsIgnoreAsciiCase(tail, "/feedback")) return Mode::Feedback;
    if (equalsIgnoreAsciiCase(tail, "/sys")) return Mode::ItTicket;
    switch (replyKindOf(tail)) {
    case ReplyKind::Lan: return Mode::ReplyLan;
    case ReplyKind::Web: return Mode::ReplyWeb;
    case ReplyKind::None: break;
    }
    if (equalsIgnoreAsciiCase(tail, "/sysp")) return Mode::PendingResend;
    return Mode::SupportRequest;
}

GuardKind guardKindForTail(std::string_view tail) {
    if (tail.empty() || equalsIgnoreAsciiCase(tail, "/sys") || equalsIgnoreAsciiCase(tail, "/feedback") ||
        equalsIgnoreAsciiCase(tail, "/sysp"))
        return GuardKind::Shared;
    if (replyKindOf(tail) != ReplyKind::None) return GuardKind::Reply;
    return GuardKind::None;
}

std::string guardMutexName(std::string_view tail) {
    switch (guardKindForTail(tail)) {
    case GuardKind::Shared: return std::string(kSharedMutexName);
    case GuardKind::Reply: return "Message " + std::string(tail);
    case GuardKind::None: break;
    }
    return {};
}

std::string chatWindowMarker(std::string_view tail) { return "IT Ticket | " + replyArgumentOf(tail).ticketId + " "; }

}  // namespace tiqora
