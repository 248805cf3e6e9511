// The ticket page addresses and what a browser is handed: Base64 and percent
// encoding give back exactly what they encoded, a quoted argument is read
// back by the C runtime's rules as that one argument, and a web console
// setting gives https only when it says so, its host found inside it.
#include "core/it_ticket/web_console_address.h"
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

    const tiqora::WebConsoleAddress console = tiqora::webConsoleAddressOf(parts[0]);
    const bool saysHttps = parts[0].size() >= 8 && (parts[0][0] | 0x20) == 'h' && (parts[0][1] | 0x20) == 't' &&
                           (parts[0][2] | 0x20) == 't' && (parts[0][3] | 0x20) == 'p' &&
                           (parts[0][4] | 0x20) == 's' && parts[0].compare(5, 3, "://") == 0;
    FUZZ_CHECK((console.scheme == tiqora::WebScheme::Https) == saysHttps);
    FUZZ_CHECK(parts[0].find(console.hostAndPort) != std::string::npos);
    FUZZ_CHECK(console.hostAndPort.find(console.hostName()) != std::string::npos);
    const std::string page = tiqora::webTicketPageAddress(parts[0], parts[1], parts[2]);
    FUZZ_CHECK(page.rfind(console.origin(), 0) == 0);
    FUZZ_CHECK(page.size() >= tiqora::percentEncode(parts[2]).size() &&
               page.compare(page.size() - tiqora::percentEncode(parts[2]).size(), std::string::npos,
                            tiqora::percentEncode(parts[2])) == 0);

    if (input.find('\0') == std::string_view::npos) {
        const auto arguments = tiqora::browserArguments(input);
        const auto read = commandLineArguments(arguments);
        FUZZ_CHECK(read.size() == 2 && read[0] == "--" && read[1] == input);
    }

}
