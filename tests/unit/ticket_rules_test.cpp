#include "core/it_ticket/ticket_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "harness/flat_json.h"

namespace tiqora {
namespace {

using test::FlatJsonMembers;
using test::parseFlatJson;

TEST(TicketForm, IssueTitleByListIndex) {
    struct Case {
        int index;
        const char* title;
    } cases[] = {
        {0, "Network Issue"}, {1, "Software Issue"}, {2, "Hardware Issue"}, {3, "Other Issue"},
        {4, "PC Issue"},      {-1, "PC Issue"},      {5, "PC Issue"},       {1000, "PC Issue"},
    };
    for (const auto& c : cases) EXPECT_EQ(issueTitleFor(c.index), c.title) << c.index;
}

TEST(TicketForm, PriorityCodeByListIndex) {
    struct Case {
        int index;
        const char* code;
    } cases[] = {{0, "2"}, {1, "1"}, {2, "0"}, {-1, "0"}, {3, "0"}};
    for (const auto& c : cases) EXPECT_EQ(priorityCodeFor(c.index), c.code) << c.index;
}

TEST(TicketForm, ABlankTitleIsSentAsNotProvided) {
    struct Case {
        const char* typed;
        const char* sent;
    } cases[] = {
        {"", "Not Provied"},
        {" ", "Not Provied"},
        {" \t\r\n\v\f", "Not Provied"},
        {"Printer", "Printer"},
        {"  Printer jam ", "  Printer jam "},  // a real title goes as typed
        {"Imprimante bloqu\xc3\xa9" "e", "Imprimante bloqu\xc3\xa9" "e"},
    };
    for (const auto& c : cases) EXPECT_EQ(issueTitleOrDefault(c.typed), c.sent) << c.typed;
}

TEST(TicketForm, DescriptionIsTrimmedAndOtherwiseAsTyped) {
    struct Case {
        const char* typed;
        const char* sent;
    } cases[] = {
        {"", ""},
        {" \t\r\n\v\f ", ""},  // the form refuses it
        {"Outlook hangs", "Outlook hangs"},
        {"\r\n  Outlook hangs\t\r\n", "Outlook hangs"},
        // Backslashes, inner line breaks, tabs and blanks stay as typed.
        {"C:\\Temp\\log.txt", "C:\\Temp\\log.txt"},
        {"\\\\server\\share", "\\\\server\\share"},
        {" \\ ", "\\"},
        {"line one\r\n\r\nline two\tend", "line one\r\n\r\nline two\tend"},
        {"say \"hi\"  twice", "say \"hi\"  twice"},
        {"caf\xc3\xa9 \xe2\x82\xb9 10", "caf\xc3\xa9 \xe2\x82\xb9 10"},
    };
    for (const auto& c : cases) EXPECT_EQ(ticketDescription(c.typed), c.sent) << c.typed;
}

TEST(TicketForm, SubmitTimeIsZeroPadded) {
    EXPECT_EQ(submitTime(2024, 3, 7, 9, 5, 3), "2024-03-07 09:05:03");
    EXPECT_EQ(submitTime(2025, 12, 31, 23, 59, 59), "2025-12-31 23:59:59");
    EXPECT_EQ(submitTime(2026, 1, 1, 0, 0, 0), "2026-01-01 00:00:00");
}

// Text that a naive body would break on: quote, backslash, CR LF, tab and
// non-ASCII letters, as the form prepares it.
const std::string kTypedDescription = "  He said \"reboot\"\r\nthen C:\\Temp\\x.log\tfilled up: caf\xc3\xa9 \xe2\x82\xb9 \r\n";
// What the server reads back: the trimmed text exactly as typed, CR LF and
// every backslash included.
const std::string kParsedDescription = "He said \"reboot\"\r\nthen C:\\Temp\\x.log\tfilled up: caf\xc3\xa9 \xe2\x82\xb9";

// Whether a body holds white space around its structure. The values used
// with it hold no quote followed or preceded by a blank.
bool hasBlankBetweenMembers(std::string_view body) {
    for (const char* around : {"{ ", " }", "\" ,", ", \"", "\" :", ": \"", "\t\"", "\"\t", "\n", "\r"})
        if (body.find(around) != std::string_view::npos) return true;
    return false;
}

LanTicketFields plainLanFields() {
    LanTicketFields fields;
    fields.licenceCode = "TQ4711-2026-ORV";
    fields.ip = "192.168.1.20";
    fields.computerName = "ACCOUNTS-PC";
    fields.userName = "asha";
    fields.issueTitle = "Software Issue";
    fields.description = "Outlook hangs";
    fields.priority = "1";
    fields.submitTime = "2024-03-07 09:05:03";
    return fields;
}

WebTicketFields plainWebFields() {
    WebTicketFields fields;
    fields.corpId = "C-204";
    fields.licenceCode = "TQ4711-2026-ORV";
    fields.ip = "192.168.1.20";
    fields.computerName = "ACCOUNTS-PC";
    fields.userName = "asha";
    fields.issueTitle = "Software Issue";
    fields.description = "Outlook hangs";
    fields.priority = "1";
    fields.submitTime = "2024-03-07 09:05:03";
    return fields;
}

TEST(TicketBody, LanBodyTextWithAndWithoutScreenshot) {
    LanTicketFields fields = plainLanFields();
    fields.screenshotRemoteName = "ignored.jpg";  // no screenshot: the name is not sent
    EXPECT_EQ(lanTicketBody(fields),
              R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"192.168.1.20","ComputerName":"ACCOUNTS-PC","UserName":"asha",)"
              R"("IssueTitle":"Software Issue","Description":"Outlook hangs","Priority":"1","Status":"New",)"
              R"("HasScreenShot":"NO","ScreenShotPath":"NA","TSubmitDateTime":"2024-03-07 09:05:03"})");

    fields.hasScreenshot = true;
    fields.screenshotRemoteName = "TQ4711_20240307_090503.jpg";
    EXPECT_EQ(lanTicketBody(fields),
              R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"192.168.1.20","ComputerName":"ACCOUNTS-PC","UserName":"asha",)"
              R"("IssueTitle":"Software Issue","Description":"Outlook hangs","Priority":"1","Status":"New",)"
              R"("HasScreenShot":"YES","ScreenShotPath":"TQ4711_20240307_090503.jpg",)"
              R"("TSubmitDateTime":"2024-03-07 09:05:03"})");
}

TEST(TicketBody, WebBodyTextHasOneBlankAfterLicNoOnly) {
    WebTicketFields fields = plainWebFields();
    fields.mobile = "9876543210";  // no contact: neither is sent
    fields.email = "asha@example.com";
    EXPECT_EQ(webTicketBody(fields),
              R"({"CorpId":"C-204","LicNo":"TQ4711-2026-ORV", "Ip":"192.168.1.20","ComputerName":"ACCOUNTS-PC",)"
              R"("UserName":"asha","IssueTitle":"Software Issue","Description":"Outlook hangs","Priority":"1",)"
              R"("Status":"New","TSubmitDateTime":"2024-03-07 09:05:03"})");

    fields.withContact = true;
    EXPECT_EQ(webTicketBody(fields),
              R"({"CorpId":"C-204","LicNo":"TQ4711-2026-ORV", "Ip":"192.168.1.20","ComputerName":"ACCOUNTS-PC",)"
              R"("UserName":"asha","IssueTitle":"Software Issue","Description":"Outlook hangs","Priority":"1",)"
              R"("Status":"New","TSubmitDateTime":"2024-03-07 09:05:03","Mobile":"9876543210",)"
              R"("Email":"asha@example.com"})");
}

TEST(TicketBody, LanBodyReadsBackWholeWhateverTheText) {
    for (const bool screenshot : {false, true}) {
        LanTicketFields fields = plainLanFields();
        fields.computerName = "OFFICE\\PC \"7\"";
        fields.userName = "Jos\xc3\xa9 Mar\xc3\xadn";
        fields.issueTitle = issueTitleOrDefault("  ");
        fields.description = ticketDescription(kTypedDescription);
        fields.hasScreenshot = screenshot;
        fields.screenshotRemoteName = "shot \"1\".jpg";

        const auto members = parseFlatJson(lanTicketBody(fields));
        ASSERT_TRUE(members.has_value()) << lanTicketBody(fields);
        const FlatJsonMembers expected = {
            {"LicenseNo", "TQ4711-2026-ORV"},
            {"Ip", "192.168.1.20"},
            {"ComputerName", "OFFICE\\PC \"7\""},
            {"UserName", "Jos\xc3\xa9 Mar\xc3\xadn"},
            {"IssueTitle", "Not Provied"},
            {"Description", kParsedDescription},
            {"Priority", "1"},
            {"Status", "New"},
            {"HasScreenShot", screenshot ? "YES" : "NO"},
            {"ScreenShotPath", screenshot ? "shot \"1\".jpg" : "NA"},
            {"TSubmitDateTime", "2024-03-07 09:05:03"},
        };
        EXPECT_EQ(*members, expected) << "screenshot " << screenshot;
        EXPECT_FALSE(hasBlankBetweenMembers(lanTicketBody(fields))) << lanTicketBody(fields);
    }
}

TEST(TicketBody, WebBodyReadsBackWholeWhateverTheText) {
    for (const bool contact : {false, true}) {
        WebTicketFields fields = plainWebFields();
        fields.corpId = "C\"204\\";
        fields.computerName = "OFFICE\\PC";
        fields.userName = "Jos\xc3\xa9";
        fields.description = ticketDescription(kTypedDescription);
        fields.withContact = contact;
        fields.mobile = "+91 98765\t43210";
        fields.email = "jos\xc3\xa9@ex\xc3\xa4mple.com";

        const std::string body = webTicketBody(fields);
        const auto members = parseFlatJson(body);
        ASSERT_TRUE(members.has_value()) << body;
        FlatJsonMembers expected = {
            {"CorpId", "C\"204\\"},
            {"LicNo", "TQ4711-2026-ORV"},
            {"Ip", "192.168.1.20"},
            {"ComputerName", "OFFICE\\PC"},
            {"UserName", "Jos\xc3\xa9"},
            {"IssueTitle", "Software Issue"},
            {"Description", kParsedDescription},
            {"Priority", "1"},
            {"Status", "New"},
            {"TSubmitDateTime", "2024-03-07 09:05:03"},
        };
        if (contact) {
            expected.emplace_back("Mobile", "+91 98765\t43210");
            expected.emplace_back("Email", "jos\xc3\xa9@ex\xc3\xa4mple.com");
        }
        EXPECT_EQ(*members, expected) << "contact " << contact;
        const std::string licNoThenIp = R"("LicNo":"TQ4711-2026-ORV", "Ip":")";
        const size_t blank = body.find(licNoThenIp);
        ASSERT_NE(blank, std::string::npos) << body;
        std::string others = body;
        others.erase(blank + licNoThenIp.find(' '), 1);
        EXPECT_FALSE(hasBlankBetweenMembers(others)) << body;
    }
}

TEST(TicketBody, ALongDescriptionIsNeverCut) {
    const std::string typed(300 * 1024, 'x');
    LanTicketFields lan = plainLanFields();
    lan.description = ticketDescription(typed + "\\");
    WebTicketFields web = plainWebFields();
    web.description = lan.description;
    for (const std::string& body : {lanTicketBody(lan), webTicketBody(web)}) {
        const auto members = parseFlatJson(body);
        ASSERT_TRUE(members.has_value());
        const auto description = std::find_if(members->begin(), members->end(),
                                              [](const auto& member) { return member.first == "Description"; });
        ASSERT_NE(description, members->end());
        EXPECT_EQ(description->second, typed + "\\");
        EXPECT_EQ(members->back().first, "TSubmitDateTime");
    }
}

TEST(TicketEmail, TheFormsChecks) {
    struct Case {
        std::string email;
        bool valid;
    } cases[] = {
        {"asha@example.com", true},
        {"a.b@mail.co", true},
        {"first_last+tag-1@mail.example.in", true},
        {"_asha@example.com", true},             // "_" may start it
        {"ab@mail.co.u", true},                  // two "." after "@": the first is followed by enough
        {"jos\xc3\xa9@ex\xc3\xa4mple.com", true},  // non-ASCII letters pass
        // 1: neither "." nor "@".
        {"", false},
        {"asha", false},
        // 2: nothing after the last ".".
        {"asha@example.com.", false},
        {"asha@example.", false},
        // 3: a blank or punctuation first ("_" excepted).
        {"-asha@example.com", false},
        {"+asha@example.com", false},
        {".asha@example.com", false},
        {" asha@example.com", false},
        {"@ab.com", false},  // also 8: "@" first
        // 4: a blank or punctuation other than + - . @ _ anywhere.
        {"as ha@example.com", false},
        {"as,ha@example.com", false},
        {"asha@example.com,", false},
        {"asha@example.com, bob@example.com", false},
        {"as!ha@example.com", false},
        {"asha@exa/mple.com", false},
        {"asha@example.c~om", false},
        {"asha;@example.com", false},
        // 5: not both "." and "@", and no "-", "+" or digit.
        {"asha.example", false},
        {"asha@example", false},
        // 6: not exactly one "@".
        {"ab@@x.com", false},
        {"a@b@x.com", false},
        {"asha1.example", false},
        // 7: after the "@", a "." first, ".." or a count of "." other than 1 or 2.
        {"ab@.com", false},
        {"ab@mail..com", false},
        {"ab@a.b.c.d", false},
        {"asha1@example", false},
        {"as..ha@example.com", true},  // ".." before the "@" is not looked at
        // 9: no "." after the "@" with two characters after it.
        {"ab@mail.c", false},
        {"ab@mail.c.d", true},  // the first "." has "c.d" after it
        {"ab@mail.\xc3\xa9", false},  // one character, though two bytes
        {"ab@mail.\xc3\xa9\xc3\xa9", true},
    };
    for (const auto& c : cases) EXPECT_EQ(isValidTicketEmail(c.email), c.valid) << c.email;
}

TEST(TicketEmail, AtMost99Characters) {
    const std::string domain = "@example.com";  // 12 characters
    const std::string fits = std::string(kTicketEmailMaxChars - domain.size(), 'a') + domain;
    ASSERT_EQ(fits.size(), 99u);
    EXPECT_TRUE(isValidTicketEmail(fits));
    EXPECT_FALSE(isValidTicketEmail("a" + fits));

    // Counted in characters, not bytes: 87 two-byte letters fit.
    std::string wide;
    for (std::size_t i = 0; i < kTicketEmailMaxChars - domain.size(); ++i) wide += "\xc3\xa9";
    EXPECT_TRUE(isValidTicketEmail(wide + domain));
    EXPECT_FALSE(isValidTicketEmail("\xc3\xa9" + wide + domain));
}

TEST(MachineIp, TheFirstAddressOnItsGatewaysNetwork) {
    using Adapters = std::vector<AdapterAddresses>;
    struct Case {
        const char* what;
        Adapters adapters;
        const char* ip;
    } cases[] = {
        {"Wine's 0.0.0.0 adapters first, then eth0",
         {{"0.0.0.0", {"0.0.0.0"}}, {"0.0.0.0", {"0.0.0.0"}}, {"192.168.1.1", {"192.168.1.20"}}},
         "192.168.1.20"},
        {"the second address matches", {{"10.0.5.1", {"172.16.0.9", "10.0.5.44"}}}, "10.0.5.44"},
        {"the first matching adapter wins",
         {{"10.0.0.1", {"10.0.0.7"}}, {"192.168.1.1", {"192.168.1.20"}}},
         "10.0.0.7"},
        {"no address on the gateway's network", {{"192.168.1.1", {"192.168.2.20", "10.0.0.3"}}}, ""},
        {"the whole text up to the last dot counts", {{"192.168.1.1", {"92.168.1.20", "192.168.11.2"}}}, ""},
        {"empty gateway", {{"", {"192.168.1.20"}}}, ""},
        {"empty gateway and empty address", {{"", {""}}}, ""},
        {"no dot in either", {{"gateway", {"gateway"}}}, ""},
        {"an unset address never matches", {{"0.0.0.1", {"0.0.0.0"}}}, ""},
        {"no addresses", {{"192.168.1.1", {}}}, ""},
        {"no adapters", {}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(machineIpFrom(c.adapters), c.ip) << c.what;
}

}  // namespace
}  // namespace tiqora
