// The LAN server's address from ServerIP.ini: the text is held like the
// program's 260-byte buffer, so no part may outgrow it.
#include "core/it_ticket/lan_address.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(lan_address) {
    const tiqora::LanAddress address = tiqora::lanAddressFrom(input);
    FUZZ_CHECK(address.addressText.size() < tiqora::kLanAddressBufferBytes);
    FUZZ_CHECK(address.hostAndPort.size() <= address.addressText.size());
    FUZZ_CHECK(address.host.size() <= address.hostAndPort.size());
    FUZZ_CHECK(address.portText.size() <= address.hostAndPort.size());
    FUZZ_CHECK(tiqora::lanPortNumber(input) >= 0);
    tiqora::serverValueMissing(input);
    tiqora::lanUrlFor(address.hostAndPort);
}
