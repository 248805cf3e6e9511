#include "win/service_post.h"

#include "core/net/certificate_verdict.h"
#include "core/net/service_post.h"
#include "win/wide_text.h"

namespace tiqora {

namespace {

// As long as the library may take (8 s for the whole exchange), and a little
// more for the handshake and the certificate check.
constexpr HttpLimits kServiceLimits{5, 8000, 10000};

// Why `transfer` brought no answer the call site may read.
std::string failureOf(const HttpResult& transfer, const ServiceAddress& address) {
    if (transfer.missingLibrary)
        return "the system library " + transfer.missingLibrary->library + " cannot be loaded (error " +
               std::to_string(transfer.missingLibrary->error) + ")";
    if (!transfer.setUp) return "no transfer could be set up";
    if (const auto& refused = transfer.refusedCertificate)
        return "the certificate was refused: " + certificateRefusalReason(refused->verdict, address.hostName,
                                                                           refused->chainErrors, refused->policyError);
    if (!transfer.redirect.empty()) return "the answer redirects to " + transfer.redirect + ", which is not followed";
    if (!transfer.transferError.empty()) return "the transfer failed: " + transfer.transferError;
    return "no HTTP answer came";
}

}  // namespace

TlsReply postOverTls(const ServiceAddress& address, const ServiceCall& call, const std::string& body) {
    TextPostHeaders headers;
    headers.agent = std::string(call.agent);
    headers.contentType = std::string(postedContentType(body));
    if (call.asksForJson) headers.accept = "application/json";
    const HttpResult transfer = postText(address, std::string(call.path), body, headers, kServiceLimits);
    TlsReply reply;
    // Any other HTTP answer counts, whatever its status: the library hands
    // back every answer's body.
    reply.answered = transfer.answered() && transfer.redirect.empty();
    if (reply.answered) {
        reply.received = replyAsRead(transfer.body, call.replyBytes);
    } else {
        reply.failure = failureOf(transfer, address);
    }
    return reply;
}

std::string tlsFailureLine(const ServiceCall& call, const ServiceAddress& address, const TlsReply& reply) {
    const std::string hostsKey = toAnsi(call.hostsKey);
    const std::string url = address.origin() + std::string(call.path);
    return hostsKey + " request to " + url + " got no answer over TLS, " + reply.failure;
}

std::string refusedAddressLine(const wchar_t* hostsKey, AddressFault fault) {
    return "TiqoraDesk.ini [Hosts] " + toAnsi(hostsKey) + " is no usable address, nothing is sent to it: " +
           std::string(addressFaultText(fault));
}

}  // namespace tiqora
