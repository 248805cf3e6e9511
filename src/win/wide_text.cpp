#include "win/wide_text.h"

#include <windows.h>

namespace tiqora {

namespace {

std::string narrow(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring widen(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

}  // namespace

std::string toUtf8(std::wstring_view text) { return narrow(CP_UTF8, text); }
std::wstring fromUtf8(std::string_view text) { return widen(CP_UTF8, text); }
std::string toAnsi(std::wstring_view text) { return narrow(CP_ACP, text); }
std::wstring fromAnsi(std::string_view text) { return widen(CP_ACP, text); }

}  // namespace tiqora
