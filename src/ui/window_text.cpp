#include "ui/window_text.h"

#include <vector>

namespace tiqora::ui {

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    return std::wstring(text.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

}  // namespace tiqora::ui
