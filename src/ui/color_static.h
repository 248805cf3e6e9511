// CColorStaticST: a static text with its own text and background colours
// that can blink between two colour pairs on one timer. Each tick can post
// a notification message to a window.
#pragma once

#include "core/ui/control_rules.h"
#include "ui/dialog.h"
#include "win/gdi.h"

namespace tiqora::ui {

class CColorStaticST : public Control {
public:
    CColorStaticST();

    void SetBlinkBackgroundPair(COLORREF first, COLORREF second);
    void SetBlinkTextPair(COLORREF first, COLORREF second);
    // Start blinking with the given period. Text and background share one
    // timer: each start replaces the running timer with its own period.
    void StartBackgroundBlinking(UINT periodMs);
    void StartTextBlinking(UINT periodMs);
    // Posts `message` (wParam = the control's id) to `window` on each tick
    // that leaves a phase at 1.
    void SetBlinkNotification(HWND window, UINT message);

    const BlinkPhases& phases() const { return phases_; }
    UINT_PTR timer() const { return timer_; }
    COLORREF currentTextColour() const;
    COLORREF currentBackgroundColour() const;

protected:
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void restartTimer(UINT periodMs);
    void onTick();

    static constexpr UINT_PTR kTimerId = 1;
    UINT_PTR timer_ = 0;
    BlinkPhases phases_;
    COLORREF textColour_;
    COLORREF blinkText_[2];
    COLORREF backgroundColour_;
    COLORREF blinkBackground_[2];
    Brush backgroundBrush_;
    Brush blinkBrushes_[2];
    HWND notifyWindow_ = nullptr;
    UINT notifyMessage_ = WM_USER;
};

}  // namespace tiqora::ui
