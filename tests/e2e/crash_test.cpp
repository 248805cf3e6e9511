// A crash of the real TiqoraDesk.exe, seen from outside: a suite library that
// crashes while "/sysp" re-sends a pending ticket ends the process at once
// with the exception code, the IT ticket log names the code and the library,
// the ticket stays pending, and the harness fails the test that ran the
// program, naming both.
#include <windows.h>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "harness/machine.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"

namespace tiqora::test {
namespace {

constexpr char kBody[] = R"({"LicenseNo":"TQ4711-2026-ORV","IssueTitle":"Printer","Description":"jams"})";
const std::wstring kPendingFile = SuiteMachine::pendingFolder() + L"\\W_1.txt";

// A standard machine whose WBX.DLL crashes in every call, with one web
// ticket pending.
void crashingMachine() {
    SuiteMachine::standard().transportLibrary(L"transport_crashing.dll").pendingFile(L"W_1.txt", kBody);
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
    EXPECT_EQ(readFileBytes(kPendingFile), kBody);
    EXPECT_FALSE(fileExists(SuiteMachine::sentFolder() + L"\\W_1.txt"));
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
