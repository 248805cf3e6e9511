// A window of the test process over the whole screen in one colour: the
// desktop a window under test stands on. It lives on a thread of its own
// that handles its messages, so it repaints whatever is due while the test
// waits for something else. A slow one takes `paintDelayMs` in each paint
// between BeginPaint (which empties its update region) and the fill; it
// never erases its background, so until the fill is done the screen still
// shows what stood there.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

namespace tiqora::test {

class SolidDesktop {
public:
    static constexpr COLORREF kColour = RGB(0, 160, 0);
    static constexpr COLORREF kNewColour = RGB(200, 0, 160);

    // Returns once the window has painted itself once and the display shows it.
    explicit SolidDesktop(COLORREF colour = kColour, DWORD paintDelayMs = 0);
    ~SolidDesktop();
    SolidDesktop(const SolidDesktop&) = delete;
    SolidDesktop& operator=(const SolidDesktop&) = delete;

    // The paints finished so far (counted after EndPaint).
    unsigned paintsDone() const { return paintsDone_.load(); }
    // Has the whole window painted anew in `colour`; returns once that paint
    // has begun (its update region is empty, its thread still drawing).
    void beginRepaint(COLORREF colour);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::atomic<COLORREF> colour_;
    DWORD paintDelayMs_;
    std::atomic<unsigned> paintsBegun_{0};
    std::atomic<unsigned> paintsDone_{0};
    std::thread thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

}  // namespace tiqora::test
