// The call-tracking service's answer to a support request, and the history
// record made of it: whatever the texts hold, the record is one line of
// exactly four '#'-separated fields.
#include <algorithm>

#include "core/support_request/request_rules.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(call_tracking_reply) {
    const auto parts = tiqora::fuzz::fields(input, 4);
    const tiqora::ReplyOutcome outcome = tiqora::judgeCallTrackingReply(parts[0]);
    if (outcome == tiqora::ReplyOutcome::Accepted) FUZZ_CHECK(parts[0].find("CT : ") != std::string::npos);
    if (outcome == tiqora::ReplyOutcome::AcceptedUnrecorded) FUZZ_CHECK(parts[0].find(':') != std::string::npos);
    const std::string record = tiqora::historyRecord(parts[1], parts[0], parts[2], parts[3]);
    FUZZ_CHECK(!record.empty() && record.back() == '\n');
    FUZZ_CHECK(std::count(record.begin(), record.end(), '#') == 3);
    FUZZ_CHECK(std::none_of(record.begin(), record.end() - 1, [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    }));
}
