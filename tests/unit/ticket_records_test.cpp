#include "itticket/ticket_records.h"

#include <gtest/gtest.h>

#include <string>

namespace tiqora {
namespace {

TEST(TicketRecords, RecordNames) {
    EXPECT_EQ(sentRecordName(TicketKind::Lan, "1001"), "L_1001.txt");
    EXPECT_EQ(sentRecordName(TicketKind::Web, "wt1001"), "W_wt1001.txt");
    EXPECT_EQ(sentRecordName(TicketKind::Web, ""), "W_.txt");
    EXPECT_EQ(pendingRecordName(TicketKind::Lan, 123456u), "L_123456.txt");
    EXPECT_EQ(pendingRecordName(TicketKind::Web, 0u), "W_0.txt");
    // Past 24.8 days of uptime the tick count is written negative.
    EXPECT_EQ(pendingRecordName(TicketKind::Web, 0x80000000u), "W_-2147483648.txt");
    EXPECT_EQ(pendingRecordName(TicketKind::Lan, 0xFFFFFFFFu), "L_-1.txt");
}

TEST(TicketRecords, SentRecordCandidatesNumberLaterRecordsOfTheSameId) {
    struct Case {
        TicketKind kind;
        const char* id;
        int n;
        const char* name;
    } cases[] = {
        {TicketKind::Lan, "1001", 1, "L_1001.txt"},
        {TicketKind::Lan, "1001", 2, "L_1001 (2).txt"},
        {TicketKind::Web, "wt1001", 3, "W_wt1001 (3).txt"},
        {TicketKind::Web, "wt1001", 12, "W_wt1001 (12).txt"},
        {TicketKind::Web, "", 2, "W_ (2).txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(sentRecordCandidate(c.kind, c.id, c.n), c.name) << c.id << " " << c.n;
    // No later candidate takes the first one's name.
    for (int n = 2; n < 20; ++n) EXPECT_NE(sentRecordCandidate(TicketKind::Lan, "7", n), sentRecordName(TicketKind::Lan, "7"));
}

TEST(TicketRecords, ADeliveredPendingFileGoesToTheSentFolderUnderItsOwnName) {
    struct Case {
        const char* pending;
        const char* sent;  // null: not a pending file
    } cases[] = {
        {"C:\\ProgramData\\Orvantis\\IT TICKET\\P\\W_123.txt", "C:\\ProgramData\\Orvantis\\IT TICKET\\S\\W_123.txt"},
        {"C:\\ProgramData\\Orvantis\\IT TICKET\\P\\L_.txt", "C:\\ProgramData\\Orvantis\\IT TICKET\\S\\L_.txt"},
        // Only the pending folder itself changes, not a folder of the same name above it.
        {"D:\\IT TICKET\\P\\Data\\IT TICKET\\P\\W_1.txt", "D:\\IT TICKET\\P\\Data\\IT TICKET\\S\\W_1.txt"},
        // A name that merely looks like the folder is no pending file.
        {"C:\\Data\\IT TICKET\\S\\W_1.txt", nullptr},
        {"C:\\Data\\MY IT TICKET\\P\\W_1.txt", nullptr},
        {"C:\\Data\\it ticket\\p\\W_1.txt", nullptr},
        {"W_1.txt", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto sent = sentPathForPending(c.pending);
        if (c.sent) {
            ASSERT_TRUE(sent.has_value()) << c.pending;
            EXPECT_EQ(*sent, c.sent);
        } else {
            EXPECT_FALSE(sent.has_value()) << c.pending;
        }
    }
    EXPECT_EQ(fileNameOf("C:\\x\\IT TICKET\\P\\L_5.txt"), "L_5.txt");
    EXPECT_EQ(fileNameOf("L_5.txt"), "L_5.txt");
    EXPECT_EQ(fileNameOf("C:\\x\\"), "");
}

TEST(TicketRecords, TheScanRoutesByFirstLetterAndSendWebRpt) {
    struct Case {
        const char* name;
        const char* sendWebRpt;
        PendingRoute route;
    } cases[] = {
        {"W_1.txt", "ON", PendingRoute::Web},   {"W", "ON", PendingRoute::Web},
        {"W_1.txt", "on", PendingRoute::LeaveAlone}, {"W_1.txt", "N/A", PendingRoute::LeaveAlone},
        {"L_1.txt", "ON", PendingRoute::LeaveAlone}, {"L_1.txt", "OFF", PendingRoute::Lan},
        {"L_.txt", "N/A", PendingRoute::Lan},   {"L", "", PendingRoute::Lan},
        {"w_1.txt", "ON", PendingRoute::LeaveAlone}, {"l_1.txt", "OFF", PendingRoute::LeaveAlone},
        {"X_1.txt", "ON", PendingRoute::LeaveAlone}, {"X_1.txt", "OFF", PendingRoute::LeaveAlone},
        {"", "ON", PendingRoute::LeaveAlone},   {"", "OFF", PendingRoute::LeaveAlone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pendingRouteFor(c.name, c.sendWebRpt), c.route) << c.name << " / " << c.sendWebRpt;
}

TEST(TicketRecords, LocalDeliveryName) {
    struct Case {
        const char* licence;
        LocalDate date;
        const char* file;
        const char* name;
    } cases[] = {
        {"TQ4711-2026-ORV", {2024, 3, 7}, "L_123456.txt", "TQ4711-2026-ORV_2024-03-07_L_123456.itt"},
        {"TQ4711-2026-ORV", {2025, 12, 31}, "L_.txt", "TQ4711-2026-ORV_2025-12-31_L_.itt"},
        {"", {2024, 1, 2}, "L_9.txt", "_2024-01-02_L_9.itt"},
        // Every ".txt" turns, and only that exact text.
        {"K", {2024, 1, 2}, "L_1.txt.txt", "K_2024-01-02_L_1.itt.itt"},
        {"K", {2024, 1, 2}, "L_1.TXT", "K_2024-01-02_L_1.TXT"},
        {"K", {2024, 1, 2}, "L", "K_2024-01-02_L"},
        // The year is padded with blanks to four places.
        {"K", {987, 1, 2}, "L_1.txt", "K_ 987-01-02_L_1.itt"},
    };
    for (const auto& c : cases) EXPECT_EQ(localDeliveryName(c.licence, c.date, c.file), c.name) << c.file;
}

TEST(TicketRecords, APendingBodyGoesOutWholeUnlessItHoldsANul) {
    EXPECT_EQ(checkPendingBody(""), PendingBody::Empty);
    EXPECT_EQ(checkPendingBody("{\"Description\":\"line one\r\nline two\"}"), PendingBody::Ready);
    EXPECT_EQ(checkPendingBody(std::string(5 * 1024 * 1024, 'x')), PendingBody::Ready);
    EXPECT_EQ(checkPendingBody(std::string("{\"a\":\"b\0c\"}", 11)), PendingBody::HoldsNul);
    EXPECT_EQ(checkPendingBody(std::string(1, '\0')), PendingBody::HoldsNul);
}

}  // namespace
}  // namespace tiqora
