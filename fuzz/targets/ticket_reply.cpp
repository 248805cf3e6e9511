// The LAN server's and the web console's answers to a new ticket.
#include "core/it_ticket/ticket_reply.h"
#include "core/text/ascii_case.h"
#include "fuzz_target.h"

namespace {

void checkReceipt(const tiqora::TicketReceipt& receipt) {
    if (!receipt.delivered) FUZZ_CHECK(!receipt.hasData && receipt.ticketId.empty() && receipt.ticketGuid.empty());
    if (!receipt.hasData) FUZZ_CHECK(receipt.ticketId.empty() && receipt.ticketGuid.empty());
    FUZZ_CHECK(receipt.ticketId.find('"') == std::string::npos);
    FUZZ_CHECK(receipt.ticketGuid.find_first_of("\"}") == std::string::npos);
    if (!receipt.ticketId.empty()) {
        FUZZ_CHECK(receipt.ticketId.front() != ' ' && receipt.ticketId.back() != ' ');
    }
    for (const std::string* text : {&receipt.ticketId, &receipt.ticketGuid})
        for (char c : *text) FUZZ_CHECK(!(c >= 'A' && c <= 'Z'));
    // A text that may name a file holds nothing a file name or ini key cannot.
    for (const std::string* text : {&receipt.ticketId, &receipt.ticketGuid})
        if (tiqora::isSafeRecordText(*text))
            FUZZ_CHECK(text->find_first_of("\\/:*?\"<>|=[];") == std::string::npos &&
                       text->find("..") == std::string::npos);
}

}  // namespace

TIQORA_FUZZ_TARGET(ticket_reply) {
    checkReceipt(tiqora::readLanTicketReply(input));
    checkReceipt(tiqora::readWebTicketReply(input));
    FUZZ_CHECK(tiqora::toLowerAscii(input).size() == input.size());
    tiqora::lanIdIsListed(input);
}
