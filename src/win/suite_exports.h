// The exports of the suite's transport library (WBX.DLL) and intranet policy
// library (DPXIntraPol.dll), shared by the program and our stand-ins.
//
// C linkage, the platform's default calling convention (x64 has one), 8-bit
// NUL-terminated strings, `int` results. The exports receive no size for the
// reply buffer: each call site hands a buffer of a fixed size (below), and
// the library writes no further than that.
#pragma once

#include <cstddef>

extern "C" {

// POST `body` to http://host[:port]path with `agent` as User-Agent; the reply
// body goes to `reply` (the buffer its call site hands, below).
using SendWebdata2Fn = int (*)(const char* host, const char* path, const char* body, const char* agent,
                               char* reply);

// As SendWebdata2 with three numeric arguments (mode, attempts, connect
// time-out in seconds).
using SendWebdata3Fn = int (*)(const char* host, const char* path, const char* body, const char* agent, int mode,
                               int attempts, int connectSeconds, char* reply);

// As SendWebdata3 plus the TCP port.
using SendWebdata4Fn = int (*)(const char* host, const char* path, const char* body, const char* agent, int mode,
                               int attempts, int connectSeconds, int port, char* reply);

// Delivers a file to the LAN server; 0 means delivered.
using SendLocalDataFn = int (*)(const char* filePath, const char* remoteName);

// DPXIntraPol.dll: delivers a file to the LAN server; 1 means delivered.
using ReceiveClientReportsFn = unsigned char (*)(const char* filePath);

}

namespace tiqora {

// The reply buffer each call site hands its export, NUL included. The
// exports receive no size: a site's size is the contract, the size it has
// always handed, and the suite's library may fill all of it.
inline constexpr std::size_t kCallTrackingReplyBytes = 8192;      // SendWebdata2
inline constexpr std::size_t kPendingTicketReplyBytes = 8192;     // SendWebdata2, web resend
inline constexpr std::size_t kHelpDeskMailReplyBytes = 2048;      // SendWebdata3, feedback
inline constexpr std::size_t kWebConsoleTicketReplyBytes = 21000; // SendWebdata3, web ticket
inline constexpr std::size_t kLanResendReplyBytes = 8192;         // SendWebdata3, LAN resend
inline constexpr std::size_t kLanTicketReplyBytes = 21000;        // SendWebdata4, LAN ticket

// The numeric arguments of SendWebdata3 and SendWebdata4.
struct SuiteCallOptions {
    int mode;            // bit 0: ask for a JSON answer
    int attempts;        // tries while no answer arrives
    int connectSeconds;  // time allowed to make the connection
};
// The web console answers in JSON.
inline constexpr SuiteCallOptions kWebConsoleCall{1, 1, 2};
// The LAN server and the help desk's mail service answer in plain text.
inline constexpr SuiteCallOptions kPlainAnswerCall{0, 1, 2};

}  // namespace tiqora
