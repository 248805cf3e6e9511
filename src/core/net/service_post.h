// What a post to one of the vendor's services looks like, the same whether
// the suite's transport library sends it or the program sends it over TLS
// itself: the body's content type, and the reply as a call site reads it
// from its fixed buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tiqora {

// JSON when the body starts with '{', a form body otherwise.
std::string_view postedContentType(std::string_view body);

// The reply a call site reads from its buffer of `replyBytes` (NUL
// included) that was handed `body`: at most replyBytes - 1 bytes, and no
// further than the first NUL.
std::string replyAsRead(std::string_view body, std::size_t replyBytes);

}  // namespace tiqora
