#include "core/net/service_post.h"

#include <algorithm>

namespace tiqora {

std::string_view postedContentType(std::string_view body) {
    return (!body.empty() && body.front() == '{') ? "application/json" : "application/x-www-form-urlencoded";
}

std::string replyAsRead(std::string_view body, std::size_t replyBytes) {
    if (replyBytes == 0) return {};
    const std::string_view held = body.substr(0, std::min(body.size(), replyBytes - 1));
    return std::string(held.substr(0, held.find('\0')));
}

}  // namespace tiqora
