#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tiqora {
namespace {

TEST(CommandLineTail, StartsAtTheLastSlash) {
    struct Case {
        const char* commandLine;
        const char* tail;
    } cases[] = {
        {"\"C:\\Program Files\\Kelvane\\Orvantis\\TiqoraDesk.exe\"", ""},
        {"TiqoraDesk.exe /sys", "/sys"},
        {"prog.exe /feedback /x", "/x"},
        {"TiqoraDesk.exe /SAReply=L,1234,abc", "/SAReply=L,1234,abc"},
        {"TiqoraDesk.exe /sys extra", "/sys extra"},
        {"C:/suite/TiqoraDesk.exe", "/TiqoraDesk.exe"},
        {"", ""},
        {"/", "/"},
    };
    for (const auto& c : cases) EXPECT_EQ(commandLineTail(c.commandLine), c.tail) << c.commandLine;
}

TEST(ModeForTail, FirstMatchingRuleWins) {
    struct Case {
        const char* tail;
        Mode mode;
    } cases[] = {
        {"", Mode::SupportRequest},
        {"/feedback", Mode::Feedback},
        {"/Feedback", Mode::Feedback},
        {"/FEEDBACK", Mode::Feedback},
        {"/sys", Mode::ItTicket},
        {"/SYS", Mode::ItTicket},
        {"/sysp", Mode::PendingResend},
        {"/SysP", Mode::PendingResend},
        {"/SAReply=L,1234,abc", Mode::ReplyLan},
        {"/sareply=l,1,x", Mode::ReplyLan},
        {"/SAReply=C,77,guid", Mode::ReplyWeb},
        {"/SAReply=Cx", Mode::ReplyWeb},
        // Whole-text switches only match the whole tail.
        {"/sys extra", Mode::SupportRequest},
        {"/feedbackx", Mode::SupportRequest},
        {"/x", Mode::SupportRequest},
        {"/SAReply=X,1,2", Mode::SupportRequest},
        {"/TiqoraDesk.exe", Mode::SupportRequest},
    };
    for (const auto& c : cases) EXPECT_EQ(modeForTail(c.tail), c.mode) << c.tail;
}

TEST(GuardMutexName, SharedForTheFormsAndOnePerReply) {
    struct Case {
        const char* tail;
        GuardKind kind;
        const char* name;
    } cases[] = {
        {"", GuardKind::Shared, "Tiqora Desk"},
        {"/sys", GuardKind::Shared, "Tiqora Desk"},
        {"/FEEDBACK", GuardKind::Shared, "Tiqora Desk"},
        {"/sysp", GuardKind::Shared, "Tiqora Desk"},
        {"/SAReply=L,1234,x", GuardKind::Reply, "Message /SAReply=L,1234,x"},
        {"/sareply=c,9,g", GuardKind::Reply, "Message /sareply=c,9,g"},
        {"/sys extra", GuardKind::None, ""},
        {"/x", GuardKind::None, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(guardKindForTail(c.tail), c.kind) << c.tail;
        EXPECT_EQ(guardMutexName(c.tail), c.name) << c.tail;
    }
}

TEST(ChatWindowMarker, IsTheSecondFieldWithATrailingBlank) {
    struct Case {
        const char* tail;
        const char* marker;
    } cases[] = {
        {"/SAReply=L,123,x", "IT Ticket | 123 "},
        {"/SAReply=C,77,guid,extra", "IT Ticket | 77 "},
        {"/SAReply=L,123", "IT Ticket | 123 "},
        {"/SAReply=L", "IT Ticket |  "},
        {"/SAReply=L,,abc", "IT Ticket |  "},
    };
    for (const auto& c : cases) EXPECT_EQ(chatWindowMarker(c.tail), c.marker) << c.tail;
}

}  // namespace
}  // namespace tiqora
