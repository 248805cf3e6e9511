#include "core/reply_popup/reply_argument.h"

#include <iterator>

#include "core/text/ascii_case.h"

namespace tiqora {

ReplyKind replyKindOf(std::string_view tail) {
    if (containsIgnoreAsciiCase(tail, "/SAReply=L")) return ReplyKind::Lan;
    if (containsIgnoreAsciiCase(tail, "/SAReply=C")) return ReplyKind::Web;
    return ReplyKind::None;
}

ReplyArgument replyArgumentOf(std::string_view tail) {
    ReplyArgument argument;
    argument.kind = replyKindOf(tail);
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

}  // namespace tiqora
