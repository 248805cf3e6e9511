#include "core/it_ticket/lan_reply.h"

#include <gtest/gtest.h>

#include <string>

namespace tiqora {
namespace {

TEST(LanReply, StatusIsReadAsAJsonValue) {
    const std::string data = R"("data":"1001$9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f")";
    struct Case {
        std::string reply;
        bool delivered;
    } cases[] = {
        {R"({"message":"request added successfully",)" + data + R"(,"status":1,"code":200})", true},
        {R"({"message":"request added successfully",)" + data + R"(,"status":"1","code":200})", true},
        {R"({"message":"request added successfully",)" + data + R"(,"code":200,"status":1})", true},
        {R"({"message":"request added successfully",)" + data + R"(,"code":200,"status":"1"})", true},
        {"{ \"status\" :\t1 }", true},
        {"\xEF\xBB\xBF{\"status\":1}", true},
        {"{\r\n  \"status\": \"1\"\r\n}", true},
        // Members before it of every kind are walked over.
        {R"({"a":{"status":0,"b":[1,{"c":"}"}]},"list":[],"n":null,"t":true,"s":"x\"status\":0","status":1})", true},
        // A reply cut after the member still tells.
        {R"({"status":1,"message":"request added succ)", true},
        // Absent, or any other value.
        {R"({"message":"request added successfully",)" + data + R"(,"code":200})", false},
        {R"({"status":0})", false},
        {R"({"status":"0"})", false},
        {R"({"status":10})", false},
        {R"({"status":"1 "})", false},
        {R"({"status":"ok"})", false},
        {R"({"status":true})", false},
        {R"({"status":null})", false},
        {R"({"status":[1]})", false},
        {R"({"Status":1})", false},
        {R"({"state":1,"statuses":1})", false},
        // Only the object's own member counts, not one nested or quoted.
        {R"({"result":{"status":1}})", false},
        {R"({"message":"\"status\":1"})", false},
        {R"([{"status":1}])", false},
        {"", false},
        {"status:1", false},
        {"{", false},
        {R"({"status":)", false},
        {"{}", false},
        {"request added successfully", false},
    };
    for (const auto& c : cases) EXPECT_EQ(lanReplyDelivered(c.reply), c.delivered) << c.reply;
}

TEST(LanReply, AnHtmlErrorPageNeverCountsAsDelivered) {
    const char* pages[] = {
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html><body>Connection to server <b>gw</b> "
        "could not be established.</body></html>\n",
        // Even when it quotes a JSON answer.
        "{\"status\":1}<!DOCTYPE HTML PUBLIC>",
        "{\"status\":1,\"page\":\"<html><body>Connection to server <b>lan</b>\"}",
    };
    for (const char* page : pages) EXPECT_FALSE(lanReplyDelivered(page)) << page;
}

TEST(LanReply, DeeplyNestedRepliesEndWithoutHarm) {
    std::string reply = "{\"a\":";
    for (int i = 0; i < 100000; ++i) reply += '[';
    EXPECT_FALSE(lanReplyDelivered(reply + ",\"status\":1}"));
}

}  // namespace
}  // namespace tiqora
