// The LAN server's address as the IT ticket features resolve it from the
// server value of ServerIP.ini (ACIP, else IP): the text logic of GetUrl,
// kept apart from the ini read, the WinINet check and the process exits.
//
// The value becomes the address text value + ":7777/DPXLAN/pagenameaspx",
// held like the program's 260-byte buffer (at most 259 bytes; what does not
// fit is cut). Split:
//   host and port  the text up to the first "/" (leading "/" skipped)
//   LAN host       the host and port up to its first ":"
//   LAN port text  everything after that ":"
// so a value that brings its own port ("10.1.2.3:81") gives the port text
// "81:7777" and the port number 81.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tiqora {

inline constexpr std::string_view kLanAddressSuffix = ":7777/DPXLAN/pagenameaspx";
inline constexpr std::string_view kLanApiPath = "/api/admintikitgeneration/post?AspxAutoDetectCookieSupport=1";
// The address text's buffer, NUL included.
inline constexpr size_t kLanAddressBufferBytes = 260;
// The ini values are read into buffers of this many bytes, NUL included.
inline constexpr size_t kServerValueBufferBytes = 260;

// ServerIP.ini marks a missing server with "N/A" (anywhere in the value).
bool serverValueMissing(std::string_view value);

struct LanAddress {
    std::string addressText;   // value + suffix, cut to 259 bytes
    std::string hostAndPort;   // e.g. "10.1.2.3:7777"
    std::string host;          // e.g. "10.1.2.3"
    std::string portText;      // e.g. "7777"
    std::string checkedText;   // address text cut at its last "/", e.g. "10.1.2.3:7777/DPXLAN"
    bool dotted = false;       // checkedText holds a "."; a dotless address is refused
};

LanAddress lanAddressFrom(std::string_view serverValue);

// The port number of a port text: its leading decimal digits, 0 when there
// are none (or when they do not fit an int).
int lanPortNumber(std::string_view portText);

// "http://" + host and port + LAN API path: what GetUrl appends to the LAN URL.
std::string lanUrlFor(std::string_view hostAndPort, std::string_view apiPath = kLanApiPath);

}  // namespace tiqora
