#include "core/log/ticket_log_format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tiqora {

namespace {

constexpr char kSeparator[] = "  :  ";

// Writes the stamp as snprintf does (cut to fit, terminated); the number of
// characters written.
std::size_t writeStamp(const LogTime& t, char* buffer, std::size_t size) {
    if (size == 0) return 0;
    const int length =
        std::snprintf(buffer, size, "%d/%02d/%02d %02d:%02d", t.day, t.month, t.year, t.hour, t.minute);
    if (length < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return std::min(static_cast<std::size_t>(length), size - 1);
}

}  // namespace

std::string formatLogTimestamp(const LogTime& time) {
    char stamp[64];
    return std::string(stamp, writeStamp(time, stamp, sizeof stamp));
}

std::size_t formatTicketLogPrefix(const LogTime& time, char* buffer, std::size_t size) {
    std::size_t used = writeStamp(time, buffer, size);
    if (size == 0) return 0;
    const std::size_t room = size - 1 - used;
    const std::size_t copied = std::min(room, sizeof kSeparator - 1);
    std::memcpy(buffer + used, kSeparator, copied);
    used += copied;
    buffer[used] = '\0';
    return used;
}

std::string formatTicketLogLine(const LogTime& time, std::string_view message) {
    char prefix[80];
    std::string line(prefix, formatTicketLogPrefix(time, prefix, sizeof prefix));
    line += message;
    return line;
}

}  // namespace tiqora
