#include "app/command_line.h"

#include <algorithm>

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

std::string chatWindowMarker(std::string_view tail) {
    // Plain split at each comma: the ticket id is what stands between the
    // first and the second comma (empty when there is no first comma).
    std::string_view field;
    if (const auto first = tail.find(','); first != std::string_view::npos) {
        const auto rest = tail.substr(first + 1);
        field = rest.substr(0, rest.find(','));
    }
    return "IT Ticket | " + std::string(field) + " ";
}

}  // namespace tiqora
