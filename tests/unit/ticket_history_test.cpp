#include "core/ticket_history/ticket_history.h"

#include <gtest/gtest.h>

#include <string>


namespace tiqora {
namespace {

TEST(TicketHistory, RecordNamesGiveKindAndTicketId) {
    struct Case {
        const char* name;
        bool isRecord;
        TicketKind kind;
        const char* id;
    } cases[] = {
        {"L_1234.txt", true, TicketKind::Lan, "1234"},
        {"W_wt1001.txt", true, TicketKind::Web, "wt1001"},
        // The ids servers hand out in lower case keep their 't' and 'x'.
        {"L_lt-1001.txt", true, TicketKind::Lan, "lt-1001"},
        {"W_12x.txt", true, TicketKind::Web, "12x"},
        {"W_tx.txt.txt", true, TicketKind::Web, "tx.txt"},
        {"L_L_7.txt", true, TicketKind::Lan, "L_7"},
        // A later record of a taken name is a record of the same ticket.
        {"L_1001 (2).txt", true, TicketKind::Lan, "1001"},
        {"W_wt1001 (13).txt", true, TicketKind::Web, "wt1001"},
        {"W_1 (1).txt", true, TicketKind::Web, "1 (1)"},
        {"W_1 (02).txt", true, TicketKind::Web, "1 (02)"},
        {"W_1(2).txt", true, TicketKind::Web, "1(2)"},
        {"W_ (2).txt", false, TicketKind::Web, ""},
        {"L_.txt", false, TicketKind::Lan, ""},
        {"W_.txt", false, TicketKind::Web, ""},
        {"Lx", false, TicketKind::Lan, ""},
        {"L_12", false, TicketKind::Lan, ""},
        {"L_12.TXT", false, TicketKind::Lan, ""},
        {"readme.txt", false, TicketKind::Lan, ""},
        {"l_12.txt", false, TicketKind::Lan, ""},
        {"X_12.txt", false, TicketKind::Lan, ""},
        {"L12.txt", false, TicketKind::Lan, ""},
        {"", false, TicketKind::Lan, ""},
    };
    for (const auto& c : cases) {
        const auto name = recordNameOf(c.name);
        ASSERT_EQ(name.has_value(), c.isRecord) << c.name;
        if (!name) continue;
        EXPECT_EQ(name->kind, c.kind) << c.name;
        EXPECT_EQ(name->ticketId, c.id) << c.name;
    }
}

TEST(TicketHistory, PriorityWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "Low"}, {"1", "Medium"}, {"2", "High"}, {"", "High"}, {"3", "High"}, {" 1", "High"}, {"01", "High"},
    };
    for (const auto& [code, word] : cases) EXPECT_EQ(priorityWord(code), word) << code;
}

struct ReaderCase {
    const char* what;
    std::string text;
    RecordColumns expected;
};

void expectColumns(const RecordColumns& got, const ReaderCase& c) {
    EXPECT_EQ(got.issueTitle, c.expected.issueTitle) << c.what;
    EXPECT_EQ(got.description, c.expected.description) << c.what;
    EXPECT_EQ(got.priority, c.expected.priority) << c.what;
    EXPECT_EQ(got.status, c.expected.status) << c.what;
}

// The records below are written out byte for byte as the deliveries write
// them (not made by the program's own body writers), so that a change in the
// writers cannot carry the reader's expectations along with it: records on
// customers' disks keep the bytes they were written with.
TEST(TicketHistory, LanRecords) {
    const ReaderCase cases[] = {
        {"a record as the LAN delivery writes it",
         R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"10.0.0.5","ComputerName":"DESK-7","UserName":"asha",)"
         R"("IssueTitle":"Network Issue","Description":"Printer offline","Priority":"0","Status":"New",)"
         R"("HasScreenShot":"NO","ScreenShotPath":"NA","TSubmitDateTime":"2026-12-10 09:05:03"})",
         {"Network Issue", "Printer offline", "Low", "New"}},
        // Read by name: commas, colons and quotes inside values stay in place.
        {"commas, colons and quotes inside the values",
         R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"10.0.0.5","ComputerName":"DESK-7","UserName":"asha",)"
         R"("IssueTitle":"Other Issue","Description":"Printer: not working, \"tray 2\", again","Priority":"1",)"
         R"("Status":"New","HasScreenShot":"NO","ScreenShotPath":"NA","TSubmitDateTime":"2026-12-10 09:05:03"})",
         {"Other Issue", "Printer: not working, \"tray 2\", again", "Medium", "New"}},
        {"a comma in the title",
         R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"10.0.0.5","ComputerName":"DESK-7","UserName":"asha",)"
         R"("IssueTitle":"Hardware, PC","Description":"fan","Priority":"0","Status":"New","HasScreenShot":"NO",)"
         R"("ScreenShotPath":"NA","TSubmitDateTime":"2026-12-10 09:05:03"})",
         {"Hardware, PC", "fan", "Low", "New"}},
        {"escapes and text in other scripts",
         R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"10.0.0.5","ComputerName":"DESK-7","UserName":"asha",)"
         R"("IssueTitle":"PC Issue","Description":"line 1\nline 2 )" "\xc3\xa9\xe4\xb8\xad" R"(","Priority":"2",)"
         R"("Status":"New","HasScreenShot":"NO","ScreenShotPath":"NA","TSubmitDateTime":"2026-12-10 09:05:03"})",
         {"PC Issue", "line 1\nline 2 \xc3\xa9\xe4\xb8\xad", "High", "New"}},
        {"members in another order, status ignored",
         R"({"Priority":"1","Status":"Closed","Description":"d","IssueTitle":"t"})", {"t", "d", "Medium", "New"}},
        {"members missing", R"({"LicenseNo":"x"})", {"", "", "High", "New"}},
        {"a number as priority", R"({"IssueTitle":"t","Priority":0})", {"t", "", "Low", "New"}},
        {"an empty object", "{}", {"", "", "High", "New"}},
        // Not JSON: the old splitter, fields 5, 6, 7.
        {"an old record: the description keeps its later colons",
         R"({"LicenseNo":"K","Ip":"1","ComputerName":"C","UserName":"U","IssueTitle":"Network Issue","Description":"Printer: not working","Priority":"2",)",
         {"Network Issue", "Printer: not working", "High", "New"}},
        {"an old record with a comma in its description: the columns shift",
         "{\"LicenseNo\":\"K\",\"Ip\":\"1\",\"ComputerName\":\"C\",\"UserName\":\"U\",\"IssueTitle\":\"T\","
         "\"Description\":\"a,b\",\"Priority\":\"0\"",
         {"T", "a", "High", "New"}},
        {"an old record: runs of commas count as one",
         "{\"LicenseNo\":\"K\",,,\"Ip\":\"1\",\"ComputerName\":\"C\",\"UserName\":\"U\",\"IssueTitle\":\"T\","
         "\"Description\":\"D\",\"Priority\":\"1\"",
         {"T", "D", "Medium", "New"}},
        {"a description field without a colon is taken whole", "a,b,c,d,e:T,plain,p:1", {"T", "plain", "Medium", "New"}},
        {"empty", "", {"", "", "High", "New"}},
        {"binary bytes", std::string("\x00\xff\xfe,\x01:\x02", 7), {"", "", "High", "New"}},
        {"text after the object is not JSON", R"({"IssueTitle":"t"} x)", {"", "", "High", "New"}},
    };
    for (const auto& c : cases) expectColumns(readLanRecord(c.text), c);
}

TEST(TicketHistory, WebRecords) {
    const ReaderCase cases[] = {
        {"a record as the web delivery writes it",
         R"({"CorpId":"CORP-1001","LicNo":"TQ4711-2026-ORV", "Ip":"10.0.0.5","ComputerName":"DESK-7",)"
         R"("UserName":"asha","IssueTitle":"Software Issue","Description":"Mail fails","Priority":"1",)"
         R"("Status":"New","TSubmitDateTime":"2026-12-10 09:05:03"})",
         {"Software Issue", "Mail fails", "Medium", "New"}},
        {"a colon in the description stays",
         R"({"CorpId":"CORP-1001","LicNo":"TQ4711-2026-ORV", "Ip":"10.0.0.5","ComputerName":"DESK-7",)"
         R"("UserName":"asha","IssueTitle":"Other Issue","Description":"Printer: not working","Priority":"2",)"
         R"("Status":"New","TSubmitDateTime":"2026-12-10 09:05:03"})",
         {"Other Issue", "Printer: not working", "High", "New"}},
        {"commas and quotes inside the values",
         R"({"CorpId":"CORP-1001","LicNo":"TQ4711-2026-ORV", "Ip":"10.0.0.5","ComputerName":"DESK-7",)"
         R"("UserName":"asha","IssueTitle":"Net, \"LAN\"","Description":"a, b: c \"d\"","Priority":"0",)"
         R"("Status":"New","TSubmitDateTime":"2026-12-10 09:05:03"})",
         {"Net, \"LAN\"", "a, b: c \"d\"", "Low", "New"}},
        {"members in another order", R"({"Status":"Open","Priority":"0","IssueTitle":"t","Description":"d"})",
         {"t", "d", "Low", "Open"}},
        {"members missing", R"({"Status":"Closed"})", {"", "", "High", "Closed"}},
        {"nested values are skipped", R"({"IssueTitle":"t","Extra":{"a":[1,2,{"b":null}]},"Status":"S"})",
         {"t", "", "High", "S"}},
        // Not JSON: quotes dropped, fields 6 to 9, a colon cuts the description.
        {"an old record: a colon cuts the description",
         R"({"CorpId":"C","LicNo":"K", "Ip":"1","ComputerName":"P","UserName":"U","IssueTitle":"Network Issue","Description":"Printer: not working","Priority":"1","Status":"New",)",
         {"Network Issue", "Printer", "Medium", "New"}},
        {"an old record with a comma in its title: the columns shift",
         "{\"CorpId\":\"C\",\"LicNo\":\"K\", \"Ip\":\"1\",\"ComputerName\":\"P\",\"UserName\":\"U\","
         "\"IssueTitle\":\"a,b\",\"Description\":\"D\",\"Priority\":\"0\",\"Status\":\"New\"",
         {"a", "", "High", "0"}},
        {"empty", "", {"", "", "High", ""}},
        {"a bad escape is not JSON", R"({"IssueTitle":"\q"})", {"", "", "High", ""}},
    };
    for (const auto& c : cases) expectColumns(readWebRecord(c.text), c);
}

TEST(TicketHistory, JsonReaderIsStrict) {
    const std::pair<std::string, bool> cases[] = {
        {R"({"a":"b"})", true},
        {" \r\n{ \"a\" : \"b\" , \"c\" : -1.5e+3 }\n", true},
        {R"({"a":"\u00e9\ud83d\ude00"})", true},
        {R"({"a":[true,false,null,{}]})", true},
        {R"({"a":"b",})", false},
        {R"({"a":"b")", false},
        {R"({a:"b"})", false},
        {R"(["a"])", false},
        {R"({"a":"\ud83d"})", false},
        {R"({"a":01})", false},
        {R"({"a":1.})", false},
        {R"({"a":-})", false},
        {"{\"a\":\"line\nbreak\"}", false},
        {"{\"a\":\"\xff\"}", false},
        {std::string("{\"a\":\"b\"}\0", 10), false},
        {std::string(100, '[') + std::string(100, ']'), false},
        {"{\"a\":" + std::string(40, '[') + std::string(40, ']') + "}", false},
        {"{\"a\":" + std::string(20, '[') + std::string(20, ']') + "}", true},
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(jsonObjectMembers(text).has_value(), valid) << text;
    const auto members = jsonObjectMembers(R"({"t":"a\"b\\c\/d\te","n":12,"x":null})");
    ASSERT_TRUE(members);
    const std::vector<std::pair<std::string, std::string>> expected = {{"t", "a\"b\\c/d\te"}, {"n", "12"}, {"x", ""}};
    EXPECT_EQ(*members, expected);
}

TEST(TicketHistory, Utf8Check) {
    const std::pair<std::string, bool> cases[] = {
        {"plain", true},           {"\xc3\xa9", true},     {"\xe4\xb8\xad", true}, {"\xf0\x9f\x98\x80", true},
        {"\xe9", false},           {"\xc3", false},        {"\xc0\x80", false},    {"\xed\xa0\x80", false},
        {"\xf4\x90\x80\x80", false}, {"\xe0\x80\x80", false},
    };
    for (const auto& [bytes, valid] : cases) EXPECT_EQ(isValidUtf8(bytes), valid) << bytes;
}

TEST(TicketHistory, TheFlagsChooseWhatIsListedAndOpened) {
    struct Case {
        const char* itTicketServer;
        const char* sendLocalRpt;
        const char* sendWebRpt;
        DeliveryMode mode;
        const char* lanLogFormat;
    } cases[] = {
        {"L", "", "N/A", DeliveryMode::Lan, "lan case hit this page  L--> %S"},
        {"L", "OFF", "ON", DeliveryMode::Lan, "lan case hit this page  L--> %S"},
        {"W", "ON", "ON", DeliveryMode::Web, nullptr},
        {"X", "ON", "ON", DeliveryMode::None, nullptr},
        {"l", "ON", "ON", DeliveryMode::None, nullptr},
        {"", "ON", "ON", DeliveryMode::Lan, "lan case hit this page SendLanRpt--> %S"},
        {"", "on", "ON", DeliveryMode::Web, nullptr},
        {"", "", "N/A", DeliveryMode::None, nullptr},
    };
    for (const auto& c : cases) {
        const HistoryChoice choice = historyChoiceFor({c.itTicketServer, c.sendLocalRpt, c.sendWebRpt});
        EXPECT_EQ(choice.mode, c.mode) << c.itTicketServer << "/" << c.sendLocalRpt << "/" << c.sendWebRpt;
        EXPECT_EQ(choice.lanLogFormat ? std::string(choice.lanLogFormat) : std::string("-"),
                  c.lanLogFormat ? std::string(c.lanLogFormat) : std::string("-"));
    }
}

}  // namespace
}  // namespace tiqora
