// The Wine machine the tests run in (tools/wine-machine.sh) behaves as a
// Windows machine without a debugger: a program that crashes ends at once
// with its exception code. Wine's own setting would start winedbg, which
// holds the process while it dumps it, and may fail to attach and leave it
// holding its files.
#include <windows.h>

#include <gtest/gtest.h>

#include "harness/leftover_processes.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"

namespace tiqora {
namespace {

TEST(WineMachine, ACrashingProgramEndsWithItsCodeAndNoDebuggerAttaches) {
    ASSERT_FALSE(test::processRunning(L"winedbg.exe"));
    bool debugger = false;
    test::AppProcess program(test::buildFile(L"crashing_program.exe"), L"");
    test::waitUntil(
        [&] {
            debugger = debugger || test::processRunning(L"winedbg.exe");
            return !program.running();
        },
        "the crashing program to end", 5000);
    EXPECT_FALSE(debugger || test::processRunning(L"winedbg.exe"));
    try {
        program.waitForExit();
        ADD_FAILURE() << "the program ended without a crash";
    } catch (const test::ProgramCrashed& crash) {
        EXPECT_EQ(crash.code(), 0xC0000005u);
        EXPECT_EQ(crash.crashLine(), "") << "the program writes no log";
    }
}

}  // namespace
}  // namespace tiqora
