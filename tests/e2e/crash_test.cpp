// A crash of the real TiqoraDesk.exe, seen from outside: a suite library that
// crashes while "/sysp" re-sends a pending ticket ends the process at once
// with the exception code, the IT ticket log names the code and the library,
// the ticket stays pending (in the crashed run's folder, which the next run
// takes up), and the harness fails the test that ran the program, naming
// both. A library that aborts stands for every stop on a failed check.
#include <windows.h>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "harness/machine.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"
#include "win/handles.h"
#include "win/wide_text.h"

namespace tiqora::test {
namespace {

constexpr char kBody[] = R"({"LicenseNo":"TQ4711-2026-ORV","IssueTitle":"Printer","Description":"jams"})";

// A standard machine whose WBX.DLL is `library`, with one web ticket
// pending.
void machineWith(const wchar_t* library) {
    SuiteMachine::standard().transportLibrary(library).pendingFile(L"W_1.txt", kBody);
}
void crashingMachine() { machineWith(L"transport_crashing.dll"); }

// Where the crashed run of `app` left the ticket it was sending: its own
// folder in the pending folder, named for its process id and start.
std::wstring ticketLeftBy(const AppProcess& app) {
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, app.pid()));
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!process || !GetProcessTimes(process.get(), &created, &exited, &kernel, &user)) return {};
    wchar_t start[17];
    std::swprintf(start, 17, L"%08lx%08lx", static_cast<unsigned long>(created.dwHighDateTime),
                  static_cast<unsigned long>(created.dwLowDateTime));
    return SuiteMachine::pendingFolder() + L"\\~sending-" + std::to_wstring(app.pid()) + L"-" + start + L"\\W_1.txt";
}

TEST(Crash, ACrashingSuiteLibraryEndsTheResendWithTheCodeAndALogLineNamingIt) {
    crashingMachine();
    AppProcess app(SuiteMachine::program(), L"/sysp");
    try {
        app.waitForExit(5000);
        ADD_FAILURE() << "the resend ended without a crash";
    } catch (const ProgramCrashed& crash) {
        EXPECT_EQ(crash.code(), 0xC0000005u);
        const std::regex line(R"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2}  :  Unhandled exception 0xC0000005 at WBX\.DLL\+0x[0-9a-f]+)");
        EXPECT_TRUE(std::regex_match(crash.crashLine(), line)) << crash.crashLine();
        // The test's failure names both.
        const std::string failure = crash.what();
        EXPECT_NE(failure.find("crashed with exception 0xC0000005"), std::string::npos) << failure;
        EXPECT_NE(failure.find(crash.crashLine()), std::string::npos) << failure;
    }
    EXPECT_EQ(readFileBytes(ticketLeftBy(app)), kBody);
    EXPECT_FALSE(fileExists(SuiteMachine::sentFolder() + L"\\W_1.txt"));
}

// Each way a library can end the resend: the exit code, and the log line
// that names where it happened. A stop on a failed check gives the fail-fast
// code; a crash at an address in no library or program file gives the
// address itself.
TEST(Crash, EachKindOfEndInALibraryGivesItsCodeAndItsLogLine) {
    const struct {
        const wchar_t* library;
        DWORD code;
        const char* line;
    } cases[] = {
        {L"transport_aborting.dll", 0xC0000409u,
         R"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2}  :  Unhandled exception 0xC0000409 at abort: the program stopped on a failed check)"},
        {L"transport_calling_nowhere.dll", 0xC0000005u,
         R"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2}  :  Unhandled exception 0xC0000005 at 0x1000)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.library));
        machineWith(c.library);
        AppProcess app(SuiteMachine::program(), L"/sysp");
        try {
            app.waitForExit(5000);
            ADD_FAILURE() << "the resend ended without a crash";
        } catch (const ProgramCrashed& crash) {
            EXPECT_EQ(crash.code(), c.code);
            EXPECT_TRUE(std::regex_match(crash.crashLine(), std::regex(c.line))) << crash.crashLine();
        }
        EXPECT_EQ(readFileBytes(ticketLeftBy(app)), kBody);
    }
}

TEST(Crash, ACrashNoWaitSawFailsTheTestWhenItsProcessGoes) {
    crashingMachine();
    EXPECT_NONFATAL_FAILURE(
        {
            AppProcess app(SuiteMachine::program(), L"/sysp");
            waitUntil([&] { return !app.running(); }, "the program to end");
        },
        "the program crashed with exception 0xC0000005; its log: ");
}

}  // namespace
}  // namespace tiqora::test
