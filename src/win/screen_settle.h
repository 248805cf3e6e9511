// Waiting until a window that was just hidden has left the screen, so that a
// picture of the screen taken next shows what lay beneath it.
#pragma once

#include <windows.h>

namespace tiqora {

// Waits, for at most `boundMs`, until the screen no longer shows a window
// that stood at `formerArea` (screen coordinates) and has just been hidden.
//
// Where the desktop is composed, that is once the compositor has presented a
// frame made after the hide. Otherwise the windows beneath must repaint the
// area themselves: the wait ends once every visible window that intersects
// it (top-level windows of any process, their child windows, the desktop)
// has no update region left there and each of their threads is back at its
// message loop, its paint done. A hung window costs at most the bound.
//
// True when that was seen; false when the bound ran out first.
bool waitUntilLeftScreen(const RECT& formerArea, DWORD boundMs);

}  // namespace tiqora
