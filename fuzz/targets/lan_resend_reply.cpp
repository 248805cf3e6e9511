// The LAN server's answer to a re-sent ticket ("status").
#include "core/it_ticket/lan_reply.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(lan_resend_reply) {
    const bool delivered = tiqora::lanReplyDelivered(input);
    if (delivered) FUZZ_CHECK(input.find("status") != std::string_view::npos);
}
