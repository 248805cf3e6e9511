#include "win/screen_settle.h"

#include <dwmapi.h>

#include <algorithm>
#include <vector>

#include "win/gdi.h"
#include "win/handles.h"

namespace tiqora {

namespace {

// How often the update regions of the windows beneath are looked at again
// while one of them still has the area to repaint.
constexpr DWORD kPollMs = 2;

// The end of a wait that may last `boundMs` from its construction.
class Deadline {
public:
    explicit Deadline(DWORD boundMs) : end_(GetTickCount64() + boundMs) {}
    DWORD remaining() const {
        const ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }
    bool passed() const { return remaining() == 0; }

private:
    ULONGLONG end_;
};

enum class Composition { Off, Presented, Unknown };

// Where the desktop is composed, waits for the compositor to present a frame
// made after the hide. dwmapi.dll is loaded from the system folder for this
// call only, so the program's start-up never depends on it.
Composition presentAfterHide(const Deadline& deadline) {
    const SystemLibrary dwm(L"dwmapi.dll");
    if (!dwm) return Composition::Off;  // no compositor on this system
    const auto isEnabled = dwm.find<decltype(&DwmIsCompositionEnabled)>("DwmIsCompositionEnabled");
    const auto flush = dwm.find<decltype(&DwmFlush)>("DwmFlush");
    BOOL enabled = FALSE;
    if (!isEnabled || FAILED(isEnabled(&enabled)) || !enabled) return Composition::Off;
    if (!flush) return Composition::Unknown;
    // Twice: DwmFlush returns at the next present, and the composition that
    // present shows may have begun before the compositor took in the hide.
    // The present after it was composed wholly after that, without the form.
    for (int present = 0; present < 2; ++present) {
        if (deadline.passed()) return Composition::Unknown;
        if (FAILED(flush())) return Composition::Unknown;
    }
    return Composition::Presented;
}

// A visible window that intersects the area, with the thread that paints it.
struct Beneath {
    HWND window;
    DWORD thread;
};

struct Search {
    RECT area;
    std::vector<Beneath> found;
};

bool intersects(HWND window, const RECT& area) {
    RECT where{}, common{};
    return GetWindowRect(window, &where) && IntersectRect(&common, &where, &area);
}

void addIfOver(HWND window, Search& search) {
    if (!IsWindowVisible(window) || !intersects(window, search.area)) return;
    search.found.push_back({window, GetWindowThreadProcessId(window, nullptr)});
}

BOOL CALLBACK addChild(HWND window, LPARAM search) {
    addIfOver(window, *reinterpret_cast<Search*>(search));
    return TRUE;
}

BOOL CALLBACK addTopLevel(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    const size_t before = search.found.size();
    addIfOver(window, search);
    // A child shows only inside its parent, so only the children of a window
    // over the area can be over it.
    if (search.found.size() != before) EnumChildWindows(window, addChild, param);
    return TRUE;
}

// The visible windows over the area, of every process, the desktop included.
std::vector<Beneath> windowsOver(const RECT& area) {
    Search search{area, {}};
    EnumWindows(addTopLevel, reinterpret_cast<LPARAM>(&search));
    addIfOver(GetDesktopWindow(), search);
    return std::move(search.found);
}

// Whether part of the area is still to be repainted by this window.
bool mustRepaint(HWND window, const RECT& area) {
    const ui::Region update(CreateRectRgn(0, 0, 0, 0));
    if (!update || GetUpdateRgn(window, update.get(), FALSE) <= NULLREGION) return false;
    POINT origin{0, 0};  // the region is in client coordinates
    ClientToScreen(window, &origin);
    OffsetRgn(update.get(), origin.x, origin.y);
    return RectInRegion(update.get(), &area) != FALSE;
}

// Sends each thread a message that does nothing: the call returns once the
// thread is back at its message loop, so a paint it had begun is over
// (BeginPaint empties the update region before the drawing starts).
// False when the time ran out first.
bool eachThreadAnswered(const std::vector<Beneath>& windows, const Deadline& deadline) {
    std::vector<DWORD> asked{GetCurrentThreadId()};  // its windows were updated by the caller
    for (const Beneath& beneath : windows) {
        if (std::find(asked.begin(), asked.end(), beneath.thread) != asked.end()) continue;
        asked.push_back(beneath.thread);
        const DWORD left = deadline.remaining();
        if (left == 0) return false;
        DWORD_PTR ignored = 0;
        if (!SendMessageTimeoutW(beneath.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, left, &ignored) &&
            deadline.passed())
            return false;
        // Any other failure (the window has gone, the thread is hung) leaves
        // nothing to wait for from this thread.
    }
    return true;
}

// Without a compositor the windows beneath repaint the area themselves.
bool repaintedBeneath(const RECT& area, const Deadline& deadline) {
    const DWORD self = GetCurrentThreadId();
    // Two quiet rounds, each one with no update region left over the area
    // and every thread back at its loop. Under Wine a hide does not
    // invalidate the windows beneath (each top-level window is a window of
    // the display server, whose content Wine keeps): their thread puts the
    // uncovered part back from that content when it handles the display's
    // exposure at its loop, and shows what it painted at the latest when it
    // next goes idle. The second round's answer follows both.
    for (int quiet = 0; quiet < 2;) {
        const std::vector<Beneath> windows = windowsOver(area);
        bool pending = false;
        for (const Beneath& beneath : windows) {
            if (!mustRepaint(beneath.window, area)) continue;
            if (beneath.thread == self) {
                UpdateWindow(beneath.window);  // this thread's own windows are painted here, now
            } else {
                pending = true;
            }
        }
        if (deadline.passed()) return false;
        if (pending) {
            Sleep(std::min(kPollMs, deadline.remaining()));
            continue;
        }
        if (!eachThreadAnswered(windows, deadline)) return false;
        ++quiet;
    }
    return true;
}

}  // namespace

bool waitUntilLeftScreen(const RECT& formerArea, DWORD boundMs) {
    const Deadline deadline(boundMs);
    switch (presentAfterHide(deadline)) {
    case Composition::Presented:
        return true;
    case Composition::Off:
    case Composition::Unknown:
        break;
    }
    return repaintedBeneath(formerArea, deadline);
}

}  // namespace tiqora
