#include "wbx_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace wbx {
namespace {

TEST(Endpoint, HostWithOrWithoutPort) {
    struct Case {
        const char* text;
        int defaultPort;
        const char* host;
        int port;
    } cases[] = {
        {"calltrack.tiqora.example", 80, "calltrack.tiqora.example", 80},
        {"127.0.0.1:8123", 80, "127.0.0.1", 8123},
        {"10.1.2.3:81", 7777, "10.1.2.3", 81},
        {"10.1.2.3:", 7777, "10.1.2.3", 7777},
        {"10.1.2.3:0", 7777, "10.1.2.3", 7777},
        {"10.1.2.3:65536", 7777, "10.1.2.3", 7777},
        {"10.1.2.3:81x", 7777, "10.1.2.3", 7777},
        {"", 80, "", 80},
    };
    for (const auto& c : cases) {
        const Endpoint e = parseEndpoint(c.text, c.defaultPort);
        EXPECT_EQ(e.host, c.host) << c.text;
        EXPECT_EQ(e.port, c.port) << c.text;
    }
}

TEST(LanServer, AcipFirstThenIpAndNotAvailableSkipped) {
    struct Case {
        const char* acip;
        const char* ip;
        const char* host;  // null: no server
        int port;
    } cases[] = {
        {"192.168.1.20", "10.0.0.1", "192.168.1.20", 7777},
        {"N/A", "10.1.2.3", "10.1.2.3", 7777},
        {"", "10.1.2.3:81", "10.1.2.3", 81},
        {"127.0.0.1:40123", "N/A", "127.0.0.1", 40123},
        {"N/A", "N/A", nullptr, 0},
        {"", "", nullptr, 0},
    };
    for (const auto& c : cases) {
        const auto server = lanServerFrom(c.acip, c.ip);
        if (!c.host) {
            EXPECT_FALSE(server) << c.acip;
            continue;
        }
        ASSERT_TRUE(server) << c.acip;
        EXPECT_EQ(server->host, c.host);
        EXPECT_EQ(server->port, c.port);
    }
}

TEST(LanServer, AHostWithoutPortReachesTheLanServerOnItsPort) {
    const auto lan = lanServerFrom("127.0.0.1:40123", "");
    EXPECT_EQ(endpointFor("127.0.0.1", lan).port, 40123);
    EXPECT_EQ(endpointFor("127.0.0.1:5000", lan).port, 5000);
    EXPECT_EQ(endpointFor("helpdesk.tiqora.example", lan).port, 80);
    EXPECT_EQ(endpointFor("127.0.0.1", std::nullopt).port, 80);
}

TEST(ContentType, JsonWhenTheBodyIsAnObject) {
    EXPECT_EQ(contentTypeFor("{\"a\":1}"), "application/json");
    EXPECT_EQ(contentTypeFor("CustName=A&B=c"), "application/x-www-form-urlencoded");
    EXPECT_EQ(contentTypeFor(" {"), "application/x-www-form-urlencoded");
    EXPECT_EQ(contentTypeFor(""), "application/x-www-form-urlencoded");
}

TEST(CopyReply, CutsToTheBufferAndNeverWritesPastIt) {
    char buffer[16];
    struct Case {
        std::string reply;
        size_t capacity;
        std::string kept;
    } cases[] = {
        {"CT : 4711", 8, "CT : 47"},
        {"CT : 4711", 10, "CT : 4711"},
        {"CT : 4711", 11, "CT : 4711"},
        {"", 4, ""},
        {"abc", 1, ""},
    };
    for (const auto& c : cases) {
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(copyReply(c.reply, buffer, c.capacity), c.kept.size());
        EXPECT_STREQ(buffer, c.kept.c_str());
        for (size_t i = c.capacity; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << "byte " << i;
    }
    EXPECT_EQ(copyReply("abc", nullptr, 4), 0u);
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(copyReply("abc", buffer, 0), 0u);
    EXPECT_EQ(buffer[0], '#');
}

TEST(ReplyCapacity, SendWebdata3FillsTheBufferOfTheSiteItsPathNames) {
    const struct {
        const char* path;
        size_t capacity;
    } cases[] = {
        {"/api/it-ticket/create-ticket", 21000},
        {"/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1", 8192},
        {"/api/admintikitgeneration/post", 8192},
        {"/api/v2/sendMail/sendmail", 2048},
        // Any other path gets the smallest buffer any site hands.
        {"/api/it-ticket/create-ticket/x", 2048},
        {"/API/IT-TICKET/CREATE-TICKET", 2048},
        {"", 2048},
    };
    for (const auto& c : cases) EXPECT_EQ(sendWebdata3Capacity(c.path), c.capacity) << c.path;
}

TEST(NumericArguments, AreBounded) {
    EXPECT_EQ(clampAttempts(0), 1);
    EXPECT_EQ(clampAttempts(2), 2);
    EXPECT_EQ(clampAttempts(99), 3);
    EXPECT_EQ(clampConnectSeconds(-5), 1);
    EXPECT_EQ(clampConnectSeconds(2), 2);
    EXPECT_EQ(clampConnectSeconds(60), 10);
}

}  // namespace
}  // namespace wbx
