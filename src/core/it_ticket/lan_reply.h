// Reading the LAN server's answer to a re-sent ticket. The server answers a
// JSON object whose "status" member is 1 when it took the ticket; some
// servers quote it ("1"), and it may stand anywhere in the object, the last
// member included. A gateway in between may answer with an HTML error page
// instead, which never counts as delivered.
#pragma once

#include <string_view>

namespace tiqora {

// True when the reply is a JSON object whose top-level "status" member is
// the number 1 or the string "1". An empty reply, an HTML error page, a reply
// that is no JSON object, or one without that member: false. A reply cut
// short after the member still counts; members after it are not read.
bool lanReplyDelivered(std::string_view reply);

}  // namespace tiqora
