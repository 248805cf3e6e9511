// The system libraries that the program binds at their first call: loaded
// and kept ahead of the steps that need them, and the delay-load helper's
// failure hook as the program installs it, seen through a real delay-loaded
// call into a library that does not exist.
#include "win/system_libraries.h"

#include <gtest/gtest.h>

#include <regex>

#include "harness/machine.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"

namespace tiqora {
namespace {

using test::SuiteMachine;

TEST(SystemLibraries, KeepingThemLoadedNamesTheFirstThatDoesNotLoad) {
    EXPECT_EQ(keepSystemLibrariesLoaded({L"ws2_32.dll", L"bcrypt.dll", L"crypt32.dll", L"secur32.dll"}), std::nullopt);
    EXPECT_NE(GetModuleHandleW(L"secur32.dll"), nullptr);

    const auto missing = keepSystemLibrariesLoaded({L"bcrypt.dll", L"tiqora_absent.dll", L"no_such_either.dll"});
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->library, "tiqora_absent.dll");
    EXPECT_EQ(missing->error, static_cast<unsigned long>(ERROR_MOD_NOT_FOUND));
    // Only from the system folder: a copy beside the program does not count.
    EXPECT_TRUE(keepSystemLibrariesLoaded({L"transport_full.dll"}).has_value());
}

TEST(SystemLibraries, ADelayLoadedCallThatCannotBindIsLoggedAndEndsTheProcessWithItsCode) {
    SuiteMachine::bare().withLogFolder();
    test::AppProcess probe(test::buildFile(L"delay_load_probe.exe"), L"");
    try {
        probe.waitForExit();
        ADD_FAILURE() << "the probe ended without a crash";
    } catch (const test::ProgramCrashed& crash) {
        EXPECT_EQ(crash.code(), 0xC06D007Eu);  // the delay-load helper's "module not found"
    }
    const std::string stamp = R"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2}  :  )";
    const std::regex log(stamp +
                         R"(Delay-loaded system library tiqora_absent\.dll could not be bound at its first call \(error 126\)\r\n)" +
                         stamp + R"(Unhandled exception 0xC06D007E at [^\r\n]+\+0x[0-9a-f]+\r\n)");
    EXPECT_TRUE(std::regex_match(SuiteMachine::ticketLog(), log)) << SuiteMachine::ticketLog();
}

}  // namespace
}  // namespace tiqora
