#include "core/it_ticket/ticket_reply.h"

#include <algorithm>

#include "core/text/ascii_case.h"
#include "core/text/trim.h"

namespace tiqora {

namespace {

constexpr std::string_view kLanPhrase = "request added successfully";
constexpr std::string_view kWebPhrase = "Ticket Created Successfully";

std::string withoutAny(std::string_view text, std::string_view dropped) {
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text)
        if (dropped.find(c) == std::string_view::npos) kept += c;
    return kept;
}

// Fills hasData, the id and the GUID from the lower-cased reply of a
// delivered ticket.
void readData(std::string_view lower, TicketReceipt& receipt) {
    const size_t data = lower.find("data");
    if (data == std::string_view::npos) return;
    receipt.hasData = true;
    const size_t colon = lower.find(':', data);
    if (colon == std::string_view::npos) return;
    const std::string_view rest = lower.substr(colon + 1);
    const std::string_view value = rest.substr(0, rest.find(','));
    if (value.empty()) return;

    const size_t dollar = value.find('$');
    const std::string_view idPart = value.substr(0, dollar);
    const std::string_view guidPart = dollar == std::string_view::npos ? value.substr(1) : value.substr(dollar + 1);
    receipt.ticketId = std::string(trimmedWhiteSpace(withoutAny(idPart, "\"")));
    receipt.ticketGuid = withoutAny(guidPart, "}\"");
}

}  // namespace

TicketReceipt readLanTicketReply(std::string_view reply) {
    TicketReceipt receipt;
    const std::string lower = toLowerAscii(reply);
    receipt.delivered = lower.find(kLanPhrase) != std::string::npos;
    if (receipt.delivered) readData(lower, receipt);
    return receipt;
}

TicketReceipt readWebTicketReply(std::string_view reply) {
    TicketReceipt receipt;
    receipt.delivered = reply.find(kWebPhrase) != std::string_view::npos;
    if (receipt.delivered) readData(toLowerAscii(reply), receipt);
    return receipt;
}

bool lanIdIsListed(std::string_view ticketId) {
    return ticketId.size() <= kListedLanIdMaxBytes && ticketId.find("null") == std::string_view::npos;
}

bool isSafeRecordText(std::string_view text) {
    constexpr std::string_view kForbidden = "\\/:*?\"<>|=[];";
    const bool badByte = std::any_of(text.begin(), text.end(), [&](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || kForbidden.find(c) != std::string_view::npos;
    });
    return !badByte && text.find("..") == std::string_view::npos;
}

}  // namespace tiqora
