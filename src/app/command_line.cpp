#include "app/command_line.h"

#include <algorithm>
#include <iterator>

namespace tiqora {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(char a, char b) { return asciiLower(a) == asciiLower(b); }

}  // namespace

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), sameIgnoringCase);
}

bool containsIgnoreAsciiCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), sameIgnoringCase) != text.end();
}

std::string commandLineTail(std::string_view commandLine) {
    const auto slash = commandLine.rfind('/');
    if (slash == std::string_view::npos) return {};
    return std::string(commandLine.substr(slash));
}

Mode modeForTail(std::string_view tail) {
    if (equalsIgnoreAsciiCase(tail, "/feedback")) return Mode::Feedback;
    if (equalsIgnoreAsciiCase(tail, "/sys")) return Mode::ItTicket;
    if (containsIgnoreAsciiCase(tail, "/SAReply=L")) return Mode::ReplyLan;
    if (containsIgnoreAsciiCase(tail, "/SAReply=C")) return Mode::ReplyWeb;
    if (equalsIgnoreAsciiCase(tail, "/sysp")) return Mode::PendingResend;
    return Mode::SupportRequest;
}

GuardKind guardKindForTail(std::string_view tail) {
    if (tail.empty() || equalsIgnoreAsciiCase(tail, "/sys") || equalsIgnoreAsciiCase(tail, "/feedback") ||
        equalsIgnoreAsciiCase(tail, "/sysp"))
        return GuardKind::Shared;
    if (containsIgnoreAsciiCase(tail, "/SAReply=L") || containsIgnoreAsciiCase(tail, "/SAReply=C"))
        return GuardKind::Reply;
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

ReplyArgument replyArgumentOf(std::string_view tail) {
    ReplyArgument argument;
    switch (modeForTail(tail)) {
    case Mode::ReplyLan: argument.kind = ReplyKind::Lan; break;
    case Mode::ReplyWeb: argument.kind = ReplyKind::Web; break;
    default: argument.kind = ReplyKind::None; break;
    }
    // Field 1 is the switch itself; fields 2 and 3 are kept.
    std::string* const kept[] = {nullptr, &argument.ticketId, &argument.ticketGuid};
    size_t taken = 0;
    size_t start = 0;
    while (taken < std::size(kept)) {
        const size_t comma = tail.find(',', start);
        const size_t end = comma == std::string_view::npos ? tail.size() : comma;
        if (end > start) {
            if (kept[taken]) *kept[taken] = std::string(tail.substr(start, end - start));
            ++taken;
        }
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return argument;
}

std::string chatWindowMarker(std::string_view tail) { return "IT Ticket | " + replyArgumentOf(tail).ticketId + " "; }

}  // namespace tiqora
