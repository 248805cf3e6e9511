#include "ui/hover_btn.h"

#include <commctrl.h>

#include "ui/window_text.h"

#include "core/ui/control_rules.h"

namespace tiqora::ui {

BOOL CHoverBtn::LoadStrip(int bitmapId) {
    strip_.reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP,
                                                 0, 0, LR_LOADMAP3DCOLORS)));
    frameWidth_ = frameHeight_ = 0;
    BITMAP info{};
    if (!strip_ || !GetObjectW(strip_.get(), sizeof info, &info)) {
        strip_.reset();
        return FALSE;
    }
    frameWidth_ = info.bmWidth / 3;
    frameHeight_ = info.bmHeight;
    // The strips are drawn for 96 DPI; at a larger DPI the button grows with
    // the dialog and the frame is stretched to it.
    const int dpi = systemDpi();
    shownWidth_ = MulDiv(frameWidth_, dpi, 96);
    shownHeight_ = MulDiv(frameHeight_, dpi, 96);
    if (hwnd())
        SetWindowPos(hwnd(), nullptr, 0, 0, shownWidth_, shownHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CHoverBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    if (!strip_) {
        drawWithoutStrip(item);
        return;
    }
    MemoryDC memory(item.hDC);
    SelectedObject selected(memory.get(), strip_.get());
    const int sourceX = hoverFrameX((item.itemState & ODS_SELECTED) != 0, hover_, frameWidth_);
    if (shownWidth_ == frameWidth_ && shownHeight_ == frameHeight_) {
        BitBlt(item.hDC, 0, 0, frameWidth_, frameHeight_, memory.get(), sourceX, 0, SRCCOPY);
    } else {
        const int previousMode = SetStretchBltMode(item.hDC, HALFTONE);
        SetBrushOrgEx(item.hDC, 0, 0, nullptr);
        StretchBlt(item.hDC, 0, 0, shownWidth_, shownHeight_, memory.get(), sourceX, 0, frameWidth_, frameHeight_,
                   SRCCOPY);
        SetStretchBltMode(item.hDC, previousMode);
    }
    drawFocusCue(item);
}

void CHoverBtn::drawFocusCue(const DRAWITEMSTRUCT& item) {
    // The picture shows no focus of its own: keyboard users see the dotted
    // rectangle of every other button (hidden while the user works with the
    // mouse only, as the system hides it).
    if (!(item.itemState & ODS_FOCUS) || (item.itemState & ODS_NOFOCUSRECT)) return;
    RECT inner = item.rcItem;
    InflateRect(&inner, -2, -2);
    DrawFocusRect(item.hDC, &inner);
}

void CHoverBtn::drawWithoutStrip(const DRAWITEMSTRUCT& item) {
    RECT area = item.rcItem;
    UINT state = DFCS_BUTTONPUSH;
    if (item.itemState & ODS_SELECTED) state |= DFCS_PUSHED;
    if (item.itemState & ODS_DISABLED) state |= DFCS_INACTIVE;
    DrawFrameControl(item.hDC, &area, DFC_BUTTON, state);
    const std::wstring text = windowText(item.hwndItem);
    SetBkMode(item.hDC, TRANSPARENT);
    DrawTextW(item.hDC, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    drawFocusCue(item);
}

bool CHoverBtn::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM) return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

LRESULT CHoverBtn::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, hwnd(), 1};
            tracking_ = _TrackMouseEvent(&track) != FALSE;
        }
        break;
    case WM_MOUSEHOVER:
        hover_ = true;
        InvalidateRect(hwnd(), nullptr, TRUE);
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        hover_ = false;
        InvalidateRect(hwnd(), nullptr, TRUE);
        break;
    default:
        break;
    }
    return DefaultMessage(message, wParam, lParam);
}

}  // namespace tiqora::ui
