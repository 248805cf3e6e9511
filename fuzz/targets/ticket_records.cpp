// Ticket record names and paths: the resend's mapping from the pending folder
// to the sent folder, its route, the temporaries' names and the local
// delivery name, and the claims a resend run puts on the files it sends.
#include "core/it_ticket/ticket_records.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(ticket_records) {
    const auto parts = tiqora::fuzz::fields(input, 3);
    if (const auto sent = tiqora::sentPathForPending(parts[0])) {
        FUZZ_CHECK(sent->size() == parts[0].size());
        FUZZ_CHECK(tiqora::fileNameOf(*sent) == tiqora::fileNameOf(parts[0]));
    }
    for (const auto mode : {tiqora::DeliveryMode::Lan, tiqora::DeliveryMode::Web, tiqora::DeliveryMode::None})
        tiqora::pendingRouteFor(tiqora::fileNameOf(parts[0]), mode, parts[1]);
    if (const auto writer = tiqora::recordTemporaryWriter(parts[0]))
        FUZZ_CHECK(tiqora::recordTemporaryName(*writer, 1).size() <= parts[0].size());
    if (const auto claim = tiqora::pendingClaimOf(parts[0])) {
        const auto again = tiqora::pendingClaimOf(tiqora::pendingClaimFolderName(*claim));
        FUZZ_CHECK(again && again->processId == claim->processId && again->processStart == claim->processStart);
    }
    const std::string local = tiqora::localDeliveryName(parts[1], {2026, 12, 10}, parts[2]);
    FUZZ_CHECK(local.size() >= parts[1].size() + parts[2].size());
    const auto body = tiqora::checkPendingBody(parts[2]);
    if (body == tiqora::PendingBody::Ready) FUZZ_CHECK(parts[2].find('\0') == std::string::npos);
    const std::string candidate = tiqora::sentRecordCandidate(tiqora::TicketKind::Lan, parts[1], 2);
    FUZZ_CHECK(candidate.size() == parts[1].size() + 10);
}
