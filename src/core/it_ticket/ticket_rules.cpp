#include "core/it_ticket/ticket_rules.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <optional>

#include "core/text/json_text.h"
#include "core/text/trim.h"

namespace tiqora {

namespace {

// One member of a body: the text that goes before it (unless it comes
// first), its key and its value (escaped when written).
struct Member {
    std::string_view separator;
    std::string_view key;
    std::string_view value;
};

// Appends `"key":"value"` for each member to a body that starts with "{",
// the value escaped.
void appendMembers(std::string& body, std::initializer_list<Member> members) {
    for (const Member& member : members) {
        if (body.size() > 1) body += member.separator;
        body += '"';
        body += member.key;
        body += "\":\"";
        body += jsonEscape(member.value);
        body += '"';
    }
}

// Counts the characters of UTF-8 text: every byte but the continuation
// bytes (10xxxxxx) starts one.
size_t characterCount(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool isAsciiPunctuationOrBlank(unsigned char b) {
    return (b >= 0x20 && b <= 0x2F) || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x60) || (b >= 0x7B && b <= 0x7E);
}

// A first character may be no blank or punctuation, "_" excepted.
bool badFirstByte(unsigned char b) { return b != '_' && isAsciiPunctuationOrBlank(b); }

// Anywhere, "+ - . @ _" are the only punctuation allowed.
bool badByteAnywhere(unsigned char b) {
    return b != '+' && b != '-' && b != '.' && b != '@' && b != '_' && isAsciiPunctuationOrBlank(b);
}

// The text of a dotted address up to its last "."; none for an address that
// must never match (empty, "0.0.0.0", or without a ".").
std::optional<std::string_view> networkPartOf(std::string_view address) {
    if (address.empty() || address == "0.0.0.0") return std::nullopt;
    const size_t dot = address.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    return address.substr(0, dot);
}

}  // namespace

std::string issueTitleFor(int selectedIndex) {
    switch (selectedIndex) {
    case 0: return "Network Issue";
    case 1: return "Software Issue";
    case 2: return "Hardware Issue";
    case 3: return "Other Issue";
    default: return "PC Issue";
    }
}

std::string priorityCodeFor(int selectedIndex) {
    switch (selectedIndex) {
    case 0: return "2";
    case 1: return "1";
    default: return "0";
    }
}

std::string issueTitleOrDefault(std::string_view title) {
    if (trimmedWhiteSpace(title).empty()) return kIssueTitleNotProvided;
    return std::string(title);
}

std::string ticketDescription(std::string_view typed) { return std::string(trimmedWhiteSpace(typed)); }

std::string submitTime(int year, int month, int day, int hour, int minute, int second) {
    char text[96];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

std::string lanTicketBody(const LanTicketFields& fields) {
    const std::string_view screenshot = fields.hasScreenshot ? std::string_view(fields.screenshotRemoteName) : "NA";
    std::string body = "{";
    appendMembers(body, {
                            {",", "LicenseNo", fields.licenceCode},
                            {",", "Ip", fields.ip},
                            {",", "ComputerName", fields.computerName},
                            {",", "UserName", fields.userName},
                            {",", "IssueTitle", fields.issueTitle},
                            {",", "Description", fields.description},
                            {",", "Priority", fields.priority},
                            {",", "Status", "New"},
                            {",", "HasScreenShot", fields.hasScreenshot ? "YES" : "NO"},
                            {",", "ScreenShotPath", screenshot},
                            {",", "TSubmitDateTime", fields.submitTime},
                        });
    body += '}';
    return body;
}

std::string webTicketBody(const WebTicketFields& fields) {
    std::string body = "{";
    appendMembers(body, {
                            {",", "CorpId", fields.corpId},
                            {",", "LicNo", fields.licenceCode},
                            {", ", "Ip", fields.ip},
                            {",", "ComputerName", fields.computerName},
                            {",", "UserName", fields.userName},
                            {",", "IssueTitle", fields.issueTitle},
                            {",", "Description", fields.description},
                            {",", "Priority", fields.priority},
                            {",", "Status", "New"},
                            {",", "TSubmitDateTime", fields.submitTime},
                        });
    if (fields.withContact) appendMembers(body, {{",", "Mobile", fields.mobile}, {",", "Email", fields.email}});
    body += '}';
    return body;
}

bool isValidTicketEmail(std::string_view email) {
    if (characterCount(email) > kTicketEmailMaxChars) return false;

    constexpr auto npos = std::string_view::npos;
    const bool hasDot = email.find('.') != npos;
    const bool hasAt = email.find('@') != npos;
    if (!hasDot && !hasAt) return false;                                          // 1
    if (hasDot && email.rfind('.') + 1 == email.size()) return false;             // 2
    if (badFirstByte(static_cast<unsigned char>(email.front()))) return false;  // 3
    for (const char c : email)                                                    // 4
        if (badByteAnywhere(static_cast<unsigned char>(c))) return false;
    const bool hasSignOrDigit = email.find_first_of("-+0123456789") != npos;
    if (!(hasDot && hasAt) && !hasSignOrDigit) return false;                      // 5
    if (std::count(email.begin(), email.end(), '@') != 1) return false;           // 6

    const size_t at = email.find('@');
    const std::string_view domain = email.substr(at + 1);
    const auto domainDots = std::count(domain.begin(), domain.end(), '.');
    if (domain.starts_with('.') || domain.find("..") != npos || (domainDots != 1 && domainDots != 2))
        return false;  // 7
    if (at == 0) return false;  // 8

    // 9: some "." of the domain, not the one right after the "@", has at
    // least two characters after it.
    for (size_t dot = domain.find('.', 1); dot != npos; dot = domain.find('.', dot + 1))
        if (characterCount(domain.substr(dot + 1)) >= 2) return true;
    return false;
}

std::string machineIpFrom(const std::vector<AdapterAddresses>& adapters) {
    for (const AdapterAddresses& adapter : adapters) {
        const auto gatewayNetwork = networkPartOf(adapter.gateway);
        if (!gatewayNetwork) continue;
        for (const std::string& address : adapter.addresses)
            if (networkPartOf(address) == gatewayNetwork) return address;
    }
    return {};
}

}  // namespace tiqora
