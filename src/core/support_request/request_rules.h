// The rules of a support request, free of Windows headers so they are tested
// natively: the form's validation, the values derived for the call-tracking
// service, the request body, and how a reply is judged. Text is UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tiqora {

// What the form holds when Submit is pressed.
struct RequestInput {
    std::string name;
    std::string mobile;
    std::string email;
    std::string city;
    std::string state;
    std::string description;
    int customerTypeIndex = -1;  // -1: none chosen
    int issueTypeIndex = -1;     // -1: none chosen
    std::string issueTypeText;   // the chosen item's text
};

// A field whose fault the form marks (focus and highlight).
enum class RequestField { None, Name, Mobile, Email };

struct RequestCheck {
    bool valid = false;
    std::string message;                     // the first fault's message; empty when valid
    RequestField field = RequestField::None; // the field to focus and mark, if any
    // The fields whose check ran and passed: their marks are cleared.
    bool nameChecked = false, mobileChecked = false, emailChecked = false;
    // Cleaned values the request goes on with.
    std::string city, state, description;
};

// Checks in the form's order; the first fault wins. Empty city and state
// become "N.A" and "NA"; line breaks leave the description, which is trimmed.
RequestCheck checkRequest(const RequestInput& input);

// "@" and "." present, at least 6 characters, no blank.
bool isAcceptableEmail(std::string_view email);

// The derived values of the request.
std::string customerTypeCode(int customerTypeIndex);  // "H", "O" or "C"
std::string departmentFor(int issueTypeIndex);         // "Reactivation", "Activation", "TS-SSO"
std::string problemText(std::string_view issueTypeText, std::string_view description);

// Percent-encodes the bytes that would change a form value's meaning for a
// form decoder: '%', '&', '=', '+', control bytes and every byte of a
// non-ASCII (UTF-8) character. Every other byte stays as typed.
std::string formEncode(std::string_view value);

struct CallTrackingRequest {
    std::string name, mobile, email, city, state, description, licenceCode;
    int customerTypeIndex = -1;
    int issueTypeIndex = -1;
    std::string issueTypeText;
};

// The form body for the call-tracking service, keys and constants in their
// fixed order, each value form-encoded.
std::string callTrackingBody(const CallTrackingRequest& request);

// How the service's reply is taken. The service confirms a request with its
// call-tracking marker: "CT" (not the end of a longer word or number), any
// number of blanks, ":" and the id, e.g. "CT : 4711". Any other reply, also
// one that merely holds the letters "CT" ("CONNECTION REFUSED" from a proxy,
// "CONNECT: ..."), is no confirmation.
enum class ReplyOutcome {
    NoConnection,  // no marker: the connection message, nothing recorded
    ErrorPage,     // an HTML error page ("!DOCTYPE")
    Accepted,      // the marker, and "CT : " in the reply: recorded and thanked
    AcceptedUnrecorded,  // the marker without "CT : " (e.g. "CT:4711"): thanked, not recorded
};
ReplyOutcome judgeCallTrackingReply(std::string_view reply);

// "<date>#<reply>#<problem>#<mobile>\n", the record of the request history:
// one line of four fields, whatever the texts hold. In each field every
// control character (line breaks among them) becomes a blank and every "#"
// is left out, so the record always reads back as the same four fields.
std::string historyRecord(std::string_view date, std::string_view reply, std::string_view problem,
                          std::string_view mobile);

// The key of the next record for a stored "CNT" of `storedCount`: the
// number after it (1 for a missing, zero or damaged negative count); none
// when no number follows it (a damaged count at the integer limit).
std::optional<int> nextHistoryKey(int storedCount);

// "%d Characters Remaining" for a description of `length` characters (line
// breaks count two) out of 256.
std::string remainingCharactersText(int length);

inline constexpr int kDescriptionLimit = 256;
inline constexpr int kMobileLimit = 12;

}  // namespace tiqora
