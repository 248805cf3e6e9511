// How large the program lets its logs grow: the IT ticket log and the
// feedback log are each started anew by their form when they have grown past
// this (the form deletes the old file as it opens; its next line starts a
// new one).
#pragma once

#include <cstdint>

namespace tiqora {

inline constexpr std::uint64_t kLogMaxBytes = 153000;

inline bool logIsOversized(std::uint64_t sizeInBytes) { return sizeInBytes > kLogMaxBytes; }

}  // namespace tiqora
