// The pending resend ("/sysp") of the real TiqoraDesk.exe against the local
// vendor services: which files go where, what the services receive, which
// files move to the sent folder and which stay pending, and what the log says.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "harness/machine.h"
#include "harness/test_paths.h"
#include "harness/ticket_files.h"
#include "harness/ui_driver.h"
#include "harness/vendor_journal.h"
#include "resource.h"
#include "win/handles.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

constexpr char kPendingTicketPath[] = "/velmora/api/SubmitTicket.aspx";
constexpr char kLanPath[] = "/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1";
constexpr char kFileReceivePath[] = "/DPXLAN/FileReceive";
constexpr char kLicence[] = "TQ4711-2026-ORV";  // the standard machine's licence code
constexpr DWORD kRunTimeoutMs = 30000;

// A ticket body as the IT ticket form stores it, with a description of
// `descriptionChars` characters holding CR LF line breaks (older pending
// files hold them so).
std::string ticketBody(const std::string& title, size_t descriptionChars) {
    std::string description;
    for (size_t i = 0; description.size() < descriptionChars; ++i)
        description += (i % 60 == 59) ? std::string("\r\n") : std::string(1, static_cast<char>('a' + i % 26));
    description.resize(descriptionChars);
    return R"({"LicenseNo":"TQ4711-2026-ORV","Ip":"10.0.0.7","ComputerName":"DESK-7","UserName":"asha",)"
           R"("IssueTitle":")" + title + R"(","Description":")" + description +
           R"(","Priority":"1","Status":"New","TSubmitDateTime":"2024-03-07 09:05:03"})";
}

// A web record's bytes as the console's ticket left them (written out, not
// made by the program).
std::string webRecordBytes(const std::string& description) {
    return R"({"CorpId":"CORP-1001","LicNo":"TQ4711-2026-ORV", "Ip":"10.0.0.7","ComputerName":"DESK-7",)"
           R"("UserName":"asha","IssueTitle":"Other Issue","Description":")" + description +
           R"(","Priority":"0","Status":"New","TSubmitDateTime":"2026-12-10 09:05:03"})";
}

// Longer than any piece the transport's text buffers ever held.
const std::string kLongBody = ticketBody("Printer offline", 3000);

using Names = std::vector<std::string>;

std::string pendingBytes(const std::string& name) {
    return readFileBytes(SuiteMachine::pendingFolder() + L"\\" + fromUtf8(name));
}
std::string sentBytes(const std::string& name) { return readFileBytes(SuiteMachine::sentFolder() + L"\\" + fromUtf8(name)); }

std::string pendingPathOf(const std::string& name) { return toUtf8(SuiteMachine::pendingFolder()) + "\\" + name; }

// The names of the sub-folders of a folder, sorted.
Names foldersIn(const std::wstring& folder) {
    Names names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            names.push_back(toUtf8(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string localDeliveryNameOn(const SYSTEMTIME& day, const std::string& pendingName) {
    char date[16];
    std::snprintf(date, sizeof date, "%4d-%.2d-%.2d", day.wYear, day.wMonth, day.wDay);
    std::string name = pendingName;
    name.replace(name.find(".txt"), 4, ".itt");
    return std::string(kLicence) + "_" + date + "_" + name;
}

SYSTEMTIME localNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

// Runs "/sysp" to its end and returns its exit code.
DWORD runResend() {
    AppProcess app(SuiteMachine::program(), L"/sysp");
    return app.waitForExit(kRunTimeoutMs);
}

class PendingResendTest : public ::testing::Test {
protected:
    void SetUp() override { resetServices(); }
    static void resetServices() {
        setVendorScenario("success");
        clearVendorJournal();
    }
};

TEST_F(PendingResendTest, WebFilesGoToThePendingTicketServiceWholeAndMoveToSent) {
    // SendWebRpt "ON": web files are sent, LAN files are left for the LAN mode.
    const std::string shortBody = ticketBody("Mail down", 40);
    SuiteMachine::standard()
        .pendingFile(L"W_101.txt", shortBody)
        .pendingFile(L"W_102.txt", kLongBody)
        .pendingFile(L"L_103.txt", kLongBody);

    EXPECT_EQ(runResend(), 0u);

    const auto requests = vendorRequests();
    ASSERT_EQ(requests.size(), 2u);
    std::vector<std::string> bodies;
    for (const VendorRequest& request : requests) {
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.path, kPendingTicketPath);
        EXPECT_EQ(request.port, vendorPort());
        EXPECT_EQ(request.header("user-agent"), "Tiqora");
        bodies.push_back(request.body);
    }
    std::sort(bodies.begin(), bodies.end());
    std::vector<std::string> expected{shortBody, kLongBody};
    std::sort(expected.begin(), expected.end());
    EXPECT_TRUE(bodies == expected) << "the bodies did not arrive whole and as stored";

    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{"L_103.txt"});
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), (Names{"W_101.txt", "W_102.txt"}));
    EXPECT_EQ(sentBytes("W_102.txt"), kLongBody);
    EXPECT_EQ(ticketLogLineCount("Pending Data Send Sucessfully to Web"), 2u) << SuiteMachine::ticketLog();
}

TEST_F(PendingResendTest, AnHttpsKeyResendsOverTlsAndAPlainOneThroughTheLibrary) {
    std::vector<VendorRequest> received;
    for (const int port : {tlsPort(), vendorPort()}) {
        const bool overTls = port == tlsPort();
        const std::wstring setting = (overTls ? L"https://localhost:" : L"localhost:") + std::to_wstring(port);
        SCOPED_TRACE(toUtf8(setting));
        SuiteMachine::standard().vendorHost(L"PendingTickets", setting).pendingFile(L"W_101.txt", kLongBody);
        clearVendorJournal();
        EXPECT_EQ(runResend(), 0u);

        const std::vector<VendorRequest> requests = vendorRequests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].port, port);
        EXPECT_EQ(requests[0].overTls, overTls);
        EXPECT_TRUE(requests[0].body == kLongBody) << "the body did not arrive whole and as stored";
        received.push_back(requests[0]);
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{});
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{"W_101.txt"});
        EXPECT_EQ(ticketLogLineCount("Pending Data Send Sucessfully to Web"), 1u) << SuiteMachine::ticketLog();
    }
    ASSERT_EQ(received.size(), 2u);
    // Over TLS the ticket is what the suite's library sends in the clear.
    const VendorRequest &overTls = received[0], &throughLibrary = received[1];
    expectSameRequestAsTheLibrarys(overTls, throughLibrary);
    EXPECT_EQ(overTls.path, kPendingTicketPath);
    EXPECT_EQ(throughLibrary.header("user-agent"), "Tiqora");
}

TEST_F(PendingResendTest, AnHttpsServiceThatCannotBeTrustedLeavesEveryFileAndCountsAsSilent) {
    const std::string refused = "PendingTickets request to https://localhost:" + std::to_string(tlsExpiredPort()) +
                                kPendingTicketPath +
                                " got no answer over TLS, the certificate was refused: the certificate has expired or "
                                "is not yet valid";
    const struct {
        const char* what;
        std::wstring setting;
        std::vector<std::pair<std::string, size_t>> lines;  // each log line and how often
    } cases[] = {
        // Two refusals in a row stop the run, as two silent files do.
        {"an expired certificate", L"https://localhost:" + std::to_wstring(tlsExpiredPort()),
         {{refused, 2},
          {"Pending resend stopped, the server gave no answer: 3 pending file(s) wait for the next run", 1}}},
        {"a user name in the address", L"https://ops@localhost:" + std::to_wstring(tlsPort()),
         {{"TiqoraDesk.ini [Hosts] PendingTickets is no usable address, nothing is sent to it: it holds a user name",
           1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SuiteMachine::standard()
            .vendorHost(L"PendingTickets", c.setting)
            .pendingFile(L"W_101.txt", kLongBody)
            .pendingFile(L"W_102.txt", kLongBody)
            .pendingFile(L"W_103.txt", kLongBody);
        clearVendorJournal();
        EXPECT_EQ(runResend(), 0u);
        EXPECT_EQ(vendorRequests().size(), 0u);
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), (Names{"W_101.txt", "W_102.txt", "W_103.txt"}));
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{});
        for (const auto& [line, times] : c.lines) EXPECT_EQ(ticketLogLineCount(line), times) << SuiteMachine::ticketLog();
    }
}

TEST_F(PendingResendTest, AWebFileStaysWhenTheReplyLacksTheConfirmation) {
    for (const char* scenario : {"html-error", "error-500", "big-reply"}) {
        SuiteMachine::standard().pendingFile(L"W_7.txt", kLongBody);
        resetServices();
        setVendorScenario(scenario);

        EXPECT_EQ(runResend(), 0u) << scenario;

        EXPECT_EQ(vendorRequests().size(), 1u) << scenario;
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{"W_7.txt"}) << scenario;
        EXPECT_EQ(pendingBytes("W_7.txt"), kLongBody) << scenario;
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{}) << scenario;
        EXPECT_EQ(SuiteMachine::ticketLog().find("Sucessfully"), std::string::npos) << scenario;
    }
}

TEST_F(PendingResendTest, LanFilesGoToTheLanServerAndFallBackToTheFileDelivery) {
    struct Case {
        const char* scenario;
        bool fileDelivery;     // the server did not confirm: handed over as a file
        const char* outcome;   // log line of the move; null: the file stays pending
    } cases[] = {
        {"success", false, "Pending Data Send Sucessfully to Web"},
        // A quoted status, or status as the last member, confirms as well.
        {"lan-status-quoted", false, "Pending Data Send Sucessfully to Web"},
        {"lan-status-last", false, "Pending Data Send Sucessfully to Web"},
        {"lan-status-absent", true, "Pending Data Send Sucessfully to Local"},
        {"html-error", true, "Pending Data Send Sucessfully to Local"},
        {"error-500", true, nullptr},
    };
    for (const Case& c : cases) {
        // SendWebRpt not "ON": LAN files are sent, web files left alone.
        SuiteMachine::standard()
            .krlm(L"SendWebRpt", L"OFF")
            .pendingFile(L"L_201.txt", kLongBody)
            .pendingFile(L"W_202.txt", kLongBody);
        resetServices();
        setVendorScenario(c.scenario);

        const SYSTEMTIME before = localNow();
        EXPECT_EQ(runResend(), 0u) << c.scenario;
        const SYSTEMTIME after = localNow();

        const auto requests = vendorRequests();
        ASSERT_EQ(requests.size(), c.fileDelivery ? 2u : 1u) << c.scenario;
        EXPECT_EQ(requests[0].path, kLanPath) << c.scenario;
        EXPECT_EQ(requests[0].port, lanPort()) << c.scenario;
        EXPECT_EQ(requests[0].header("user-agent"), "SystemAdmin-Ticket") << c.scenario;
        EXPECT_TRUE(requests[0].body == kLongBody) << c.scenario << ": the body did not arrive whole";
        if (c.fileDelivery) {
            const VendorRequest& file = requests[1];
            EXPECT_EQ(file.path, kFileReceivePath) << c.scenario;
            ASSERT_EQ(file.parts.size(), 2u) << c.scenario;
            const std::string name = file.parts[0].data;
            EXPECT_TRUE(name == localDeliveryNameOn(before, "L_201.txt") || name == localDeliveryNameOn(after, "L_201.txt"))
                << c.scenario << ": delivered as " << name;
            EXPECT_TRUE(file.parts[1].data == kLongBody) << c.scenario;
        }

        const bool moved = c.outcome != nullptr;
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), moved ? Names{"W_202.txt"} : (Names{"L_201.txt", "W_202.txt"}))
            << c.scenario;
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), moved ? Names{"L_201.txt"} : Names{}) << c.scenario;
        if (moved) {
            EXPECT_EQ(sentBytes("L_201.txt"), kLongBody) << c.scenario;
            EXPECT_EQ(ticketLogLineCount(c.outcome), 1u) << c.scenario << "\n" << SuiteMachine::ticketLog();
        }
        EXPECT_TRUE(ticketLogHasLinesInOrder({"GetUrl function start", "checking serverIP.ini\n",
                                        "check serverIP and Url is validateLink()", "Working URL IS:",
                                        "  GetUrl function END\n"}))
            << c.scenario << "\n" << SuiteMachine::ticketLog();
    }
}

TEST_F(PendingResendTest, ALanFileMeetingNoUsableServerAddressEndsTheRunAndStays) {
    struct Case {
        const char* what;
        std::optional<std::wstring> acip;  // none: no ServerIP.ini at all
        std::optional<std::wstring> ip;    // none: no IP key
        std::vector<std::string> lines;
        const wchar_t* missingLibrary = nullptr;  // a system library the program cannot load
    };
    const Case cases[] = {
        {"no ServerIP.ini", std::nullopt, std::nullopt,
         {"N/A", "Not found ACIP in serverIP.ini", "N/A", "exit Not found ACIP and IP"}},
        {"ACIP N/A, no IP", L"N/A", std::nullopt, {"Not found ACIP in serverIP.ini", "exit Not found ACIP and IP"}},
        {"ACIP server01", L"server01", std::nullopt,
         {"server01", "server01:7777/DPXLAN/pagenameaspx", "Wrong URL", "server01:7777/DPXLAN", "exit 2 "}},
        {"IP server02", L"N/A", L"server02", {"Not found ACIP in serverIP.ini", "server02", "Wrong URL", "exit 2 "}},
        // Cut to 259 characters: no room left for the port and path.
        {"ACIP of 300 characters", std::wstring(300, L'a'), std::nullopt,
         {std::string(259, 'a'), "Wrong URL", std::string(259, 'a'), "exit 2 "}},
        // A usable address, but the check through WinINet cannot be made.
        {"no WinINet", L"127.0.0.1", std::nullopt,
         {"127.0.0.1", "check serverIP and Url is validateLink()", "Internet Connection Not available",
          "Inccorect URL IS Provided:", "exit 3 "},
         L"wininet"},
    };
    for (const Case& c : cases) {
        auto machine = SuiteMachine::standard()
                           .krlm(L"SendWebRpt", L"OFF")
                           .pendingFile(L"L_301.txt", kLongBody)
                           .pendingFile(L"L_302.txt", kLongBody)
                           .pendingFile(L"L_303.txt", kLongBody);
        machine.removeProductFile(L"ServerIP.ini");
        if (c.acip) machine.ini(L"ServerIP.ini", L"Server", L"ACIP", *c.acip);
        if (c.ip) machine.ini(L"ServerIP.ini", L"Server", L"IP", *c.ip);
        if (c.missingLibrary) machine.systemLibraryMissing(c.missingLibrary);
        resetServices();

        EXPECT_EQ(runResend(), 0u) << c.what;

        // The run ends at the first LAN file: nothing reaches any service,
        // every file stays as it was, and the address was looked for once.
        EXPECT_TRUE(vendorRequests().empty()) << c.what;
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), (Names{"L_301.txt", "L_302.txt", "L_303.txt"})) << c.what;
        for (const char* name : {"L_301.txt", "L_302.txt", "L_303.txt"}) EXPECT_EQ(pendingBytes(name), kLongBody) << c.what;
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{}) << c.what;
        EXPECT_EQ(ticketLogLineCount("GetUrl function start"), 1u) << c.what << "\n" << SuiteMachine::ticketLog();
        std::vector<std::string> lines{"GetUrl function start", "checking serverIP.ini\n"};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        EXPECT_TRUE(ticketLogHasLinesInOrder(lines)) << c.what << "\n" << SuiteMachine::ticketLog();
        EXPECT_EQ(SuiteMachine::ticketLog().find("Sucessfully"), std::string::npos) << c.what;
        EXPECT_EQ(foldersIn(SuiteMachine::pendingFolder()), Names{}) << c.what;
    }
}

// Opens a file without sharing it, as a program busy writing it would.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~LockedFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    bool locked() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

TEST_F(PendingResendTest, OddPendingEntriesAreLeftAloneAndNothingIsLost) {
    std::string binary;
    for (int i = 1; i < 256; ++i) binary += static_cast<char>(i);
    const std::string large(5 * 1024 * 1024, 'x');
    const std::string withNul("{\"IssueTitle\":\"a\0b\"}", 20);
    SuiteMachine::standard()
        .pendingFile(L"W", kLongBody)
        .pendingFile(L"W_large.txt", large)
        .pendingFile(L"W_binary.txt", binary)
        .pendingFile(L"W_nul.txt", withNul)
        .pendingFile(L"W_empty.txt", "")
        .pendingFile(L"W_hidden.txt", kLongBody)
        .pendingFile(L"W_locked.txt", kLongBody)
        .pendingFile(L"W_\u5317.txt", kLongBody)  // a name the 8-bit code page cannot hold
        .pendingFile(L"L_.txt", kLongBody);
    const std::wstring pending = SuiteMachine::pendingFolder();
    ASSERT_TRUE(SetFileAttributesW((pending + L"\\W_hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateDirectoryW((pending + L"\\W_folder").c_str(), nullptr));
    writeFileBytes(pending + L"\\W_folder\\W_inside.txt", kLongBody);
    LockedFile locked(pending + L"\\W_locked.txt");
    ASSERT_TRUE(locked.locked());

    EXPECT_EQ(runResend(), 0u);

    std::vector<std::string> bodies;
    for (const VendorRequest& request : vendorRequests()) {
        EXPECT_EQ(request.path, kPendingTicketPath);
        bodies.push_back(request.body);
    }
    const auto bySize = [](const std::string& a, const std::string& b) { return a.size() < b.size(); };
    std::sort(bodies.begin(), bodies.end(), bySize);
    EXPECT_EQ(bodies.size(), 4u);
    EXPECT_TRUE(bodies == (std::vector<std::string>{binary, kLongBody, kLongBody, large}))
        << "the bodies did not arrive whole";

    // A hidden pending file (an earlier version left records hidden when it
    // was stopped while writing them) is a ticket like any other, and its
    // record is shown once it is sent.
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), (Names{"W", "W_binary.txt", "W_hidden.txt", "W_large.txt"}));
    EXPECT_EQ(GetFileAttributesW((SuiteMachine::sentFolder() + L"\\W_hidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(filesIn(pending), (Names{"L_.txt", "W_empty.txt", "W_locked.txt", "W_nul.txt", "W_\u5317.txt"}));
    EXPECT_EQ(filesIn(pending + L"\\W_folder"), Names{"W_inside.txt"});
    EXPECT_EQ(pendingBytes("W_nul.txt"), withNul);
    EXPECT_EQ(ticketLogLineCount("Pending file skipped, it holds a NUL byte: " + pendingPathOf("W_nul.txt")), 1u)
        << SuiteMachine::ticketLog();
    EXPECT_EQ(ticketLogLineCount("Pending Data Send Sucessfully to Web"), 4u);
}

// A ticket the server took but that cannot move to the sent folder is never
// sent again: it stays in the pending folder under a name no run sends.
TEST_F(PendingResendTest, ADeliveredTicketThatCannotMoveIsKeptAndNeverSentAgain) {
    struct Case {
        const wchar_t* sendWebRpt;
        const char* scenario;
        const wchar_t* name;
        const char* failedLine;
    } cases[] = {
        {L"ON", "success", L"W_401.txt", "Pending Data Send to Web but the move failed, the ticket stays as: "},
        {L"OFF", "success", L"L_402.txt", "Pending Data Send to Web but the move failed, the ticket stays as: "},
        {L"OFF", "lan-status-absent", L"L_403.txt",
         "Pending Data Send to Local but the move failed, the ticket stays as: "},
    };
    for (const Case& c : cases) {
        SuiteMachine::standard().krlm(L"SendWebRpt", c.sendWebRpt).pendingFile(c.name, kLongBody);
        // The sent folder's name is taken by a plain file: nothing can move into it.
        ASSERT_TRUE(deleteTree(SuiteMachine::sentFolder()));
        writeFileBytes(SuiteMachine::sentFolder(), "not a folder");
        resetServices();
        setVendorScenario(c.scenario);

        EXPECT_EQ(runResend(), 0u) << c.scenario;
        const size_t firstRunRequests = vendorRequests().size();
        EXPECT_GE(firstRunRequests, 1u) << c.scenario;

        const std::string kept = "~delivered~" + toUtf8(c.name);
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{kept}) << c.scenario;
        EXPECT_EQ(pendingBytes(kept), kLongBody) << c.scenario;
        EXPECT_EQ(ticketLogLineCount(c.failedLine + pendingPathOf(kept)), 1u) << c.scenario << "\n" << SuiteMachine::ticketLog();
        EXPECT_EQ(SuiteMachine::ticketLog().find("Sucessfully"), std::string::npos) << c.scenario;

        // The next run sends nothing.
        EXPECT_EQ(runResend(), 0u) << c.scenario;
        EXPECT_EQ(vendorRequests().size(), firstRunRequests) << c.scenario;
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{kept}) << c.scenario;
    }
}

TEST_F(PendingResendTest, WithoutTheTransportLibraryEveryFileStays) {
    for (const wchar_t* sendWebRpt : {L"ON", L"OFF"}) {
        SuiteMachine::standard()
            .krlm(L"SendWebRpt", sendWebRpt)
            .transportLibrary(L"")
            .pendingFile(L"W_501.txt", kLongBody)
            .pendingFile(L"L_502.txt", kLongBody);
        resetServices();

        EXPECT_EQ(runResend(), 0u);

        EXPECT_TRUE(vendorRequests().empty());
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), (Names{"L_502.txt", "W_501.txt"}));
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{});
    }
}

// The resend follows the delivery mode the IT ticket form uses, so every
// ticket the form queued is sent by its own route; only without a mode does
// SendWebRpt alone decide.
TEST_F(PendingResendTest, EachDeliveryModeResendsItsOwnTicketsAndLeavesTheOthers) {
    struct Case {
        const char* what;
        const wchar_t *itTicketServer, *sendLocalRpt, *sendWebRpt;
        bool lanSent;  // else the web ticket is sent
        const char* leftLine;
    } cases[] = {
        {"ITTicketServer L, SendWebRpt ON", L"L", L"", L"ON", true,
         "Pending resend left 1 web ticket file(s): the delivery mode is LAN"},
        {"SendLocalRpt and SendWebRpt ON", L"", L"ON", L"ON", true,
         "Pending resend left 1 web ticket file(s): the delivery mode is LAN"},
        {"ITTicketServer W, SendWebRpt OFF", L"W", L"", L"OFF", false,
         "Pending resend left 1 LAN ticket file(s): the delivery mode is web"},
        {"SendWebRpt ON alone", L"", L"", L"ON", false,
         "Pending resend left 1 LAN ticket file(s): the delivery mode is web"},
        {"no mode, SendWebRpt ON", L"X", L"", L"ON", false,
         "Pending resend left 1 LAN ticket file(s): no delivery mode and SendWebRpt=ON"},
        {"no mode, SendWebRpt OFF", L"X", L"ON", L"OFF", true,
         "Pending resend left 1 web ticket file(s): no delivery mode and SendWebRpt is not ON"},
    };
    const std::string lanBody = ticketBody("VPN", 40), webBody = ticketBody("Mail", 50);
    for (const Case& c : cases) {
        SuiteMachine::standard()
            .krlm(L"ITTicketServer", c.itTicketServer)
            .krlm(L"SendLocalRpt", c.sendLocalRpt)
            .krlm(L"SendWebRpt", c.sendWebRpt)
            .pendingFile(L"L_11.txt", lanBody)
            .pendingFile(L"W_12.txt", webBody);
        resetServices();

        EXPECT_EQ(runResend(), 0u) << c.what;

        const auto requests = vendorRequests();
        ASSERT_EQ(requests.size(), 1u) << c.what;
        EXPECT_EQ(requests[0].path, c.lanSent ? kLanPath : kPendingTicketPath) << c.what;
        EXPECT_EQ(requests[0].port, c.lanSent ? lanPort() : vendorPort()) << c.what;
        EXPECT_TRUE(requests[0].body == (c.lanSent ? lanBody : webBody)) << c.what;
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{c.lanSent ? "L_11.txt" : "W_12.txt"}) << c.what;
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{c.lanSent ? "W_12.txt" : "L_11.txt"}) << c.what;
        EXPECT_EQ(pendingBytes(c.lanSent ? "W_12.txt" : "L_11.txt"), c.lanSent ? webBody : lanBody) << c.what;
        EXPECT_EQ(ticketLogLineCount(c.leftLine), 1u) << c.what << "\n" << SuiteMachine::ticketLog();
    }
}

TEST_F(PendingResendTest, AResentTicketNeverReplacesARecordOfTheSameName) {
    // A tick count can repeat after a restart, and equal a ticket id.
    const std::string earlier = webRecordBytes("the ticket the console numbered 101");
    SuiteMachine::standard().pendingFile(L"W_101.txt", kLongBody);
    writeFileBytes(SuiteMachine::sentFolder() + L"\\W_101.txt", earlier);

    EXPECT_EQ(runResend(), 0u);

    EXPECT_EQ(vendorRequests().size(), 1u);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{});
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), (Names{"W_101 (2).txt", "W_101.txt"}));
    EXPECT_EQ(sentBytes("W_101.txt"), earlier);
    EXPECT_EQ(sentBytes("W_101 (2).txt"), kLongBody);
    EXPECT_EQ(ticketLogLineCount("Pending Data Send Sucessfully to Web"), 1u);
}

// A server that takes the connection and never answers: the run stops after
// the second file in a row without an answer instead of waiting the time-out
// out for every one, and the other files wait for the next run.
void expectTheRunToStopAfterTwoSilentFiles(const wchar_t* sendWebRpt, wchar_t kind, size_t requestsPerFile) {
    constexpr int kFiles = 200;
    auto machine = SuiteMachine::standard().krlm(L"SendWebRpt", sendWebRpt);
    Names expected;
    for (int n = 1; n <= kFiles; ++n) {
        const std::wstring name = std::wstring(1, kind) + L"_" + std::to_wstring(1000 + n) + L".txt";
        machine.pendingFile(name, kLongBody);
        expected.push_back(toUtf8(name));
    }
    setVendorScenario("slow");

    AppProcess app(SuiteMachine::program(), L"/sysp");
    EXPECT_EQ(app.waitForExit(45000), 0u);

    EXPECT_EQ(vendorRequests().size(), 2 * requestsPerFile);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), expected);
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{});
    EXPECT_EQ(ticketLogLineCount("Pending resend stopped, the server gave no answer: 200 pending file(s) wait for "
                                 "the next run"),
              1u)
        << SuiteMachine::ticketLog();
    // The LAN server's address was resolved once for the run.
    EXPECT_EQ(ticketLogLineCount("GetUrl function start"), kind == L'L' ? 1u : 0u);
}

TEST_F(PendingResendTest, APendingTicketServiceThatNeverAnswersStopsTheRunAfterTwoFiles) {
    expectTheRunToStopAfterTwoSilentFiles(L"ON", L'W', 1);
}

// The LAN route also tries the file delivery of each file.
TEST_F(PendingResendTest, ALanServerThatNeverAnswersStopsTheRunAfterTwoFiles) {
    expectTheRunToStopAfterTwoSilentFiles(L"OFF", L'L', 2);
}

// A file that never gets an answer (a body a filter on the way drops) does
// not hold up the files after it; two such files in a row stop the run.
TEST_F(PendingResendTest, OneSilentFileDoesNotHoldUpTheFilesAfterIt) {
    const std::string dropped = ticketBody("FILTERED", 40), good = ticketBody("Mail down", 40);
    struct Case {
        const char* what;
        std::vector<std::pair<const wchar_t*, const std::string*>> files;  // in name order
        Names sent, staying;
        const char* stopLine;  // null: the run went through
    } cases[] = {
        {"a silent first file",
         {{L"W_1.txt", &dropped}, {L"W_2.txt", &good}, {L"W_3.txt", &good}},
         {"W_2.txt", "W_3.txt"},
         {"W_1.txt"},
         nullptr},
        {"silent files apart",
         {{L"W_1.txt", &dropped}, {L"W_2.txt", &good}, {L"W_3.txt", &dropped}, {L"W_4.txt", &good}},
         {"W_2.txt", "W_4.txt"},
         {"W_1.txt", "W_3.txt"},
         nullptr},
        {"two silent files in a row",
         {{L"W_1.txt", &dropped}, {L"W_2.txt", &dropped}, {L"W_3.txt", &good}},
         {},
         {"W_1.txt", "W_2.txt", "W_3.txt"},
         "Pending resend stopped, the server gave no answer: 3 pending file(s) wait for the next run"},
    };
    for (const Case& c : cases) {
        auto machine = SuiteMachine::standard();
        for (const auto& [name, body] : c.files) machine.pendingFile(name, *body);
        resetServices();
        setVendorScenario("filtered");

        EXPECT_EQ(runResend(), 0u) << c.what;

        // Each file up to the stop was sent once, in name order.
        std::vector<std::string> expectedBodies;
        for (const auto& [name, body] : c.files) {
            expectedBodies.push_back(*body);
            if (c.stopLine && expectedBodies.size() == 2) break;
        }
        std::vector<std::string> bodies;
        for (const VendorRequest& request : vendorRequests()) bodies.push_back(request.body);
        EXPECT_TRUE(bodies == expectedBodies) << c.what << ": " << bodies.size() << " request(s)";
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), c.sent) << c.what;
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), c.staying) << c.what;
        EXPECT_EQ(foldersIn(SuiteMachine::pendingFolder()), Names{}) << c.what;  // no run's folder left
        for (const auto& [name, body] : c.files) {
            const std::string file = toUtf8(name);
            const bool stays = std::find(c.staying.begin(), c.staying.end(), file) != c.staying.end();
            EXPECT_TRUE((stays ? pendingBytes(file) : sentBytes(file)) == *body) << c.what << ": " << file << " changed";
        }
        if (c.stopLine)
            EXPECT_EQ(ticketLogLineCount(c.stopLine), 1u) << c.what << "\n" << SuiteMachine::ticketLog();
        else
            EXPECT_EQ(SuiteMachine::ticketLog().find("Pending resend stopped"), std::string::npos) << c.what;
    }
}

TEST_F(PendingResendTest, RepliesFillingTheirWholeBufferConfirmTheTicket) {
    // 8191 bytes and the NUL, the confirmation after 3 KB: the buffer each
    // route hands the suite's library.
    struct Case {
        const wchar_t* sendWebRpt;
        const wchar_t* name;
        const char* path;
    } cases[] = {{L"ON", L"W_801.txt", kPendingTicketPath}, {L"OFF", L"L_802.txt", kLanPath}};
    for (const Case& c : cases) {
        SuiteMachine::standard().krlm(L"SendWebRpt", c.sendWebRpt).pendingFile(c.name, kLongBody);
        resetServices();
        setVendorScenario("full-reply");

        EXPECT_EQ(runResend(), 0u) << c.path;

        const auto requests = vendorRequests();
        ASSERT_EQ(requests.size(), 1u) << c.path;  // confirmed at once: no file delivery
        EXPECT_EQ(requests[0].path, c.path);
        EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{toUtf8(c.name)}) << c.path;
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{}) << c.path;
        EXPECT_EQ(ticketLogLineCount("Pending Data Send Sucessfully to Web"), 1u) << c.path;
    }
}

// The creation time of a process, as the 16 hex digits a run's claim holds.
std::string startOf(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    EXPECT_TRUE(GetProcessTimes(process, &created, &exited, &kernel, &user));
    char digits[17];
    std::snprintf(digits, sizeof digits, "%08lx%08lx", static_cast<unsigned long>(created.dwHighDateTime),
                  static_cast<unsigned long>(created.dwLowDateTime));
    return digits;
}

// The folder in which a run of process `pid` started at `start` keeps the
// file it is sending.
std::wstring claimFolder(DWORD pid, const std::string& start) {
    return SuiteMachine::pendingFolder() + L"\\~sending-" + std::to_wstring(pid) + L"-" + fromUtf8(start);
}

// Another user's "/sysp" run meets this one in the folder (under Wine all
// processes share one session, so two real runs cannot meet past the
// program's own guard; a process that stands for the other run holds its
// claim folder). Each ticket reaches the service once.
TEST_F(PendingResendTest, AFileAnotherRunHoldsIsLeftAloneUntilThatRunHasEnded) {
    const std::string held = ticketBody("Held by the other run", 40), orphaned = ticketBody("Its run ended", 40),
                      free = ticketBody("Nobody holds it", 40);
    AppProcess otherRun(L"C:\\windows\\system32\\notepad.exe", L"");
    const KernelHandle other(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                         otherRun.pid()));
    ASSERT_TRUE(other.valid());
    const std::wstring heldFolder = claimFolder(otherRun.pid(), startOf(other.get()));
    // A run that has ended: a process that started and ended before this one.
    std::wstring orphanedFolder;
    {
        AppProcess endedRun(L"C:\\windows\\system32\\notepad.exe", L"");
        const KernelHandle ended(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE,
                                             FALSE, endedRun.pid()));
        ASSERT_TRUE(ended.valid());
        orphanedFolder = claimFolder(endedRun.pid(), startOf(ended.get()));
        ASSERT_TRUE(TerminateProcess(ended.get(), 1));
        ASSERT_EQ(WaitForSingleObject(ended.get(), 10000), WAIT_OBJECT_0);
    }
    SuiteMachine::standard().pendingFile(L"W_903.txt", free);
    ASSERT_TRUE(CreateDirectoryW(heldFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(orphanedFolder.c_str(), nullptr));
    writeFileBytes(heldFolder + L"\\W_901.txt", held);
    writeFileBytes(orphanedFolder + L"\\W_902.txt", orphaned);

    EXPECT_EQ(runResend(), 0u);

    std::vector<std::string> bodies;
    for (const VendorRequest& request : vendorRequests()) bodies.push_back(request.body);
    std::sort(bodies.begin(), bodies.end());
    std::vector<std::string> expected{orphaned, free};
    std::sort(expected.begin(), expected.end());
    EXPECT_TRUE(bodies == expected) << bodies.size() << " request(s)";
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), (Names{"W_902.txt", "W_903.txt"}));
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{});
    EXPECT_EQ(filesIn(heldFolder), Names{"W_901.txt"});
    EXPECT_EQ(readFileBytes(heldFolder + L"\\W_901.txt"), held);
    // The ended run's folder is gone, and so is this run's own.
    EXPECT_EQ(GetFileAttributesW(orphanedFolder.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(foldersIn(SuiteMachine::pendingFolder()), Names{toUtf8(heldFolder.substr(heldFolder.rfind(L'\\') + 1))});

    // The other run ends without finishing: the next run takes the ticket up.
    ASSERT_TRUE(TerminateProcess(other.get(), 1));
    ASSERT_EQ(WaitForSingleObject(other.get(), 10000), WAIT_OBJECT_0);
    clearVendorJournal();
    EXPECT_EQ(runResend(), 0u);
    const auto requests = vendorRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, held);
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), (Names{"W_901.txt", "W_902.txt", "W_903.txt"}));
    EXPECT_EQ(sentBytes("W_901.txt"), held);
    EXPECT_EQ(foldersIn(SuiteMachine::pendingFolder()), Names{});
}

// A ticket the run did not deliver goes back to the pending folder; while
// another program holds it (a scanner that lets others read it, not move it)
// it cannot, so it stays in the run's own folder, which the next run takes up
// once this one has ended.
TEST_F(PendingResendTest, AnUndeliveredFileThatCannotGoBackWaitsInTheRunsFolderForTheNextRun) {
    const std::string body = ticketBody("Held on its way back", 40);
    SuiteMachine::standard().pendingFile(L"W_31.txt", body);
    setVendorScenario("slow");  // the service never answers in time
    std::wstring claimed;
    {
        AppProcess app(SuiteMachine::program(), L"/sysp");
        waitForVendorRequest(0);  // the run has read the file and waits for the answer
        const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, app.pid()));
        ASSERT_TRUE(process.valid());
        claimed = claimFolder(app.pid(), startOf(process.get())) + L"\\W_31.txt";
        const KernelHandle reader(
            CreateFileW(claimed.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader.valid()) << toUtf8(claimed);
        EXPECT_EQ(app.waitForExit(kRunTimeoutMs), 0u);
    }
    EXPECT_EQ(readFileBytes(claimed), body);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{});
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{});
    EXPECT_EQ(ticketLogLineCount("Pending file stays in this run's folder until the next run: " + toUtf8(claimed)), 1u)
        << SuiteMachine::ticketLog();

    // The next run sends it and moves it to the sent folder.
    resetServices();
    EXPECT_EQ(runResend(), 0u);
    const auto requests = vendorRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, body);
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{"W_31.txt"});
    EXPECT_EQ(sentBytes("W_31.txt"), body);
    EXPECT_EQ(foldersIn(SuiteMachine::pendingFolder()), Names{});
}

// Another program (a virus scanner, another user's reader) holds a pending
// file open without letting it be renamed: the ticket is not sent while it
// cannot be claimed, and it is sent once when the hold ends.
TEST_F(PendingResendTest, AFileHeldByAnotherProgramIsSentOnceWhenTheHoldEnds) {
    const std::string body = ticketBody("Held", 40);
    SuiteMachine::standard().pendingFile(L"W_11.txt", body).pendingFile(L"W_12.txt", kLongBody);
    const std::wstring path = SuiteMachine::pendingFolder() + L"\\W_11.txt";
    {
        // A reader that lets others read, not rename, for the whole run.
        const KernelHandle reader(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(reader.valid());
        EXPECT_EQ(runResend(), 0u);
        const auto requests = vendorRequests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_TRUE(requests[0].body == kLongBody);
        EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{"W_11.txt"});
        EXPECT_EQ(ticketLogLineCount("Pending file left for the next run, it cannot be moved (error 32): " +
                                     pendingPathOf("W_11.txt")),
                  1u)
            << SuiteMachine::ticketLog();
    }
    clearVendorJournal();
    EXPECT_EQ(runResend(), 0u);
    const auto requests = vendorRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, body);
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), (Names{"W_11.txt", "W_12.txt"}));
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{});
}

// A scanner holds the file for a moment, without any sharing: the run waits
// for it, and the ticket goes out and moves to the sent folder.
TEST_F(PendingResendTest, AFileHeldForAMomentIsWaitedFor) {
    SuiteMachine::standard().pendingFile(L"W_21.txt", kLongBody);
    const std::wstring path = SuiteMachine::pendingFolder() + L"\\W_21.txt";
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    AppProcess app(SuiteMachine::program(), L"/sysp");
    // The hold ends 700 ms after the run started, well within its patience;
    // until then the run waits and nothing is sent.
    Sleep(700);
    EXPECT_TRUE(app.running());
    EXPECT_TRUE(vendorRequests().empty());
    CloseHandle(held);
    EXPECT_EQ(app.waitForExit(kRunTimeoutMs), 0u);

    ASSERT_EQ(vendorRequests().size(), 1u);
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{"W_21.txt"});
    EXPECT_EQ(sentBytes("W_21.txt"), kLongBody);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{});
}

TEST_F(PendingResendTest, AResendWhileTheTicketFormIsOpenLeavesThePendingFileAlone) {
    SuiteMachine::standard().pendingFile(L"W_701.txt", kLongBody);
    AppProcess form(SuiteMachine::program(), L"/sys");
    HWND window = form.waitForWindow(L"#32770", L"IT TICKET");
    EXPECT_EQ(runResend(), 0u);
    EXPECT_TRUE(vendorRequests().empty());
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{"W_701.txt"});
    EXPECT_EQ(pendingBytes("W_701.txt"), kLongBody);
    click(window, IDC_TICKET_CANCEL);
    EXPECT_EQ(form.waitForExit(), 0u);
}

TEST_F(PendingResendTest, AResentTicketGetsNoEntryInTiqoraIni) {
    SuiteMachine::standard().ticketIni(L"WEB", L"wt1", L"g1").pendingFile(L"W_55.txt", kLongBody);
    const std::wstring ini = SuiteMachine::itTicketFolder() + L"\\Tiqora.ini";
    const std::string before = readFileBytes(ini);
    EXPECT_EQ(runResend(), 0u);
    EXPECT_EQ(filesIn(SuiteMachine::sentFolder()), Names{"W_55.txt"});
    EXPECT_EQ(readFileBytes(ini), before);
}

TEST_F(PendingResendTest, ASecondRunWhileOneRunsEndsAtOnce) {
    SuiteMachine::standard().pendingFile(L"W_601.txt", kLongBody);
    setVendorScenario("slow");  // the service never answers in time

    AppProcess first(SuiteMachine::program(), L"/sysp");
    waitForVendorRequest(0);  // the first run is busy sending
    AppProcess second(SuiteMachine::program(), L"/sysp");
    EXPECT_TRUE(second.endsWithin(5000));
    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_TRUE(first.running());
    EXPECT_EQ(vendorRequests().size(), 1u);

    // Without an answer the file stays for the next run.
    EXPECT_EQ(first.waitForExit(kRunTimeoutMs), 0u);
    EXPECT_EQ(filesIn(SuiteMachine::pendingFolder()), Names{"W_601.txt"});
}

}  // namespace
}  // namespace tiqora::test
