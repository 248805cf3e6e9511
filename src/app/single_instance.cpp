#include "app/single_instance.h"

#include <windows.h>

#include "ui/window_text.h"
#include "win/handles.h"

namespace tiqora {

GuardResult takeNamedGuard(const std::wstring& name) {
    KernelHandle mutex(CreateMutexW(nullptr, TRUE, name.c_str()));
    if (!mutex) return GuardResult::Unavailable;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return GuardResult::AlreadyRunning;
    // Deliberately kept open: the guard lasts as long as the process.
    mutex.release();
    return GuardResult::Acquired;
}

namespace {

// The window property that marks the main dialog of the guard's holder.
constexpr wchar_t kGuardHolderProperty[] = L"Tiqora Desk guard holder";

BOOL CALLBACK findHolder(HWND window, LPARAM data) {
    if (!GetPropW(window, kGuardHolderProperty)) return TRUE;
    *reinterpret_cast<DWORD*>(data) = 0;
    GetWindowThreadProcessId(window, reinterpret_cast<DWORD*>(data));
    return FALSE;
}

struct FrontSearch {
    DWORD processId;
    HWND found;
};

// The first visible, enabled top-level window of the process, from the top
// of the Z order: a modal form disables the windows beneath it.
BOOL CALLBACK findFront(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<FrontSearch*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    search->found = window;
    return FALSE;
}

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

void markGuardHolder(HWND window) { SetPropW(window, kGuardHolderProperty, reinterpret_cast<HANDLE>(1)); }

void unmarkGuardHolder(HWND window) { RemovePropW(window, kGuardHolderProperty); }

bool raiseGuardHolder() {
    DWORD holder = 0;
    EnumWindows(findHolder, reinterpret_cast<LPARAM>(&holder));
    if (holder == 0) return false;
    FrontSearch search{holder, nullptr};
    EnumWindows(findFront, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return false;
    if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
    if (!SetForegroundWindow(search.found)) {
        // The system may refuse the foreground to a process the user did not
        // start from the foreground; the taskbar button flashes instead.
        FLASHWINFO flash{};
        flash.cbSize = sizeof flash;
        flash.hwnd = search.found;
        flash.dwFlags = FLASHW_ALL | FLASHW_TIMERNOFG;
        FlashWindowEx(&flash);
    }
    return true;
}

std::optional<std::wstring> findWindowTitled(const std::wstring& marker) {
    TitleSearch search{&marker, std::nullopt};
    EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace tiqora
