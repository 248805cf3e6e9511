// The command line: its tail, the mode, the single-instance guard names, the
// reply argument.
#include "core/app/command_line.h"
#include "core/reply_popup/reply_argument.h"
#include "core/text/ascii_case.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(command_line) {
    const std::string tail = tiqora::commandLineTail(input);
    FUZZ_CHECK(tail.size() <= input.size());
    tiqora::modeForTail(tail);
    tiqora::guardKindForTail(tail);
    const std::string mutexName = tiqora::guardMutexName(tail);
    const tiqora::ReplyArgument reply = tiqora::replyArgumentOf(tail);
    for (const std::string* field : {&reply.ticketId, &reply.ticketGuid}) FUZZ_CHECK(field->find(',') == std::string::npos);
    FUZZ_CHECK(tiqora::chatWindowMarker(tail) == "IT Ticket | " + reply.ticketId + " ");
    const auto parts = tiqora::fuzz::fields(input, 2);
    if (tiqora::equalsIgnoreAsciiCase(parts[0], parts[1])) FUZZ_CHECK(parts[0].size() == parts[1].size());
    if (tiqora::containsIgnoreAsciiCase(parts[0], parts[1])) FUZZ_CHECK(parts[1].size() <= parts[0].size());
}
