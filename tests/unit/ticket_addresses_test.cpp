#include "core/ticket_history/ticket_addresses.h"

#include <gtest/gtest.h>

#include <string>

#include "core/reply_popup/popup_position.h"

namespace tiqora {
namespace {

constexpr char kCorporateText[] = "Kelvane Orvantis corporate customer 0001 / branch office Pune, Maharashtra IN";

ServiceAddress consoleAt(const char* setting) { return std::get<ServiceAddress>(serviceAddressOf(setting)); }

TEST(TicketAddresses, Base64IsOneLineAtEveryLength) {
    // 57 bytes and more were cut into lines of 76 with CR LF by one of the
    // two encoders (and 73 bytes and more emptied): both now give one line.
    struct Case {
        size_t length;
        const char* encoded;
    } cases[] = {
        {0, ""},
        {1, "Sw=="},
        {2, "S2U="},
        {3, "S2Vs"},
        {56, "S2VsdmFuZSBPcnZhbnRpcyBjb3Jwb3JhdGUgY3VzdG9tZXIgMDAwMSAvIGJyYW5jaCBvZmZpY2U="},
        {57, "S2VsdmFuZSBPcnZhbnRpcyBjb3Jwb3JhdGUgY3VzdG9tZXIgMDAwMSAvIGJyYW5jaCBvZmZpY2Ug"},
        {73, "S2VsdmFuZSBPcnZhbnRpcyBjb3Jwb3JhdGUgY3VzdG9tZXIgMDAwMSAvIGJyYW5jaCBvZmZpY2UgUHVuZSwgTWFoYXJhc2h0cg=="},
    };
    for (const auto& c : cases) {
        const std::string input = std::string(kCorporateText).substr(0, c.length);
        EXPECT_EQ(base64Encode(input), c.encoded) << c.length << " bytes";
    }
    // Every byte value, the two last letters of the alphabet included.
    EXPECT_EQ(base64Encode(std::string("\xfb\xff\xbf", 3)), "+/+/");
    EXPECT_EQ(base64Encode(std::string("\0\0", 2)), "AAA=");
}

TEST(TicketAddresses, PercentEncodingKeepsOnlyUnreservedBytes) {
    struct Case {
        std::string guid;
        const char* encoded;
    } cases[] = {
        {"6f1c2d3e-4a5b-4c6d-8e9f-0a1b2c3d4e5f", "6f1c2d3e-4a5b-4c6d-8e9f-0a1b2c3d4e5f"},
        {"{6F1C2D3E-4A5B}", "%7B6F1C2D3E-4A5B%7D"},
        {"A.b_c~9", "A.b_c~9"},
        {"", ""},
        {"x --renderer-cmd-prefix=calc", "x%20--renderer-cmd-prefix%3Dcalc"},
        {"a\"b&c#d?e/f%g+h", "a%22b%26c%23d%3Fe%2Ff%25g%2Bh"},
        {"\xc3\xbc\x01\x7f\xff", "%C3%BC%01%7F%FF"},  // UTF-8 bytes, controls, a stray byte
    };
    for (const auto& c : cases) EXPECT_EQ(percentEncode(c.guid), c.encoded) << c.guid;
}

TEST(TicketAddresses, PageAddresses) {
    // LAN pages carry the port number only: a server value with its own port
    // ("10.1.2.3:81") has the port text "81:7777".
    struct LanCase {
        const char *host, *portText, *guid, *address;
    } lanCases[] = {
        {"192.168.1.20", "7777", "abc", "http://192.168.1.20:7777/adminTicketExternal/UserTicket?ticketGuid=abc"},
        {"10.1.2.3", "81:7777", "abc", "http://10.1.2.3:81/adminTicketExternal/UserTicket?ticketGuid=abc"},
        {"10.1.2.3", "7777", "", "http://10.1.2.3:7777/adminTicketExternal/UserTicket?ticketGuid="},
        {"10.1.2.3", "7777", "x --renderer-cmd-prefix=calc",
         "http://10.1.2.3:7777/adminTicketExternal/UserTicket?ticketGuid=x%20--renderer-cmd-prefix%3Dcalc"},
        {"10.1.2.3", "7777", "a&b=c#d",
         "http://10.1.2.3:7777/adminTicketExternal/UserTicket?ticketGuid=a%26b%3Dc%23d"},
    };
    for (const auto& c : lanCases) EXPECT_EQ(lanTicketPageAddress(c.host, c.portText, c.guid), c.address) << c.guid;

    struct WebCase {
        const char *host, *corporateId, *guid, *address;
    } webCases[] = {
        {"console.example.com", "CORP-1001", "6f1c-2d3e",
         "http://console.example.com/user/it-ticket/ticket-info/Q09SUC0xMDAx/6f1c-2d3e"},
        {"127.0.0.1:8080", "K", "g", "http://127.0.0.1:8080/user/it-ticket/ticket-info/Sw==/g"},
        // No corporate id: an empty segment.
        {"console.example.com", "", "g", "http://console.example.com/user/it-ticket/ticket-info//g"},
        {"console.example.com", "CORP-1001", "{g h}",
         "http://console.example.com/user/it-ticket/ticket-info/Q09SUC0xMDAx/%7Bg%20h%7D"},
    };
    for (const auto& c : webCases)
        EXPECT_EQ(webTicketPageAddress(consoleAt(c.host), c.corporateId, c.guid), c.address) << c.corporateId << " " << c.guid;

    // A long corporate id stays on one line in the address.
    const std::string longId = std::string(kCorporateText).substr(0, 73);
    const std::string address = webTicketPageAddress(consoleAt("h"), longId, "g");
    EXPECT_EQ(address.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(address,
              "http://h/user/it-ticket/ticket-info/"
              "S2VsdmFuZSBPcnZhbnRpcyBjb3Jwb3JhdGUgY3VzdG9tZXIgMDAwMSAvIGJyYW5jaCBvZmZpY2UgUHVuZSwgTWFoYXJhc2h0cg==/g");
}

TEST(TicketAddresses, TheBrowserGetsTheAddressAsOneArgumentAfterDashes) {
    struct Case {
        const char *text, *quoted;
    } cases[] = {
        {"http://h/p?ticketGuid=abc", "\"http://h/p?ticketGuid=abc\""},
        {"", "\"\""},
        {"a b", "\"a b\""},
        {"a\"b", "\"a\\\"b\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},  // a backslash before a quote is doubled
        {"a\\b", "\"a\\b\""},           // elsewhere it stays single
        {"a\\", "\"a\\\\\""},           // before the closing quote it is doubled
    };
    for (const auto& c : cases) EXPECT_EQ(quoteArgument(c.text), c.quoted) << c.text;

    EXPECT_EQ(browserArguments("http://h/x%20--y"), "-- \"http://h/x%20--y\"");
    EXPECT_EQ(browserCommandLine("chrome.exe", "http://h/x"), "chrome.exe -- \"http://h/x\"");
}

TEST(TicketAddresses, CommandLineBufferHoldsTheTextAndItsTerminator) {
    EXPECT_TRUE(fitsBuffer(259, 260));
    EXPECT_FALSE(fitsBuffer(260, 260));
    EXPECT_FALSE(fitsBuffer(5000, 1024));
    EXPECT_TRUE(fitsBuffer(0, 1));
}

TEST(PopupPosition, FollowsTheTaskbarEdge) {
    // Popup 347 x 165, taskbar 1280 x 40 (bottom/top) or 60 x 800 (sides),
    // desktop 1280 x 800.
    struct Case {
        unsigned edge;
        int taskbarWidth, taskbarHeight;
        int x, y;
    } cases[] = {
        {0, 60, 800, 1280 - 347 - 1, 800 - 165},             // left
        {1, 1280, 40, 1280 - 347 - 1, 800 - 165},            // top
        {2, 60, 800, 1280 - 347 - 60, 800 - 165},            // right: touches the taskbar
        {3, 1280, 40, 1280 - 347 - 1, 800 - 165 - 40},       // bottom: stands on the taskbar
        {3, 0, 0, 1280 - 347 - 1, 800 - 165},                // a taskbar window of no size
    };
    for (const auto& c : cases) {
        const auto point = popupPosition(c.edge, {347, 165, c.taskbarWidth, c.taskbarHeight, 1280, 800});
        ASSERT_TRUE(point.has_value()) << c.edge;
        EXPECT_EQ(point->x, c.x) << c.edge;
        EXPECT_EQ(point->y, c.y) << c.edge;
    }
    // An edge the shell did not name leaves the popup where it is.
    EXPECT_FALSE(popupPosition(4, {347, 165, 0, 0, 1280, 800}).has_value());
    EXPECT_FALSE(popupPosition(0xFFFFFFFFu, {347, 165, 0, 0, 1280, 800}).has_value());
}

}  // namespace
}  // namespace tiqora
