// The IT ticket log as the program writes it: exact bytes, the size rule, a
// missing folder, and several processes appending at once.
#include "win/ticket_log.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <vector>

#include "harness/machine.h"
#include "harness/test_paths.h"
#include "harness/ui_driver.h"

namespace tiqora {
namespace {

using test::SuiteMachine;

const std::string kStamp = R"(\d{1,2}/\d{2}/\d{4} \d{2}:\d{2})";

TEST(TicketLog, AppendsStampedLinesInTextMode) {
    SuiteMachine::bare().withLogFolder();
    EXPECT_EQ(writeTicketLog("GetUrl function start"), 1);
    EXPECT_EQ(writeTicketLog("body with its own line feed\n"), 1);
    EXPECT_EQ(writeTicketLog("100% %s %n"), 1);
    const std::regex expected(kStamp + "  :  GetUrl function start\r\n" +  //
                              kStamp + "  :  body with its own line feed\r\n\r\n" +  //
                              kStamp + "  :  100% %s %n\r\n");
    EXPECT_TRUE(std::regex_match(SuiteMachine::ticketLog(), expected)) << SuiteMachine::ticketLog();
}

TEST(TicketLog, WithoutTheFolderNothingIsWritten) {
    SuiteMachine::bare().withoutLogFolder();
    EXPECT_EQ(writeTicketLog("lost"), 0);
    EXPECT_FALSE(test::fileExists(SuiteMachine::logFolder()));
}

TEST(TicketLog, ResetDeletesOnlyAFileLargerThan153000Bytes) {
    struct Case {
        size_t size;
        bool deleted;
    } cases[] = {{0, false}, {153000, false}, {153001, true}, {400000, true}};
    for (const auto& c : cases) {
        SuiteMachine::bare().withLogFolder();
        test::writeFileBytes(SuiteMachine::ticketLogPath(), std::string(c.size, 'x'));
        EXPECT_EQ(resetTicketLogIfOversized(), c.deleted) << c.size;
        EXPECT_EQ(test::fileExists(SuiteMachine::ticketLogPath()), !c.deleted) << c.size;
    }
    SuiteMachine::bare().withLogFolder();
    EXPECT_FALSE(resetTicketLogIfOversized());  // no log at all
}

TEST(TicketLog, ConcurrentWritersLoseAndTearNoLine) {
    SuiteMachine::bare().withLogFolder();
    constexpr int kLinesEach = 2000;
    const std::vector<std::wstring> tags = {L"alpha", L"bravo", L"charlie"};
    std::vector<std::unique_ptr<test::AppProcess>> writers;
    for (const auto& tag : tags)
        writers.push_back(std::make_unique<test::AppProcess>(test::buildFile(L"ticket_log_writer.exe"),
                                                             tag + L" " + std::to_wstring(kLinesEach)));
    for (auto& writer : writers) EXPECT_EQ(writer->waitForExit(120000), 0u);

    const std::regex line(kStamp + "  :  (alpha|bravo|charlie) line (\\d+) ([a-z]{60})");
    std::map<std::string, std::vector<int>> seen;
    std::istringstream log(SuiteMachine::ticketLog());
    std::string text;
    int total = 0;
    while (std::getline(log, text)) {
        ASSERT_FALSE(text.empty()) << "empty line after " << total << " lines";
        ASSERT_EQ(text.back(), '\r') << text;
        text.pop_back();
        std::smatch m;
        ASSERT_TRUE(std::regex_match(text, m, line)) << "torn line: " << text;
        ASSERT_EQ(m[3].str(), std::string(60, static_cast<char>('a' + m[1].str()[0] % 26))) << text;
        seen[m[1].str()].push_back(std::stoi(m[2].str()));
        ++total;
    }
    EXPECT_EQ(total, 3 * kLinesEach);
    for (const auto& tag : {"alpha", "bravo", "charlie"}) {
        const auto& numbers = seen[tag];
        ASSERT_EQ(numbers.size(), static_cast<size_t>(kLinesEach)) << tag;
        // Each writer's lines arrive in its own order.
        for (int i = 0; i < kLinesEach; ++i) ASSERT_EQ(numbers[i], i) << tag;
    }
}

}  // namespace
}  // namespace tiqora
