#include "core/it_ticket/lan_address.h"

#include <charconv>

namespace tiqora {

bool serverValueMissing(std::string_view value) { return value.find("N/A") != std::string_view::npos; }

LanAddress lanAddressFrom(std::string_view serverValue) {
    LanAddress address;
    std::string text(serverValue);
    text += kLanAddressSuffix;
    if (text.size() > kLanAddressBufferBytes - 1) text.resize(kLanAddressBufferBytes - 1);
    address.addressText = text;

    std::string_view rest = text;
    const size_t first = rest.find_first_not_of('/');
    rest = first == std::string_view::npos ? std::string_view() : rest.substr(first);
    address.hostAndPort = std::string(rest.substr(0, rest.find('/')));

    const size_t colon = address.hostAndPort.find(':');
    address.host = address.hostAndPort.substr(0, colon);
    if (colon != std::string::npos) address.portText = address.hostAndPort.substr(colon + 1);

    const size_t lastSlash = text.rfind('/');
    address.checkedText = lastSlash == std::string::npos ? text : text.substr(0, lastSlash);
    address.dotted = address.checkedText.find('.') != std::string::npos;
    return address;
}

int lanPortNumber(std::string_view portText) {
    size_t digits = 0;
    while (digits < portText.size() && portText[digits] >= '0' && portText[digits] <= '9') ++digits;
    int port = 0;
    const auto [end, error] = std::from_chars(portText.data(), portText.data() + digits, port);
    return error == std::errc() && end == portText.data() + digits ? port : 0;
}

std::string lanUrlFor(std::string_view hostAndPort, std::string_view apiPath) {
    std::string url = "http://";
    url += hostAndPort;
    url += apiPath;
    return url;
}

}  // namespace tiqora
