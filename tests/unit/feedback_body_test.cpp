#include "core/feedback/feedback_body.h"

#include <gtest/gtest.h>

#include "harness/flat_json.h"

namespace tiqora {
namespace {

using test::parseFlatJson;

TEST(FeedbackIssueTypes, TickedCaptionsInTheFixedOrderJoinedBySlash) {
    auto ticked = [](std::initializer_list<std::size_t> indexes) {
        std::array<bool, kFeedbackIssueTypeCount> flags{};
        for (std::size_t i : indexes) flags[i] = true;
        return flags;
    };
    struct Case {
        std::array<bool, kFeedbackIssueTypeCount> ticked;
        const char* text;
    } cases[] = {
        {ticked({}), ""},
        {ticked({11, 0}), "Support/Other"},
        {ticked({9}), "Activation/Reactivation"},
        {ticked({4, 1, 10}), "Scanning/Slow PC/Renewal"},
        {ticked({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}),
         "Support/Scanning/Update/Virus/Slow PC/Software Block/Malware/PopUp/Error Screen/"
         "Activation/Reactivation/Renewal/Other"},
    };
    for (const auto& c : cases) EXPECT_EQ(issueTypeText(c.ticked), c.text);
}

TEST(FeedbackRatings, OnlyTheFiveWordsExactly) {
    for (const char* word : {"Horrible", "Bad", "Average", "Good", "Excellent"}) EXPECT_TRUE(isRatingWord(word)) << word;
    for (const char* word : {"", "good", "Good ", "B4", "Excellent!"}) EXPECT_FALSE(isRatingWord(word)) << word;
}

TEST(FeedbackJson, EscapesQuotesBackslashesAndControlCharacters) {
    struct Case {
        std::string text;
        const char* escaped;
    } cases[] = {
        {"plain text", "plain text"},
        {"say \"hi\"", R"(say \"hi\")"},
        {"C:\\qx\\", R"(C:\\qx\\)"},
        // Line breaks as they are, so the parsed text is the typed text.
        {"one\r\ntwo", R"(one\r\ntwo)"},
        {"one\ntwo", R"(one\ntwo)"},
        {"one\rtwo", R"(one\rtwo)"},
        {"\r\n\r\n", R"(\r\n\r\n)"},
        {"a\tb", R"(a\tb)"},
        {std::string("nul\0end", 7), R"(nul\u0000end)"},
        {"\x01\x1f\x7f", "\\u0001\\u001f\x7f"},
        {"caf\xc3\xa9 \xe2\x82\xb9", "caf\xc3\xa9 \xe2\x82\xb9"},  // UTF-8 passes unchanged
        {"/", "/"},
    };
    for (const auto& c : cases) EXPECT_EQ(jsonEscape(c.text), c.escaped) << c.text;
}

FeedbackBodyFields sampleFields() {
    FeedbackBodyFields fields;
    fields.email = "asha.verma@example.com";
    fields.licenceCode = "TQ4711-2026-ORV";
    fields.city = "Pune";
    fields.customerName = "Asha Verma";
    fields.district = "Pune";
    fields.issueType = "Support/Other";
    fields.mobile = "9876543210";
    fields.expiryDate = "31/12/2027";
    fields.osName = "Microsoft Windows 7";
    fields.rating = "Average";
    fields.description = "Scan stops";
    return fields;
}

TEST(FeedbackBody, KeysInOrderOnOneLineWithoutBlanksBetweenItems) {
    EXPECT_EQ(buildFeedbackBody(sampleFields()),
              R"({"Customeremail":"asha.verma@example.com","Customerkey":"TQ4711-2026-ORV","city":"Pune",)"
              R"("cusname":"Asha Verma","district":"Pune","fromname":"Tiqora FeedBack","issuetype":"Support/Other",)"
              R"("mobile":"9876543210","yourname":"Asha Verma","expiryDate":"31/12/2027",)"
              R"("OSVersion":"Microsoft Windows 7","feedbackrating":"Average","feedbackdescription":"Scan stops"})");
}

TEST(FeedbackBody, AnyTextReadsBackAsGiven) {
    // Every value holds characters that broke the body when it was not
    // escaped; the help desk must read each back exactly.
    FeedbackBodyFields fields;
    const std::string awkward[] = {
        "He said \"it's \\slow\\\"",
        "line one\r\nline two\r\n",
        "tab\there, bell\a, escape\x1b",
        "}\",\"injected\":\"yes",
        "\xe0\xa4\xaa\xe0\xa5\x81\xe0\xa4\xa3\xe0\xa5\x87",  // UTF-8 (Devanagari)
        "",
    };
    std::string* values[] = {&fields.email,    &fields.licenceCode, &fields.city,       &fields.customerName,
                             &fields.district, &fields.issueType,   &fields.mobile,     &fields.expiryDate,
                             &fields.osName,   &fields.rating,      &fields.description};
    for (const std::string& text : awkward) {
        for (std::string* value : values) *value = text;
        const std::string body = buildFeedbackBody(fields);
        EXPECT_EQ(body.find('\n'), std::string::npos) << "one line: " << body;
        const auto members = parseFlatJson(body);
        ASSERT_TRUE(members.has_value()) << body;
        ASSERT_EQ(members->size(), 13u) << body;
        for (const auto& [key, value] : *members)
            EXPECT_EQ(value, key == "fromname" ? std::string("Tiqora FeedBack") : text) << key << " of " << body;
    }
}

TEST(FeedbackBody, LengthIsNotLimited) {
    FeedbackBodyFields fields = sampleFields();
    fields.description = std::string(5000, 'd');
    fields.customerName = std::string(127, 'n');
    const std::string body = buildFeedbackBody(fields);
    EXPECT_GT(body.size(), 5000u + 2 * 127u);
    const auto members = parseFlatJson(body);
    ASSERT_TRUE(members.has_value());
    EXPECT_EQ(members->back().second, fields.description);
}

TEST(FeedbackMessages, ChosenByReplyAndRating) {
    const char* const lowRating =
        "Thank You !!.\nYour Request has been submitted.\nVEXO Help Desk Team will contact you soon.";
    auto happy = [](const char* word) {
        return std::string("Happy to know that you had a ") + word +
               " experience.\nPlease recommend VEXO to your friends,relatives or colleagues.";
    };
    struct Case {
        const char* reply;
        const char* rating;
        std::string text;
        bool smallText;
    } cases[] = {
        {"Msg sent", "Horrible", lowRating, true},
        {"Msg sent", "Bad", lowRating, true},
        {"Msg sent", "Average", lowRating, true},
        {"Msg sent", "Good", happy("Good"), true},
        {"Msg sent", "Excellent", happy("Excellent"), true},
        {"<html>Status: Msg sent to desk</html>", "Average", lowRating, true},  // anywhere in the reply
        {"", "Excellent", "Thank You...!", false},
        {"msg sent", "Good", "Thank You...!", false},  // case matters
        {"Msg  sent", "Bad", "Thank You...!", false},
        {"<!DOCTYPE HTML PUBLIC>", "Average", "Thank You...!", false},
    };
    for (const auto& c : cases) {
        const FeedbackMessage message = thankYouMessage(c.reply, c.rating);
        EXPECT_EQ(message.text, c.text) << c.reply << " / " << c.rating;
        EXPECT_EQ(message.smallText, c.smallText) << c.reply << " / " << c.rating;
        EXPECT_EQ(replyConfirmsFeedback(c.reply), c.smallText) << c.reply;
    }
}

TEST(FeedbackPage, HttpsAddressOfTheRatingOnTheConfiguredHost) {
    EXPECT_EQ(feedbackPageAddress("www.tiqora.example", "Average"),
              "https://www.tiqora.example/custfeedback?Feedback=Average");
    EXPECT_EQ(feedbackPageAddress("127.0.0.1:8443", "Excellent"), "https://127.0.0.1:8443/custfeedback?Feedback=Excellent");
}

TEST(FlatJsonReader, RejectsWhatIsNotAFlatObjectOfStrings) {
    // The reader the tests rely on must itself tell good bodies from bad.
    for (const char* bad : {"", "{", R"({"a":"b")", R"({"a":1})", R"({"a":"b",})", R"({"a":"b"} x)", "{\"a\":\"b\nc\"}",
                            R"({"a":"\x"})", R"({"a":"\ud800"})", R"({"a""b"})"})
        EXPECT_FALSE(parseFlatJson(bad).has_value()) << bad;
    const auto members = parseFlatJson(R"( { "a" : "x\"y" , "b":"\u00e9\ud83d\ude00" } )");
    ASSERT_TRUE(members.has_value());
    EXPECT_EQ(*members, (test::FlatJsonMembers{{"a", "x\"y"}, {"b", "\xc3\xa9\xf0\x9f\x98\x80"}}));
}

}  // namespace
}  // namespace tiqora
