// Pure rules of the suite stand-ins, kept free of Windows headers so they are
// unit-tested natively: where a request goes, what it is sent as, and how a
// reply is handed back into a caller's fixed buffer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wbx {

// The port the LAN server listens on unless its address names another.
inline constexpr int kDefaultLanPort = 7777;
inline constexpr int kDefaultHttpPort = 80;

struct Endpoint {
    std::string host;
    int port = kDefaultHttpPort;
};

// "host" or "host:port". A missing, empty or invalid port (not 1..65535)
// gives `defaultPort`.
Endpoint parseEndpoint(std::string_view text, int defaultPort);

// The LAN server as the suite's ServerIP.ini names it: ACIP, or IP when ACIP
// is missing or holds "N/A"; either may carry ":port" (default 7777). None
// when neither names a server.
std::optional<Endpoint> lanServerFrom(std::string_view acip, std::string_view ip);

// A host handed to SendWebdata2/3 without a port: the LAN server's port when
// the host is the LAN server's, else the HTTP default. A host with its own
// ":port" keeps it.
Endpoint endpointFor(std::string_view host, const std::optional<Endpoint>& lanServer);

// JSON when the body starts with '{', a form body otherwise.
std::string_view contentTypeFor(std::string_view body);

// The reply buffer each caller hands the exports, NUL included. The exports
// receive no size: the contract is the buffer each call site of the program
// hands, and the library fills as much of it as the reply needs.
inline constexpr size_t kSendWebdata2Capacity = 8192;  // call tracking, pending-ticket service
inline constexpr size_t kSendWebdata4Capacity = 21000; // LAN ticket
// SendWebdata3's call sites hand different buffers; they are told apart by
// the path they post to (the query string aside): the web console's ticket
// 21000 bytes, the LAN server's ticket (the resend) 8192, the help desk's
// mail and any other path 2048, the smallest.
size_t sendWebdata3Capacity(std::string_view path);

// Copies `reply` into `buffer` of `capacity` bytes, cut to capacity - 1
// bytes and NUL-terminated; never writes past the buffer. Returns the number
// of bytes copied (without the NUL).
size_t copyReply(std::string_view reply, char* buffer, size_t capacity);

// Bounds of the numeric arguments callers pass.
int clampAttempts(int attempts);               // 1..3
long clampConnectSeconds(int connectSeconds);  // 1..10

}  // namespace wbx
