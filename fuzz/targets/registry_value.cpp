// The registry string rule: whatever the registry hands back, the value is
// shorter than the buffer, holds no NUL and is a prefix of what was returned.
#include "core/config/registry_value.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(registry_value) {
    if (input.empty()) return;
    const std::size_t capacity = static_cast<unsigned char>(input[0]);
    input.remove_prefix(1);
    std::u16string returned;
    for (std::size_t i = 0; i + 1 < input.size(); i += 2) {
        returned.push_back(static_cast<char16_t>(static_cast<unsigned char>(input[i]) |
                                                 (static_cast<unsigned char>(input[i + 1]) << 8)));
    }
    const auto value = tiqora::registryStringValue(returned, capacity);
    if (!value) return;
    FUZZ_CHECK(value->size() < capacity);
    FUZZ_CHECK(value->find(u'\0') == std::u16string::npos);
    FUZZ_CHECK(returned.compare(0, value->size(), *value) == 0);
}
