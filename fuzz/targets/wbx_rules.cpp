// The suite stand-ins' rules: host texts, the LAN server from ServerIP.ini,
// and the copy of a reply into a caller's buffer, which must never write past
// its capacity.
#include "fuzz_target.h"
#include "wbx_rules.h"

#include <cstring>

TIQORA_FUZZ_TARGET(wbx_rules) {
    const auto parts = tiqora::fuzz::fields(input, 3);
    const wbx::Endpoint endpoint = wbx::parseEndpoint(parts[0], 7777);
    FUZZ_CHECK(endpoint.port >= 0 && endpoint.port <= 65535);
    const auto lanServer = wbx::lanServerFrom(parts[0], parts[1]);
    wbx::endpointFor(parts[1], lanServer);
    wbx::contentTypeFor(parts[2]);

    constexpr size_t kCapacity = 37;
    char buffer[kCapacity + 8];
    std::memset(buffer, 0x5A, sizeof buffer);
    const size_t copied = wbx::copyReply(parts[2], buffer, kCapacity);
    FUZZ_CHECK(copied < kCapacity);
    FUZZ_CHECK(buffer[copied] == '\0');
    for (size_t i = kCapacity; i < sizeof buffer; ++i) FUZZ_CHECK(buffer[i] == 0x5A);
}
