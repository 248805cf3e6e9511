// The ticket history's readers of record files and their names: whatever a
// file holds, the columns come out; a body this program wrote comes back
// member by member.
#include "core/it_ticket/ticket_rules.h"
#include "core/ticket_history/ticket_history.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(ticket_records_read) {
    if (const auto name = tiqora::recordNameOf(input)) {
        FUZZ_CHECK(!name->ticketId.empty());
        FUZZ_CHECK(name->ticketId.size() + 6 <= input.size());
    }
    tiqora::readLanRecord(input);
    const tiqora::RecordColumns web = tiqora::readWebRecord(input);
    FUZZ_CHECK(web.priority == "Low" || web.priority == "Medium" || web.priority == "High");
    tiqora::jsonObjectMembers(input);
    tiqora::isValidUtf8(input);

    // A record as the IT ticket form writes it is read back by member name,
    // every member exactly, however its values are made.
    const auto v = tiqora::fuzz::fields(input, 3);
    if (!tiqora::isValidUtf8(v[0]) || !tiqora::isValidUtf8(v[1])) return;
    tiqora::LanTicketFields fields;
    fields.issueTitle = v[0];
    fields.description = v[1];
    fields.priority = "0";
    const tiqora::RecordColumns lan = tiqora::readLanRecord(tiqora::lanTicketBody(fields));
    FUZZ_CHECK(lan.issueTitle == v[0]);
    FUZZ_CHECK(lan.description == v[1]);
    FUZZ_CHECK(lan.priority == "Low");
    FUZZ_CHECK(lan.status == "New");
    tiqora::WebTicketFields webFields;
    webFields.issueTitle = v[0];
    webFields.description = v[1];
    webFields.priority = "1";
    const tiqora::RecordColumns webBack = tiqora::readWebRecord(tiqora::webTicketBody(webFields));
    FUZZ_CHECK(webBack.issueTitle == v[0]);
    FUZZ_CHECK(webBack.description == v[1]);
    FUZZ_CHECK(webBack.priority == "Medium");
    FUZZ_CHECK(webBack.status == "New");
}
