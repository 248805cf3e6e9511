// Ticket record files on a real folder: exact bytes, the next free name when
// one is taken (an existing file is never touched, also by a move), no
// temporary file left behind, a write stopped half-way that leaves no hidden
// record, and folders that cannot take a record. Also who the machine is, as
// an IT ticket names it.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "features/it_ticket/record_files.h"
#include "harness/machine.h"
#include "harness/test_paths.h"
#include "win/machine_identity.h"
#include "win/wide_text.h"

namespace tiqora {
namespace {

const std::wstring kProductData = L"C:\\ProgramData\\Orvantis";
const std::wstring kFolder = kProductData + L"\\record-tests";
const std::string kSubfolder = "<folder>";

// Every entry of a folder, hidden ones included: files with their bytes,
// folders as kSubfolder.
std::map<std::wstring, std::string> folderContents(const std::wstring& folder) {
    std::map<std::wstring, std::string> contents;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return contents;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        contents[name] = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                             ? kSubfolder
                             : test::readFileBytes(folder + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return contents;
}

// Bytes that show any change: CR LF and a bare LF, UTF-8, a NUL.
std::string utf8Text() { return std::string("d\xC3\xA9j\xC3\xA0 vu \xE2\x82\xAC") + "\r\n" + std::string(1, '\0') + "\n"; }

// Larger than one write chunk, no two chunks alike.
std::string largeRecord() {
    std::string bytes;
    for (std::uint32_t n = 0; bytes.size() < (5u << 19) + 17; ++n) bytes.append(reinterpret_cast<const char*>(&n), 4);
    return bytes;
}

class RecordFiles : public ::testing::Test {
protected:
    void SetUp() override { fresh(); }
    void TearDown() override {
        EXPECT_TRUE(test::deleteTree(kFolder));
        if (madeProductData_) RemoveDirectoryW(kProductData.c_str());
    }

    // An empty scratch folder.
    void fresh() {
        ASSERT_TRUE(test::deleteTree(kFolder));
        if (CreateDirectoryW(kProductData.c_str(), nullptr)) madeProductData_ = true;
        ASSERT_TRUE(CreateDirectoryW(kFolder.c_str(), nullptr));
    }

    static std::wstring path(const std::wstring& name) { return kFolder + L"\\" + name; }

private:
    bool madeProductData_ = false;
};

TEST_F(RecordFiles, SentRecordsKeepTheirBytesAndNeverReplaceAnEarlierOne) {
    const struct {
        TicketKind kind;
        std::string id;
        std::string bytes;
        std::wstring name;
    } writes[] = {
        {TicketKind::Lan, "1001", "a\r\nb\n", L"L_1001.txt"},
        {TicketKind::Lan, "1001", utf8Text(), L"L_1001 (2).txt"},
        {TicketKind::Lan, "1001", "", L"L_1001 (3).txt"},
        {TicketKind::Web, "1001", "web", L"W_1001.txt"},
        {TicketKind::Web, "", "no id", L"W_.txt"},
        {TicketKind::Web, "", "no id again", L"W_ (2).txt"},
        {TicketKind::Web, "big", largeRecord(), L"W_big.txt"},
    };
    std::map<std::wstring, std::string> expected;
    for (const auto& w : writes) {
        const std::optional<std::wstring> written = writeSentRecord(kFolder, w.kind, w.id, w.bytes);
        ASSERT_EQ(written, std::optional<std::wstring>(path(w.name)));
        expected[w.name] = w.bytes;
        // Everything written so far, and nothing else (no temporary file).
        ASSERT_EQ(folderContents(kFolder), expected) << "after " << written->c_str();
        const DWORD attributes = GetFileAttributesW(written->c_str());
        EXPECT_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_READONLY), 0u)
            << written->c_str();
    }
}

TEST_F(RecordFiles, PendingRecordsTakeTheNextFreeTick) {
    const struct {
        TicketKind kind;
        std::uint32_t tick;
        std::vector<std::wstring> existing;
        std::wstring name;
    } cases[] = {
        {TicketKind::Lan, 500, {}, L"L_500.txt"},
        {TicketKind::Lan, 500, {L"L_500.txt"}, L"L_501.txt"},
        {TicketKind::Lan, 500, {L"L_500.txt", L"L_501.txt", L"W_502.txt"}, L"L_502.txt"},
        {TicketKind::Web, 500, {L"L_500.txt"}, L"W_500.txt"},
        {TicketKind::Web, 0xFFFFFFFFu, {}, L"W_-1.txt"},
        {TicketKind::Web, 0xFFFFFFFFu, {L"W_-1.txt"}, L"W_0.txt"},
        {TicketKind::Lan, 0x7FFFFFFFu, {L"L_2147483647.txt"}, L"L_-2147483648.txt"},
    };
    const std::string record = "ticket\r\nbody \xE2\x82\xAC\n";
    for (const auto& c : cases) {
        fresh();
        std::map<std::wstring, std::string> expected;
        for (const auto& name : c.existing) {
            expected[name] = "earlier " + toUtf8(name);
            test::writeFileBytes(path(name), expected[name]);
        }
        EXPECT_EQ(writePendingRecord(kFolder, c.kind, c.tick, record), std::optional<std::wstring>(path(c.name)))
            << c.name.c_str();
        expected[c.name] = record;
        EXPECT_EQ(folderContents(kFolder), expected) << c.name.c_str();
    }
}

TEST_F(RecordFiles, WhatStandsInTheWayIsLeftAsItIs) {
    const struct {
        const char* what;
        std::wstring obstacle;
        bool readOnlyFile;  // else a folder of that name
        bool sent;
        std::wstring name;
    } cases[] = {
        {"read-only sent record", L"L_7.txt", true, true, L"L_7 (2).txt"},
        {"read-only pending record", L"L_7.txt", true, false, L"L_8.txt"},
        {"folder named as the sent record", L"L_7.txt", false, true, L"L_7 (2).txt"},
        {"folder named as the pending record", L"L_7.txt", false, false, L"L_8.txt"},
    };
    for (const auto& c : cases) {
        fresh();
        std::map<std::wstring, std::string> expected;
        if (c.readOnlyFile) {
            test::writeFileBytes(path(c.obstacle), "keep me\r\n");
            ASSERT_TRUE(SetFileAttributesW(path(c.obstacle).c_str(), FILE_ATTRIBUTE_READONLY));
            expected[c.obstacle] = "keep me\r\n";
        } else {
            ASSERT_TRUE(CreateDirectoryW(path(c.obstacle).c_str(), nullptr));
            expected[c.obstacle] = kSubfolder;
        }
        const std::optional<std::wstring> written =
            c.sent ? writeSentRecord(kFolder, TicketKind::Lan, "7", "new") : writePendingRecord(kFolder, TicketKind::Lan, 7, "new");
        EXPECT_EQ(written, std::optional<std::wstring>(path(c.name))) << c.what;
        expected[c.name] = "new";
        EXPECT_EQ(folderContents(kFolder), expected) << c.what;
        if (c.readOnlyFile) {
            EXPECT_NE(GetFileAttributesW(path(c.obstacle).c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << c.what;
        }
    }
}

TEST_F(RecordFiles, AFolderThatCannotTakeARecordGetsNone) {
    test::writeFileBytes(path(L"plain.txt"), "a plain file");
    const std::map<std::wstring, std::string> before = folderContents(kFolder);
    const struct {
        const char* what;
        std::wstring folder;
    } cases[] = {
        {"missing folder", path(L"missing")},
        {"missing parent", path(L"missing\\S")},
        {"plain file", path(L"plain.txt")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(writeSentRecord(c.folder, TicketKind::Lan, "1", "x"), std::nullopt) << c.what;
        EXPECT_EQ(writeSentRecord(c.folder, TicketKind::Web, "", "x"), std::nullopt) << c.what;
        EXPECT_EQ(writePendingRecord(c.folder, TicketKind::Lan, 1, "x"), std::nullopt) << c.what;
        EXPECT_EQ(folderContents(kFolder), before) << c.what;
    }
}

// A child process that does nothing: started suspended, ended by the owner.
class IdleChild {
public:
    IdleChild() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"cmd.exe /c exit 0";
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW,
                            nullptr, nullptr, &startup, &process_))
            process_ = {};
    }
    ~IdleChild() {
        if (!process_.hProcess) return;
        end();
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    IdleChild(const IdleChild&) = delete;
    IdleChild& operator=(const IdleChild&) = delete;
    DWORD id() const { return process_.dwProcessId; }
    void end() {
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
    }

private:
    PROCESS_INFORMATION process_{};
};

// A write stopped between its two steps, as a crash or a kill there stops it.
struct WriteStopped {};
void stopBeforeRename(const std::wstring&) { throw WriteStopped{}; }

TEST_F(RecordFiles, AWriteStoppedBeforeItsRenameLeavesOnlyATemporaryThatTheNextWriteRemoves) {
    // A temporary of a writer that may still be at work (a running process)
    // stays; one of an ended process goes.
    IdleChild running, ended;
    ASSERT_NE(running.id(), 0u);
    ASSERT_NE(ended.id(), 0u);
    ended.end();
    const std::wstring ofRunning = L"~record-" + std::to_wstring(running.id()) + L"-1.part";
    const std::wstring ofEnded = L"~record-" + std::to_wstring(ended.id()) + L"-1.part";
    test::writeFileBytes(path(ofEnded), "left by a killed writer");
    test::writeFileBytes(path(ofRunning), "still being written");

    setRecordWriteHookForTests(stopBeforeRename);
    EXPECT_THROW(writePendingRecord(kFolder, TicketKind::Web, 42, "{\"a\":\"b\"}"), WriteStopped);
    setRecordWriteHookForTests(nullptr);

    // What the stopped write left: its temporary, whole and known by name
    // only (not hidden), and no record.
    std::map<std::wstring, std::string> left = folderContents(kFolder);
    std::wstring temporary;
    for (const auto& [name, bytes] : left)
        if (name != ofEnded && name != ofRunning) temporary = name;
    const std::wstring ownPrefix = L"~record-" + std::to_wstring(GetCurrentProcessId()) + L"-";
    ASSERT_EQ(temporary.rfind(ownPrefix, 0), 0u) << temporary.c_str();
    EXPECT_EQ(left[temporary], "{\"a\":\"b\"}");
    EXPECT_EQ(GetFileAttributesW(path(temporary).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    // The next write puts its record up at once, visible, and removes the
    // temporaries whose writers are gone (this process's own included).
    const std::optional<std::wstring> written = writePendingRecord(kFolder, TicketKind::Web, 42, "next");
    ASSERT_EQ(written, std::optional<std::wstring>(path(L"W_42.txt")));
    EXPECT_EQ(GetFileAttributesW(written->c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    const std::map<std::wstring, std::string> expected = {{L"W_42.txt", "next"}, {ofRunning, "still being written"}};
    EXPECT_EQ(folderContents(kFolder), expected);
}

// A virus scanner that opens each new file as it appears, without sharing
// it, and lets it go after `holdMs` (never, when negative: the test closes it).
HANDLE scannerHandle = INVALID_HANDLE_VALUE;
int scannerHoldMs = 0;
void scanTemporary(const std::wstring& temporaryPath) {
    scannerHandle = CreateFileW(temporaryPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(scannerHandle, INVALID_HANDLE_VALUE);
    if (scannerHoldMs >= 0) {
        std::thread([handle = scannerHandle, ms = scannerHoldMs] {
            Sleep(static_cast<DWORD>(ms));
            CloseHandle(handle);
        }).detach();
    }
}

TEST_F(RecordFiles, ARecordAScannerHoldsIsWaitedForAndNeverLost) {
    // Held for a moment: the record takes its name once the scanner lets go.
    scannerHoldMs = 300;
    setRecordWriteHookForTests(scanTemporary);
    std::optional<std::wstring> written = writePendingRecord(kFolder, TicketKind::Web, 7, "{\"a\":\"b\"}");
    setRecordWriteHookForTests(nullptr);
    EXPECT_EQ(written, std::optional<std::wstring>(path(L"W_7.txt")));
    EXPECT_EQ(folderContents(kFolder), (std::map<std::wstring, std::string>{{L"W_7.txt", "{\"a\":\"b\"}"}}));

    // Held past all patience: no record, but the only copy of the ticket
    // stays, and no later write takes it for a crashed one.
    fresh();
    scannerHoldMs = -1;
    setRecordWriteHookForTests(scanTemporary);
    written = writePendingRecord(kFolder, TicketKind::Web, 8, "the only copy");
    setRecordWriteHookForTests(nullptr);
    CloseHandle(scannerHandle);
    EXPECT_EQ(written, std::nullopt);
    ASSERT_EQ(writePendingRecord(kFolder, TicketKind::Web, 9, "next"), std::optional<std::wstring>(path(L"W_9.txt")));
    std::map<std::wstring, std::string> left = folderContents(kFolder);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[L"W_9.txt"], "next");
    left.erase(L"W_9.txt");
    const std::wstring kept = left.begin()->first;
    EXPECT_EQ(kept.rfind(L"~record-" + std::to_wstring(GetCurrentProcessId()) + L"-", 0), 0u) << toUtf8(kept);
    EXPECT_EQ(left.begin()->second, "the only copy");
    // Read-only, so the folder can be cleared after the test.
    SetFileAttributesW(path(kept).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RecordFiles, AMovedRecordTakesTheFirstFreeNameAndNeverReplacesOne) {
    const std::wstring pendingFolder = path(L"P");
    ASSERT_TRUE(CreateDirectoryW(pendingFolder.c_str(), nullptr));
    test::writeFileBytes(path(L"W_101.txt"), "the ticket the console numbered 101");
    test::writeFileBytes(path(L"W_101 (2).txt"), "a second record of 101");
    test::writeFileBytes(pendingFolder + L"\\W_101.txt", "re-sent under tick 101");
    test::writeFileBytes(pendingFolder + L"\\W_7.txt", "re-sent under tick 7");

    EXPECT_EQ(moveRecordUnderFirstFreeName(pendingFolder + L"\\W_101.txt", path(L"W_101.txt")),
              std::optional<std::wstring>(path(L"W_101 (3).txt")));
    EXPECT_EQ(moveRecordUnderFirstFreeName(pendingFolder + L"\\W_7.txt", path(L"W_7.txt")),
              std::optional<std::wstring>(path(L"W_7.txt")));
    // A source that is gone moves nowhere and takes no name.
    EXPECT_EQ(moveRecordUnderFirstFreeName(pendingFolder + L"\\W_9.txt", path(L"W_9.txt")), std::nullopt);

    const std::map<std::wstring, std::string> expected = {
        {L"P", kSubfolder},
        {L"W_101.txt", "the ticket the console numbered 101"},
        {L"W_101 (2).txt", "a second record of 101"},
        {L"W_101 (3).txt", "re-sent under tick 101"},
        {L"W_7.txt", "re-sent under tick 7"},
    };
    EXPECT_EQ(folderContents(kFolder), expected);
    EXPECT_TRUE(folderContents(pendingFolder).empty());
}

// "a.b.c.d", each part 0-255.
bool isDottedIpv4(const std::string& text) {
    static const std::regex dotted(R"((\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3}))");
    std::smatch parts;
    if (!std::regex_match(text, parts, dotted)) return false;
    for (size_t i = 1; i <= 4; ++i)
        if (std::stoi(parts[i].str()) > 255) return false;
    return true;
}

std::string networkPart(const std::string& dotted) { return dotted.substr(0, dotted.rfind('.')); }

TEST(MachineIdentity, NamesThisMachineAsTheSystemSeesIt) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    char name[256] = {};
    const int named = gethostname(name, static_cast<int>(sizeof name));
    WSACleanup();
    ASSERT_EQ(named, 0);
    EXPECT_FALSE(hostName().empty());
    EXPECT_EQ(hostName(), std::string(name));

    // The adapters as the system lists them: gateway and addresses.
    const auto text = [](const IP_ADDRESS_STRING& address) {
        return std::string(address.String, strnlen(address.String, sizeof address.String));
    };
    std::vector<std::pair<std::string, std::vector<std::string>>> adapters;
    ULONG size = 0;
    const DWORD sized = GetAdaptersInfo(nullptr, &size);
    if (sized != ERROR_NO_DATA) {
        ASSERT_EQ(sized, static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
        std::vector<unsigned char> buffer(size);
        ASSERT_EQ(GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size),
                  static_cast<DWORD>(NO_ERROR));
        for (auto* adapter = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); adapter; adapter = adapter->Next) {
            adapters.emplace_back(text(adapter->GatewayList.IpAddress), std::vector<std::string>{});
            for (const IP_ADDR_STRING* address = &adapter->IpAddressList; address; address = address->Next)
                adapters.back().second.push_back(text(address->IpAddress));
        }
    }

    const std::string ip = machineIp();
    if (ip.empty()) {
        // Then no adapter has a usable address next to its gateway.
        for (const auto& [gateway, addresses] : adapters)
            for (const auto& address : addresses)
                EXPECT_FALSE(isDottedIpv4(address) && address != "0.0.0.0" && gateway != "0.0.0.0" &&
                             networkPart(address) == networkPart(gateway))
                    << address << " beside gateway " << gateway;
        return;
    }
    EXPECT_NE(ip, "0.0.0.0");
    EXPECT_TRUE(isDottedIpv4(ip)) << ip;
    // One of the listed addresses, on an adapter whose gateway is in its network.
    bool listed = false;
    for (const auto& [gateway, addresses] : adapters)
        for (const auto& address : addresses)
            listed = listed || (address == ip && networkPart(ip) == networkPart(gateway));
    EXPECT_TRUE(listed) << ip;
}

}  // namespace
}  // namespace tiqora
