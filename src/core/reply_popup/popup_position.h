// Where the reply popup goes: just above (or beside) the taskbar, at the
// right of the screen, by the edge the taskbar sits on.
#pragma once

#include <optional>

namespace tiqora {

// The shell's taskbar edges (ABE_LEFT, ABE_TOP, ABE_RIGHT, ABE_BOTTOM).
enum class TaskbarEdge : unsigned { Left = 0, Top = 1, Right = 2, Bottom = 3 };

struct PopupGeometry {
    int width = 0, height = 0;                // the popup's window
    int taskbarWidth = 0, taskbarHeight = 0;  // the taskbar's window
    int desktopRight = 0, desktopBottom = 0;  // the desktop window's right and bottom edges
};

struct PopupPoint {
    int x = 0, y = 0;
};

// The popup's new top-left corner; none for an edge the shell did not name
// (the popup then stays where it is). With the taskbar at the bottom the
// popup's bottom touches the taskbar's top and its right edge stands one
// pixel left of the screen's; with the taskbar on the right its right edge
// touches the taskbar.
std::optional<PopupPoint> popupPosition(unsigned edge, const PopupGeometry& geometry);

}  // namespace tiqora
