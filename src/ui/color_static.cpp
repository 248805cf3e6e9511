#include "ui/color_static.h"

namespace tiqora::ui {

CColorStaticST::CColorStaticST()
    : textColour_(GetSysColor(COLOR_BTNTEXT)),
      blinkText_{textColour_, textColour_},
      backgroundColour_(GetSysColor(COLOR_BTNFACE)),
      blinkBackground_{backgroundColour_, backgroundColour_},
      backgroundBrush_(CreateSolidBrush(backgroundColour_)),
      blinkBrushes_{Brush(CreateSolidBrush(backgroundColour_)), Brush(CreateSolidBrush(backgroundColour_))} {}

void CColorStaticST::SetBlinkBackgroundPair(COLORREF first, COLORREF second) {
    blinkBackground_[0] = first;
    blinkBackground_[1] = second;
    blinkBrushes_[0].reset(CreateSolidBrush(first));
    blinkBrushes_[1].reset(CreateSolidBrush(second));
    if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void CColorStaticST::SetBlinkTextPair(COLORREF first, COLORREF second) {
    blinkText_[0] = first;
    blinkText_[1] = second;
}

void CColorStaticST::restartTimer(UINT periodMs) {
    if (timer_) {
        KillTimer(hwnd(), timer_);
        timer_ = 0;
    }
    timer_ = SetTimer(hwnd(), kTimerId, periodMs, nullptr);
}

void CColorStaticST::StartBackgroundBlinking(UINT periodMs) {
    phases_.backgroundBlinking = true;
    phases_.backgroundPhase = 0;
    restartTimer(periodMs);
}

void CColorStaticST::StartTextBlinking(UINT periodMs) {
    phases_.textBlinking = true;
    phases_.textPhase = 0;
    restartTimer(periodMs);
}

void CColorStaticST::SetBlinkNotification(HWND window, UINT message) {
    notifyWindow_ = window;
    notifyMessage_ = message;
}

COLORREF CColorStaticST::currentTextColour() const {
    return phases_.textBlinking ? blinkText_[phases_.textPhase] : textColour_;
}

COLORREF CColorStaticST::currentBackgroundColour() const {
    return phases_.backgroundBlinking ? blinkBackground_[phases_.backgroundPhase] : backgroundColour_;
}

bool CColorStaticST::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    auto dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, currentTextColour());
    SetBkColor(dc, currentBackgroundColour());
    const HBRUSH brush =
        phases_.backgroundBlinking ? blinkBrushes_[phases_.backgroundPhase].get() : backgroundBrush_.get();
    result = reinterpret_cast<LRESULT>(brush);
    return true;
}

void CColorStaticST::onTick() {
    const BlinkPhases::Tick tick = phases_.tick();
    if (!tick.repaint) return;
    InvalidateRect(hwnd(), nullptr, TRUE);
    if (notifyWindow_ && tick.notify)
        PostMessageW(notifyWindow_, notifyMessage_, static_cast<WPARAM>(GetDlgCtrlID(hwnd())), 0);
}

LRESULT CColorStaticST::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == timer_ && timer_) {
        onTick();
        return 0;
    }
    if (message == WM_DESTROY) {
        const LRESULT result = DefaultMessage(message, wParam, lParam);
        if (timer_) KillTimer(hwnd(), timer_);
        timer_ = 0;
        backgroundBrush_.reset();
        blinkBrushes_[0].reset();
        blinkBrushes_[1].reset();
        return result;
    }
    return DefaultMessage(message, wParam, lParam);
}

}  // namespace tiqora::ui
