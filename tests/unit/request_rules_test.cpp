#include "core/support_request/request_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "core/support_request/request_history.h"

namespace tiqora {
namespace {

RequestInput validInput() {
    RequestInput input;
    input.name = "Asha Verma";
    input.mobile = "9876543210";
    input.email = "asha@example.com";
    input.city = "Pune";
    input.state = "Maharashtra";
    input.description = "Scan stops at 40%";
    input.issueTypeIndex = 3;
    input.issueTypeText = "Virus";
    return input;
}

TEST(RequestValidation, TheFirstFailingCheckWins) {
    struct Case {
        const char* what;
        std::function<void(RequestInput&)> change;
        const char* message;
        RequestField field;
    };
    const Case cases[] = {
        {"valid", [](RequestInput&) {}, "", RequestField::None},
        {"all empty", [](RequestInput& i) { i = RequestInput(); }, "Invalid issue Description", RequestField::None},
        {"digit in name first", [](RequestInput& i) { i.name = "Asha 2"; i.city = "P1"; i.description = ""; }, "Enter valid name", RequestField::None},
        {"digit in city", [](RequestInput& i) { i.city = "Pune 411"; }, "Enter valid City", RequestField::None},
        {"digit in state", [](RequestInput& i) { i.state = "MH12"; }, "Enter valid State", RequestField::None},
        {"only blanks and line breaks", [](RequestInput& i) { i.description = "  \r\n \t\r\n "; }, "Invalid issue Description", RequestField::None},
        {"empty name", [](RequestInput& i) { i.name = ""; }, "Please enter valid Name", RequestField::Name},
        {"9 digits", [](RequestInput& i) { i.mobile = "987654321"; }, "Please enter valid Mobile no", RequestField::Mobile},
        {"12 digits", [](RequestInput& i) { i.mobile = "987654321012"; }, "", RequestField::None},
        {"five-character address", [](RequestInput& i) { i.email = "a@b.c"; }, "Please enter valid EmailId ", RequestField::Email},
        {"six-character address", [](RequestInput& i) { i.email = "ab@c.d"; }, "", RequestField::None},
        {"address with a blank", [](RequestInput& i) { i.email = "asha @example.com"; }, "Please enter valid EmailId ", RequestField::Email},
        {"no @", [](RequestInput& i) { i.email = "asha.example.com"; }, "Please enter valid EmailId ", RequestField::Email},
        {"no issue type", [](RequestInput& i) { i.issueTypeIndex = -1; }, "Select the Issue Type", RequestField::None},
        {"no customer type is fine", [](RequestInput& i) { i.customerTypeIndex = -1; }, "", RequestField::None},
    };
    for (const Case& c : cases) {
        RequestInput input = validInput();
        c.change(input);
        const RequestCheck check = checkRequest(input);
        EXPECT_EQ(check.valid, std::string(c.message).empty()) << c.what;
        EXPECT_EQ(check.message, c.message) << c.what;
        EXPECT_EQ(check.field, c.field) << c.what;
    }
}

TEST(RequestValidation, CleansCityStateAndDescription) {
    RequestInput input = validInput();
    input.city = "";
    input.state = "";
    input.description = "  first line\r\nsecond line  \r\n";
    const RequestCheck check = checkRequest(input);
    ASSERT_TRUE(check.valid);
    EXPECT_EQ(check.city, "N.A");
    EXPECT_EQ(check.state, "NA");
    EXPECT_EQ(check.description, "first linesecond line");
    EXPECT_TRUE(check.nameChecked && check.mobileChecked && check.emailChecked);
}

TEST(CallTrackingBody, KeysConstantsAndEncodedValues) {
    CallTrackingRequest request;
    request.name = "Asha Verma";
    request.mobile = "9876543210";
    request.email = "asha@example.com";
    request.city = "N.A";
    request.state = "NA";
    request.description = "slow";
    request.licenceCode = "TQ4711-2026-ORV";
    request.issueTypeIndex = 3;
    request.issueTypeText = "Virus";
    EXPECT_EQ(callTrackingBody(request),
              "CustName=Asha Verma&CustMobNo=9876543210&CustEmailID=asha@example.com&CustType=H&State=NA&Dist=N.A"
              "&City=N.A&Problem=VIRUS - slow&UserID=241&AssignToDept=TS-SSO&POC=12&LicenseKey=TQ4711-2026-ORV"
              "&ReceivedVia=11");

    request.name = "R&D = 100%+";
    request.description = "caf\xC3\xA9 a/b";
    request.customerTypeIndex = 2;
    request.issueTypeIndex = 0;
    request.issueTypeText = "Reactivation";
    const std::string body = callTrackingBody(request);
    EXPECT_NE(body.find("CustName=R%26D %3D 100%25%2B&"), std::string::npos) << body;
    EXPECT_NE(body.find("Problem=REACTIVATION - caf%C3%A9 a/b&"), std::string::npos) << body;
    EXPECT_NE(body.find("CustType=C&"), std::string::npos);
    EXPECT_NE(body.find("AssignToDept=Reactivation&"), std::string::npos);
}

TEST(CallTrackingBody, DerivedValues) {
    EXPECT_EQ(customerTypeCode(-1), "H");
    EXPECT_EQ(customerTypeCode(0), "H");
    EXPECT_EQ(customerTypeCode(1), "O");
    EXPECT_EQ(customerTypeCode(2), "C");
    EXPECT_EQ(departmentFor(0), "Reactivation");
    EXPECT_EQ(departmentFor(1), "Activation");
    EXPECT_EQ(departmentFor(8), "TS-SSO");
    EXPECT_EQ(departmentFor(-1), "TS-SSO");
    EXPECT_EQ(formEncode("tab\there\x7f"), "tab%09here%7F");
    EXPECT_EQ(formEncode("a-b_c.d~e/f:g@h!i'j(k)l*m,n;o?p"), "a-b_c.d~e/f:g@h!i'j(k)l*m,n;o?p");
}

TEST(CallTrackingReply, OnlyTheCallTrackingMarkerConfirmsARequest) {
    struct Case {
        const char* reply;
        ReplyOutcome outcome;
    } cases[] = {
        {"CT : 4711", ReplyOutcome::Accepted},
        {"CT : 4711\r\nX#Y", ReplyOutcome::Accepted},
        {"Saved. CT : 12", ReplyOutcome::Accepted},
        {"CT:4711", ReplyOutcome::AcceptedUnrecorded},
        {"CT  \t: 4711", ReplyOutcome::AcceptedUnrecorded},
        {"(CT: 5)", ReplyOutcome::AcceptedUnrecorded},
        // The letters alone, or as the end of a word, confirm nothing.
        {"CONNECTION REFUSED", ReplyOutcome::NoConnection},
        {"CONNECT: proxy refused", ReplyOutcome::NoConnection},
        {"PROJECT : x", ReplyOutcome::NoConnection},
        {"CT4711", ReplyOutcome::NoConnection},
        {"CT - 4711", ReplyOutcome::NoConnection},
        {"ct : 4711", ReplyOutcome::NoConnection},
        {"CT", ReplyOutcome::NoConnection},
        {"", ReplyOutcome::NoConnection},
        {"Internal Server Error", ReplyOutcome::NoConnection},
        {"<!DOCTYPE HTML PUBLIC> CT : 1", ReplyOutcome::ErrorPage},
    };
    for (const auto& c : cases) EXPECT_EQ(judgeCallTrackingReply(c.reply), c.outcome) << c.reply;
    EXPECT_EQ(remainingCharactersText(0), "256 Characters Remaining");
    EXPECT_EQ(remainingCharactersText(256), "0 Characters Remaining");
}

TEST(RequestHistory, ARecordIsAlwaysOneLineOfFourFields) {
    EXPECT_EQ(historyRecord("7/12/2026 05:26", "CT : 4711", "VIRUS - slow", "9876543210"),
              "7/12/2026 05:26#CT : 4711#VIRUS - slow#9876543210\n");
    EXPECT_EQ(historyRecord("7/12/2026 05:26", "CT : 4711\r\nX#Y", "A#B - line\tone\x7f", "98#76\n"),
              "7/12/2026 05:26#CT : 4711  XY#AB - line one #9876 \n");
    // Read back through the history's own splitter: the same four fields.
    const std::string record = historyRecord("d", "##CT : 1#\n", "#P#", "m\r");
    EXPECT_EQ(record.find_first_of("\r\n"), record.size() - 1);
    const auto fields = splitHistoryRecord<char>(std::string_view(record).substr(0, record.size() - 1));
    EXPECT_EQ(fields, (std::array<std::string, 4>{"d", "CT : 1 ", "P", "m "}));
}

TEST(RequestHistory, TheNextKeyNeverOverflows) {
    EXPECT_EQ(nextHistoryKey(0), 1);
    EXPECT_EQ(nextHistoryKey(41), 42);
    EXPECT_EQ(nextHistoryKey(-7), 1);
    EXPECT_EQ(nextHistoryKey(std::numeric_limits<int>::max() - 1), std::numeric_limits<int>::max());
    EXPECT_EQ(nextHistoryKey(std::numeric_limits<int>::max()), std::nullopt);
}

TEST(RequestHistory, RowsAsOneLookupPerKeyWouldReadThem) {
    const std::string longRecord(2000, 'x');
    ProfileSection<char> section({
        "CNT=5",
        "1=7/12/2026 05:26#CT : 4711#VIRUS - slow#9876543210",
        "2 = \"quoted#CT : 2#P#M\" ",
        "1=a later duplicate#is ignored",
        "4=" + longRecord,
        "5=only##two",
        "junk line",
    });
    const auto rows = historyRows(section);
    ASSERT_EQ(rows.size(), 5u);
    using Row = std::array<std::string, 5>;
    EXPECT_EQ(rows[0], (Row{"1", "7/12/2026 05:26", "CT : 4711", "VIRUS - slow", "9876543210"}));
    EXPECT_EQ(rows[1], (Row{"2", "quoted", "CT : 2", "P", "M"}));
    EXPECT_EQ(rows[2], (Row{"3", "NULL", "", "", ""}));
    EXPECT_EQ(rows[3], (Row{"4", std::string(1023, 'x'), "", "", ""}));
    EXPECT_EQ(rows[4], (Row{"5", "only", "two", "", ""}));
}

TEST(RequestHistory, BadCountsAndOddRecords) {
    for (const char* count : {"CNT=0", "CNT=-1", "CNT=abc", ""}) {
        EXPECT_TRUE(historyRows(ProfileSection<char>({count, "1=x#y#z#w"})).empty()) << count;
    }
    EXPECT_EQ(historyRows(ProfileSection<char>({"CNT=3x", "1=a"})).size(), 3u);
    EXPECT_EQ(historyRows(ProfileSection<char>({"CNT=99999999999"})).size(), static_cast<size_t>(kHistoryMaxRows));

    using Fields = std::array<std::string, 4>;
    EXPECT_EQ(splitHistoryRecord<char>("no hash"), (Fields{"no hash", "", "", ""}));
    EXPECT_EQ(splitHistoryRecord<char>("a#b#c#d#e#f"), (Fields{"a", "b", "c", "d"}));
    EXPECT_EQ(splitHistoryRecord<char>("#a###b#"), (Fields{"a", "b", "", ""}));
    EXPECT_EQ(splitHistoryRecord<char>("d#CT : 1#VIRUS - a#b#9876543210"), (Fields{"d", "CT : 1", "VIRUS - a", "b"}));
}

}  // namespace
}  // namespace tiqora
