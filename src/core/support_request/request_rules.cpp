#include "core/support_request/request_rules.h"

#include <algorithm>
#include <limits>
#include "core/text/trim.h"

namespace tiqora {

namespace {

bool hasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

RequestCheck fault(RequestCheck check, std::string message, RequestField field = RequestField::None) {
    check.valid = false;
    check.message = std::move(message);
    check.field = field;
    return check;
}

bool isAsciiAlphanumeric(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Whether the reply holds the call-tracking marker: "CT" that does not end a
// longer word, blanks, ":".
bool holdsCallTrackingMarker(std::string_view reply) {
    for (size_t at = reply.find("CT"); at != std::string_view::npos; at = reply.find("CT", at + 1)) {
        if (at > 0 && isAsciiAlphanumeric(reply[at - 1])) continue;
        size_t next = at + 2;
        while (next < reply.size() && (reply[next] == ' ' || reply[next] == '\t')) ++next;
        if (next < reply.size() && reply[next] == ':') return true;
    }
    return false;
}

// A field of a history record: control characters become blanks, "#" goes.
void appendRecordField(std::string& record, std::string_view field) {
    for (const char c : field) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '#') continue;
        record += byte < 0x20 || byte == 0x7F ? ' ' : c;
    }
}

}  // namespace

bool isAcceptableEmail(std::string_view email) {
    return contains(email, "@") && contains(email, ".") && email.size() >= 6 && !contains(email, " ");
}

RequestCheck checkRequest(const RequestInput& input) {
    RequestCheck check;
    if (hasDigit(input.name)) return fault(check, "Enter valid name");
    if (hasDigit(input.city)) return fault(check, "Enter valid City");
    check.city = input.city.empty() ? "N.A" : input.city;
    if (hasDigit(input.state)) return fault(check, "Enter valid State");
    check.state = input.state.empty() ? "NA" : input.state;

    std::string description;
    for (char c : input.description)
        if (c != '\r' && c != '\n') description += c;
    check.description = std::string(trimmedWhiteSpace(description));
    if (check.description.empty()) return fault(check, "Invalid issue Description");

    check.nameChecked = true;
    if (input.name.empty()) return fault(check, "Please enter valid Name", RequestField::Name);
    check.mobileChecked = true;
    if (input.mobile.size() < 10) return fault(check, "Please enter valid Mobile no", RequestField::Mobile);
    check.emailChecked = true;
    if (!isAcceptableEmail(input.email)) return fault(check, "Please enter valid EmailId ", RequestField::Email);
    if (input.issueTypeIndex < 0) return fault(check, "Select the Issue Type");
    check.valid = true;
    return check;
}

std::string customerTypeCode(int customerTypeIndex) {
    switch (customerTypeIndex) {
    case 1: return "O";
    case 2: return "C";
    default: return "H";
    }
}

std::string departmentFor(int issueTypeIndex) {
    switch (issueTypeIndex) {
    case 0: return "Reactivation";
    case 1: return "Activation";
    default: return "TS-SSO";
    }
}

std::string problemText(std::string_view issueTypeText, std::string_view description) {
    std::string problem(issueTypeText);
    for (char& c : problem)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    problem += " - ";
    problem += description;
    return problem;
}

std::string formEncode(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(value.size());
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        const bool escape = c == '%' || c == '&' || c == '=' || c == '+' || byte < 0x20 || byte >= 0x7F;
        if (!escape) {
            encoded += c;
            continue;
        }
        encoded += '%';
        encoded += kHex[byte >> 4];
        encoded += kHex[byte & 0x0F];
    }
    return encoded;
}

std::string callTrackingBody(const CallTrackingRequest& r) {
    const std::string problem = problemText(r.issueTypeText, r.description);
    std::string body;
    auto field = [&](std::string_view key, std::string_view value) {
        if (!body.empty()) body += '&';
        body += key;
        body += '=';
        body += formEncode(value);
    };
    field("CustName", r.name);
    field("CustMobNo", r.mobile);
    field("CustEmailID", r.email);
    field("CustType", customerTypeCode(r.customerTypeIndex));
    field("State", r.state);
    field("Dist", r.city);
    field("City", r.city);
    field("Problem", problem);
    body += "&UserID=241";
    field("AssignToDept", departmentFor(r.issueTypeIndex));
    body += "&POC=12";
    field("LicenseKey", r.licenceCode);
    body += "&ReceivedVia=11";
    return body;
}

ReplyOutcome judgeCallTrackingReply(std::string_view reply) {
    if (contains(reply, "!DOCTYPE")) return ReplyOutcome::ErrorPage;
    if (!holdsCallTrackingMarker(reply)) return ReplyOutcome::NoConnection;
    return contains(reply, "CT : ") ? ReplyOutcome::Accepted : ReplyOutcome::AcceptedUnrecorded;
}

std::string historyRecord(std::string_view date, std::string_view reply, std::string_view problem,
                          std::string_view mobile) {
    std::string record;
    appendRecordField(record, date);
    record += '#';
    appendRecordField(record, reply);
    record += '#';
    appendRecordField(record, problem);
    record += '#';
    appendRecordField(record, mobile);
    record += '\n';
    return record;
}

std::optional<int> nextHistoryKey(int storedCount) {
    if (storedCount < 0) return 1;
    if (storedCount == std::numeric_limits<int>::max()) return std::nullopt;
    return storedCount + 1;
}

std::string remainingCharactersText(int length) {
    return std::to_string(kDescriptionLimit - length) + " Characters Remaining";
}

}  // namespace tiqora
