// Rules of the hover button and the blinking static, free of Windows headers
// so they are tested natively.
#pragma once

namespace tiqora::ui {

// Left edge of the frame a hover button shows, in its strip of three frames
// (normal, pressed, mouse over): pressed wins over hover.
inline int hoverFrameX(bool pressed, bool hover, int frameWidth) {
    if (pressed) return frameWidth;
    if (hover) return 2 * frameWidth;
    return 0;
}

// The phases of a blinking static. Text and background blink on one timer;
// each tick flips the phase of whatever blinks.
struct BlinkPhases {
    bool textBlinking = false;
    bool backgroundBlinking = false;
    int textPhase = 0;
    int backgroundPhase = 0;

    struct Tick {
        bool repaint;  // something blinks: repaint the control
        bool notify;   // ... and a phase is now 1: tell the notification window
    };

    Tick tick() {
        if (textBlinking) textPhase ^= 1;
        if (backgroundBlinking) backgroundPhase ^= 1;
        if (!textBlinking && !backgroundBlinking) return {false, false};
        return {true, textPhase == 1 || backgroundPhase == 1};
    }
};

}  // namespace tiqora::ui
