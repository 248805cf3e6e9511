#include "core/ticket_history/ticket_addresses.h"

#include <iterator>

#include "core/it_ticket/lan_address.h"

namespace tiqora {

namespace {

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

std::string base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned group = static_cast<unsigned char>(bytes[i]) << 16 |
                               static_cast<unsigned char>(bytes[i + 1]) << 8 | static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64Alphabet[(group >> 18) & 63];
        out += kBase64Alphabet[(group >> 12) & 63];
        out += kBase64Alphabet[(group >> 6) & 63];
        out += kBase64Alphabet[group & 63];
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kBase64Alphabet[(group >> 18) & 63];
        out += kBase64Alphabet[(group >> 12) & 63];
        out += rest == 2 ? kBase64Alphabet[(group >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string percentEncode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char each : text) {
        const auto c = static_cast<unsigned char>(each);
        if (unreserved(c)) {
            out += each;
        } else {
            out += '%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 15];
        }
    }
    return out;
}

std::string lanTicketPageAddress(std::string_view host, std::string_view portText, std::string_view ticketGuid) {
    std::string address = "http://";
    address += host;
    address += ':';
    address += std::to_string(lanPortNumber(portText));
    address += kLanTicketPagePath;
    address += percentEncode(ticketGuid);
    return address;
}

std::string webTicketPageAddress(const ServiceAddress& console, std::string_view corporateIdBytes,
                                 std::string_view ticketGuid) {
    std::string address = console.origin();
    address += kWebTicketPagePath;
    address += base64Encode(corporateIdBytes);
    address += '/';
    address += percentEncode(ticketGuid);
    return address;
}

std::string quoteArgument(std::string_view text) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (const char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them: then each is
        // doubled and the quote escaped.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    // Backslashes before the closing quote are doubled too.
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

std::string browserArguments(std::string_view address) { return "-- " + quoteArgument(address); }

std::string browserCommandLine(std::string_view program, std::string_view address) {
    std::string line(program);
    line += ' ';
    line += browserArguments(address);
    return line;
}

}  // namespace tiqora
