#include "core/log/ticket_log_format.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/log/log_size.h"

namespace tiqora {
namespace {

TEST(TicketLogFormat, DayUnpaddedOtherFieldsTwoDigits) {
    struct Case {
        LogTime time;
        const char* stamp;
    } cases[] = {
        {{7, 3, 2024, 9, 5}, "7/03/2024 09:05"},
        {{31, 12, 2023, 23, 59}, "31/12/2023 23:59"},
        {{1, 1, 2026, 0, 0}, "1/01/2026 00:00"},
        // Fields whose conversion failed.
        {{}, "0/00/00 -1:-1"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatLogTimestamp(c.time), c.stamp);
}

TEST(TicketLogFormat, LineIsStampSeparatorAndMessageAsGiven) {
    const LogTime t{7, 3, 2024, 9, 5};
    EXPECT_EQ(formatTicketLogLine(t, "GetUrl function start"), "7/03/2024 09:05  :  GetUrl function start");
    EXPECT_EQ(formatTicketLogLine(t, "body\n"), "7/03/2024 09:05  :  body\n");
    EXPECT_EQ(formatTicketLogLine(t, "100% %s %d"), "7/03/2024 09:05  :  100% %s %d");
    EXPECT_EQ(formatTicketLogLine(t, ""), "7/03/2024 09:05  :  ");
    const std::string big(21000, 'x');
    EXPECT_EQ(formatTicketLogLine(t, big).size(), 20 + big.size());
}

TEST(TicketLogFormat, ThePrefixIsWrittenIntoABufferCutToFit) {
    const LogTime t{7, 3, 2024, 9, 5};
    struct Case {
        size_t size;
        const char* written;
    } cases[] = {
        {64, "7/03/2024 09:05  :  "},
        {21, "7/03/2024 09:05  :  "},  // exactly the prefix and its terminator
        {20, "7/03/2024 09:05  : "},
        {16, "7/03/2024 09:05"},
        {8, "7/03/20"},
        {1, ""},
    };
    for (const auto& c : cases) {
        char buffer[80];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(formatTicketLogPrefix(t, buffer, c.size), std::strlen(c.written)) << c.size;
        EXPECT_STREQ(buffer, c.written) << c.size;
        EXPECT_EQ(buffer[c.size], '#') << c.size << ": written past the buffer";
    }
    char untouched = '#';
    EXPECT_EQ(formatTicketLogPrefix(t, &untouched, 0), 0u);
    EXPECT_EQ(untouched, '#');
}

TEST(TicketLogFormat, OversizedOnlyPastTheLimit) {
    EXPECT_FALSE(logIsOversized(0));
    EXPECT_FALSE(logIsOversized(153000));
    EXPECT_TRUE(logIsOversized(153001));
}

}  // namespace
}  // namespace tiqora
