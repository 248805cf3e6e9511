// The wait for a hidden window to leave the screen, in this process: a
// window of this thread is hidden over a desktop (a window of another
// thread) that is in the middle of a paint, quick, slow, or slower than the
// bound. BeginPaint has already emptied the desktop's update region; the
// wait ends once that paint is over, or at the bound.
#include "win/screen_settle.h"

#include <gtest/gtest.h>

#include <chrono>

#include "harness/solid_desktop.h"

namespace tiqora {
namespace {

using Clock = std::chrono::steady_clock;
using test::SolidDesktop;

TEST(ScreenSettle, TheWaitEndsOnceTheWindowsBeneathHaveFinishedTheirPaintOrAtTheBound) {
    const struct {
        const char* what;
        DWORD paintDelayMs;  // of each paint of the desktop
        DWORD boundMs;
        bool seen;  // the paint was over when the wait ended
    } cases[] = {
        {"a desktop that paints at once", 0, 1000, true},
        {"a desktop slow to paint", 300, 1000, true},
        {"a desktop slower than the bound", 2500, 500, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SolidDesktop desktop(SolidDesktop::kColour, c.paintDelayMs);
        HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 100,
                                      400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        UpdateWindow(window);
        RECT area{};
        GetWindowRect(window, &area);
        const unsigned paintsBefore = desktop.paintsDone();
        desktop.beginRepaint(SolidDesktop::kNewColour);

        const auto start = Clock::now();
        ShowWindow(window, SW_HIDE);
        const bool seen = waitUntilLeftScreen(area, c.boundMs);
        const auto elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        const unsigned paintsAfter = desktop.paintsDone();

        EXPECT_EQ(seen, c.seen) << elapsedMs << " ms";
        if (c.seen) {
            EXPECT_GT(paintsAfter, paintsBefore) << "the desktop's paint was over";
            EXPECT_LT(elapsedMs, static_cast<long long>(c.boundMs));
        } else {
            // Ended by the bound, well before the paint could be over.
            EXPECT_GE(elapsedMs, static_cast<long long>(c.boundMs));
            EXPECT_LT(elapsedMs, static_cast<long long>(c.paintDelayMs));
        }
        DestroyWindow(window);
    }
}

}  // namespace
}  // namespace tiqora
