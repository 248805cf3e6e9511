// The IT ticket log, c:\qx\Vandrel.log: one line per call, appended by the
// IT ticket form, the deliveries, the resend, the ticket history and the reply
// popup. Several processes append to it at once (a reply popup beside the
// form), so each append runs under a named mutex: no line is lost or torn.
#pragma once

#include <string>

#include "core/log/ticket_log_format.h"

namespace tiqora {

inline constexpr wchar_t kTicketLogPath[] = L"c:\\qx\\Vandrel.log";

// The current local time as the log's fields.
LogTime currentLogTime();

// Appends "<stamp>  :  <message>" and a line break (text mode: CR LF) to the
// log. Returns 1 when the line was written, 0 when the file cannot be opened
// (for instance when c:\qx does not exist; the folder is never created).
int writeTicketLog(const char* message);
inline int writeTicketLog(const std::string& message) { return writeTicketLog(message.c_str()); }

// Appends one line as writeTicketLog does, its message made by `format` and
// the values after it (printf's conversions), for the unhandled-exception
// filter: the line is built in a fixed buffer on the stack (a longer message
// is cut) and written with the system's file calls, so neither the heap,
// which the crash may have damaged, nor a lock of the C runtime is touched.
// The appenders' mutex is waited for as writeTicketLog waits for it (bounded);
// a mutex is re-entrant for the thread that holds it, so a crash inside
// writeTicketLog does not block here. 1 when the line was written, 0 when the
// file cannot be opened.
int writeTicketLogAfterCrash(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// Deletes the log when it has grown past 153000 bytes (deleteLogIfOversized,
// under the appenders' mutex), so the next line starts a new file. Called once
// when the IT ticket form starts. True when deleted.
bool resetTicketLogIfOversized();

}  // namespace tiqora
