#include "core/it_ticket/ticket_reply.h"

#include <gtest/gtest.h>

#include <string>

namespace tiqora {
namespace {

enum class Server { Lan, Web };

TicketReceipt readReply(Server server, std::string_view reply) {
    return server == Server::Lan ? readLanTicketReply(reply) : readWebTicketReply(reply);
}

struct ReplyCase {
    const char* what;
    Server server;
    std::string reply;
    bool delivered;
    bool hasData;
    const char* id;
    const char* guid;
};

void expectReceipt(const ReplyCase& c) {
    const TicketReceipt receipt = readReply(c.server, c.reply);
    EXPECT_EQ(receipt.delivered, c.delivered) << c.what;
    EXPECT_EQ(receipt.hasData, c.hasData) << c.what;
    EXPECT_EQ(receipt.ticketId, c.id) << c.what;
    EXPECT_EQ(receipt.ticketGuid, c.guid) << c.what;
}

constexpr char kLanOk[] = R"({"status":1,"message":"Request Added Successfully",)";
constexpr char kWebOk[] = R"({"Message":"Ticket Created Successfully",)";

TEST(TicketReply, LanServer) {
    const std::string ok = kLanOk;
    const ReplyCase cases[] = {
        {"id and GUID", Server::Lan, ok + R"("data":"1001$5f2c-77ab"})", true, true, "1001", "5f2c-77ab"},
        {"upper case is lowered", Server::Lan, ok + R"("Data":"TK1001$5F2C-77AB"})", true, true, "tk1001", "5f2c-77ab"},
        {"the phrase in capitals still counts", Server::Lan,
         R"({"message":"REQUEST ADDED SUCCESSFULLY","data":"7$abc"})", true, true, "7", "abc"},
        {"blanks and quotes around the id go", Server::Lan, ok + R"("data": " 1001 $abc"})", true, true, "1001", "abc"},
        {"no $: the GUID is the value less its first character", Server::Lan, ok + R"("data":"1001","code":7})", true,
         true, "1001", "1001"},
        // Only the GUID loses the braces: with no $ the closing one stays with the id.
        {"no $, data last", Server::Lan, ok + R"("data":"1001"})", true, true, "1001}", "1001"},
        {"no $ and no quotes", Server::Lan, ok + R"("data":1001,"code":7})", true, true, "1001", "001"},
        {"braces leave the GUID", Server::Lan, ok + R"("data":"1001$abc}}"})", true, true, "1001", "abc"},
        {"data not last: the value ends at the comma", Server::Lan,
         R"({"data":"1001$abc","message":"request added successfully"})", true, true, "1001", "abc"},
        {"the first data counts when the phrase comes twice", Server::Lan,
         ok + R"("data":"1$a","note":"request added successfully","data":"2$b"})", true, true, "1", "a"},
        {"null id", Server::Lan, ok + R"("data":"null$abc"})", true, true, "null", "abc"},
        {"no data", Server::Lan, R"({"status":1,"message":"Request added successfully"})", true, false, "", ""},
        {"no colon after data", Server::Lan, "request added successfully; data follows", true, true, "", ""},
        {"empty value", Server::Lan, ok + R"("data":,"x":"y"})", true, true, "", ""},
        {"not delivered: data is not read", Server::Lan, R"({"status":0,"message":"Failed","data":"1001$abc"})", false,
         false, "", ""},
        {"the phrase cut by a line break is not the phrase", Server::Lan, "request added\nsuccessfully data:1$a", false,
         false, "", ""},
        {"empty reply", Server::Lan, "", false, false, "", ""},
    };
    for (const auto& c : cases) expectReceipt(c);
}

TEST(TicketReply, WebConsole) {
    const std::string ok = kWebOk;
    const ReplyCase cases[] = {
        {"id and GUID, lowered", Server::Web, ok + R"("Data":"WT1001$9F3A-BC01"})", true, true, "wt1001", "9f3a-bc01"},
        {"quotes and braces", Server::Web, ok + R"("data":"\"W7\"$g\"1\"}"})", true, true, "\\w7\\", "g\\1\\"},
        {"no $", Server::Web, ok + R"("data":"WT5","Code":7})", true, true, "wt5", "wt5"},
        {"no data", Server::Web, R"({"Message":"Ticket Created Successfully"})", true, false, "", ""},
        {"the phrase in other letter cases is refused", Server::Web,
         R"({"Message":"ticket created successfully","Data":"WT1$g"})", false, false, "", ""},
        {"capitals refused too", Server::Web, R"({"Message":"TICKET CREATED SUCCESSFULLY","Data":"WT1$g"})", false,
         false, "", ""},
        {"phrase twice", Server::Web, ok + R"("note":"Ticket Created Successfully","data":"WT2$h"})", true, true, "wt2",
         "h"},
        {"empty reply", Server::Web, "", false, false, "", ""},
    };
    for (const auto& c : cases) expectReceipt(c);
}

TEST(TicketReply, TheLargestLanReplyIsReadToTheEnd) {
    // 21000 bytes with the phrase and the data member at the very end.
    const std::string tail = R"("message":"Request Added Successfully","data":"4242$FEED"})";
    std::string reply = R"({"pad":")";
    reply += std::string(21000 - reply.size() - tail.size() - 2, 'X');
    reply += "\",";
    reply += tail;
    ASSERT_EQ(reply.size(), 21000u);
    const TicketReceipt receipt = readLanTicketReply(reply);
    EXPECT_TRUE(receipt.delivered);
    EXPECT_TRUE(receipt.hasData);
    EXPECT_EQ(receipt.ticketId, "4242");
    EXPECT_EQ(receipt.ticketGuid, "feed");
}

TEST(TicketReply, OnlyShortIdsWithoutNullAreListed) {
    struct Case {
        const char* id;
        bool listed;
    } cases[] = {
        {"123456789012345", true},   // 15
        {"1234567890123456", false},  // 16
        {"1001", true},
        {"null", false},
        {"tknull7", false},
        {"nul", true},
        {"", true},  // emptiness is the caller's check
    };
    for (const auto& c : cases) EXPECT_EQ(lanIdIsListed(c.id), c.listed) << c.id;

    // As read from a reply.
    const std::string ok = kLanOk;
    EXPECT_TRUE(lanIdIsListed(readLanTicketReply(ok + R"("data":"123456789012345$g"})").ticketId));
    EXPECT_FALSE(lanIdIsListed(readLanTicketReply(ok + R"("data":"1234567890123456$g"})").ticketId));
    EXPECT_FALSE(lanIdIsListed(readLanTicketReply(ok + R"("data":"NULL$g"})").ticketId));
}

TEST(TicketReply, SafeRecordText) {
    struct Case {
        std::string text;
        bool safe;
    } cases[] = {
        {"1001", true},
        {"tk-1001_a b", true},
        {"5f2c-77ab.v2", true},
        {"caf\xc3\xa9 \xe2\x82\xb9", true},
        {".", true},
        {"", true},  // emptiness is the caller's check
        {"..", false},
        {"a..b", false},
        {"..\\..\\Windows", false},
        {"a\\b", false},
        {"a/b", false},
        {"C:x", false},
        {"a*", false},
        {"a?", false},
        {"say\"", false},
        {"<a", false},
        {"a>", false},
        {"a|b", false},
        {"key=value", false},
        {"[section]", false},
        {"a]", false},
        {"a;b", false},
        {"a\tb", false},
        {"a\r\nb", false},
        {std::string("a\0b", 3), false},
        {"a\x1f", false},
        {"a\x7f", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isSafeRecordText(c.text), c.safe) << c.text;
}

}  // namespace
}  // namespace tiqora
