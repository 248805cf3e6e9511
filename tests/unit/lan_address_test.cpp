#include "core/it_ticket/lan_address.h"

#include <gtest/gtest.h>

#include <string>

namespace tiqora {
namespace {

TEST(LanAddress, BuildsAndSplitsTheAddressText) {
    struct Case {
        std::string value;
        const char* addressText;
        const char* hostAndPort;
        const char* host;
        const char* portText;
        int port;
        const char* checkedText;
        bool dotted;
    } cases[] = {
        {"192.168.1.20", "192.168.1.20:7777/DPXLAN/pagenameaspx", "192.168.1.20:7777", "192.168.1.20", "7777", 7777,
         "192.168.1.20:7777/DPXLAN", true},
        // A value with its own port: that port comes first in the port text.
        {"10.1.2.3:81", "10.1.2.3:81:7777/DPXLAN/pagenameaspx", "10.1.2.3:81:7777", "10.1.2.3", "81:7777", 81,
         "10.1.2.3:81:7777/DPXLAN", true},
        {"lan.example.com", "lan.example.com:7777/DPXLAN/pagenameaspx", "lan.example.com:7777", "lan.example.com",
         "7777", 7777, "lan.example.com:7777/DPXLAN", true},
        // A host without a dot is refused.
        {"server01", "server01:7777/DPXLAN/pagenameaspx", "server01:7777", "server01", "7777", 7777,
         "server01:7777/DPXLAN", false},
        // Leading slashes are skipped for the split only.
        {"//10.0.0.5", "//10.0.0.5:7777/DPXLAN/pagenameaspx", "10.0.0.5:7777", "10.0.0.5", "7777", 7777,
         "//10.0.0.5:7777/DPXLAN", true},
        {"", ":7777/DPXLAN/pagenameaspx", ":7777", "", "7777", 7777, ":7777/DPXLAN", false},
        {":abc", ":abc:7777/DPXLAN/pagenameaspx", ":abc:7777", "", "abc:7777", 0, ":abc:7777/DPXLAN", false},
    };
    for (const auto& c : cases) {
        const LanAddress address = lanAddressFrom(c.value);
        EXPECT_EQ(address.addressText, c.addressText) << c.value;
        EXPECT_EQ(address.hostAndPort, c.hostAndPort) << c.value;
        EXPECT_EQ(address.host, c.host) << c.value;
        EXPECT_EQ(address.portText, c.portText) << c.value;
        EXPECT_EQ(lanPortNumber(address.portText), c.port) << c.value;
        EXPECT_EQ(address.checkedText, c.checkedText) << c.value;
        EXPECT_EQ(address.dotted, c.dotted) << c.value;
    }
}

TEST(LanAddress, TheAddressTextKeepsTheBuffersLimit) {
    // ServerIP.ini values arrive cut to 259 characters; the suffix then
    // fits only partly, or not at all.
    const std::string full(259, 'a');
    const LanAddress noRoom = lanAddressFrom(full);
    EXPECT_EQ(noRoom.addressText, full);
    EXPECT_EQ(noRoom.hostAndPort, full);
    EXPECT_EQ(noRoom.host, full);
    EXPECT_EQ(noRoom.portText, "");
    EXPECT_EQ(noRoom.checkedText, full);
    EXPECT_FALSE(noRoom.dotted);

    const std::string value = "10.1.2.3" + std::string(240, 'x');  // 248 characters
    const LanAddress partly = lanAddressFrom(value);
    EXPECT_EQ(partly.addressText, value + ":7777/DPXLA");
    EXPECT_EQ(partly.addressText.size(), 259u);
    EXPECT_EQ(partly.hostAndPort, value + ":7777");
    EXPECT_EQ(partly.portText, "7777");
    EXPECT_EQ(partly.checkedText, value + ":7777");
    EXPECT_TRUE(partly.dotted);

    EXPECT_EQ(lanAddressFrom(std::string(400, 'b')).addressText.size(), 259u);
}

TEST(LanAddress, PortNumberFromLeadingDigits) {
    struct Case {
        const char* text;
        int port;
    } cases[] = {
        {"7777", 7777}, {"81:7777", 81}, {"8080x", 8080}, {"", 0}, {"x81", 0},
        {":7777", 0},   {"0", 0},        {"99999999999999999999", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(lanPortNumber(c.text), c.port) << c.text;
}

TEST(LanAddress, MissingServerValues) {
    struct Case {
        const char* value;
        bool missing;
    } cases[] = {{"N/A", true}, {"10.1.2.3 N/A", true}, {"n/a", false}, {"", false}, {"10.1.2.3", false}};
    for (const auto& c : cases) EXPECT_EQ(serverValueMissing(c.value), c.missing) << c.value;
}

TEST(LanAddress, LanUrlJoinsHostAndPortWithTheApiPath) {
    EXPECT_EQ(lanUrlFor("10.1.2.3:81:7777"),
              "http://10.1.2.3:81:7777/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1");
}

}  // namespace
}  // namespace tiqora
