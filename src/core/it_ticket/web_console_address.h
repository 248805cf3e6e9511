// The web console's address as an administrator writes it in the install
// folder's TiqoraDesk.ini, [Hosts] WebConsole: "host[:port]" as always, or
// with a scheme, "http://host[:port]" or "https://host[:port]". With
// "https://" the screenshot upload goes over TLS and the ticket pages open
// with "https://"; otherwise both stay plain HTTP. There is no fallback from
// one to the other.
#pragma once

#include <string>
#include <string_view>

namespace tiqora {

enum class WebScheme { Http, Https };

struct WebConsoleAddress {
    WebScheme scheme = WebScheme::Http;
    std::string hostAndPort;  // without the scheme: what the suite's transport library is given

    // "http://" or "https://" + hostAndPort.
    std::string origin() const;
    // The host alone, the name its certificate must carry: without the port,
    // and an IPv6 literal without its brackets.
    std::string hostName() const;
};

// Reads the setting. The scheme is matched without regard to case, and the
// slashes that may end an address with a scheme are dropped. A value without
// a known scheme is a host as it stands, as before schemes were read.
WebConsoleAddress webConsoleAddressOf(std::string_view setting);

}  // namespace tiqora
