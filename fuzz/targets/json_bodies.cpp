// The JSON bodies of IT tickets and feedback: whatever the values hold, the
// body parses back to exactly its members and values, byte for byte.
#include "core/feedback/feedback_body.h"
#include "core/it_ticket/ticket_rules.h"
#include "fuzz_target.h"
#include "harness/flat_json.h"

namespace {

void checkBody(const std::string& body, const std::vector<std::pair<const char*, std::string>>& expected) {
    const auto members = tiqora::test::parseFlatJson(body);
    FUZZ_CHECK(members.has_value());
    FUZZ_CHECK(members->size() == expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        FUZZ_CHECK((*members)[i].first == expected[i].first);
        FUZZ_CHECK((*members)[i].second == expected[i].second);
    }
}

}  // namespace

TIQORA_FUZZ_TARGET(json_bodies) {
    const auto v = tiqora::fuzz::fields(input, 12);
    tiqora::WebTicketFields web{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], !v[9].empty(), v[10], v[11]};
    std::vector<std::pair<const char*, std::string>> webMembers = {
        {"CorpId", v[0]},      {"LicNo", v[1]},       {"Ip", v[2]},    {"ComputerName", v[3]},
        {"UserName", v[4]},    {"IssueTitle", v[5]},  {"Description", v[6]}, {"Priority", v[7]},
        {"Status", "New"},     {"TSubmitDateTime", v[8]}};
    if (web.withContact) {
        webMembers.emplace_back("Mobile", v[10]);
        webMembers.emplace_back("Email", v[11]);
    }
    checkBody(tiqora::webTicketBody(web), webMembers);

    tiqora::LanTicketFields lan{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], !v[9].empty(), v[10]};
    checkBody(tiqora::lanTicketBody(lan),
              {{"LicenseNo", v[0]},
               {"Ip", v[1]},
               {"ComputerName", v[2]},
               {"UserName", v[3]},
               {"IssueTitle", v[4]},
               {"Description", v[5]},
               {"Priority", v[6]},
               {"Status", "New"},
               {"HasScreenShot", lan.hasScreenshot ? "YES" : "NO"},
               {"ScreenShotPath", lan.hasScreenshot ? v[10] : "NA"},
               {"TSubmitDateTime", v[7]}});

    tiqora::FeedbackBodyFields feedback{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]};
    checkBody(tiqora::buildFeedbackBody(feedback),
              {{"Customeremail", v[0]}, {"Customerkey", v[1]}, {"city", v[2]}, {"cusname", v[3]},
               {"district", v[4]}, {"fromname", "Tiqora FeedBack"}, {"issuetype", v[5]}, {"mobile", v[6]},
               {"yourname", v[3]}, {"expiryDate", v[7]}, {"OSVersion", v[8]}, {"feedbackrating", v[9]},
               {"feedbackdescription", v[10]}});
}
