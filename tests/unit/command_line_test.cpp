#include "core/app/command_line.h"

#include <gtest/gtest.h>

#include "core/reply_popup/reply_argument.h"
#include "core/text/ascii_case.h"

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

// The chat check at start-up and the popup read the reply argument through
// one splitter and one case rule: the chat window looked for is that of the
// ticket the popup shows.
TEST(ReplyArgument, OneReadingForThePopupAndTheChatCheck) {
    constexpr auto Lan = ReplyKind::Lan, Web = ReplyKind::Web, None = ReplyKind::None;
    struct Case {
        const char* tail;
        ReplyKind kind;
        const char *ticketId, *ticketGuid;
    } cases[] = {
        {"/SAReply=L,1234,abc", Lan, "1234", "abc"},
        {"/SAReply=C,77,6f1c-2d3e,extra,more", Web, "77", "6f1c-2d3e"},
        {"/SAReply=L,,1234,g", Lan, "1234", "g"},  // consecutive commas count as one
        {"/SAReply=L,,1234,,abc", Lan, "1234", "abc"},
        {"/SAReply=L,,,,", Lan, "", ""},
        {"/SAReply=L", Lan, "", ""},
        {"/SAReply=L,1234", Lan, "1234", ""},
        // The switch's letter case is ignored, as when the mode is chosen.
        {"/sareply=l,5,g", Lan, "5", "g"},
        {"/SAREPLY=c,6,h", Web, "6", "h"},
        {"/SAReply=X,1,2", None, "1", "2"},
        {"", None, "", ""},
        {"/SAReply=L,1,x --renderer-cmd-prefix=calc", Lan, "1", "x --renderer-cmd-prefix=calc"},
        {"/SAReply=C,\"1\",\xc3\xbc", Web, "\"1\"", "\xc3\xbc"},
    };
    for (const auto& c : cases) {
        const ReplyArgument argument = replyArgumentOf(c.tail);
        EXPECT_EQ(argument.kind, c.kind) << c.tail;
        EXPECT_EQ(argument.ticketId, c.ticketId) << c.tail;
        EXPECT_EQ(argument.ticketGuid, c.ticketGuid) << c.tail;
        EXPECT_EQ(chatWindowMarker(c.tail), std::string("IT Ticket | ") + c.ticketId + " ") << c.tail;
    }
    const std::string longTail = "/SAReply=L,9," + std::string(2000, 'g');
    EXPECT_EQ(replyArgumentOf(longTail).ticketGuid, std::string(2000, 'g'));
}

}  // namespace
}  // namespace tiqora
