#include "core/log/ticket_log_format.h"

#include <cstdio>

namespace tiqora {

std::string formatLogTimestamp(const LogTime& t) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d/%02d/%02d %02d:%02d", t.day, t.month, t.year, t.hour, t.minute);
    return stamp;
}

std::string formatTicketLogLine(const LogTime& time, std::string_view message) {
    std::string line = formatLogTimestamp(time);
    line += "  :  ";
    line += message;
    return line;
}

}  // namespace tiqora
