// Reading the servers' answers to a new IT ticket, free of Windows headers so
// it is tested natively. The LAN server and the web console both confirm a
// ticket with a phrase and hand back its id and GUID in a "data" member whose
// value reads "<id>$<guid>"; both readers take them out the same way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tiqora {

struct TicketReceipt {
    bool delivered = false;  // the server's phrase was found
    bool hasData = false;    // a "data" member was found (in the lower-cased reply)
    std::string ticketId;    // lower case
    std::string ticketGuid;  // lower case
};

// The LAN server's reply (up to 21000 bytes): lower-cased (ASCII A-Z only,
// every other byte unchanged), it is delivered when it holds "request added
// successfully".
//
// For a delivered reply the id and GUID come from the lower-cased text: the
// first "data", then the text after the next ":" up to the next "," (or the
// end) is the value. The id is the value up to "$" (all of it without a "$")
// with every double quote removed and white space trimmed at both ends. The
// GUID is the value after "$" (without a "$": the value less its first
// character) with every "}" and double quote removed. No ":" after "data":
// both empty. A reply not delivered gives no id, GUID or data.
TicketReceipt readLanTicketReply(std::string_view reply);

// The web console's reply: delivered when it holds "Ticket Created
// Successfully" exactly as received (case matters); the id and GUID are read
// from a lower-cased copy as for readLanTicketReply.
TicketReceipt readWebTicketReply(std::string_view reply);

// The longest LAN ticket id kept in the ticket list of Tiqora.ini, in bytes.
inline constexpr std::size_t kListedLanIdMaxBytes = 15;

// Whether the LAN server's ticket id goes into the ticket list of
// Tiqora.ini: at most kListedLanIdMaxBytes bytes and not holding "null". An
// empty id passes here; whether there is an id at all is the caller's check.
bool lanIdIsListed(std::string_view ticketId);

// Whether a text a server sent may go into a record file's name or be an
// ini key or value: false when it holds any of \ / : * ? " < > | = [ ] ; or a
// control byte (below 0x20, or 0x7F), or "..". Bytes from 0x80 up (UTF-8
// letters) are fine. An empty text passes: whether an empty text is
// acceptable is the caller's check.
bool isSafeRecordText(std::string_view text);

}  // namespace tiqora
