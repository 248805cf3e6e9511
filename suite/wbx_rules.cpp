#include "wbx_rules.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace wbx {

namespace {

bool holdsNotAvailable(std::string_view value) { return value.find("N/A") != std::string_view::npos; }

}  // namespace

Endpoint parseEndpoint(std::string_view text, int defaultPort) {
    Endpoint endpoint;
    endpoint.port = defaultPort;
    const auto colon = text.find(':');
    endpoint.host = std::string(text.substr(0, colon));
    if (colon == std::string_view::npos) return endpoint;
    const std::string_view portText = text.substr(colon + 1);
    int port = 0;
    const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (error == std::errc() && end == portText.data() + portText.size() && port >= 1 && port <= 65535)
        endpoint.port = port;
    return endpoint;
}

std::optional<Endpoint> lanServerFrom(std::string_view acip, std::string_view ip) {
    for (std::string_view candidate : {acip, ip}) {
        if (candidate.empty() || holdsNotAvailable(candidate)) continue;
        Endpoint endpoint = parseEndpoint(candidate, kDefaultLanPort);
        if (!endpoint.host.empty()) return endpoint;
    }
    return std::nullopt;
}

Endpoint endpointFor(std::string_view host, const std::optional<Endpoint>& lanServer) {
    if (host.find(':') != std::string_view::npos) return parseEndpoint(host, kDefaultHttpPort);
    if (lanServer && lanServer->host == host) return *lanServer;
    return Endpoint{std::string(host), kDefaultHttpPort};
}

std::string_view contentTypeFor(std::string_view body) {
    return (!body.empty() && body.front() == '{') ? "application/json" : "application/x-www-form-urlencoded";
}

size_t copyReply(std::string_view reply, char* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return 0;
    const size_t count = std::min(reply.size(), capacity - 1);
    std::memcpy(buffer, reply.data(), count);
    buffer[count] = '\0';
    return count;
}

size_t sendWebdata3Capacity(std::string_view path) {
    const std::string_view route = path.substr(0, path.find('?'));
    if (route == "/api/it-ticket/create-ticket") return 21000;
    if (route == "/api/admintikitgeneration/post") return 8192;
    return 2048;
}

int clampAttempts(int attempts) { return std::clamp(attempts, 1, 3); }

long clampConnectSeconds(int connectSeconds) { return std::clamp(connectSeconds, 1, 10); }

}  // namespace wbx
