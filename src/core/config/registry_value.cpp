#include "core/config/registry_value.h"

namespace tiqora {

std::optional<std::u16string> registryStringValue(std::u16string_view returned, std::size_t capacity) {
    if (returned.size() > capacity) returned = returned.substr(0, capacity);
    std::size_t length = returned.size();
    while (length > 0 && returned[length - 1] == u'\0') --length;
    if (length >= capacity) return std::nullopt;
    const std::u16string_view text = returned.substr(0, length);
    const std::size_t end = text.find(u'\0');
    return std::u16string(text.substr(0, end == std::u16string_view::npos ? text.size() : end));
}

}  // namespace tiqora
