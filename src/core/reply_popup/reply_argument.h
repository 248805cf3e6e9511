// The reply argument of a reply notification ("/SAReply=L,<ticket id>,<GUID>"
// or "/SAReply=C,..."), read the one way that start-up (the mode, the chat
// check) and the popup (the text, the page) all use. Free of Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace tiqora {

// Which page a reply leads to: a ticket on the LAN server ("/SAReply=L"), one
// on the web console ("/SAReply=C"), or none. The switch is found anywhere in
// the tail with the case of its letters ignored; "L" is looked for first.
enum class ReplyKind { Lan, Web, None };
ReplyKind replyKindOf(std::string_view tail);

// The fields are split at commas; consecutive commas count as one
// separator, so an empty field is skipped and the later ones move up;
// fields past the third are ignored; a missing field is empty.
struct ReplyArgument {
    ReplyKind kind = ReplyKind::None;
    std::string ticketId;    // the second field
    std::string ticketGuid;  // the third field
};
ReplyArgument replyArgumentOf(std::string_view tail);

}  // namespace tiqora
