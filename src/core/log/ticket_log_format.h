// Line format of the IT ticket log (c:\qx\Vandrel.log). Kept apart from the
// file handling so the exact text can be checked without Windows.
#pragma once

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

}  // namespace tiqora
