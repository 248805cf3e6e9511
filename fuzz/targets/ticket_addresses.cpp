// The ticket page addresses and what a browser is handed: Base64 and percent
// encoding give back exactly what they encoded, a quoted argument is read
// back by the C runtime's rules as that one argument, and a [Hosts] value
// that is accepted holds a host and a port alone and reads back the same from
// its origin.
#include "core/net/service_address.h"
#include "core/ticket_history/ticket_addresses.h"
#include "fuzz_target.h"

namespace {

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::string base64Decode(std::string_view text) {
    std::string bytes;
    unsigned buffer = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=') break;
        const int value = base64Value(c);
        FUZZ_CHECK(value >= 0);
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return bytes;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string percentDecode(std::string_view text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            bytes += c;
            continue;
        }
        FUZZ_CHECK(c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0);
        bytes += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
        i += 2;
    }
    return bytes;
}

// A command line split into arguments by the C runtime's rules: blanks
// separate arguments outside quotes; 2n backslashes before a quote give n
// and the quote opens or closes; 2n+1 give n and a literal quote.
std::vector<std::string> commandLineArguments(std::string_view line) {
    std::vector<std::string> arguments;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            size_t slashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++slashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                argument.append(slashes / 2, '\\');
                if (slashes % 2) {
                    argument += '"';
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                argument.append(slashes, '\\');
                if (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) argument += line[i++];
            }
        }
        arguments.push_back(argument);
    }
    return arguments;
}

}  // namespace

TIQORA_FUZZ_TARGET(ticket_addresses) {
    const std::string base64 = tiqora::base64Encode(input);
    FUZZ_CHECK(base64.size() == (input.size() + 2) / 3 * 4);
    FUZZ_CHECK(base64Decode(base64) == input);

    const std::string percent = tiqora::percentEncode(input);
    FUZZ_CHECK(percentDecode(percent) == input);

    const auto parts = tiqora::fuzz::fields(input, 3);
    const std::string lan = tiqora::lanTicketPageAddress(parts[0], parts[1], parts[2]);
    FUZZ_CHECK(lan.rfind("http://", 0) == 0);

    const auto setting = tiqora::serviceAddressOf(parts[0]);
    if (const auto* console = std::get_if<tiqora::ServiceAddress>(&setting)) {
        // What was accepted is a host name and at most a port, and its
        // origin reads back to the same address.
        FUZZ_CHECK(console->hostName.find_first_of("/?#@ ") == std::string::npos);
        FUZZ_CHECK(console->port.value_or(1) >= 1 && console->port.value_or(1) <= 65535);
        const auto again = tiqora::serviceAddressOf(console->origin());
        const auto* same = std::get_if<tiqora::ServiceAddress>(&again);
        FUZZ_CHECK(same && same->scheme == console->scheme && same->hostName == console->hostName &&
                   same->port == console->port);
        const std::string page = tiqora::webTicketPageAddress(*console, parts[1], parts[2]);
        FUZZ_CHECK(page.rfind(console->origin(), 0) == 0);
        FUZZ_CHECK(page.size() >= tiqora::percentEncode(parts[2]).size() &&
                   page.compare(page.size() - tiqora::percentEncode(parts[2]).size(), std::string::npos,
                                tiqora::percentEncode(parts[2])) == 0);
    }

    if (input.find('\0') == std::string_view::npos) {
        const auto arguments = tiqora::browserArguments(input);
        const auto read = commandLineArguments(arguments);
        FUZZ_CHECK(read.size() == 2 && read[0] == "--" && read[1] == input);
    }

}
