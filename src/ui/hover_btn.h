// CHoverBtn: a push button drawn entirely from a bitmap strip of three
// frames side by side (normal, pressed, mouse over). The button's template
// must carry BS_OWNERDRAW; it draws nothing but the strip.
#pragma once

#include "ui/dialog.h"
#include "win/gdi.h"

namespace tiqora::ui {

class CHoverBtn : public Control {
public:
    // Loads strip `bitmapId`, frames = strip width / 3 by strip height, and
    // resizes the button to one frame (scaled by the DPI over 96). FALSE when the strip does not load
    // (the button then draws itself as a plain push button with its text).
    BOOL LoadStrip(int bitmapId);

    int frameWidth() const { return frameWidth_; }
    int frameHeight() const { return frameHeight_; }
    bool hovering() const { return hover_; }

protected:
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void drawWithoutStrip(const DRAWITEMSTRUCT& item);
    static void drawFocusCue(const DRAWITEMSTRUCT& item);

    Bitmap strip_;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    int shownWidth_ = 0;  // the button's size: one frame at the program's DPI
    int shownHeight_ = 0;
    bool hover_ = false;
    bool tracking_ = false;
};

}  // namespace tiqora::ui
