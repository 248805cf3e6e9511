#include "app/single_instance.h"

#include <windows.h>

#include "ui/window_text.h"

namespace tiqora {

GuardResult takeNamedGuard(const std::wstring& name) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, name.c_str());
    if (!mutex) return GuardResult::Unavailable;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return GuardResult::AlreadyRunning;
    }
    // Deliberately kept open: the guard lasts as long as the process.
    return GuardResult::Acquired;
}

namespace {

struct TitleSearch {
    const std::wstring* marker;
    std::optional<std::wstring> found;
};

BOOL CALLBACK matchTitle(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TitleSearch*>(data);
    std::wstring text = ui::windowText(window);
    if (text.empty()) return TRUE;
    if (text.find(*search->marker) == std::wstring::npos) return TRUE;
    search->found = std::move(text);
    return FALSE;
}

}  // namespace

std::optional<std::wstring> findWindowTitled(const std::wstring& marker) {
    TitleSearch search{&marker, std::nullopt};
    EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace tiqora
