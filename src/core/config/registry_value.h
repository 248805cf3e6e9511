// The rule that turns what the registry handed back for a string value into
// the program's value: portable, so it is unit-tested and fuzzed natively.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tiqora {

// `returned` holds the UTF-16 units the registry wrote into a buffer of
// `capacity` units (its reported size in bytes / 2, never more than the
// buffer). Trailing terminators are dropped; a value that fills the whole
// buffer without a terminator has no room for one and is too long for the
// buffer (no value); text after an embedded terminator is not part of the
// string.
std::optional<std::u16string> registryStringValue(std::u16string_view returned, std::size_t capacity);

}  // namespace tiqora
