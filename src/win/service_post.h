// A post to one of the vendor's services whose [Hosts] key says https: the
// program sends it itself over verified TLS (win/http_client.h), with the
// method, path, body, agent and content type the suite's transport library
// would send, and its reply read as the call site reads the library's
// reply. A certificate that is refused, a server that does not speak TLS or
// an answer that does not come leave the reply empty, as a service that did
// not answer leaves the library's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/net/service_address.h"
#include "win/http_client.h"

namespace tiqora {

// One call site's post.
struct ServiceCall {
    const wchar_t* hostsKey;  // the [Hosts] key that names the service
    std::string_view path;
    std::string_view agent;
    bool asksForJson;        // "Accept: application/json", as the library's mode bit 0 asks
    std::size_t replyBytes;  // the call site's reply buffer, NUL included
};

struct TlsReply {
    // An answer came. One that redirects does not count: the request was
    // meant for this address alone, and the redirect is not followed.
    bool answered = false;
    std::string received;  // as the call site reads it; empty when no answer came
    // Why no answer came, in words: the certificate's refusal, the redirect,
    // the transfer's error or a system library that did not load.
    std::string failure;
};

TlsReply postOverTls(const ServiceAddress& address, const ServiceCall& call, const std::string& body);

// The log line of a post over TLS that got no answer: which service, which
// address, and why.
std::string tlsFailureLine(const ServiceCall& call, const ServiceAddress& address, const TlsReply& reply);

// The log line of a [Hosts] value that is no usable address: nothing is sent
// to it. The value itself is not written (it may hold a password).
std::string refusedAddressLine(const wchar_t* hostsKey, AddressFault fault);

}  // namespace tiqora
