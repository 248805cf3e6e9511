#include "harness/solid_desktop.h"

namespace tiqora::test {

SolidDesktop::SolidDesktop(COLORREF colour, DWORD paintDelayMs) : colour_(colour), paintDelayMs_(paintDelayMs) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"SolidDesktop";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"SolidDesktop", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this);
        UpdateWindow(window_);
        threadId_ = GetCurrentThreadId();
        SetEvent(ready);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        DestroyWindow(window_);
        UnregisterClassW(L"SolidDesktop", GetModuleHandleW(nullptr));
    });
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
    Sleep(300);  // the X server shows it before the windows under test come
}

SolidDesktop::~SolidDesktop() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

void SolidDesktop::beginRepaint(COLORREF colour) {
    const unsigned begun = paintsBegun_.load();
    colour_ = colour;
    InvalidateRect(window_, nullptr, FALSE);
    for (int i = 0; i < 1000 && paintsBegun_.load() == begun; ++i) Sleep(1);
}

LRESULT CALLBACK SolidDesktop::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SolidDesktop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND) return 1;  // the paint fills it all
    if (message == WM_PAINT && self) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        ++self->paintsBegun_;
        if (self->paintDelayMs_ != 0) Sleep(self->paintDelayMs_);
        HBRUSH brush = CreateSolidBrush(self->colour_.load());
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        ++self->paintsDone_;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tiqora::test
