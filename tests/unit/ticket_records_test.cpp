#include "core/it_ticket/ticket_records.h"

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

TEST(TicketRecords, TheScanFollowsTheFormsDeliveryMode) {
    constexpr auto Lan = DeliveryMode::Lan, Web = DeliveryMode::Web, None = DeliveryMode::None;
    struct Case {
        const char* name;
        DeliveryMode mode;
        const char* sendWebRpt;
        PendingRoute route;
    } cases[] = {
        // LAN mode (ITTicketServer "L", or SendLocalRpt "ON"): LAN tickets
        // go, whatever SendWebRpt holds; web tickets stay.
        {"L_1.txt", Lan, "ON", PendingRoute::Lan},
        {"L_1.txt", Lan, "OFF", PendingRoute::Lan},
        {"W_1.txt", Lan, "ON", PendingRoute::LeaveWeb},
        // Web mode (ITTicketServer "W", or SendWebRpt "ON" alone): web
        // tickets go, whatever SendWebRpt holds; LAN tickets stay.
        {"W_1.txt", Web, "ON", PendingRoute::Web},
        {"W_1.txt", Web, "", PendingRoute::Web},
        {"L_1.txt", Web, "OFF", PendingRoute::LeaveLan},
        // No mode: SendWebRpt alone decides, exactly "ON" or not.
        {"W_1.txt", None, "ON", PendingRoute::Web},
        {"W", None, "ON", PendingRoute::Web},
        {"W_1.txt", None, "on", PendingRoute::LeaveWeb},
        {"W_1.txt", None, "N/A", PendingRoute::LeaveWeb},
        {"L_1.txt", None, "ON", PendingRoute::LeaveLan},
        {"L_1.txt", None, "OFF", PendingRoute::Lan},
        {"L_.txt", None, "N/A", PendingRoute::Lan},
        {"L", None, "", PendingRoute::Lan},
        // The first letter alone tells the kind, in upper case only.
        {"w_1.txt", Web, "ON", PendingRoute::NoTicket},
        {"l_1.txt", Lan, "OFF", PendingRoute::NoTicket},
        {"X_1.txt", Web, "ON", PendingRoute::NoTicket},
        {"~record-12-3.part", Lan, "", PendingRoute::NoTicket},
        {"", None, "OFF", PendingRoute::NoTicket},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pendingRouteFor(c.name, c.mode, c.sendWebRpt), c.route)
            << c.name << " / mode " << static_cast<int>(c.mode) << " / " << c.sendWebRpt;
}

TEST(TicketRecords, TheResendSaysWhatItLeftAndWhereItStopped) {
    EXPECT_EQ(leftPendingLine(TicketKind::Web, 3, DeliveryMode::Lan),
              "Pending resend left 3 web ticket file(s): the delivery mode is LAN");
    EXPECT_EQ(leftPendingLine(TicketKind::Lan, 1, DeliveryMode::Web),
              "Pending resend left 1 LAN ticket file(s): the delivery mode is web");
    EXPECT_EQ(leftPendingLine(TicketKind::Lan, 2, DeliveryMode::None),
              "Pending resend left 2 LAN ticket file(s): no delivery mode and SendWebRpt=ON");
    EXPECT_EQ(leftPendingLine(TicketKind::Web, 7, DeliveryMode::None),
              "Pending resend left 7 web ticket file(s): no delivery mode and SendWebRpt is not ON");
    EXPECT_EQ(stoppedResendLine(199),
              "Pending resend stopped, the server gave no answer: 199 pending file(s) wait for the next run");
}

TEST(TicketRecords, AMovedOrRepeatedRecordTakesTheFirstFreeName) {
    struct Case {
        const char* first;
        int n;
        const char* name;
    } cases[] = {
        {"W_101.txt", 1, "W_101.txt"},     {"W_101.txt", 0, "W_101.txt"},
        {"W_101.txt", 2, "W_101 (2).txt"}, {"L_-5.txt", 10, "L_-5 (10).txt"},
        {"L_1.txt.txt", 2, "L_1.txt (2).txt"},
        {"W_101", 2, "W_101 (2)"},  // no ".txt": the number goes at the end
        {"W_101.TXT", 3, "W_101.TXT (3)"},
    };
    for (const auto& c : cases) EXPECT_EQ(recordNameCandidate(c.first, c.n), c.name) << c.first << " " << c.n;
}

TEST(TicketRecords, TemporariesAreKnownByNameWithTheirWriter) {
    EXPECT_EQ(recordTemporaryName(4711, 3), "~record-4711-3.part");
    EXPECT_EQ(recordTemporaryWriter(recordTemporaryName(4711, 3)), 4711u);
    EXPECT_EQ(recordTemporaryWriter("~record-4294967295-1.part"), 4294967295u);
    for (const char* notTemporary : {"W_101.txt", "L_1.txt", "~record-.part", "~record-12.part", "~record-12-.part",
                                     "~record--3.part", "~record-4294967296-1.part", "~record-1-2.txt",
                                     "~RECORD-1-2.part", "x~record-1-2.part", "~record-1x-2.part", ""})
        EXPECT_FALSE(recordTemporaryWriter(notTemporary).has_value()) << notTemporary;
}

TEST(TicketRecords, ClaimFoldersNameTheirRun) {
    EXPECT_EQ(pendingClaimFolderName(PendingClaim{4711, 0x01db4c2e9f3a7b10ull}), "~sending-4711-01db4c2e9f3a7b10");
    EXPECT_EQ(pendingClaimFolderName(PendingClaim{0, 0}), "~sending-0-0000000000000000");
    struct Case {
        const char* name;
        std::uint32_t processId;
        std::uint64_t processStart;
    } claims[] = {
        {"~sending-4711-01db4c2e9f3a7b10", 4711, 0x01db4c2e9f3a7b10ull},
        {"~sending-4294967295-FFFFFFFFFFFFFFFF", 4294967295u, 0xffffffffffffffffull},
        {"~sending-1-0000000000000000", 1, 0},
    };
    for (const Case& c : claims) {
        const std::optional<PendingClaim> read = pendingClaimOf(c.name);
        ASSERT_TRUE(read.has_value()) << c.name;
        EXPECT_EQ(read->processId, c.processId) << c.name;
        EXPECT_EQ(read->processStart, c.processStart) << c.name;
    }
    for (const char* notClaim :
         {"W_101.txt", "~sending-4711-01db4c2e9f3a7b1", "~sending-4711-01db4c2e9f3a7b100", "~sending--01db4c2e9f3a7b10",
          "~sending-4294967296-01db4c2e9f3a7b10", "~sending-47x1-01db4c2e9f3a7b10", "~sending-4711-01db4c2e9f3a7g10",
          "~sending-4711", "~SENDING-4711-01db4c2e9f3a7b10", "~sending-4711-01db4c2e9f3a7b10~W_1.txt",
          "~delivered~W_1.txt", "~record-1-2.part", ""})
        EXPECT_FALSE(pendingClaimOf(notClaim).has_value()) << notClaim;
    // A kept delivered ticket is never a ticket to send.
    EXPECT_EQ(deliveredUnmovedName("L_7.txt"), "~delivered~L_7.txt");
    EXPECT_EQ(pendingRouteFor(deliveredUnmovedName("W_101.txt"), DeliveryMode::Web, "ON"), PendingRoute::NoTicket);
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
