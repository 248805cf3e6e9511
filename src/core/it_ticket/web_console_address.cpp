#include "core/it_ticket/web_console_address.h"

#include "core/text/ascii_case.h"

namespace tiqora {

namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

bool startsWithScheme(std::string_view text, std::string_view scheme) {
    return text.size() >= scheme.size() && equalsIgnoreAsciiCase(text.substr(0, scheme.size()), scheme);
}

}  // namespace

std::string WebConsoleAddress::origin() const {
    return std::string(scheme == WebScheme::Https ? kHttps : kHttp) + hostAndPort;
}

std::string WebConsoleAddress::hostName() const {
    if (!hostAndPort.empty() && hostAndPort.front() == '[') {
        const size_t close = hostAndPort.find(']');
        return hostAndPort.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return hostAndPort.substr(0, hostAndPort.find(':'));
}

WebConsoleAddress webConsoleAddressOf(std::string_view setting) {
    WebConsoleAddress address;
    std::string_view rest = setting;
    if (startsWithScheme(setting, kHttps)) {
        address.scheme = WebScheme::Https;
        rest.remove_prefix(kHttps.size());
    } else if (startsWithScheme(setting, kHttp)) {
        rest.remove_prefix(kHttp.size());
    } else {
        address.hostAndPort = std::string(setting);
        return address;
    }
    while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    address.hostAndPort = std::string(rest);
    return address;
}

}  // namespace tiqora
