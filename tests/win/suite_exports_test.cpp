// The suite stand-ins, loaded by path and called as the program calls them,
// against the local vendor services: what arrives, what comes back, what is
// cut, and how long a dead service may cost.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "harness/machine.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "win/suite_exports.h"
#include "win/suite_library.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

const char kLanPath[] = "/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1";

std::string vendorHost() { return "127.0.0.1:" + std::to_string(vendorPort()); }

// A loopback port on which nothing listens: connections are refused at once.
int closedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    return ntohs(address.sin_port);
}

// The suite's libraries as the program loads them.
class SuiteExportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        restrictDllSearchPath();
        SuiteMachine::standard();
        setVendorScenario("success");
        clearVendorJournal();
        wbx_ = SuiteModule::load(SuiteMachine::qxscanFolder() + L"\\WBX.DLL");
        intranet_ = SuiteModule::load(SuiteMachine::qxscanFolder() + L"\\DPXIntraPol.dll");
        ASSERT_TRUE(wbx_);
        ASSERT_TRUE(intranet_);
        send2_ = wbx_.find<SendWebdata2Fn>("SendWebdata2");
        send3_ = wbx_.find<SendWebdata3Fn>("SendWebdata3");
        send4_ = wbx_.find<SendWebdata4Fn>("SendWebdata4");
        sendLocal_ = wbx_.find<SendLocalDataFn>("SendLocalData");
        receiveReports_ = intranet_.find<ReceiveClientReportsFn>("ReceiveClientReports");
        ASSERT_TRUE(send2_ && send3_ && send4_ && sendLocal_ && receiveReports_);
    }

    SuiteModule wbx_, intranet_;
    SendWebdata2Fn send2_ = nullptr;
    SendWebdata3Fn send3_ = nullptr;
    SendWebdata4Fn send4_ = nullptr;
    SendLocalDataFn sendLocal_ = nullptr;
    ReceiveClientReportsFn receiveReports_ = nullptr;
};

TEST_F(SuiteExportsTest, EachSendPostsTheExactRequestAndReturnsTheWholeReply) {
    const std::string form = "CustName=Asha Verma&CustMobNo=9876543210&Problem=VIRUS - slow&UserID=241";
    const std::string json = R"({"Customeremail":"asha.verma@example.com","feedbackrating":"Good"})";
    const std::string ticket = R"({"LicenseNo":"TQ4711","Status":"New"})";
    struct Case {
        const char* what;
        std::function<int(char*)> call;
        std::string path, agent, body, contentType;
        int port;
        std::string reply;
    };
    const std::string host = vendorHost();
    const std::vector<Case> cases = {
        {"SendWebdata2, form", [&](char* r) { return send2_(host.c_str(), "/Android/SaveNewCall.aspx", form.c_str(), "Tiqora", r); },
         "/Android/SaveNewCall.aspx", "Tiqora", form, "application/x-www-form-urlencoded", vendorPort(), "CT : 4711"},
        {"SendWebdata3, JSON", [&](char* r) { return send3_(host.c_str(), "/api/v2/sendMail/sendmail", json.c_str(), "Feedback", 0, 1, 2, r); },
         "/api/v2/sendMail/sendmail", "Feedback", json, "application/json", vendorPort(), "Msg sent"},
        {"SendWebdata4, port argument", [&](char* r) { return send4_("127.0.0.1", kLanPath, ticket.c_str(), "SystemAdmin-Ticket", 0, 1, 2, lanPort(), r); },
         kLanPath, "SystemAdmin-Ticket", ticket, "application/json", lanPort(),
         R"({"message":"request added successfully","data":"1001$9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f","status":1,"code":200})"},
        // The LAN resend names the bare LAN host: the library finds the
        // server's port in the suite's ServerIP.ini.
        {"SendWebdata3, bare LAN host", [&](char* r) { return send3_("127.0.0.1", kLanPath, ticket.c_str(), "SystemAdmin-Ticket", 0, 1, 2, r); },
         kLanPath, "SystemAdmin-Ticket", ticket, "application/json", lanPort(),
         R"({"message":"request added successfully","data":"1001$9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f","status":1,"code":200})"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        std::vector<char> reply(21000, '#');
        EXPECT_EQ(c.call(reply.data()), 0) << c.what;
        EXPECT_EQ(std::string(reply.data()), c.reply) << c.what;
        const VendorRequest request = waitForVendorRequest(i);
        EXPECT_EQ(request.method, "POST") << c.what;
        EXPECT_EQ(request.path, c.path) << c.what;
        EXPECT_EQ(request.port, c.port) << c.what;
        EXPECT_EQ(request.header("user-agent"), c.agent) << c.what;
        EXPECT_EQ(request.contentType, c.contentType) << c.what;
        EXPECT_EQ(request.body, c.body) << c.what;
        EXPECT_EQ(request.header("expect"), "") << c.what;
    }
}

TEST_F(SuiteExportsTest, ALongReplyIsCutAtEachExportsLimitAndNothingPastItIsWritten) {
    setVendorScenario("big-reply");
    const std::string host = vendorHost();
    struct Case {
        const char* what;
        std::function<int(char*)> call;
        size_t limit;
    };
    const std::vector<Case> cases = {
        {"SendWebdata2", [&](char* r) { return send2_(host.c_str(), "/Android/SaveNewCall.aspx", "a=b", "Tiqora", r); }, 8192},
        {"SendWebdata3", [&](char* r) { return send3_(host.c_str(), "/api/v2/sendMail/sendmail", "{}", "Feedback", 0, 1, 2, r); }, 2048},
        {"SendWebdata4", [&](char* r) { return send4_("127.0.0.1", kLanPath, "{}", "SystemAdmin-Ticket", 0, 1, 2, lanPort(), r); }, 21000},
    };
    const std::string pattern = "0123456789abcdef";
    for (const Case& c : cases) {
        std::vector<char> buffer(c.limit + 64, '#');
        EXPECT_EQ(c.call(buffer.data()), 0) << c.what;
        const std::string reply(buffer.data());
        ASSERT_EQ(reply.size(), c.limit - 1) << c.what;
        for (size_t i = 0; i < reply.size(); ++i) ASSERT_EQ(reply[i], pattern[i % pattern.size()]) << c.what << " at " << i;
        for (size_t i = c.limit; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], '#') << c.what << " guard byte " << i;
    }
}

TEST_F(SuiteExportsTest, AnErrorStatusStillHandsBackItsBody) {
    setVendorScenario("error-500");
    char reply[2048];
    EXPECT_EQ(send3_(vendorHost().c_str(), "/api/v2/sendMail/sendmail", "{}", "Feedback", 0, 1, 2, reply), 0);
    EXPECT_STREQ(reply, "Internal Server Error");
}

TEST_F(SuiteExportsTest, AServiceThatIsDownOrSilentGivesAnEmptyReplyInBoundedTime) {
    const std::string down = "127.0.0.1:" + std::to_string(closedPort());
    char reply[2048];
    std::memset(reply, '#', sizeof reply);
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(send3_(down.c_str(), "/api/v2/sendMail/sendmail", "{}", "Feedback", 0, 1, 2, reply), -2);
    EXPECT_STREQ(reply, "");
    EXPECT_LT(GetTickCount64() - start, 3000u);

    setVendorScenario("slow");
    std::memset(reply, '#', sizeof reply);
    start = GetTickCount64();
    EXPECT_EQ(send2_(vendorHost().c_str(), "/Android/SaveNewCall.aspx", "a=b", "Tiqora", reply), -2);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_STREQ(reply, "");
    EXPECT_GE(elapsed, 7000u);
    EXPECT_LT(elapsed, 12000u);  // one attempt of at most 8 s, and nothing more
}

TEST_F(SuiteExportsTest, FilesReachTheLanServerByteForByte) {
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += static_cast<char>((i * 7 + i / 256) & 0xFF);
    const std::wstring path = SuiteMachine::logFolder() + L"\\L_2024-03-07_ 9- 5- 3_ITTKT.jpg";
    writeFileBytes(path, bytes);
    const std::string narrow = toAnsi(path);

    EXPECT_EQ(sendLocal_(narrow.c_str(), "L_2024-03-07_ 9- 5- 3_ITTKT.SCR"), 0);
    EXPECT_EQ(receiveReports_(narrow.c_str()), 1);

    const auto requests = vendorRequests();
    ASSERT_EQ(requests.size(), 2u);
    const struct {
        const char* agent;
        const char* name;
    } expected[] = {{"WBX-LocalData", "L_2024-03-07_ 9- 5- 3_ITTKT.SCR"}, {"DPXIntraPol", "L_2024-03-07_ 9- 5- 3_ITTKT.jpg"}};
    for (size_t i = 0; i < 2; ++i) {
        const VendorRequest& request = requests[i];
        EXPECT_EQ(request.path, "/DPXLAN/FileReceive");
        EXPECT_EQ(request.port, lanPort());
        EXPECT_EQ(request.header("user-agent"), expected[i].agent);
        ASSERT_EQ(request.parts.size(), 2u);
        EXPECT_EQ(request.parts[0].name, "name");
        EXPECT_EQ(request.parts[0].data, expected[i].name);
        EXPECT_EQ(request.parts[1].name, "file");
        EXPECT_EQ(request.parts[1].filename, expected[i].name);
        EXPECT_TRUE(request.parts[1].data == bytes) << "file part differs from the file";
    }
}

TEST_F(SuiteExportsTest, AFileThatCannotBeDeliveredGivesTheFailureResult) {
    const std::string missing = "C:\\qx\\no such screenshot.jpg";
    EXPECT_EQ(sendLocal_(missing.c_str(), "x.SCR"), 1);
    EXPECT_EQ(receiveReports_(missing.c_str()), 0);

    const std::wstring path = SuiteMachine::logFolder() + L"\\shot.jpg";
    writeFileBytes(path, "jpeg bytes");
    const std::string narrow = toAnsi(path);
    setVendorScenario("error-500");
    EXPECT_EQ(sendLocal_(narrow.c_str(), "shot.SCR"), 3);
    EXPECT_EQ(receiveReports_(narrow.c_str()), 0);

    DeleteFileW((SuiteMachine::productDataFolder() + L"\\ServerIP.ini").c_str());
    EXPECT_EQ(sendLocal_(narrow.c_str(), "shot.SCR"), 2);
    EXPECT_EQ(receiveReports_(narrow.c_str()), 0);
    EXPECT_TRUE(fileExists(path));  // the libraries never delete the caller's file
}

TEST(RemoteSupportTool, ShowsItsWindowAndRecordsThatItRan) {
    SuiteMachine::standard();
    AppProcess tool(SuiteMachine::installFolder() + L"\\HALDORIN.EXE", L"/session");
    HWND window = tool.waitForWindow(L"", L"HALDORIN Remote Support");
    const std::string log = readFileBytes(SuiteMachine::productDataFolder() + L"\\HALDORIN.log");
    EXPECT_NE(log.find("started: "), std::string::npos) << log;
    EXPECT_NE(log.find("HALDORIN.EXE\" /session\r\n"), std::string::npos) << log;
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(tool.waitForExit(), 0u);
}

}  // namespace
}  // namespace tiqora::test
