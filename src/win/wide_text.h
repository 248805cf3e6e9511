// Conversions between the program's wide (UTF-16) text and the 8-bit text
// of the portable core (UTF-8) and of the suite's libraries and logs (the
// system ANSI code page).
#pragma once

#include <string>
#include <string_view>

namespace tiqora {

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

// System code page; characters it cannot hold become '?'.
std::string toAnsi(std::wstring_view text);
std::wstring fromAnsi(std::string_view text);

}  // namespace tiqora
