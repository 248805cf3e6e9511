// The listener of tests/harness/leftover_processes.cpp, on tests that leave
// a program behind (tests/win/helpers/leftover_sample.cpp, run as a program
// of its own): the test that leaves a program running fails, naming it, and
// what a test that never reached its end left is ended at the next test's
// start, naming both. Read from GoogleTest's own result file of each run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "harness/leftover_processes.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"

namespace tiqora {
namespace {

std::wstring resultFile() { return test::tempFile(L"leftover_sample.xml"); }

std::wstring sampleArguments(const std::wstring& test) {
    return L"--gtest_filter=LeftoverSample." + test + L" \"--gtest_output=xml:" + resultFile() + L"\"";
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

TEST(LeftoverProcesses, ATestThatLeavesAProgramRunningFailsNamingIt) {
    DeleteFileW(resultFile().c_str());
    test::AppProcess sample(test::buildFile(L"leftover_sample.exe"), sampleArguments(L"LeavesNotepadRunning"));
    EXPECT_EQ(sample.waitForExit(), 1u);
    const std::string results = test::readFileBytes(resultFile());
    EXPECT_EQ(occurrences(results, "<failure "), 1u) << results;
    EXPECT_NE(results.find("the test left running, and the listener ended: "), std::string::npos) << results;
    EXPECT_NE(results.find("notepad.exe (process "), std::string::npos) << results;
    EXPECT_FALSE(test::processRunning(L"notepad.exe"));
}

TEST(LeftoverProcesses, WhatATestThatNeverEndedLeftIsEndedAndNamedAtTheNextStart) {
    {
        test::AppProcess stuck(test::buildFile(L"leftover_sample.exe"), sampleArguments(L"StartsAProgramAndNeverEnds"));
        test::waitUntil([] { return test::processRunning(L"driver_target.exe"); }, "the sample to start the driver target");
    }  // ended here, as ctest ends a test at its time-out
    DeleteFileW(resultFile().c_str());
    test::AppProcess next(test::buildFile(L"leftover_sample.exe"), sampleArguments(L"Passes"));
    EXPECT_EQ(next.waitForExit(), 0u);
    const std::string results = test::readFileBytes(resultFile());
    EXPECT_EQ(occurrences(results, "<failure "), 0u) << results;
    EXPECT_NE(results.find("driver_target.exe (process "), std::string::npos) << results;
    EXPECT_NE(results.find("left running by LeftoverSample.StartsAProgramAndNeverEnds, which did not reach its end"),
              std::string::npos)
        << results;
    EXPECT_FALSE(test::processRunning(L"driver_target.exe"));
}

}  // namespace
}  // namespace tiqora
