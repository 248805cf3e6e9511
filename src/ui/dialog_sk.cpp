#include "ui/dialog_sk.h"

namespace tiqora::ui {

BOOL CDialogSK::LoadSkin(int bitmapId) {
    skin_ = ResourceDib::load(GetModuleHandleW(nullptr), bitmapId);
    skinId_ = bitmapId;
    if (hwnd() && IsWindow(hwnd())) InvalidateRect(hwnd(), nullptr, TRUE);
    return skin_.has_value();
}

INT_PTR CDialogSK::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case WM_ERASEBKGND: {
        if (!skin_) break;
        RECT client;
        GetClientRect(hwnd(), &client);
        skin_->stretchTo(reinterpret_cast<HDC>(wParam), client);
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
