// The command line decides the mode of the whole process. Only the text from
// the last "/" (the tail) is read; everything here is pure text logic so the
// rules can be checked without Windows.
#pragma once

#include <string>
#include <string_view>

namespace tiqora {

// The text from the last '/' of the command line to its end; empty when the
// command line holds no '/'.
std::string commandLineTail(std::string_view commandLine);

enum class Mode {
    SupportRequest,   // no recognised switch: the request form
    Feedback,         // "/feedback"
    ItTicket,         // "/sys"
    ReplyLan,         // contains "/SAReply=L"
    ReplyWeb,         // contains "/SAReply=C"
    PendingResend,    // "/sysp"
};

// First matching rule wins: "/feedback", "/sys", "/SAReply=L", "/SAReply=C",
// "/sysp", then the request form. Whole-text switches ignore ASCII case; the
// reply switches are case-insensitive substrings.
Mode modeForTail(std::string_view tail);

// Which named mutex guards a process with this tail.
enum class GuardKind {
    Shared,   // "Tiqora Desk": request form, feedback, IT ticket, resend
    Reply,    // "Message " + tail, one per distinct reply notification
    None,     // any other non-empty tail (e.g. "/sys extra")
};

GuardKind guardKindForTail(std::string_view tail);

inline constexpr std::string_view kSharedMutexName = "Tiqora Desk";

// Name of the mutex for a guard; empty for GuardKind::None.
std::string guardMutexName(std::string_view tail);

// The text a reply notification looks for in the titles of top-level windows
// to see whether the administrator already chats about this ticket:
// "IT Ticket | " + the reply argument's ticket id (replyArgumentOf) + " ".
std::string chatWindowMarker(std::string_view tail);


}  // namespace tiqora
