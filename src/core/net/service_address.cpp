#include "core/net/service_address.h"

#include "core/text/ascii_case.h"

namespace tiqora {

namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";
constexpr size_t kMaxHostName = 253;  // DNS: the longest name, without its final dot
constexpr size_t kMaxLabel = 63;

bool startsWithScheme(std::string_view text, std::string_view scheme) {
    return text.size() >= scheme.size() && equalsIgnoreAsciiCase(text.substr(0, scheme.size()), scheme);
}

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isHexDigit(char c) { return isAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A name (or an IPv4 address) in DNS form: labels of letters, digits,
// hyphens and underscores (Windows networks name hosts with them), none
// empty or longer than 63, the whole no longer than 253, and one final dot
// allowed (the root: "console.example." is "console.example").
std::optional<std::string> dnsName(std::string_view host) {
    if (!host.empty() && host.back() == '.') host.remove_suffix(1);
    if (host.empty() || host.size() > kMaxHostName) return std::nullopt;
    size_t label = 0;
    for (const char c : host) {
        if (c == '.') {
            if (label == 0) return std::nullopt;
            label = 0;
            continue;
        }
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '-' && c != '_') return std::nullopt;
        if (++label > kMaxLabel) return std::nullopt;
    }
    if (label == 0) return std::nullopt;
    return toLowerAscii(host);
}

// The inside of "[...]": hex digits, colons, and the dots of an embedded
// IPv4 address, no longer than the longest such address. A zone ("%eth0")
// names an interface of this machine alone and has no place in a server's
// address.
std::optional<std::string> ipv6Literal(std::string_view inside) {
    constexpr size_t kLongestIpv6 = 45;  // "ffff:ffff:ffff:ffff:ffff:ffff:255.255.255.255"
    if (inside.size() < 2 || inside.size() > kLongestIpv6) return std::nullopt;
    bool colon = false;
    for (const char c : inside) {
        if (c == ':') colon = true;
        else if (!isHexDigit(c) && c != '.') return std::nullopt;
    }
    if (!colon) return std::nullopt;
    return toLowerAscii(inside);
}

std::optional<int> portNumber(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int port = 0;
    for (const char c : text) {
        if (!isAsciiDigit(c)) return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

}  // namespace

int ServiceAddress::portOrDefault() const {
    return port.value_or(scheme == WebScheme::Https ? kDefaultHttpsPort : kDefaultHttpPort);
}

std::string ServiceAddress::origin() const {
    std::string text(scheme == WebScheme::Https ? kHttps : kHttp);
    const bool ipv6 = hostName.find(':') != std::string::npos;
    if (ipv6) text += '[';
    text += hostName;
    if (ipv6) text += ']';
    if (port) {
        text += ':';
        text += std::to_string(*port);
    }
    return text;
}

std::string_view addressFaultText(AddressFault fault) {
    switch (fault) {
    case AddressFault::NoHost: return "it names no host";
    case AddressFault::OtherScheme: return "its scheme is neither http:// nor https://";
    case AddressFault::UserPart: return "it holds a user name";
    case AddressFault::Path: return "it holds a path";
    case AddressFault::Query: return "it holds a query";
    case AddressFault::HostCharacters: return "its host is no valid host name";
    case AddressFault::BadPort: return "its port is not a number from 1 to 65535";
    case AddressFault::TooLong: return "it is longer than any address";
    }
    return "it is not an address";
}

std::variant<ServiceAddress, AddressFault> serviceAddressOf(std::string_view setting) {
    if (setting.size() > kMaxAddressLength) return AddressFault::TooLong;
    ServiceAddress address;
    std::string_view rest = setting;
    if (startsWithScheme(rest, kHttps)) {
        address.scheme = WebScheme::Https;
        rest.remove_prefix(kHttps.size());
    } else if (startsWithScheme(rest, kHttp)) {
        rest.remove_prefix(kHttp.size());
    } else if (rest.find("://") != std::string_view::npos) {
        return AddressFault::OtherScheme;
    }

    // The authority runs to the first slash, question mark or hash; after it
    // only the slashes of an empty path may follow.
    const size_t end = rest.find_first_of("/?#");
    std::string_view authority = rest.substr(0, end);
    if (end != std::string_view::npos) {
        std::string_view after = rest.substr(end);
        const size_t slashes = after.find_first_not_of('/');
        if (slashes != std::string_view::npos)
            return after[slashes] == '?' || after[slashes] == '#' ? AddressFault::Query : AddressFault::Path;
    }
    if (authority.find('@') != std::string_view::npos) return AddressFault::UserPart;
    if (authority.empty()) return AddressFault::NoHost;
    address.hostAndPort = std::string(authority);

    std::string_view portText;
    bool portWritten = false;
    std::optional<std::string> host;
    if (authority.front() == '[') {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos) return AddressFault::HostCharacters;
        host = ipv6Literal(authority.substr(1, close - 1));
        const std::string_view afterHost = authority.substr(close + 1);
        if (!afterHost.empty()) {
            if (afterHost.front() != ':') return AddressFault::HostCharacters;
            portText = afterHost.substr(1);
            portWritten = true;
        }
    } else {
        const size_t colon = authority.find(':');
        host = dnsName(authority.substr(0, colon));
        if (colon != std::string_view::npos) {
            portText = authority.substr(colon + 1);
            portWritten = true;
        }
    }
    if (!host) return AddressFault::HostCharacters;
    address.hostName = std::move(*host);
    if (portWritten) {
        address.port = portNumber(portText);
        if (!address.port) return AddressFault::BadPort;
    }
    return address;
}

}  // namespace tiqora
