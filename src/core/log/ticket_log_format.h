// Line format of the IT ticket log (c:\qx\Vandrel.log). Kept apart from the
// file handling so the exact text can be checked without Windows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tiqora {

// Local time fields of a log line. A field whose conversion failed holds the
// substitute the log uses for it: 0 for day, month and year, -1 for hour and
// minute.
struct LogTime {
    int day = 0;
    int month = 0;
    int year = 0;
    int hour = -1;
    int minute = -1;
};

// "7/03/2024 09:05": day unpadded, the other fields at least two digits.
std::string formatLogTimestamp(const LogTime& time);

// Stamp, "  :  ", the message as given (it may hold its own line breaks),
// without the terminating line feed that the writer adds.
std::string formatTicketLogLine(const LogTime& time, std::string_view message);

// The stamp and "  :  " that begin a line, written into `buffer` of `size`
// bytes: cut to fit and terminated (when `size` is not 0). Returns the number
// of characters written. Allocates nothing, for the writer that runs after a
// crash, when the heap may be damaged.
std::size_t formatTicketLogPrefix(const LogTime& time, char* buffer, std::size_t size);

}  // namespace tiqora
