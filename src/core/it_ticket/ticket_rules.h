// The rules of the IT ticket form, free of Windows headers so they are tested
// natively: what the drop-down lists send, how the title and description are
// prepared, the submit time, the JSON bodies for the LAN server and the web
// console, the check of the contact e-mail address, and the machine IP taken
// from the adapter list. Text is UTF-8 throughout.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tiqora {

// The issue title list: 0 "Network Issue", 1 "Software Issue", 2 "Hardware
// Issue", 3 "Other Issue"; any other index (4, -1 for no selection, anything
// else) "PC Issue".
std::string issueTitleFor(int selectedIndex);

// The priority list (High, Medium, Low): 0 gives "2", 1 gives "1", any other
// index "0".
std::string priorityCodeFor(int selectedIndex);

// The agents the tickets travel with: the web console's and the LAN
// server's.
inline constexpr char kWebTicketAgent[] = "Tiqora";
inline constexpr char kLanTicketAgent[] = "SystemAdmin-Ticket";

// The title the servers expect when none was given (their spelling).
inline constexpr char kIssueTitleNotProvided[] = "Not Provied";

// The issue title as sent: an empty or all-white-space title (blank, tab, CR,
// LF, VT, FF) becomes kIssueTitleNotProvided; any other title is sent as it
// is, untrimmed.
std::string issueTitleOrDefault(std::string_view title);

// The description as sent: white space (blank, tab, CR, LF, VT, FF) trimmed
// at both ends; nothing else changes, so inner line breaks and backslashes
// stay as typed (the body's JSON escaping is the only escaping). An empty
// result is a description the form refuses.
std::string ticketDescription(std::string_view typed);

// "%d-%02d-%02d %02d:%02d:%02d", e.g. "2024-03-07 09:05:03".
std::string submitTime(int year, int month, int day, int hour, int minute, int second);

// What a ticket for the LAN server carries, all UTF-8.
struct LanTicketFields {
    std::string licenceCode, ip, computerName, userName, issueTitle, description, priority, submitTime;
    bool hasScreenshot = false;
    std::string screenshotRemoteName;  // used only with hasScreenshot
};

// The LAN server's body: one JSON object on one line, no blank between
// members, in this order: LicenseNo, Ip, ComputerName, UserName, IssueTitle,
// Description, Priority, Status ("New"), HasScreenShot ("YES" / "NO"),
// ScreenShotPath (the remote name, or "NA" without a screenshot),
// TSubmitDateTime. Every value is escaped with jsonEscape, so any text gives
// a well-formed body from which a JSON parser reads back every value exactly,
// and nothing is cut.
std::string lanTicketBody(const LanTicketFields& fields);

// What a ticket for the web console carries, all UTF-8.
struct WebTicketFields {
    std::string corpId, licenceCode, ip, computerName, userName, issueTitle, description, priority, submitTime;
    bool withContact = false;
    std::string mobile, email;  // used only withContact
};

// The web console's body: one JSON object on one line, in this order:
// CorpId, LicNo, Ip, ComputerName, UserName, IssueTitle, Description,
// Priority, Status ("New"), TSubmitDateTime, then Mobile and Email when the
// contact fields are in use. A single blank follows the comma after LicNo
// (the console has always received it so); there is none anywhere else.
// Values are escaped as in lanTicketBody.
std::string webTicketBody(const WebTicketFields& fields);

// The longest contact e-mail address the form takes, in characters (Unicode
// code points of the UTF-8 text).
inline constexpr std::size_t kTicketEmailMaxChars = 99;

// The form's check of the contact customer's e-mail address (UTF-8); true
// when it is acceptable. Longer than kTicketEmailMaxChars characters:
// invalid. Otherwise invalid at the first of these that holds:
//  1. it has neither "." nor "@" (an empty address);
//  2. nothing follows its last ".";
//  3. it starts with a blank or ASCII punctuation other than "_";
//  4. it holds a blank or ASCII punctuation other than "+ - . @ _" anywhere
//     (letters, digits, control bytes and every byte of a non-ASCII
//     character pass);
//  5. it lacks "." or "@" (or both) and has no "-", "+" or digit;
//  6. "@" does not occur exactly once;
//  7. after the "@": a "." right after it, two "." in a row, or a number of
//     "." other than 1 or 2;
//  8. "@" is the first character;
//  9. no "." after the "@" has at least two characters after it.
bool isValidTicketEmail(std::string_view email);

// One network adapter as the adapter list reports it.
struct AdapterAddresses {
    std::string gateway;                 // first gateway address of the adapter, dotted; may be empty or "0.0.0.0"
    std::vector<std::string> addresses;  // its IP addresses in order, dotted
};

// The machine IP: for each adapter in order, for each of its addresses in
// order, the first address whose text up to (not including) its last "."
// equals the gateway's text up to its last ".". An address or gateway that
// is empty, "0.0.0.0" or holds no "." never matches (Wine lists adapters
// whose address and gateway are both 0.0.0.0 first). Empty when none matches.
std::string machineIpFrom(const std::vector<AdapterAddresses>& adapters);

}  // namespace tiqora
