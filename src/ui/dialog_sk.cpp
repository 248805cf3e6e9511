#include "ui/dialog_sk.h"

namespace tiqora::ui {

BOOL CDialogSK::AssignSkin(HBITMAP bitmap) {
    skin_.reset();
    skinWidth_ = skinHeight_ = 0;
    if (bitmap) {
        skin_.reset(bitmap);
        BITMAP info{};
        if (!GetObjectW(bitmap, sizeof info, &info)) {
            skin_.reset();
            return FALSE;
        }
        skinWidth_ = info.bmWidth;
        skinHeight_ = info.bmHeight;
    }
    if (hwnd() && IsWindow(hwnd())) InvalidateRect(hwnd(), nullptr, TRUE);
    return TRUE;
}

BOOL CDialogSK::LoadSkin(int bitmapId) {
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    return AssignSkin(bitmap);
}

INT_PTR CDialogSK::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_ERASEBKGND: {
        if (!skin_) break;
        auto dc = reinterpret_cast<HDC>(wParam);
        RECT client;
        GetClientRect(hwnd(), &client);
        MemoryDC memory(dc);
        SelectedObject selected(memory.get(), skin_.get());
        StretchBlt(dc, 0, 0, client.right - client.left, client.bottom - client.top, memory.get(), 0, 0, skinWidth_,
                   skinHeight_, SRCCOPY);
        handled = true;
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        // Clicks on child controls go to the controls; a click on the body
        // moves the window as a caption would.
        if (dragByBody_) PostMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        break;
    case WM_SIZE:
        if (skin_) InvalidateRect(hwnd(), nullptr, TRUE);
        break;
    default:
        break;
    }
    return Dialog::OnMessage(message, wParam, lParam, handled);
}

}  // namespace tiqora::ui
