// The form encoding of the support request: a form decoder gets every value
// back exactly.
#include "core/support_request/request_rules.h"
#include "fuzz_target.h"

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// What a form decoder makes of a value: "+" a blank, "%XX" a byte.
std::string formDecode(std::string_view encoded) {
    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '+') {
            decoded += ' ';
        } else if (encoded[i] == '%' && i + 2 < encoded.size() && hexValue(encoded[i + 1]) >= 0 &&
                   hexValue(encoded[i + 2]) >= 0) {
            decoded += static_cast<char>(hexValue(encoded[i + 1]) * 16 + hexValue(encoded[i + 2]));
            i += 2;
        } else {
            decoded += encoded[i];
        }
    }
    return decoded;
}

}  // namespace

TIQORA_FUZZ_TARGET(form_encode) {
    const std::string encoded = tiqora::formEncode(input);
    FUZZ_CHECK(encoded.find_first_of("&=") == std::string::npos);
    FUZZ_CHECK(formDecode(encoded) == input);
}
