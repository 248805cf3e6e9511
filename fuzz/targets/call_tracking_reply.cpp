// The call-tracking service's answer to a support request, and the history
// record made of it.
#include "fuzz_target.h"
#include "support/request_rules.h"

TIQORA_FUZZ_TARGET(call_tracking_reply) {
    const auto parts = tiqora::fuzz::fields(input, 4);
    const tiqora::ReplyOutcome outcome = tiqora::judgeCallTrackingReply(parts[0]);
    if (outcome == tiqora::ReplyOutcome::Accepted) FUZZ_CHECK(parts[0].find("CT") != std::string::npos);
    const std::string record = tiqora::historyRecord(parts[1], parts[0], parts[2], parts[3]);
    FUZZ_CHECK(!record.empty() && record.back() == '\n');
}
