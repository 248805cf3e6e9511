// Comparisons that ignore the case of ASCII letters only (the program's
// switches and markers are plain ASCII). Free of Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace tiqora {

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);
bool containsIgnoreAsciiCase(std::string_view text, std::string_view part);
// The text with its ASCII capitals made small; every other byte as it was.
std::string toLowerAscii(std::string_view text);

}  // namespace tiqora
