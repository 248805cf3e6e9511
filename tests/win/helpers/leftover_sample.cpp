// Tests that leave a program behind, each run in a process of its own by
// tests/win/leftover_processes_test.cpp (this binary is never registered
// with ctest): one leaves Notepad running and returns, one starts the driver
// target and never ends, as a test that ctest ends at its time-out.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "harness/test_paths.h"

namespace tiqora {
namespace {

void start(const std::wstring& program) {
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info))
        << GetLastError();
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

TEST(LeftoverSample, LeavesNotepadRunning) { start(L"C:\\windows\\system32\\notepad.exe"); }

TEST(LeftoverSample, StartsAProgramAndNeverEnds) {
    start(test::buildFile(L"driver_target.exe"));
    Sleep(INFINITE);
}

TEST(LeftoverSample, Passes) {}

}  // namespace
}  // namespace tiqora
